#include "app/cut_logfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstring>

#include "app/logs.h"
#include "platform/date_time.h"
#include "platform/file_system.h"
#include "platform/text.h"
#include "settings/translate.h"

namespace twinex {
namespace {

constexpr std::size_t kBlockSize = 8192;

std::string SystemError() { return std::strerror(errno); }

std::string ReadError(const std::string& file) {
  return z_Translate(12003, "Beim Lesen von Datei '%2' ist ein Fehler aufgetreten: %1", {SystemError(), file});
}

std::string WriteError(const std::string& file) {
  return z_Translate(12006, "Beim Schreibzugriff auf die Datei '%1' ist ein Fehler aufgetreten: %2",
                     {file, SystemError()});
}

// A line goes when it starts with a digit, holds " - ", the text before that is a log date and
// that date lies at least `days` calendar days back.
bool OldEnough(std::string_view utf16Line, int days, double today) {
  std::string text = platform::DecodeUtf16LE(utf16Line);
  if (text.empty() || text[0] < '0' || text[0] > '9') return false;
  std::size_t dash = text.find(" - ");
  double date = 0;
  if (dash == std::string::npos || !platform::ParseGeneralDate(text.substr(0, dash), date)) return false;
  return std::floor(today) - std::floor(date) >= days;
}

// Offset of the next CR LF (as UTF-16LE code units) at or after `from`, or npos.
std::size_t FindLineEnd(const std::string& bytes, std::size_t from) {
  for (std::size_t i = from; i + 3 < bytes.size(); i += 2)
    if (bytes[i] == '\r' && bytes[i + 1] == '\0' && bytes[i + 2] == '\n' && bytes[i + 3] == '\0') return i;
  return std::string::npos;
}

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  int release() {
    int fd = fd_;
    fd_ = -1;
    return fd;
  }

 private:
  int fd_;
};

bool WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = ENOSPC;
      return false;
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

// Bytes of the leading lines to remove (after the mark); false with the error text on failure.
// A log without the mark is not one of ours and is left alone (0).
bool MeasureCut(int fd, const std::string& file, int days, std::uint64_t& cut, std::string& error) {
  const double today = platform::Now();
  std::string pending;
  std::size_t pos = 0;  // first unexamined byte of pending
  bool markChecked = false;
  char block[kBlockSize];
  cut = 0;
  for (;;) {
    ssize_t n = ::read(fd, block, sizeof block);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      error = ReadError(file);
      return false;
    }
    if (n == 0) break;
    pending.append(block, static_cast<std::size_t>(n));
    if (!markChecked) {
      if (pending.size() < 2) continue;
      if (pending.compare(0, 2, "\xFF\xFE") != 0) return true;
      pos = 2;
      markChecked = true;
    }
    for (std::size_t end; (end = FindLineEnd(pending, pos)) != std::string::npos; pos = end + 4) {
      if (!OldEnough(std::string_view(pending).substr(pos, end - pos), days, today)) return true;
      cut += end + 4 - pos;
    }
    // Keep only the unfinished line.
    pending.erase(0, pos);
    pos = 0;
  }
  // A last line without CR LF counts like any other.
  if (markChecked && pos < pending.size() && (pending.size() - pos) % 2 == 0 &&
      OldEnough(std::string_view(pending).substr(pos), days, today))
    cut += pending.size() - pos;
  return true;
}

}  // namespace

std::string Cut_Logfile(const std::string& file, int days) {
  if (!platform::ExistFile(file)) return "";
  Fd in(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
  if (in.get() < 0)
    return z_Translate(12002, "Die Datei '%1' konnte nicht geöffnet werden. (%2)", {file, SystemError()});

  std::uint64_t cut = 0;
  std::string error;
  if (!MeasureCut(in.get(), file, days, cut, error)) return error;
  if (cut == 0) return "";
  const off_t cutPos = static_cast<off_t>(cut + 2);  // past the mark

  const std::string tmp = file + ".tmp";
  ::unlink(tmp.c_str());
  struct stat st;
  mode_t mode = fstat(in.get(), &st) == 0 ? (st.st_mode & 07777) : 0644;
  Fd out(::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode));
  if (out.get() < 0)
    return z_Translate(12005, "Die Datei '%1' konnte nicht erstellt werden. (%2)", {tmp, SystemError()});

  auto fail = [&tmp](std::string text) {
    ::unlink(tmp.c_str());
    return text;
  };
  if (!WriteAll(out.get(), "\xFF\xFE", 2)) return fail(WriteError(tmp));
  if (lseek(in.get(), cutPos, SEEK_SET) != cutPos)
    return fail(z_Translate(12004, "Beim Zugriff auf die Datei '%1' ist ein Fehler aufgetreten: %2 (%3)",
                            {file, SystemError(), "xSetFilePointerPos"}));
  // Copied to the very end, so lines appended while the old ones were measured are kept.
  char block[kBlockSize];
  for (;;) {
    ssize_t n = ::read(in.get(), block, sizeof block);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return fail(ReadError(file));
    if (n == 0) break;
    if (!WriteAll(out.get(), block, static_cast<std::size_t>(n))) return fail(WriteError(tmp));
  }
  if (fsync(out.get()) != 0 || ::close(out.release()) != 0) return fail(WriteError(tmp));
  if (::rename(tmp.c_str(), file.c_str()) != 0) return fail(WriteError(file));
  return "";
}

void TrimGeneralLog(const ProgramOptions& options) {
  if (!options.LogDel) return;
  const std::string log = GetLogFiles().generalLog;
  if (log.empty()) return;
  const int days = LogDelDaysValue(options);
  LogProtokollMain(z_Translate(12000,
                               "Protokolleinträge älter als %1 Tag(e) werden aus der Protokolldatei '%2' gelöscht.",
                               {std::to_string(days), log}));
  std::string error = Cut_Logfile(log, days);
  if (!error.empty())
    LogProtokollMain(
        z_Translate(12001, "Beim Löschen von alten Protokolleinträgen ist ein Fehler aufgetreten: %1", {error}));
}

}  // namespace twinex
