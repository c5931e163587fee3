#pragma once
// The desktop trash, laid out as freedesktop.org desktops share it. Written here rather than through
// GLib/GIO so that the engine and the command line stay free of a toolkit: a trash is two
// folders and a small text file per entry.
//
// A file on the file system of the home trash ($XDG_DATA_HOME/Trash, default
// ~/.local/share/Trash) goes there; a file on another mount goes to $topdir/.Trash/$uid (when
// $topdir/.Trash is a real folder with the sticky bit) or else $topdir/.Trash-$uid. The entry's
// "info/NAME.trashinfo" is written first and claims the name; only then is the file renamed to
// "files/NAME", so a file is never in the trash without the note that says where it came from.
#include <string>

namespace twinex::platform {

enum class TrashStatus { Trashed, NoTrash, Failed };

struct TrashOutcome {
  TrashStatus status = TrashStatus::Failed;
  std::string error;      // why, for NoTrash and Failed
  std::string filesPath;  // the entry in files/
  std::string infoPath;   // its .trashinfo
};

// The trash folder a file would go to ("" and the reason when its file system has none that
// can be used). Creates the trash folders when missing.
[[nodiscard]] std::string TrashFolderFor(const std::string& path, std::string* why = nullptr);

// Moves a file into its trash. With keepName the file also stays at its path (the trash gets a
// second name of it), so that the caller can put something in its place and call UndoTrash when
// that fails.
[[nodiscard]] TrashOutcome MoveToTrash(const std::string& path, bool keepName = false);
// Takes an entry made with keepName out of the trash again.
void UndoTrash(const TrashOutcome& entry);

// The text of a .trashinfo file: the original path (percent-encoded, relative to the mount for a
// mount's own trash) and the local deletion time.
std::string TrashInfoText(const std::string& pathInInfo, double deletionDate);
// Percent-encoding of a path for the "Path=" key ("/" and unreserved characters stay).
std::string EscapeTrashPath(const std::string& path);

}  // namespace twinex::platform
