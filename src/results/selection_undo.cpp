#include "results/selection_undo.h"

#include <unordered_map>

#include "platform/text.h"
#include "settings/translate.h"

namespace twinex {

namespace {

// Paths cannot hold a NUL byte, so it separates the parts unambiguously.
constexpr char kSep = '\0';

void AppendKeyPart(std::string& key, std::string_view part) {
  key.push_back(kSep);
  key.append(part);
}

std::string OneLine(std::string text) {
  text = platform::ReplaceAll(std::move(text), "\r\n", " ");
  text = platform::ReplaceAll(std::move(text), "\n", " ");
  return platform::ReplaceAll(std::move(text), "\r", " ");
}

}  // namespace

std::string UndoRowKey(int groupId, const ResultFile& file) {
  std::string key = std::to_string(groupId);
  AppendKeyPart(key, file.path);
  AppendKeyPart(key, file.dupname);
  AppendKeyPart(key, file.PathA());
  return key;
}

void UndoList::Begin(std::string name) {
  if (recording_) End();
  UndoAction action;
  action.name = std::move(name);
  action.rows.Init(64, 1.5f);
  action.rows.SetCompareMode(0);  // paths differ by case on this system
  actions_.push_back(std::move(action));
  recording_ = true;
}

void UndoList::End() {
  if (recording_ && !actions_.empty() && actions_.back().rows.Count() == 0) actions_.pop_back();
  recording_ = false;
}

void UndoList::Reset() {
  actions_.clear();
  recording_ = false;
}

void UndoList::Record(const ResultGroup& group, std::size_t fileIndex, bool previous) {
  if (!recording_ || actions_.empty() || fileIndex >= group.files.size()) return;
  // Add keeps the first entry of a key, which is the state before this action.
  actions_.back().rows.Add(std::to_string(fileIndex), UndoRowKey(group.id, group.files[fileIndex]), previous ? 1 : 0);
}

std::size_t UndoList::UndoLast(ResultTree& tree, bool* undone) {
  if (undone) *undone = false;
  if (recording_) End();
  if (actions_.empty()) return 0;
  UndoAction action = std::move(actions_.back());
  actions_.pop_back();
  if (undone) *undone = true;

  // Rows are looked up where they were; only rows that moved since cost a search of their group.
  std::unordered_map<int, std::unordered_map<std::string, std::size_t>> moved;
  std::size_t changed = 0;
  for (long pos = 1; pos <= action.rows.Count(); ++pos) {
    const std::string& key = action.rows.Key(pos);
    const std::size_t sep = key.find(kSep);
    long long id = 0;
    if (sep == std::string::npos || !platform::ParseLong(std::string_view(key).substr(0, sep), id)) continue;
    ResultGroup* group = tree.FindGroup(static_cast<int>(id));
    if (!group) continue;
    long long hint = -1;
    platform::ParseLong(action.rows.Item(pos), hint);
    ResultFile* file = nullptr;
    if (hint >= 0 && static_cast<std::size_t>(hint) < group->files.size() &&
        UndoRowKey(group->id, group->files[static_cast<std::size_t>(hint)]) == key) {
      file = &group->files[static_cast<std::size_t>(hint)];
    } else {
      auto [it, fresh] = moved.try_emplace(group->id);
      if (fresh)
        for (std::size_t i = 0; i < group->files.size(); ++i) it->second.emplace(UndoRowKey(group->id, group->files[i]), i);
      const auto found = it->second.find(key);
      if (found != it->second.end()) file = &group->files[found->second];
    }
    if (!file) continue;
    const bool previous = action.rows.Tag(pos) != 0;
    if (file->selected != previous) {
      tree.SetSelected(*group, *file, previous);
      ++changed;
    }
  }
  return changed;
}

std::string UndoList::Caption() const {
  if (actions_.empty()) return "";
  return z_Translate(17030, "Rückgängig:") + "\r\n" + actions_.back().name;
}

std::vector<std::string> UndoList::MenuEntries() const {
  std::vector<std::string> out;
  out.reserve(actions_.size());
  for (std::size_t i = 0; i < actions_.size(); ++i)
    out.push_back(std::to_string(i + 1) + ". " + OneLine(actions_[i].name));
  return out;
}

std::string UndoList::WaitText() const {
  if (actions_.empty()) return "";
  return z_Translate(17031, "Bitte warten, die Aktion '%1' wird rückgängig gemacht...", {OneLine(actions_.back().name)});
}

std::string UndoList::CommandCaption() {
  return z_Translate(17032, "Letzte Aus- oder Abwahlaktion rückgängig machen");
}

}  // namespace twinex
