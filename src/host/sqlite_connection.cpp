// A connection to an SQLite database that turns each of SQLite's failures into a RecordError.
#include "host/sqlite_connection.h"

#include <sqlite3.h>

#include <cstring>

namespace orvex {

SqliteConnection::SqliteConnection(std::string hostPath, int busyTimeoutMs)
    : path_(std::move(hostPath)) {
  int code =
      sqlite3_open_v2(path_.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  if (code != SQLITE_OK) {
    try {
      fail(code);
    } catch (...) {
      sqlite3_close(db_);  // a failed open still leaves a handle to free
      throw;
    }
  }
  sqlite3_extended_result_codes(db_, 1);
  sqlite3_busy_timeout(db_, busyTimeoutMs);
}

SqliteConnection::~SqliteConnection() {
  sqlite3_close_v2(db_);
}

void SqliteConnection::exec(const char* sql) {
  int code = sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
  if (code != SQLITE_OK) fail(code);
}

void SqliteConnection::rollBackQuietly() noexcept {
  sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

bool SqliteConnection::inTransaction() const {
  return !sqlite3_get_autocommit(db_);
}

long long SqliteConnection::lastInsertId() const {
  return sqlite3_last_insert_rowid(db_);
}

int SqliteConnection::changedRows() const {
  return sqlite3_changes(db_);
}

void SqliteConnection::checkpoint() {
  int code = sqlite3_wal_checkpoint_v2(db_, nullptr, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
  // Another program writing just now: the next idle moment folds it in.
  if (code != SQLITE_OK && code != SQLITE_BUSY && code != SQLITE_LOCKED) fail(code);
}

long long SqliteConnection::totalChanges() const {
  return sqlite3_total_changes64(db_);
}

void SqliteConnection::fail(int code) const {
  // The handle's message is the precise one ("file is not a database"); the system's own
  // words ("Is a directory", "File too large") say why a file could not be opened or written.
  std::string message = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(code);
  int systemError = db_ ? sqlite3_system_errno(db_) : 0;
  int primary = code & 0xff;
  if ((primary == SQLITE_CANTOPEN || primary == SQLITE_IOERR || primary == SQLITE_FULL) &&
      systemError != 0)
    message += std::string(" (") + std::strerror(systemError) + ")";
  fail(message);
}

void SqliteConnection::fail(const std::string& message) const {
  throw RecordError("The install records in " + path_ + " cannot be used: " + message + ".");
}

SqliteConnection::Statement::Statement(SqliteConnection& db, const std::string& sql) : db_(db) {
  int code = sqlite3_prepare_v3(db.db_, sql.c_str(), int(sql.size()), SQLITE_PREPARE_PERSISTENT,
                                &stmt_, nullptr);
  if (code != SQLITE_OK) db.fail(code);
}

SqliteConnection::Statement::~Statement() {
  sqlite3_finalize(stmt_);
}

SqliteConnection::Statement::Run::~Run() {
  sqlite3_reset(s_.stmt_);
  sqlite3_clear_bindings(s_.stmt_);
}

SqliteConnection::Statement::Run& SqliteConnection::Statement::Run::bind(int index,
                                                                         long long value) {
  int code = sqlite3_bind_int64(s_.stmt_, index, value);
  if (code != SQLITE_OK) s_.db_.fail(code);
  return *this;
}

SqliteConnection::Statement::Run& SqliteConnection::Statement::Run::bind(int index,
                                                                         const std::string& text) {
  int code = sqlite3_bind_text(s_.stmt_, index, text.data(), int(text.size()), SQLITE_TRANSIENT);
  if (code != SQLITE_OK) s_.db_.fail(code);
  return *this;
}

SqliteConnection::Statement::Run& SqliteConnection::Statement::Run::bindKept(
    int index, std::string_view text) {
  int code = sqlite3_bind_text(s_.stmt_, index, text.data(), int(text.size()), SQLITE_STATIC);
  if (code != SQLITE_OK) s_.db_.fail(code);
  return *this;
}

SqliteConnection::Statement::Run& SqliteConnection::Statement::Run::bindKeptBlob(
    int index, std::string_view bytes) {
  int code = sqlite3_bind_blob(s_.stmt_, index, bytes.data(), int(bytes.size()), SQLITE_STATIC);
  if (code != SQLITE_OK) s_.db_.fail(code);
  return *this;
}

bool SqliteConnection::Statement::Run::next() {
  int code = sqlite3_step(s_.stmt_);
  if (code == SQLITE_ROW) return true;
  if (code != SQLITE_DONE) s_.db_.fail(code);
  return false;
}

long long SqliteConnection::Statement::Run::integer(int column) const {
  return sqlite3_column_int64(s_.stmt_, column);
}

std::string SqliteConnection::Statement::Run::text(int column) const {
  const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(s_.stmt_, column));
  return bytes ? std::string(bytes, size_t(sqlite3_column_bytes(s_.stmt_, column))) : "";
}

std::string SqliteConnection::Statement::Run::blob(int column) const {
  const auto* bytes = static_cast<const char*>(sqlite3_column_blob(s_.stmt_, column));
  return bytes ? std::string(bytes, size_t(sqlite3_column_bytes(s_.stmt_, column))) : "";
}

}  // namespace orvex
