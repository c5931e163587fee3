#pragma once
// Folders opened by descriptor, each below its parent. A walk that opens its subfolders this
// way never hands the kernel a full path, so neither depth nor path length limits it, and a
// subfolder swapped for a link while the walk runs is not followed unless links are meant to be.
#include <cstdint>
#include <string>
#include <string_view>

namespace twinex::platform {

// What makes a folder the same folder under any of its names (links, bind mounts).
struct FolderId {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  bool operator==(const FolderId&) const = default;
  auto operator<=>(const FolderId&) const = default;
};

class FolderHandle {
 public:
  FolderHandle() = default;
  ~FolderHandle();
  FolderHandle(FolderHandle&& other) noexcept;
  FolderHandle& operator=(FolderHandle&& other) noexcept;
  FolderHandle(const FolderHandle&) = delete;
  FolderHandle& operator=(const FolderHandle&) = delete;

  // Opens a folder by path (of any length); a link named as the folder itself is followed.
  // Returns "" or "open: <system message>".
  std::string Open(const std::string& path);
  // Opens the subfolder `name` of `parent`; a link is refused unless `followLink`.
  std::string OpenChild(const FolderHandle& parent, std::string_view name, bool followLink);
  void Close();

  bool IsOpen() const { return fd_ >= 0; }
  int Descriptor() const { return fd_; }
  FolderId Id() const { return id_; }

 private:
  std::string Adopt(int fd, const char* step);

  int fd_ = -1;
  FolderId id_;
};

// The identity of the folder at `path` (links followed); false when it cannot be opened.
bool FolderIdOf(const std::string& path, FolderId& id);

// open(2) for a path of any length: a path the kernel refuses as too long is opened in steps,
// each below the folder the previous one reached. Returns the descriptor or -1 with errno set.
int OpenLongPath(const std::string& path, int flags);

}  // namespace twinex::platform
