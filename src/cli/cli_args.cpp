#include "cli/cli_args.h"

namespace twinex::cli {

std::string_view ArgCursor::Next() {
  std::string_view a = argv_[next_++];
  inline_.reset();
  refusedDash_ = false;
  option_ = a;
  if (a.substr(0, 2) == "--") {
    if (const std::size_t eq = a.find('='); eq != std::string_view::npos) {
      inline_ = std::string(a.substr(eq + 1));
      option_ = a.substr(0, eq);
    }
  }
  return option_;
}

std::optional<std::string> ArgCursor::Value(bool allowEmpty) {
  if (inline_) {
    std::optional<std::string> v = std::move(inline_);
    inline_.reset();
    if (v->empty() && !allowEmpty) return std::nullopt;
    return v;
  }
  if (Done()) return std::nullopt;
  std::string_view v = argv_[next_];
  // A lone "-" is a value (standard output for --log); anything longer is an option.
  if (v.size() > 1 && v.front() == '-') {
    refusedDash_ = true;
    return std::nullopt;
  }
  if (v.empty() && !allowEmpty) return std::nullopt;
  ++next_;
  return std::string(v);
}

std::string ArgCursor::ValueHint() const {
  return refusedDash_ ? " (a value that starts with \"-\" is written " + std::string(option_) + "=VALUE)" : "";
}

}  // namespace twinex::cli
