// A thin owner of one SQLite connection: prepared statements kept per SQL
// text, typed binding and reading, and transactions that roll back unless
// committed.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

namespace velinst::service {

class DatabaseError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct Blob {
  std::span<const std::uint8_t> bytes;
};

struct ConnectionCloser {
  void operator()(sqlite3* connection) const { sqlite3_close_v2(connection); }
};
struct StatementFinalizer {
  void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};

// One use of a cached prepared statement; resets it (and clears its
// bindings) when it goes out of scope.
class Statement {
 public:
  explicit Statement(sqlite3_stmt* statement) : statement_(statement) {}
  Statement(Statement&& other) noexcept : statement_(std::exchange(other.statement_, nullptr)) {}
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  Statement& operator=(Statement&&) = delete;
  ~Statement();

  void Bind(int index, std::int64_t value);
  void Bind(int index, int value) { Bind(index, static_cast<std::int64_t>(value)); }
  void Bind(int index, bool value) { Bind(index, static_cast<std::int64_t>(value ? 1 : 0)); }
  void Bind(int index, double value);
  void Bind(int index, std::string_view value);
  void Bind(int index, const std::string& value) { Bind(index, std::string_view(value)); }
  void Bind(int index, const char* value) { Bind(index, std::string_view(value)); }
  void Bind(int index, std::nullopt_t);
  void Bind(int index, Blob value);
  template <typename T>
  void Bind(int index, const std::optional<T>& value) {
    if (value)
      Bind(index, *value);
    else
      Bind(index, std::nullopt);
  }

  // True when a row is ready; false when the statement has run to its end.
  bool Step();
  // Runs to the end, for statements that return no rows.
  void Run();

  std::int64_t Integer(int column) const { return sqlite3_column_int64(statement_, column); }
  double Real(int column) const { return sqlite3_column_double(statement_, column); }
  std::string Text(int column) const;
  std::string BlobBytes(int column) const;
  bool IsNull(int column) const { return sqlite3_column_type(statement_, column) == SQLITE_NULL; }

 private:
  sqlite3_stmt* statement_;
};

class Database {
 public:
  // Opens (creating when missing) a database file, or ":memory:".
  explicit Database(const std::string& path);
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  // Runs SQL text that may hold several statements and returns no rows.
  void Execute(const char* sql);

  template <typename... Args>
  Statement Query(std::string_view sql, const Args&... args) {
    Statement statement = Prepare(sql);
    int index = 0;
    (statement.Bind(++index, args), ...);
    return statement;
  }
  // Runs a statement that returns no rows; the number of rows it changed.
  template <typename... Args>
  int Run(std::string_view sql, const Args&... args) {
    Query(sql, args...).Run();
    return sqlite3_changes(connection_.get());
  }
  // The first column of the first row, if there is a row.
  template <typename... Args>
  std::optional<std::int64_t> Integer(std::string_view sql, const Args&... args) {
    Statement statement = Query(sql, args...);
    if (!statement.Step() || statement.IsNull(0)) return std::nullopt;
    return statement.Integer(0);
  }

  std::int64_t LastInsertId() const { return sqlite3_last_insert_rowid(connection_.get()); }
  sqlite3* Handle() const { return connection_.get(); }

 private:
  Statement Prepare(std::string_view sql);

  std::unique_ptr<sqlite3, ConnectionCloser> connection_;
  std::map<std::string, std::unique_ptr<sqlite3_stmt, StatementFinalizer>, std::less<>> statements_;
};

// BEGIN IMMEDIATE at construction; rolls back at destruction unless Commit ran.
class Transaction {
 public:
  explicit Transaction(Database& database);
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  ~Transaction();
  void Commit();

 private:
  Database& database_;
  bool open_ = true;
};

}  // namespace velinst::service
