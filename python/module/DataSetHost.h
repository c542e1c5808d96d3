// The host services of one call of the module: the directories it was given (never a setting
// of the process), installed for the call and the previous ones put back after it.
#ifndef MORVIT_PYTHON_DATASETHOST_H
#define MORVIT_PYTHON_DATASETHOST_H

#include "morvit/VHostServices.h"

namespace morvit::python {

class CallHost : public VDataSetHost {
 public:
  explicit CallHost(const CString& data, const CString& project = CString(),
                    const CString& objects = CString())
      : VDataSetHost(data, project, objects), m_previous(SetHost(this)) {}
  ~CallHost() override { SetHost(m_previous); }
  CallHost(const CallHost&) = delete;
  CallHost& operator=(const CallHost&) = delete;

 private:
  VHostServices* m_previous;
};

}  // namespace morvit::python

#endif  // MORVIT_PYTHON_DATASETHOST_H
