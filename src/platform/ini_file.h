#pragma once
// The settings-file module: private-profile semantics on UTF-16LE files with byte-order mark.
// Section and key names match without regard to case, the first match wins, one pair of
// enclosing double quotes is stripped on read, writing a key of a missing section appends the
// section, and every write replaces the file through a temporary file and a rename.
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace twinex::platform {

// GetPrivateProfileStringW: the stored value (blanks around it trimmed, one pair of enclosing
// quotes removed), or def when the section or key is missing. A key stored empty reads "".
[[nodiscard]] std::string IniRead(const std::string& file, std::string_view section, std::string_view key,
                    std::string_view def);
// WritePrivateProfileStringW with a key and value. Returns an error text, "" on success.
[[nodiscard]] std::string IniWrite(const std::string& file, std::string_view section, std::string_view key,
                     std::string_view value);
// WritePrivateProfileStringW with a null key: removes the whole section.
[[nodiscard]] std::string IniDeleteSection(const std::string& file, std::string_view section);
// Key names of a section in file order (empty when missing).
std::vector<std::string> IniSectionKeys(const std::string& file, std::string_view section);

// While a batch is open for a file, reads and writes of that file work on one parsed copy in
// memory and the file is written once when the outermost batch for it ends (or on Commit).
// Saving all settings therefore costs one write instead of hundreds. Changes that another
// process makes to the file meanwhile are not seen, and are overwritten if the batch writes.
class IniBatch {
 public:
  explicit IniBatch(const std::string& file);
  ~IniBatch();
  IniBatch(const IniBatch&) = delete;
  IniBatch& operator=(const IniBatch&) = delete;
  // Writes pending changes now (even inside an outer batch) and ends this batch; error or "".
  [[nodiscard]] std::string Commit();

 private:
  [[nodiscard]] std::string End(bool writeNow);

  std::string file_;
  bool active_ = false;  // false when the file could not be read at the start
  bool committed_ = false;
};

// Writes bytes to path through a temporary file beside it and an atomic rename.
[[nodiscard]] std::string WriteFileAtomic(const std::string& path, std::string_view bytes);
// Reads a whole file; false when it cannot be read.
bool ReadWholeFile(const std::string& path, std::string& bytes, std::string* error = nullptr);

}  // namespace twinex::platform
