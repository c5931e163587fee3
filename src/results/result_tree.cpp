#include "results/result_tree.h"

#include <algorithm>
#include <numeric>
#include <utility>

#include "platform/text.h"

namespace twinex {

namespace {

// A named value prepared for sorting: texts are folded once instead of at every comparison.
struct SortValue {
  int rank = 0;  // 0 nothing, 1 number, 2 text
  std::int64_t whole = 0;
  double real = 0;
  bool isWhole = false;
  std::string text;
};

SortValue ToSortValue(const NamedValue& v) {
  SortValue s;
  if (const auto* t = std::get_if<std::string>(&v.value)) {
    s.rank = 2;
    s.text = platform::FoldCase(*t);
  } else if (const auto* i = std::get_if<std::int64_t>(&v.value)) {
    s.rank = 1;
    s.whole = *i;
    s.isWhole = true;
  } else if (const auto* d = std::get_if<double>(&v.value)) {
    s.rank = 1;
    s.real = *d;
  }
  return s;
}

// Whole numbers are compared as such, so sizes beyond 2^53 bytes keep their order.
bool Less(const SortValue& a, const SortValue& b) {
  if (a.rank != b.rank) return a.rank < b.rank;
  if (a.rank == 2) return a.text < b.text;
  if (a.rank == 1) {
    if (a.isWhole && b.isWhole) return a.whole < b.whole;
    const long double x = a.isWhole ? static_cast<long double>(a.whole) : a.real;
    const long double y = b.isWhole ? static_cast<long double>(b.whole) : b.real;
    return x < y;
  }
  return false;
}

// Stable order of the rows by their values; descending keeps equal rows in their old order too.
template <typename Row>
void SortRows(std::vector<Row>& rows, const std::vector<SortValue>& values, bool ascending) {
  std::vector<std::size_t> order(rows.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return ascending ? Less(values[a], values[b]) : Less(values[b], values[a]);
  });
  std::vector<Row> sorted;
  sorted.reserve(rows.size());
  for (std::size_t i : order) sorted.push_back(std::move(rows[i]));
  rows = std::move(sorted);
}

}  // namespace

const ResultFileExtras& ResultFile::Extras() const {
  static const ResultFileExtras kNone;
  return extras.get() ? *extras.get() : kNone;
}

namespace {

// A row makes its extras only for a value other than the default; a default value still clears
// one set before.
template <typename T>
void SetRare(CopyablePtr<ResultFileExtras>& extras, T ResultFileExtras::*field, T value) {
  if (!extras.get() && value == T{}) return;
  extras.Ensure().*field = std::move(value);
}

const std::string kSingleLinkID = "-";

}  // namespace

void ResultFile::SetPathA(std::string pathInside) { SetRare(extras, &ResultFileExtras::pathA, std::move(pathInside)); }
void ResultFile::SetAudioDurationVal(double seconds) { SetRare(extras, &ResultFileExtras::AudioDurationVal, seconds); }
void ResultFile::SetAudioBitrate(int bitrate) { SetRare(extras, &ResultFileExtras::AudioBitrate, bitrate); }
void ResultFile::SetAudioSamplingrate(int samplingrate) {
  SetRare(extras, &ResultFileExtras::AudioSamplingrate, samplingrate);
}

const std::string& ResultFile::HardlinkID() const { return hardlinkID.get() ? *hardlinkID.get() : kSingleLinkID; }

// Most rows have a single link, so "-" is what a row without a stored text reads; any other text
// (an empty one from a saved result included) is kept as given.
void ResultFile::SetHardlinkID(std::string id) {
  if (id == kSingleLinkID)
    hardlinkID.reset();
  else
    hardlinkID.Ensure() = std::move(id);
}

std::string ResultFile::FullPath() const {
  std::string out;
  out.reserve(path.size() + 1 + dupname.size());
  out.append(path);
  if (out.empty() || out.back() != '/') out.push_back('/');
  out.append(dupname);
  return out;
}

ResultGroup& ResultTree::AddGroup(std::string caption, std::uint64_t sizeG, double dateG) {
  ResultGroup g;
  g.id = ++counters.GroupID;
  g.dupname = std::move(caption);
  g.sizeG = sizeG;
  g.dateG = dateG;
  groups.push_back(std::move(g));
  groupIndex_[groups.back().id] = groups.size() - 1;
  return groups.back();
}

void ResultTree::AddFile(ResultGroup& group, ResultFile file) {
  group.size += file.size;
  counters.DupCount += 1;
  counters.FilesizeAll += file.size;
  if (file.selected) {
    group.Sel += 1;
    counters.DupCountSelected += 1;
    counters.FilesizeSelected += file.size;
  }
  // Most groups hold two or three files: growing by one row at first instead of doubling keeps a
  // result of ten thousands of small groups free of empty rows.
  if (group.files.size() == group.files.capacity())
    group.files.reserve(group.files.size() < 4 ? group.files.size() + 1 : group.files.size() * 3 / 2);
  group.files.push_back(std::move(file));
}

void ResultTree::IndexGroups() {
  groupIndex_.clear();
  groupIndex_.reserve(groups.size());
  for (std::size_t i = 0; i < groups.size(); ++i) groupIndex_[groups[i].id] = i;
}

