#pragma once
// Temporary copies of archive members. The file name is ours: a running number, "_" and the
// member's name cleaned of anything that could lead out of the temporary folder, so a hostile
// name ("../../x", "/etc/x", "C:\x", control characters) is only ever shown, never used as a path.
// The data goes through a sink that stops at the size limit and before the folder runs full.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "search/archive_reader.h"

namespace twinex {

// The member's file name made safe for one path component: the part after the last "/" or "\",
// without control characters (NUL included) and without ":"; "." and ".." and an empty rest
// become "_"; cut to a length every file system takes, on a character boundary.
std::string SafeMemberFileName(std::string_view pathInsideZip);

// "<counter>_<safe name>".
std::string TempCopyName(std::uint64_t counter, std::string_view pathInsideZip);

// Receives a member's data into a new file. Nothing that exists is opened or replaced: the file
// is created fresh (no link is followed). The sink refuses data beyond maxBytes and data the
// folder's free space cannot take (keeping a reserve for everything else); on any failure, or
// when it is dropped before Finish, the partial file is removed.
class MemberSink {
 public:
  // Bytes left free on the temporary folder's file system that the sink never fills.
  static constexpr std::uint64_t kReserveBytes = 64ull << 20;

  MemberSink(std::string path, std::uint64_t maxBytes, std::uint64_t reserveBytes = kReserveBytes);
  ~MemberSink();
  MemberSink(const MemberSink&) = delete;
  MemberSink& operator=(const MemberSink&) = delete;

  // Checks the announced size against the limits and creates the file.
  ArchiveOutcome Begin(std::uint64_t announcedSize);
  ArchiveOutcome Write(const void* data, std::size_t size);
  // Told the bytes written so far after each write.
  void OnWritten(std::function<void(std::uint64_t)> onWritten) { onWritten_ = std::move(onWritten); }
  ArchiveOutcome Finish();
  // Removes the partial file (also done by the destructor unless Finish succeeded).
  void Abandon();

  const std::string& path() const { return path_; }
  std::uint64_t written() const { return written_; }

 private:
  ArchiveOutcome CheckRoom(std::uint64_t more);

  std::string path_;
  std::uint64_t maxBytes_;
  std::uint64_t reserveBytes_;
  std::uint64_t written_ = 0;
  std::uint64_t roomChecked_ = 0;  // bytes known to fit since the last free-space look
  int fd_ = -1;
  bool created_ = false;
  bool done_ = false;
  std::function<void(std::uint64_t)> onWritten_;
};

}  // namespace twinex
