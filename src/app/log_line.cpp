#include "app/log_line.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/date_time.h"
#include "platform/text.h"

namespace twinex {

std::string FormatLogLine(const std::string& text, bool isError) {
  std::string line = platform::FormatGeneralDate(platform::Now()) + " - ";
  if (isError) line += "ERROR: ";
  return line + text;
}

std::string AppendLogLine(const std::string& file, const std::string& line) {
  int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0) return std::string("open: ") + std::strerror(errno);
  struct stat st;
  std::string bytes;
  if (fstat(fd, &st) == 0 && st.st_size == 0) bytes = "\xFF\xFE";
  bytes += platform::EncodeUtf16LE(line + "\r\n", false);
  // One write call per line, so that lines of two processes appending at once do not mix.
  ssize_t n = ::write(fd, bytes.data(), bytes.size());
  std::string err = (n == static_cast<ssize_t>(bytes.size())) ? "" : std::string("write: ") + std::strerror(errno);
  ::close(fd);
  return err;
}

}  // namespace twinex
