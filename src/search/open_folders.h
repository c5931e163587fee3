#pragma once
// The folders from a source down to the one being walked, each opened below its parent. Only
// a bounded number stay open: a deeper tree closes its shallowest folders and opens them again,
// checked to be the same folder, when the walk climbs back to them.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/folder_handle.h"

namespace twinex {

class OpenFolders {
 public:
  explicit OpenFolders(bool followLinks, std::size_t maxOpen = 64) : follow_(followLinks), maxOpen_(maxOpen) {}

  // The source folder itself (a link named as the source is followed). "" or the error.
  std::string EnterSource(const std::string& path);
  // A subfolder of the current folder. "" or the error; nothing is entered on an error.
  std::string Enter(std::string_view name);
  void Leave();

  // The current folder, opened again when it had been closed. "" or the error.
  std::string Current(const platform::FolderHandle*& folder);
  platform::FolderId CurrentId() const { return levels_.back().id; }
  std::size_t Depth() const { return levels_.size(); }

 private:
  struct Level {
    std::string name;  // below its parent; the source's full path for the first level
    platform::FolderId id;
    platform::FolderHandle handle;
  };
  std::string Reopen(std::size_t index);
  void KeepWithinBudget();

  std::vector<Level> levels_;
  bool follow_;
  std::size_t maxOpen_;
  std::size_t open_ = 0;
};

}  // namespace twinex
