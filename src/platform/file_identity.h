#pragma once
// Which file a path really names. Two paths can name one directory entry (a bind mount, a folder
// reached through a symbolic link) or two entries of one file (hard links); texts cannot tell.
#include <cstdint>
#include <string>

namespace twinex::platform {

struct EntryIdentity {
  bool exists = false;
  std::uint64_t device = 0, inode = 0, links = 0;  // the file itself (a final symbolic link is not followed)
  std::uint64_t folderDevice = 0, folderInode = 0;  // the folder holding the entry
  std::string name;
  std::string canonicalPath;  // folder with every symbolic link resolved, then the name
};

[[nodiscard]] EntryIdentity GetEntryIdentity(const std::string& path);
// The very same directory entry reached twice.
[[nodiscard]] bool SameEntry(const EntryIdentity& a, const EntryIdentity& b);
// The same file (device and inode), possibly under two names.
[[nodiscard]] bool SameFile(const EntryIdentity& a, const EntryIdentity& b);

// Whether `path` (existing or not) lies in or at `folder`, judged by identity: the nearest
// existing ancestor of `path` is resolved and each of its ancestors compared with the folder's
// device and inode. False when the folder does not exist.
[[nodiscard]] bool IsWithinFolder(const std::string& path, const std::string& folder);

}  // namespace twinex::platform
