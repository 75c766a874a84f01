// One connection to an SQLite database file, every failure of which is a RecordError naming
// the file and SQLite's own words.
#pragma once

#include <string>
#include <string_view>

#include "platform/record_store.h"

struct sqlite3;
struct sqlite3_stmt;

namespace orvex {

class SqliteConnection {
 public:
  // Opens the file, creating it when it is missing. A connection that meets another's lock
  // waits up to busyTimeoutMs for it before it fails with "database is locked".
  SqliteConnection(std::string hostPath, int busyTimeoutMs);
  ~SqliteConnection();
  SqliteConnection(const SqliteConnection&) = delete;
  SqliteConnection& operator=(const SqliteConnection&) = delete;

  // Runs statements that return nothing the caller needs.
  void exec(const char* sql);
  // Ends the open transaction without its writes and reports nothing: the failure that led
  // here is the one to report, and SQLite drops a transaction left open when it closes.
  void rollBackQuietly() noexcept;
  // True while a transaction is open; SQLite ends one on its own after some failures (a full
  // disk, an I/O error).
  bool inTransaction() const;
  long long lastInsertId() const;
  int changedRows() const;
  // Copies what the write-ahead log holds into the database file, as far as no reader needs
  // it still.
  void checkpoint();
  // Rows written through this connection since it was opened.
  long long totalChanges() const;
  const std::string& path() const { return path_; }

  // Throws a RecordError naming the database file; code is SQLite's result code.
  [[noreturn]] void fail(int code) const;
  [[noreturn]] void fail(const std::string& message) const;

  // A statement prepared once and run many times.
  class Statement {
   public:
    Statement(SqliteConnection& db, const std::string& sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // One run of the statement: binds its parameters (numbered from 1), steps through its
    // rows and resets it at the end of its scope, so that no run keeps the database locked.
    class Run {
     public:
      explicit Run(Statement& statement) : s_(statement) {}
      ~Run();
      Run(const Run&) = delete;
      Run& operator=(const Run&) = delete;

      Run& bind(int index, long long value);
      Run& bind(int index, const std::string& text);
      // Binds text without copying it: it must stay as it is until the run ends.
      Run& bindKept(int index, std::string_view text);
      // Binds bytes as a blob, without copying them, on the same terms.
      Run& bindKeptBlob(int index, std::string_view bytes);
      // Steps to the next row; false when there is none (a write has none).
      bool next();
      long long integer(int column) const;
      std::string text(int column) const;
      std::string blob(int column) const;

     private:
      Statement& s_;
    };

   private:
    SqliteConnection& db_;
    sqlite3_stmt* stmt_ = nullptr;
  };

 private:
  std::string path_;
  sqlite3* db_ = nullptr;
};

}  // namespace orvex
