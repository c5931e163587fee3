#pragma once
// The one question every destructive file step asks just before it changes a file: does the
// group still keep a copy, and is the file about to go really a different file from the ones
// that stay? A result can name one file twice (a bind mount, a folder reached through a
// symbolic link), so row paths alone prove nothing: identities are read from the disk.
#include <cstddef>
#include <string>
#include <vector>

#include "actions/link_source.h"
#include "results/result_tree.h"

namespace twinex {

enum class Removal {
  Delete,       // the name and, with its last name, the data go for good
  Trash,        // the name goes; the data lives on in the trash
  Move,         // the name goes; the data lives on in the backup folder
  Rename,       // the name goes; the data stays under the new one
  Truncate,     // the name stays; the data goes
  LinkReplace,  // the name is replaced by a link to the group's link source
};

struct RemovalCase {
  Removal kind = Removal::Delete;
  const ResultGroup* group = nullptr;
  std::size_t row = 0;
  std::vector<char> kept;                  // per row of the group: 1 for a file that stays
  std::size_t linkSource = kNoLinkSource;  // LinkReplace: the row the link points to
  std::string pathNow;                     // where the file is now; empty: the row's path
};

// "" when the step may go ahead, otherwise the translated reason to log.
[[nodiscard]] std::string RemovalRefusal(const RemovalCase& c);

// The rows of a group that stay while the others are processed.
std::vector<char> KeptRows(const ResultGroup& group, const std::vector<int>& protectedSources);

// True when the path names the very file (device and inode) of a row that stays anywhere in
// the result: nothing may be renamed over it.
[[nodiscard]] bool IsKeptFileOfResult(const ResultTree& tree, const std::string& path,
                                      const std::vector<int>& protectedSources);

}  // namespace twinex