// The index is checked on every hit, so rows moved or removed by any means never yield a wrong
// group; a stale or missing entry costs one rebuild.
ResultGroup* ResultTree::FindGroup(int id) {
  auto lookup = [&]() -> ResultGroup* {
    const auto it = groupIndex_.find(id);
    if (it == groupIndex_.end() || it->second >= groups.size() || groups[it->second].id != id) return nullptr;
    return &groups[it->second];
  };
  if (ResultGroup* g = lookup()) return g;
  IndexGroups();
  return lookup();
}

void ResultTree::SetSelected(ResultGroup& group, ResultFile& file, bool selected) {
  if (file.selected == selected) return;
  file.selected = selected;
  const int step = selected ? 1 : -1;
  group.Sel += step;
  counters.DupCountSelected += step;
  if (selected)
    counters.FilesizeSelected += file.size;
  else
    counters.FilesizeSelected -= file.size;
}

int ResultTree::GroupCheckState(const ResultGroup& group) {
  const auto selected = static_cast<std::size_t>(
      std::count_if(group.files.begin(), group.files.end(), [](const ResultFile& f) { return f.selected; }));
  if (selected == 0) return 0;
  return selected == group.files.size() ? 1 : 2;
}

void ResultTree::DropFileCounts(ResultGroup& group, const ResultFile& file) {
  group.size -= file.size;
  counters.DupCount -= 1;
  counters.FilesizeAll -= file.size;
  if (file.selected) {
    group.Sel -= 1;
    counters.DupCountSelected -= 1;
    counters.FilesizeSelected -= file.size;
  }
}

void ResultTree::EraseFlaggedGroups(const std::vector<char>& flags) {
  std::size_t write = 0;
  for (std::size_t i = 0; i < groups.size(); ++i) {
    if (i < flags.size() && flags[i]) continue;
    if (write != i) groups[write] = std::move(groups[i]);
    ++write;
  }
  groups.resize(write);
  IndexGroups();
}

// Rows are tested from the last to the first. Each group is compacted in one pass and emptied
// groups are dropped together at the end, so the walk costs O(rows) however much it removes.
std::size_t ResultTree::RemoveFiles(const std::function<bool(const ResultGroup&, const ResultFile&)>& test,
                                    const RemovalProgress& progress) {
  std::size_t removed = 0;
  std::vector<char> dropGroup(groups.size(), 0);
  std::vector<char> dropFile;
  const std::size_t total = groups.size();
  for (std::size_t g = total; g-- > 0;) {
    ResultGroup& group = groups[g];
    dropFile.assign(group.files.size(), 0);
    bool any = false;
    for (std::size_t f = group.files.size(); f-- > 0;) {
      if (test(group, group.files[f])) dropFile[f] = any = true;
    }
    if (any) {
      std::size_t write = 0;
      for (std::size_t f = 0; f < group.files.size(); ++f) {
        if (dropFile[f]) {
          DropFileCounts(group, group.files[f]);
          ++removed;
          continue;
        }
        if (write != f) group.files[write] = std::move(group.files[f]);
        ++write;
      }
      group.files.resize(write);
    }
    if (group.files.empty()) dropGroup[g] = 1;
    if (progress && !progress(total - g, total)) break;
  }
  if (std::find(dropGroup.begin(), dropGroup.end(), 1) != dropGroup.end()) EraseFlaggedGroups(dropGroup);
  return removed;
}

std::size_t ResultTree::RemoveGroups(const std::function<bool(const ResultGroup&)>& test,
                                     const RemovalProgress& progress) {
  std::size_t removed = 0;
  std::vector<char> dropGroup(groups.size(), 0);
  const std::size_t total = groups.size();
  for (std::size_t g = total; g-- > 0;) {
    ResultGroup& group = groups[g];
    if (test(group)) {
      for (const ResultFile& f : group.files) DropFileCounts(group, f);
      removed += group.files.size();
      group.files.clear();
      dropGroup[g] = 1;
    }
    if (progress && !progress(total - g, total)) break;
  }
  if (std::find(dropGroup.begin(), dropGroup.end(), 1) != dropGroup.end()) EraseFlaggedGroups(dropGroup);
  return removed;
}

void ResultTree::Clear() {
  groups.clear();
  groupIndex_.clear();
  counters = ResultCounters();
}

void ResultTree::SortGroups(std::string_view key, bool ascending) {
  std::vector<SortValue> values;
  values.reserve(groups.size());
  for (const ResultGroup& g : groups) values.push_back(ToSortValue(GroupValue(g, key)));
  SortRows(groups, values, ascending);
  IndexGroups();
}

void ResultTree::SortFiles(std::string_view key, bool ascending) {
  std::vector<SortValue> values;
  for (ResultGroup& g : groups) {
    values.clear();
    for (const ResultFile& f : g.files) values.push_back(ToSortValue(FileValue(f, key)));
    SortRows(g.files, values, ascending);
  }
}

std::string ResultTree::GroupSortKey() const {
  switch (captionType) {
    case kCaptionSize:
      return "sizeG";
    case kCaptionModified:
    case kCaptionCreated:
      return "dateG";
    default:
      return "dupname";
  }
}

std::string ResultTree::SizeText(std::uint64_t size) const {
  return SizeDisplayText(size, display.formatSize, display.formatSizeDecimal);
}

}  // namespace twinex
