// Recorded rows as JSON lines: one object per row, {"table": NAME, column: value, ...}, bytes
// as a hexadecimal string; each domain file's lines are flushed when it ends. The path "-"
// writes them to standard output.
#ifndef MORVIT_TOOL_JSONLINESSINK_H
#define MORVIT_TOOL_JSONLINESSINK_H

#include <fstream>
#include <string>

#include "record/RecordTables.h"

namespace morvit::tool {

class JsonLinesSink : public RecordSink {
 public:
  explicit JsonLinesSink(std::string path);

  void Write(const Row& row) override;
  void EndDomainFile() override;
  void Close() override;

 private:
  void Check();

  std::string m_path;
  std::ofstream m_file;
  std::ostream* m_out;  // m_file, or std::cout
};

}  // namespace morvit::tool

#endif  // MORVIT_TOOL_JSONLINESSINK_H
