#pragma once
// Reads twinex-cli's own "--" options from the argument list. A value is either the next
// argument or written with "=" (--log=FILE). A next argument that starts with "-" is never
// taken as a value: "--delimiter -s34" must not swallow the search switch. Such a value, and
// an empty one where an empty value means nothing, is given with "=".
#include <optional>
#include <string>
#include <string_view>

namespace twinex::cli {

class ArgCursor {
 public:
  ArgCursor(int argc, char** argv) : argc_(argc), argv_(argv) {}

  bool Done() const { return next_ >= argc_; }
  // The next argument; for "--name=value" the name, with the value kept for Value().
  std::string_view Next();
  // The whole argument last read, as given.
  std::string_view Raw() const { return argv_[next_ - 1]; }
  // The value of the option just read. `allowEmpty` for options where "" means "none".
  std::optional<std::string> Value(bool allowEmpty = false);
  // A value written with "=" that no option took: a usage error.
  bool UnusedValue() const { return inline_.has_value(); }
  // The text to add to a usage error about a missing value.
  std::string ValueHint() const;

 private:
  int argc_;
  char** argv_;
  int next_ = 1;
  std::string_view option_;
  std::optional<std::string> inline_;
  bool refusedDash_ = false;
};

}  // namespace twinex::cli
