#pragma once
// File-system facts as the rest of the engine needs them: one listing per folder, statx per
// entry, never opening a file just to list it.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace twinex::platform {

// Windows-style attribute bits derived from a Linux file.
enum : std::uint32_t {
  kAttrReadOnly = 0x1,     // no write permission for the owner
  kAttrHidden = 0x2,       // name begins with "."
  kAttrDirectory = 0x10,
  kAttrNormal = 0x80,      // no other bit set
  kAttrSparse = 0x200,     // fewer allocated blocks than the size needs
  kAttrReparsePoint = 0x400,  // symbolic link
};

struct FileInfo {
  std::string name;            // entry name (bytes as on disk)
  std::uint64_t size = 0;
  std::uint32_t attributes = 0;
  double modified = 0;         // local Date value (days since 30 Dec 1899), to the second
  double created = 0;          // birth time where reported, else the modification time
  std::uint64_t device = 0;    // volume id (st_dev)
  std::uint64_t inode = 0;
  std::uint64_t links = 0;
  bool isDirectory = false;    // for a symbolic link: whether its target is a directory
  bool isSymlink = false;
  bool isRegular = false;      // regular file (for a symbolic link: its target is one)
};

// Reads the facts of one path without following a final symbolic link (lstat semantics), but
// fills isDirectory/isRegular from the link target. Returns an error text ("statx: ...") or "".
[[nodiscard]] std::string GetFileInfo(const std::string& path, FileInfo& info);

// Lists one folder. The callback gets each entry except "." and ".."; returning false stops
// the listing. Returns an error text when the folder cannot be opened ("" on success).
// Entries whose statx fails (vanished mid-listing) are skipped.
std::string ListFolder(const std::string& folder, const std::function<bool(const FileInfo&)>& onEntry);
// The same for a folder already open (O_RDONLY | O_DIRECTORY); the descriptor stays open.
std::string ListFolderAt(int folderFd, const std::function<bool(const FileInfo&)>& onEntry);

bool ExistFolder(const std::string& path);  // xExistFolder
bool ExistFile(const std::string& path);

// Text after the last "." of the name; empty when the name has no ".". No lower-casing.
std::string xGetExtension(std::string_view name);

// Joins folder and name with "/" (no doubled separator when folder is "/").
std::string JoinPath(std::string_view folder, std::string_view name);
// Removes trailing "/" (keeps the root "/").
std::string StripTrailingSlash(std::string_view path);
// A name that can stand as one file name in a folder: not empty, not "." or "..", no "/" or
// NUL, and at most maxBytes long.
bool IsPlainFileName(std::string_view name, std::size_t maxBytes = 255);
// Absolute, lexically normalised path (no symlink resolution); relative paths use the cwd.
std::string AbsolutePath(std::string_view path);
std::string ParentFolder(std::string_view path);
std::string FileNameOf(std::string_view path);

// Long-path form of the Windows layer: "\\?\UNC" + path without its first character for
// "\\server\share", otherwise "\\?\" + path. Pure text; Linux paths need no prefix.
std::string ToLongPath(std::string_view windowsPath);

// Temp folder of the system ($TMPDIR or /tmp).
std::string SystemTempFolder();

}  // namespace twinex::platform

namespace twinex::platform {

// Entry kinds of a listing that needs names only (d_type; lstat where the file system does not
// report it). Used by the counting walk, which must not pay for a statx per file.
enum class EntryKind { File, Directory, SymlinkToDirectory, SymlinkOther, Other };
// Lists one folder by names; the callback returns false to stop. Returns an error text or "".
std::string ListFolderNames(const std::string& folder,
                            const std::function<bool(std::string_view name, EntryKind kind)>& onEntry);
// The same for a folder already open (O_RDONLY | O_DIRECTORY); the descriptor stays open.
std::string ListFolderNamesAt(int folderFd,
                              const std::function<bool(std::string_view name, EntryKind kind)>& onEntry);

}  // namespace twinex::platform
