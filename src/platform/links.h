#pragma once
// Hard links and symbolic links standing in for a file. A file is never replaced by removing it
// first: the link is made under a temporary name beside it and renamed over it, so the path
// shows the old file or the link, never nothing.
#include <string>

namespace twinex::platform {

// Replaces the file at `path` by a second name of `source` (link(2)). Both must lie on one file
// system. Nothing to do when the two are one file already.
[[nodiscard]] std::string ReplaceWithHardLink(const std::string& path, const std::string& source);
// Replaces the file at `path` by a symbolic link holding `target` (an absolute path).
[[nodiscard]] std::string ReplaceWithSymlink(const std::string& path, const std::string& target);

// Whether the file system holding the path can give a file more than one name.
bool SupportsHardLinks(const std::string& path);
// File-system types that cannot (FAT family, optical media).
bool FileSystemHasHardLinks(const std::string& fsType);

}  // namespace twinex::platform
