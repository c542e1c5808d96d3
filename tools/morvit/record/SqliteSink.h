// Recorded rows into an SQLite database file: the tables created fresh, one transaction per
// domain file, so that a run stopped half-way keeps every domain file handed over before.
#ifndef MORVIT_TOOL_SQLITESINK_H
#define MORVIT_TOOL_SQLITESINK_H

#include <map>
#include <string>

#include "record/RecordTables.h"

struct sqlite3;
struct sqlite3_stmt;

namespace morvit::tool {

class SqliteSink : public RecordSink {
 public:
  // Creates the database at `path`, replacing a file of that name.
  explicit SqliteSink(std::string path);
  ~SqliteSink() override;
  SqliteSink(const SqliteSink&) = delete;
  SqliteSink& operator=(const SqliteSink&) = delete;

  void Write(const Row& row) override;
  void EndDomainFile() override;
  void Close() override;

 private:
  void Execute(const std::string& sql);
  [[noreturn]] void Fail(const std::string& what) const;

  std::string m_path;
  sqlite3* m_db = nullptr;
  std::map<const Table*, sqlite3_stmt*> m_inserts;
  bool m_inTransaction = false;
};

}  // namespace morvit::tool

#endif  // MORVIT_TOOL_SQLITESINK_H
