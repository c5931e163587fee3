#pragma once
// A regular file opened for reading by offset. Comparison, checksums and tag readers read
// through it; errors come back as the system's message (the caller puts its step name in front).
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/unique_fd.h"

namespace twinex::platform {

class ReadOnlyFile {
 public:
  ReadOnlyFile() = default;
  ~ReadOnlyFile();
  ReadOnlyFile(const ReadOnlyFile&) = delete;
  ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

  // Opens the file; returns "" or the system's message. Anything but a regular file (a FIFO, a
  // device, a folder) is refused without reading from it. `sequential` announces front-to-back
  // reading so that the kernel reads ahead generously.
  [[nodiscard]] std::string Open(const std::string& path, bool sequential = true);
  // Opens `name` inside the open folder `folderFd` (no path lookup from the root), without
  // following a final symbolic link. The folder's listing already said the entry is a regular
  // file of `size` bytes, so the file is not asked again; should it have been swapped for a FIFO
  // meanwhile, the open does not wait and reading it fails.
  [[nodiscard]] std::string OpenInFolder(int folderFd, const std::string& name, std::uint64_t size);
  void Close();
  bool IsOpen() const { return static_cast<bool>(fd_); }
  // The size at the moment of opening.
  std::uint64_t Size() const { return size_; }

  // Reads exactly `length` bytes at `offset`; returns "" or the system's message. A file that
  // ends early (it shrank while being read) is an error, never a short block.
  [[nodiscard]] std::string ReadAt(std::uint64_t offset, void* buffer, std::size_t length) const;

 private:
  UniqueFd fd_;
  std::uint64_t size_ = 0;
};

// The system's message for an errno value.
std::string SystemErrorText(int err);

}  // namespace twinex::platform
