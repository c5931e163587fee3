#include "search/checksum_db_sqlite.h"

#include <sqlite3.h>

#include <utility>

namespace twinex::db {

Connection::~Connection() { Close(); }

std::string Connection::Open(const std::string& path, bool create) {
  Close();
  int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (create ? SQLITE_OPEN_CREATE : 0);
  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
  if (rc == SQLITE_OK) {
    db_ = db;
    return "";
  }
  std::string error = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
  sqlite3_close(db);
  return error;
}

void Connection::Close() {
  if (!db_) return;
  // Statements still alive are finalised by their owners; close_v2 waits for them.
  sqlite3_close_v2(db_);
  db_ = nullptr;
}

std::string Connection::Execute(const std::string& sql) {
  if (!db_) return sqlite3_errstr(SQLITE_MISUSE);
  char* message = nullptr;
  if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message) == SQLITE_OK) return "";
  std::string error = message ? message : ErrorText();
  sqlite3_free(message);
  return error;
}

std::string Connection::ErrorText() const { return db_ ? sqlite3_errmsg(db_) : ""; }

int Connection::ErrorCode() const { return db_ ? (sqlite3_errcode(db_) & 0xFF) : SQLITE_MISUSE; }

bool Connection::InTransaction() const { return db_ && sqlite3_get_autocommit(db_) == 0; }

int Connection::Changes() const { return db_ ? sqlite3_changes(db_) : 0; }

bool Connection::ReadOnly() const { return db_ && sqlite3_db_readonly(db_, "main") == 1; }

bool Connection::FileMoved() const {
  int moved = 0;
  return db_ && sqlite3_file_control(db_, "main", SQLITE_FCNTL_HAS_MOVED, &moved) == SQLITE_OK && moved != 0;
}

Statement::Statement(Connection& connection, std::string_view sql) : db_(connection.handle()) {
  if (!db_) {
    error_ = sqlite3_errstr(SQLITE_MISUSE);
    return;
  }
  if (sqlite3_prepare_v2(db_, sql.data(), static_cast<int>(sql.size()), &stmt_, nullptr) != SQLITE_OK) {
    error_ = sqlite3_errmsg(db_);
    sqlite3_finalize(stmt_);
    stmt_ = nullptr;
  }
}

Statement::~Statement() { sqlite3_finalize(stmt_); }

Statement::Statement(Statement&& other) noexcept
    : stmt_(std::exchange(other.stmt_, nullptr)), db_(other.db_), error_(std::move(other.error_)) {}

Statement& Statement::operator=(Statement&& other) noexcept {
  if (this != &other) {
    sqlite3_finalize(stmt_);
    stmt_ = std::exchange(other.stmt_, nullptr);
    db_ = other.db_;
    error_ = std::move(other.error_);
  }
  return *this;
}

void Statement::Bind(int index, std::string_view text) {
  sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

void Statement::Bind(int index, std::int64_t value) { sqlite3_bind_int64(stmt_, index, value); }

void Statement::Bind(int index, double value) { sqlite3_bind_double(stmt_, index, value); }

void Statement::BindBlob(int index, std::span<const std::uint8_t> bytes) {
  sqlite3_bind_blob(stmt_, index, bytes.data(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
}

StepResult Statement::Step() {
  if (!stmt_) return StepResult::Error;
  switch (sqlite3_step(stmt_)) {
    case SQLITE_ROW:
      return StepResult::Row;
    case SQLITE_DONE:
      return StepResult::Done;
    default:
      error_ = sqlite3_errmsg(db_);
      return StepResult::Error;
  }
}

void Statement::Reset() {
  if (!stmt_) return;
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
}

std::int64_t Statement::Int(int column) const { return sqlite3_column_int64(stmt_, column); }

double Statement::Double(int column) const { return sqlite3_column_double(stmt_, column); }

std::string Statement::Text(int column) const {
  const auto* text = sqlite3_column_text(stmt_, column);
  return text ? std::string(reinterpret_cast<const char*>(text), static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column)))
              : std::string();
}

std::vector<std::uint8_t> Statement::Blob(int column) const {
  const auto* bytes = static_cast<const std::uint8_t*>(sqlite3_column_blob(stmt_, column));
  const int n = sqlite3_column_bytes(stmt_, column);
  return bytes && n > 0 ? std::vector<std::uint8_t>(bytes, bytes + n) : std::vector<std::uint8_t>();
}

bool Statement::IsNull(int column) const { return sqlite3_column_type(stmt_, column) == SQLITE_NULL; }

int Statement::ColumnIndex(std::string_view name) const {
  const int n = stmt_ ? sqlite3_column_count(stmt_) : 0;
  for (int i = 0; i < n; ++i)
    if (const char* c = sqlite3_column_name(stmt_, i); c && name == c) return i;
  return -1;
}

}  // namespace twinex::db
