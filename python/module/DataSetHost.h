// The host services of one call of the module: the directories it was given (never a setting
// of the process), installed for the call and the previous ones put back after it. The
// library's search for the newest file of a parcel makes the data-set directory the process's
// current directory; a script's own current directory is put back when the call ends, so that
// its relative paths keep their meaning.
#ifndef MORVIT_PYTHON_DATASETHOST_H
#define MORVIT_PYTHON_DATASETHOST_H

#include <filesystem>
#include <system_error>

#include "morvit/VHostServices.h"

namespace morvit::python {

class CallHost : public VDataSetHost {
 public:
  explicit CallHost(const CString& data, const CString& project = CString(),
                    const CString& objects = CString())
      : VDataSetHost(data, project, objects),
        m_previous(SetHost(this)),
        m_current(std::filesystem::current_path(m_noCurrent)) {}
  ~CallHost() override {
    SetHost(m_previous);
    std::error_code ignored;
    if (!m_noCurrent) std::filesystem::current_path(m_current, ignored);
  }
  CallHost(const CallHost&) = delete;
  CallHost& operator=(const CallHost&) = delete;

 private:
  VHostServices* m_previous;
  std::error_code m_noCurrent;  // set when the process had no current directory to keep
  std::filesystem::path m_current;
};

}  // namespace morvit::python

#endif  // MORVIT_PYTHON_DATASETHOST_H
