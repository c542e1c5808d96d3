// The SQLite sink: schema from the table descriptions, prepared inserts, per-file transactions.
#include "record/SqliteSink.h"

#include <sqlite3.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "cli/Failure.h"
#include "cli/ToolPlatform.h"

namespace morvit::tool {
namespace {

const char* SqlType(ColumnKind kind) {
  switch (kind) {
    case ColumnKind::kInteger:
      return "INTEGER";
    case ColumnKind::kBlob:
      return "BLOB";
    case ColumnKind::kText:
    case ColumnKind::kJson:
      break;
  }
  return "TEXT";
}

std::string CreateStatement(const Table& table) {
  std::string sql = std::string("CREATE TABLE ") + table.name + " (";
  for (std::size_t i = 0; i < table.columns.size(); ++i) {
    sql +=
        (i ? ", " : "") + std::string(table.columns[i].name) + " " + SqlType(table.columns[i].kind);
  }
  return sql + ")";
}

std::string InsertStatement(const Table& table) {
  std::string sql = std::string("INSERT INTO ") + table.name + " VALUES (";
  for (std::size_t i = 0; i < table.columns.size(); ++i) sql += i ? ", ?" : "?";
  return sql + ")";
}

}  // namespace

SqliteSink::SqliteSink(std::string path) : m_path(std::move(path)) {
  // An earlier record is replaced; anything else at the path (a device, a pipe, a directory) is
  // no database of ours and stays.
  std::error_code ignored;
  const auto status = std::filesystem::symlink_status(PathFromUtf8(m_path), ignored);
  if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
    throw Failure("the database file " + m_path + " is not a regular file; give another with --db");
  }
  std::filesystem::remove(PathFromUtf8(m_path), ignored);  // (a missing one is what the run wants)
  if (sqlite3_open_v2(m_path.c_str(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
      SQLITE_OK) {
    Fail("cannot create the database");
  }
  for (const Table* table : RecordTables()) {
    Execute(CreateStatement(*table));
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(m_db, InsertStatement(*table).c_str(), -1, &statement, nullptr) !=
        SQLITE_OK) {
      Fail("cannot prepare the insert into " + std::string(table->name));
    }
    m_inserts[table] = statement;
  }
}

SqliteSink::~SqliteSink() {
  for (auto& [table, statement] : m_inserts) sqlite3_finalize(statement);
  sqlite3_close(m_db);
}

// In the user's words: the database file and what is wrong with it, never the statement. A
// full disk, a file that cannot be written and a damaged file are named as such; anything else
// is SQLite's own reason.
void SqliteSink::Fail(const std::string& what) const {
  const int code = m_db != nullptr ? sqlite3_errcode(m_db) & 0xff : SQLITE_CANTOPEN;
  // A write refused for its size is a full disk too (a file-size limit, a quota).
  const int system = m_db != nullptr ? sqlite3_system_errno(m_db) : 0;
  const bool full = code == SQLITE_FULL || system == ENOSPC || system == EFBIG;
  std::string reason;
  switch (full ? SQLITE_FULL : code) {
    case SQLITE_FULL:
      reason = "cannot be written: the disk is full";
      break;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_CANTOPEN:
      reason = "cannot be written: " + (m_db ? std::string(sqlite3_errmsg(m_db)) : "access denied");
      break;
    case SQLITE_IOERR:
      reason = "cannot be written: an input/output error";
      break;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
      reason = "is damaged or not an SQLite database";
      break;
    default:
      reason = "failed (" + what + ")" + (m_db ? std::string(": ") + sqlite3_errmsg(m_db) : "");
  }
  throw Failure("the database file " + m_path + " " + reason);
}

void SqliteSink::Execute(const std::string& sql) {
  if (sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
    Fail("cannot record the run");
  }
}

void SqliteSink::Write(const Row& row) {
  if (m_db == nullptr) Fail("written after it was closed");
  if (!m_inTransaction) {
    Execute("BEGIN");
    m_inTransaction = true;
  }
  sqlite3_stmt* statement = m_inserts.at(row.table);
  sqlite3_reset(statement);
  for (std::size_t i = 0; i < row.values.size(); ++i) {
    const int place = static_cast<int>(i) + 1;
    const Value& value = row.values[i];
    if (const auto* number = std::get_if<std::int64_t>(&value)) {
      sqlite3_bind_int64(statement, place, *number);
    } else if (const auto* text = std::get_if<std::string>(&value)) {
      sqlite3_bind_text(statement, place, text->data(), static_cast<int>(text->size()),
                        SQLITE_TRANSIENT);
    } else if (const auto* bytes = std::get_if<std::vector<std::uint8_t>>(&value)) {
      sqlite3_bind_blob(statement, place, bytes->data(), static_cast<int>(bytes->size()),
                        SQLITE_TRANSIENT);
    } else {
      sqlite3_bind_null(statement, place);
    }
  }
  if (sqlite3_step(statement) != SQLITE_DONE) Fail(std::string("insert into ") + row.table->name);
}

void SqliteSink::EndDomainFile() {
  if (!m_inTransaction) return;
  m_inTransaction = false;
  Execute("COMMIT");
}

void SqliteSink::Close() {
  if (m_db == nullptr) return;
  EndDomainFile();
  for (auto& [table, statement] : m_inserts) sqlite3_finalize(statement);
  m_inserts.clear();
  if (sqlite3_close(m_db) != SQLITE_OK) Fail("cannot close the database");
  m_db = nullptr;
}

}  // namespace morvit::tool
