#include "search/archive_extract.h"

#include <fcntl.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace twinex {
namespace {

// Far below NAME_MAX (255 bytes), leaving room for the number in front.
constexpr std::size_t kMaxNameBytes = 200;

// Free space is looked at again after this much data, not for every block.
constexpr std::uint64_t kRoomStep = 16ull << 20;

bool IsUtf8Continuation(unsigned char c) { return (c & 0xC0) == 0x80; }

std::string Folder(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

std::string SafeMemberFileName(std::string_view inner) {
  const std::size_t cut = inner.find_last_of("/\\");
  std::string_view last = cut == std::string_view::npos ? inner : inner.substr(cut + 1);
  std::string out;
  out.reserve(last.size());
  for (char c : last) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F) continue;
    out += c == ':' ? '_' : c;
  }
  if (out.size() > kMaxNameBytes) {
    std::size_t end = kMaxNameBytes;
    while (end > 0 && IsUtf8Continuation(static_cast<unsigned char>(out[end]))) --end;
    out.resize(end);
  }
  if (out.empty() || out == "." || out == "..") out = "_";
  return out;
}

std::string TempCopyName(std::uint64_t counter, std::string_view pathInsideZip) {
  return std::to_string(counter) + "_" + SafeMemberFileName(pathInsideZip);
}

MemberSink::MemberSink(std::string path, std::uint64_t maxBytes, std::uint64_t reserveBytes)
    : path_(std::move(path)), maxBytes_(maxBytes), reserveBytes_(reserveBytes) {}

MemberSink::~MemberSink() {
  if (!done_) Abandon();
}

ArchiveOutcome MemberSink::CheckRoom(std::uint64_t more) {
  struct statvfs fs {};
  if (::statvfs(Folder(path_).c_str(), &fs) != 0) return {ArchiveError::kWrite, std::strerror(errno)};
  const std::uint64_t avail = static_cast<std::uint64_t>(fs.f_bavail) * fs.f_frsize;
  if (avail < reserveBytes_ || avail - reserveBytes_ < more) return {ArchiveError::kNoSpace, std::strerror(ENOSPC)};
  return {};
}

ArchiveOutcome MemberSink::Begin(std::uint64_t announcedSize) {
  if (announcedSize > maxBytes_) return {ArchiveError::kTooLarge, ""};
  if (ArchiveOutcome room = CheckRoom(announcedSize); !room.ok()) return room;
  roomChecked_ = announcedSize;
  // O_EXCL with O_CREAT never follows a link at the name and never reuses a file.
  fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd_ < 0) return {ArchiveError::kWrite, std::string("open: ") + std::strerror(errno)};
  created_ = true;
  return {};
}

ArchiveOutcome MemberSink::Write(const void* data, std::size_t size) {
  if (fd_ < 0) return {ArchiveError::kWrite, "not open"};
  if (size > maxBytes_ - written_) return {ArchiveError::kTooLarge, ""};
  if (written_ + size > roomChecked_) {
    // The archive's size may lie (a bomb announces little and unpacks much): look again.
    // What is written already has left the free space, so only what comes next is asked for.
    if (ArchiveOutcome room = CheckRoom(size + kRoomStep); !room.ok()) return room;
    roomChecked_ = written_ + size + kRoomStep;
  }
  const char* p = static_cast<const char*>(data);
  std::size_t left = size;
  while (left > 0) {
    const ssize_t n = ::write(fd_, p, left);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return {errno == ENOSPC ? ArchiveError::kNoSpace : ArchiveError::kWrite, std::strerror(errno)};
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  written_ += size;
  if (onWritten_) onWritten_(written_);
  return {};
}

ArchiveOutcome MemberSink::Finish() {
  if (fd_ < 0) return {ArchiveError::kWrite, "not open"};
  const int rc = ::close(fd_);
  fd_ = -1;
  if (rc != 0) return {errno == ENOSPC ? ArchiveError::kNoSpace : ArchiveError::kWrite, std::strerror(errno)};
  done_ = true;
  return {};
}

void MemberSink::Abandon() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (created_) ::unlink(path_.c_str());
  created_ = false;
  done_ = false;
}

}  // namespace twinex
