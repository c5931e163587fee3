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

std::string AppendLogBytes(const std::string& file, std::string_view utf16Bytes) {
  int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0) return std::string("open: ") + std::strerror(errno);
  struct stat st;
  std::string bytes;
  if (fstat(fd, &st) == 0 && st.st_size == 0) bytes = "\xFF\xFE";
  bytes.append(utf16Bytes);
  // One write call per line, so that lines of two processes appending at once do not mix.
  ssize_t n;
  do {
    n = ::write(fd, bytes.data(), bytes.size());
  } while (n < 0 && errno == EINTR);
  std::string err;
  if (n != static_cast<ssize_t>(bytes.size())) {
    err = std::string("write: ") + std::strerror(n < 0 ? errno : ENOSPC);
    if (n > 0) {
      // Half a line (an odd byte count even) would shift every later UTF-16 character; the
      // part is taken back unless another process has appended behind it meanwhile.
      off_t end = lseek(fd, 0, SEEK_CUR);
      if (end >= n && fstat(fd, &st) == 0 && st.st_size == end && ftruncate(fd, end - n) != 0) {
        // Nothing more can be done; the error is reported.
      }
    }
  }
  ::close(fd);
  return err;
}

std::string AppendLogLine(const std::string& file, const std::string& line) {
  return AppendLogBytes(file, platform::EncodeUtf16LE(line + "\r\n", false));
}

std::string CreateLogFile(const std::string& file) {
  int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) return errno == EEXIST ? "" : std::string("open: ") + std::strerror(errno);
  std::string err;
  if (::write(fd, "\xFF\xFE", 2) != 2) err = std::string("write: ") + std::strerror(errno);
  ::close(fd);
  return err;
}

}  // namespace twinex
