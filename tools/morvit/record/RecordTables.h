// The tables a recorded back-translation run fills, described once: the SQLite schema, the
// JSON lines and docs/recorded-runs.md all follow these column lists.
#ifndef MORVIT_TOOL_RECORDTABLES_H
#define MORVIT_TOOL_RECORDTABLES_H

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace morvit::tool {

// Column kinds: SQLite types, and JSON, held as TEXT in SQLite and nested in JSON lines.
enum class ColumnKind { kInteger, kText, kBlob, kJson };

struct Column {
  const char* name;
  ColumnKind kind;
};

struct Table {
  const char* name;
  std::vector<Column> columns;
};

// The tables, by name.
const Table& CallsTable();
const Table& ElementsTable();
const Table& DecoderRecordsTable();
const Table& ObjectsTable();
const Table& RunTable();
const std::vector<const Table*>& RecordTables();

// A value of one column; null where the column has nothing to hold.
using Value = std::variant<std::monostate, std::int64_t, std::string, std::vector<std::uint8_t>>;

// One row, its values in the table's column order.
struct Row {
  const Table* table;
  std::vector<Value> values;
};

// Where recorded rows go. Rows of one domain file arrive between two EndDomainFile calls.
class RecordSink {
 public:
  virtual ~RecordSink() = default;
  virtual void Write(const Row& row) = 0;
  // Everything of the domain file handed over so far is kept (one transaction per file).
  virtual void EndDomainFile() = 0;
  // The last rows are kept and the output closed; nothing is written afterwards.
  virtual void Close() = 0;
};

}  // namespace morvit::tool

#endif  // MORVIT_TOOL_RECORDTABLES_H
