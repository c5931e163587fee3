#pragma once
// A thin hold on SQLite for the checksum database: one connection and prepared statements that
// finalise themselves. Errors come back as the library's message; nothing here throws.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace twinex::db {

class Connection {
 public:
  Connection() = default;
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  // Opens an existing file for reading and writing, or creates it when `create` is set.
  // Returns "" or the library's message; on failure nothing stays open.
  std::string Open(const std::string& path, bool create);
  void Close();
  bool IsOpen() const { return db_ != nullptr; }
  sqlite3* handle() const { return db_; }

  // Runs statements that return no rows (a batch may hold several). "" or the message.
  std::string Execute(const std::string& sql);
  std::string ErrorText() const;
  int ErrorCode() const;  // the primary result code of the last failure
  bool InTransaction() const;
  int Changes() const;  // rows changed by the last statement
  bool ReadOnly() const;
  // True when the file was deleted or renamed since it was opened.
  bool FileMoved() const;

 private:
  sqlite3* db_ = nullptr;
};

enum class StepResult { Row, Done, Error };

class Statement {
 public:
  Statement() = default;
  Statement(Connection& connection, std::string_view sql);
  ~Statement();
  Statement(Statement&& other) noexcept;
  Statement& operator=(Statement&& other) noexcept;
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  bool ok() const { return stmt_ != nullptr; }
  const std::string& error() const { return error_; }

  // Parameters are 1-based, as SQLite counts them. Texts and blobs are copied at binding.
  void Bind(int index, std::string_view text);
  void Bind(int index, const std::string& text) { Bind(index, std::string_view(text)); }
  void Bind(int index, const char* text) { Bind(index, std::string_view(text)); }
  void Bind(int index, std::int64_t value);
  void Bind(int index, int value) { Bind(index, static_cast<std::int64_t>(value)); }
  void Bind(int index, double value);
  void BindBlob(int index, std::span<const std::uint8_t> bytes);
  // Binds the values to the parameters 1, 2, … in order.
  template <typename... T>
  void BindAll(const T&... values) {
    int index = 0;
    (Bind(++index, values), ...);
  }

  StepResult Step();
  // Back to before the first row, bindings cleared, ready for the next use.
  void Reset();

  std::int64_t Int(int column) const;
  double Double(int column) const;
  std::string Text(int column) const;
  std::vector<std::uint8_t> Blob(int column) const;
  bool IsNull(int column) const;
  // The index of a result column by its name, -1 when the statement has none of that name.
  int ColumnIndex(std::string_view name) const;

 private:
  sqlite3_stmt* stmt_ = nullptr;
  sqlite3* db_ = nullptr;
  std::string error_;
};

}  // namespace twinex::db
