#include "actions/action_log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace twinex {

ActionLog::ActionLog(ActionObserver& observer, ActionLogTarget target)
    : observer_(observer), target_(std::move(target)) {}

ActionLog::~ActionLog() {
  if (fd_ >= 0) ::close(fd_);
}

std::string ActionLog::Open() {
  if (target_.path.empty() || !target_.write) return "";
  fd_ = ::open(target_.path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd_ < 0) return std::strerror(errno);
  struct stat st;
  if (::fstat(fd_, &st) == 0 && st.st_size == 0 && ::write(fd_, "\xFF\xFE", 2) != 2) {
    std::string error = std::strerror(errno);
    ::close(fd_);
    fd_ = -1;
    return error;
  }
  return "";
}

void ActionLog::Line(const std::string& text, bool isError) {
  observer_.OnLog(text, isError);
  if (fd_ >= 0) target_.write(fd_, text, isError);
}

}  // namespace twinex
