#include "sqlite_database.h"

#include <limits>
#include <utility>

namespace velinst::service {
namespace {

[[noreturn]] void Fail(sqlite3* connection, const char* what) {
  throw DatabaseError(std::string(what) + ": " + (connection ? sqlite3_errmsg(connection) : "out of memory"));
}

int CheckedLength(std::size_t length) {
  if (length > static_cast<std::size_t>(std::numeric_limits<int>::max())) throw DatabaseError("value too long");
  return static_cast<int>(length);
}

}  // namespace

Statement::~Statement() {
  if (statement_ == nullptr) return;
  sqlite3_reset(statement_);
  sqlite3_clear_bindings(statement_);
}

void Statement::Bind(int index, std::int64_t value) {
  if (sqlite3_bind_int64(statement_, index, value) != SQLITE_OK) Fail(sqlite3_db_handle(statement_), "bind");
}

void Statement::Bind(int index, double value) {
  if (sqlite3_bind_double(statement_, index, value) != SQLITE_OK) Fail(sqlite3_db_handle(statement_), "bind");
}

void Statement::Bind(int index, std::string_view value) {
  if (sqlite3_bind_text(statement_, index, value.data(), CheckedLength(value.size()), SQLITE_TRANSIENT) != SQLITE_OK)
    Fail(sqlite3_db_handle(statement_), "bind");
}

void Statement::Bind(int index, std::nullopt_t) {
  if (sqlite3_bind_null(statement_, index) != SQLITE_OK) Fail(sqlite3_db_handle(statement_), "bind");
}

void Statement::Bind(int index, Blob value) {
  // A zero-length blob with a null pointer would bind NULL.
  static const std::uint8_t kEmpty = 0;
  const void* data = value.bytes.empty() ? &kEmpty : value.bytes.data();
  if (sqlite3_bind_blob(statement_, index, data, CheckedLength(value.bytes.size()), SQLITE_TRANSIENT) != SQLITE_OK)
    Fail(sqlite3_db_handle(statement_), "bind");
}

bool Statement::Step() {
  const int result = sqlite3_step(statement_);
  if (result == SQLITE_ROW) return true;
  if (result == SQLITE_DONE) return false;
  Fail(sqlite3_db_handle(statement_), "step");
}

void Statement::Run() {
  while (Step()) {
  }
}

std::string Statement::Text(int column) const {
  const auto* text = sqlite3_column_text(statement_, column);
  if (text == nullptr) return {};
  return std::string(reinterpret_cast<const char*>(text),
                     static_cast<std::size_t>(sqlite3_column_bytes(statement_, column)));
}

std::string Statement::BlobBytes(int column) const {
  const void* data = sqlite3_column_blob(statement_, column);
  if (data == nullptr) return {};
  return std::string(static_cast<const char*>(data),
                     static_cast<std::size_t>(sqlite3_column_bytes(statement_, column)));
}

Database::Database(const std::string& path) {
  sqlite3* connection = nullptr;
  const int result = sqlite3_open_v2(path.c_str(), &connection,
                                     SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
  connection_.reset(connection);
  if (result != SQLITE_OK) Fail(connection, ("cannot open " + path).c_str());
  sqlite3_extended_result_codes(connection, 1);
  // Another process holding the file (a second service on it) makes us
  // wait a little rather than fail at once.
  sqlite3_busy_timeout(connection, 5000);
}

void Database::Execute(const char* sql) {
  char* message = nullptr;
  if (sqlite3_exec(connection_.get(), sql, nullptr, nullptr, &message) != SQLITE_OK) {
    std::string text = message ? message : "unknown error";
    sqlite3_free(message);
    throw DatabaseError(text);
  }
}

Statement Database::Prepare(std::string_view sql) {
  auto found = statements_.find(sql);
  if (found == statements_.end()) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v3(connection_.get(), sql.data(), CheckedLength(sql.size()), SQLITE_PREPARE_PERSISTENT,
                           &statement, nullptr) != SQLITE_OK)
      Fail(connection_.get(), "prepare");
    found = statements_.emplace(std::string(sql), std::unique_ptr<sqlite3_stmt, StatementFinalizer>(statement)).first;
  }
  return Statement(found->second.get());
}

Transaction::Transaction(Database& database) : database_(database) { database_.Execute("BEGIN IMMEDIATE"); }

Transaction::~Transaction() {
  if (!open_) return;
  // Fails only when SQLite already rolled back by itself.
  sqlite3_exec(database_.Handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::Commit() {
  database_.Execute("COMMIT");
  open_ = false;
}

}  // namespace velinst::service
