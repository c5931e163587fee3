#include "actions/action_log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace twinex {

ActionLog::ActionLog(ActionObserver& observer, ActionLogTarget target)
    : observer_(observer), target_(std::move(target)) {}

std::string ActionLog::Open() {
  if (target_.path.empty() || !target_.write) return "";
  fd_.Reset(::open(target_.path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644));
  if (!fd_) return std::strerror(errno);
  struct stat st;
  if (::fstat(fd_.get(), &st) == 0 && st.st_size == 0 && !platform::WriteAll(fd_.get(), "\xFF\xFE", 2)) {
    std::string error = std::strerror(errno);
    fd_.Reset();
    return error;
  }
  return "";
}

void ActionLog::Line(const std::string& text, bool isError) {
  observer_.OnLog(text, isError);
  // A line the file does not take is still shown; the run must not end over its log.
  if (fd_) (void)target_.write(fd_.get(), text, isError);
}

}  // namespace twinex
