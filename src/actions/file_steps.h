#pragma once
// The disk steps of the file actions on one file, shared by the file manager and the single-file
// actions of the result window. Each returns "" or the reason of its failure, and leaves the
// file where it was when it fails.
#include <string>

#include "platform/file_ops.h"

#include "results/result_tree.h"

namespace twinex {

// Why a row no longer names the file the search saw: gone, no longer a regular file, another
// size or modification time, another file at the path. "" while it is still that file. A file
// that changed since the search is never removed or replaced.
[[nodiscard]] std::string ChangedSinceSearch(const ResultFile& file);
// The same for the file now at `path` (after a rename).
[[nodiscard]] std::string ChangedSinceSearch(const ResultFile& file, const std::string& path);
bool OnSameFileSystem(const std::string& a, const std::string& b);

// Puts the file at `target`, which must be free (unless replace). Within one file system a
// rename; across file systems a copy whose bytes are checked before the original goes. With
// keepSource the original stays (the caller puts a link in its place, or calls UndoPlace).
// A copy reports to `progress` and stops when it says so (platform::kCopyCancelled).
[[nodiscard]] std::string PlaceFile(const std::string& path, const std::string& target, bool keepSource, bool replace = false,
                      const platform::CopyProgress& progress = {});
// Takes back a placement made with keepSource.
void UndoPlace(const std::string& target);
// A copy checked by its size.
[[nodiscard]] std::string CopyFileTo(const std::string& path, const std::string& target, bool replace = false,
                       const platform::CopyProgress& progress = {});
// Tests: every target counts as on another file system, so that a move copies.
void AlwaysCopyForTesting(bool on);
// Permanent removal; secure overwrites the bytes when no other name shows them.
[[nodiscard]] std::string DeleteFileStep(const std::string& path, bool secure);

}  // namespace twinex
