#pragma once
// Where an export is written: a temporary file beside the target that replaces the target only
// once it is complete, so a failed or cancelled export leaves the user's previous file intact
// and no half-written file behind.
#include <cstdio>
#include <string>
#include <string_view>

namespace twinex::exporting {

class ExportTarget {
 public:
  explicit ExportTarget(std::string target);
  ~ExportTarget();  // removes the temporary file unless it was committed
  ExportTarget(const ExportTarget&) = delete;
  ExportTarget& operator=(const ExportTarget&) = delete;

  // Creates the empty temporary file; returns an error text ("" on success).
  std::string Create();
  const std::string& TempPath() const { return temp_; }
  // Makes the finished temporary file durable and renames it over the target; error or "".
  std::string Commit();
  void Discard();

 private:
  std::string target_;  // a symbolic link's destination: the link itself stays
  std::string temp_;
  bool committed_ = false;
};

// Text lines as UTF-16LE with byte-order mark, each ending with CR LF, through a buffered
// stream: large results never sit in memory as a whole.
class Utf16LineFile {
 public:
  Utf16LineFile() = default;
  ~Utf16LineFile();
  Utf16LineFile(const Utf16LineFile&) = delete;
  Utf16LineFile& operator=(const Utf16LineFile&) = delete;

  std::string Open(const std::string& path);  // writes FF FE; error or ""
  void WriteLine(std::string_view utf8);       // the first failure is kept for Close
  std::string Close();                         // error or ""

 private:
  std::FILE* file_ = nullptr;
  std::string error_;
};

}  // namespace twinex::exporting
