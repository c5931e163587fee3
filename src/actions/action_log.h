#pragma once
// The log of one file-manager run: every line goes to the observer and, while it is open, to the
// action log file through the program's log writer.
#include <string>

#include "actions/file_manager.h"
#include "platform/unique_fd.h"

namespace twinex {

class ActionLog {
 public:
  ActionLog(ActionObserver& observer, ActionLogTarget target);
  ActionLog(const ActionLog&) = delete;
  ActionLog& operator=(const ActionLog&) = delete;

  // Opens the file for appending (a new file starts with the byte-order mark); "" or the reason.
  [[nodiscard]] std::string Open();
  // A line that cannot be written to the file is lost there; the observer still gets it.
  void Line(const std::string& text, bool isError = false);

 private:
  ActionObserver& observer_;
  ActionLogTarget target_;
  platform::UniqueFd fd_;
};

}  // namespace twinex
