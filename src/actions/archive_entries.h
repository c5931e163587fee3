#pragma once
// Files inside archives: which archive kinds the file manager can change, and deleting one entry
// from a 7z or ZIP archive with the external archiver (Debian package 7zip, program 7zz).
#include <string>

namespace twinex {

inline constexpr const char* kArchiverProgram = "7zz";
inline constexpr const char* kArchiverPackage = "7zip";

// The name of an archive kind in the messages ("ZIP", "RAR", "7z", …; "???" when unknown).
std::string ArchiveTypeName(int archiveType);
// Only entries of ZIP and 7z archives can be deleted in place.
bool ArchiveAllowsDelete(int archiveType);

// Deletes one entry (its path inside the archive, "\" or "/" separated). Returns "" or the text
// for the error message: the archiver's exit code and its meaning, or that the program is
// missing and which package brings it.
[[nodiscard]] std::string DeleteArchiveEntry(const std::string& archiver, const std::string& archive, const std::string& entry);

}  // namespace twinex
