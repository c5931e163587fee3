#include "search/open_folders.h"

namespace twinex {

std::string OpenFolders::EnterSource(const std::string& path) {
  Level level;
  level.name = path;
  if (std::string e = level.handle.Open(path); !e.empty()) return e;
  level.id = level.handle.Id();
  levels_.push_back(std::move(level));
  ++open_;
  return "";
}

std::string OpenFolders::Enter(std::string_view name) {
  const platform::FolderHandle* parent = nullptr;
  if (std::string e = Current(parent); !e.empty()) return e;
  Level level;
  level.name = std::string(name);
  if (std::string e = level.handle.OpenChild(*parent, name, follow_); !e.empty()) return e;
  level.id = level.handle.Id();
  levels_.push_back(std::move(level));
  ++open_;
  KeepWithinBudget();
  return "";
}

void OpenFolders::Leave() {
  if (levels_.empty()) return;
  if (levels_.back().handle.IsOpen()) --open_;
  levels_.pop_back();
}

std::string OpenFolders::Current(const platform::FolderHandle*& folder) {
  if (levels_.empty()) return "no folder";
  if (!levels_.back().handle.IsOpen())
    if (std::string e = Reopen(levels_.size() - 1); !e.empty()) return e;
  folder = &levels_.back().handle;
  return "";
}

void OpenFolders::KeepWithinBudget() {
  // The current folder and its parent are needed next; the shallowest ones the longest after.
  for (std::size_t i = 0; open_ > maxOpen_ && i + 2 < levels_.size(); ++i) {
    if (!levels_[i].handle.IsOpen()) continue;
    levels_[i].handle.Close();
    --open_;
  }
}

std::string OpenFolders::Reopen(std::size_t index) {
  std::size_t from = index;
  while (from > 0 && !levels_[from].handle.IsOpen()) --from;
  if (!levels_[from].handle.IsOpen()) {  // nothing open above: start again at the source
    if (std::string e = levels_[0].handle.Open(levels_[0].name); !e.empty()) return e;
    ++open_;
  }
  platform::FolderHandle walker;
  const platform::FolderHandle* at = &levels_[from].handle;
  for (std::size_t i = from + 1; i <= index; ++i) {
    platform::FolderHandle next;
    if (std::string e = next.OpenChild(*at, levels_[i].name, follow_); !e.empty()) return e;
    walker = std::move(next);
    at = &walker;
  }
  if (at->Id() != levels_[index].id) return "the folder was replaced while it was searched";
  if (index != from) {
    levels_[index].handle = std::move(walker);
    ++open_;
  }
  KeepWithinBudget();
  return "";
}

}  // namespace twinex
