#pragma once
// What a dry run can learn about a folder without changing anything.
#include <cstdint>
#include <string>

namespace twinex::platform {

// The folder itself, or the nearest existing ancestor when it is not there yet.
[[nodiscard]] std::string NearestExistingFolder(const std::string& folder);
// Whether this process may add and remove entries in the folder (or, when it does not exist yet,
// in the folder it would be made in). "" or the reason.
[[nodiscard]] std::string FolderWritable(const std::string& folder);
// Bytes an unprivileged writer may still use on the folder's file system; false when unknown.
[[nodiscard]] bool FreeBytes(const std::string& folder, std::uint64_t& bytes);

}  // namespace twinex::platform
