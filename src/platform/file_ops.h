#pragma once
// The file changes of the file manager. Each step either happens whole or leaves the file
// system as it was: renames replace nothing unless told to, a copy takes its name only once it
// is complete and checked, a removal that cannot finish changes nothing.
#include <cstdint>
#include <functional>
#include <string>

namespace twinex::platform {

// True when something (file, folder, link, even a dangling one) is at the path.
bool PathExists(const std::string& path);

// A free hidden name in the folder of `beside`, short enough for any folder.
std::string TempNameBeside(const std::string& beside);

// rename(2) that fails with "File exists" instead of replacing what is at `to`.
[[nodiscard]] std::string RenameNoReplace(const std::string& from, const std::string& to);
// rename(2), replacing a file at `to`.
[[nodiscard]] std::string RenameOver(const std::string& from, const std::string& to);
// A second name for the file (link(2)); fails when `to` exists.
[[nodiscard]] std::string LinkNoReplace(const std::string& from, const std::string& to);

// Copies a regular file to `to`, which must not exist. The data goes to a temporary file beside
// `to`; it takes the name only when its size matches and, with verifyContent, its bytes read
// back give the digest of what was read from `from`. Permissions and modification time come
// along, and the data is flushed to the disk before the rename. On failure nothing is left.
// `progress` hears the bytes copied after each block; when it returns false the copy stops, its
// temporary file goes, and the error is kCopyCancelled.
using CopyProgress = std::function<bool(std::uint64_t copied)>;
inline constexpr const char* kCopyCancelled = "copy: cancelled";
[[nodiscard]] std::string CopyFileChecked(const std::string& from, const std::string& to, bool verifyContent,
                            const CopyProgress& progress = {});

// Removes a file. With overwrite its bytes are overwritten with zeros once the name is gone, but
// only when no other name (hard link) still shows them; a file that cannot be opened for the
// overwrite is not removed.
[[nodiscard]] std::string RemoveFile(const std::string& path, bool overwrite);
// Sets the size of a regular file to 0 (a symbolic link is not followed).
[[nodiscard]] std::string TruncateToZero(const std::string& path);

// Creates the folder and its missing parents.
[[nodiscard]] std::string CreateFolderTree(const std::string& path);
// Removes a folder only when it is empty.
[[nodiscard]] std::string RemoveEmptyFolder(const std::string& path);
bool IsEmptyFolder(const std::string& path);

}  // namespace twinex::platform
