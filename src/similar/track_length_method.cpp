#include "similar/track_length_method.h"

#include <algorithm>
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/file_system.h"
#include "platform/text.h"
#include "search/archive_search.h"
#include "search/result_rows.h"
#include "search/search.h"
#include "search/search_method.h"
#include "similar/media_info.h"
#include "similar/similar_rows.h"

namespace twinex::similar {
namespace {

struct TrackItem {
  std::int64_t seconds = 0;
  std::uint32_t name = 0;       // folded name without extension, as a number
  std::uint32_t extension = 0;  // folded extension, as a number
};

// Lengths that far apart are all alike to the pruning; the comparison itself reads the item.
constexpr std::size_t kLongestSize = 1u << 20;

// A hit when both lengths are known and differ by at most the tolerance; with the
// same-properties options the names and/or extensions must agree too. The pruning skips every
// earlier file whose length is out of reach, so a long list of files costs little per file.
struct TrackMeasure {
  using Item = TrackItem;
  struct Summary {
    std::int64_t seconds;
    std::uint32_t name, extension;
  };
  std::int64_t tolerance = 0;
  bool sameName = false, sameExtension = false;

  Summary Summarize(const Item& i) const { return {i.seconds, i.name, i.extension}; }
  std::size_t SizeOf(const Summary& s) const { return static_cast<std::size_t>(std::clamp<std::int64_t>(s.seconds, 0, kLongestSize)); }
  std::size_t Needed(const Summary& current, std::size_t otherSize, double) const {
    if (current.seconds <= 0 || otherSize == 0) return kNever;
    if (otherSize == kLongestSize) return 1;
    const std::int64_t d = current.seconds - static_cast<std::int64_t>(otherSize);
    return (d < 0 ? -d : d) <= tolerance ? 1 : kNever;
  }
  std::size_t Matchable(const Summary& a, const Summary& b) const { return Alike(a, b) ? 1 : 0; }
  void Begin(const Item&) {}
  double Similarity(const Item& a, const Item& b, double) const { return Alike(Summarize(a), Summarize(b)) ? 1.0 : 0.0; }

 private:
  bool Alike(const Summary& a, const Summary& b) const {
    if (a.seconds <= 0 || b.seconds <= 0) return false;
    const std::int64_t d = a.seconds > b.seconds ? a.seconds - b.seconds : b.seconds - a.seconds;
    return d <= tolerance && (!sameName || a.name == b.name) && (!sameExtension || a.extension == b.extension);
  }
};

long long Number(const std::string& text) {
  long long v = 0;
  return platform::ParseLong(text, v) && v > 0 ? v : 0;
}

struct TrackState : SearchMethodState {
  explicit TrackState(Search& s)
      : measure{.tolerance = Number(s.settings.AudioSeconds),
                .sameName = s.settings.AudioOnlySameFileName,
                .sameExtension = s.settings.AudioOnlySameFileType},
        grouping(measure, {.scope = s.scope, .threshold = 1.0}, s.run) {}

  TrackMeasure measure;
  FirstMatchGrouping<TrackMeasure> grouping;
  FolderNumbers folders;
  std::unordered_map<std::string, std::uint32_t> names, extensions;
  std::vector<AudioProperties> properties;  // by the grouping's item number
  std::unordered_map<long, std::size_t> itemOf;  // record index -> item number
  SimilarRows rows;

  static std::uint32_t Id(std::unordered_map<std::string, std::uint32_t>& table, std::string_view text) {
    return table.try_emplace(platform::FoldCase(text), static_cast<std::uint32_t>(table.size())).first->second;
  }
};

void SetAudioValues(ResultFile& row, const AudioProperties& p) {
  row.SetAudioDurationVal(static_cast<double>(TrackSeconds(p)));
  row.SetAudioBitrate(static_cast<int>(std::min<std::int64_t>(p.bitRate, INT32_MAX)));
  row.SetAudioSamplingrate(static_cast<int>(std::min<std::int64_t>(p.samplingRate, INT32_MAX)));
  row.EditExtras().AudioDuration = TrackLengthText(p.seconds);
}

// The row values of a file of any search, when its audio columns are shown.
void FillAudioColumns(const std::string& path, ResultFile& row) {
  const std::string ext = platform::LowerCase(platform::xGetExtension(row.dupname));
  if (!IsTrackLengthExtension(ext) && !IsMusicExtension(ext)) return;
  SetAudioValues(row, GetMP3MediaInfo(path));
}

class TrackLengthSearchMethod : public SearchMethod {
 public:
  void SetCriteria(const SearchSettings&, std::array<bool, 8>&) const override {}
  int CaptionType(const Search&) const override { return kCaptionTrackLength; }
  void AddLogLines(const Search& s, std::vector<std::string>& lines) const override { TrackLengthLogLines(s, lines); }

  void CheckFile(Search& s) const override {
    if (!s.methodState) s.methodState = std::make_unique<TrackState>(s);
    TrackState& st = static_cast<TrackState&>(*s.methodState);
    FileRecord& current = s.files.Record(0);
    // Other files are passed over here, not filtered by the walk.
    if (!IsTrackLengthExtension(platform::LowerCase(s.files.Extension(current)))) return;
    const long index = s.files.Add("", std::move(current));
    FileRecord& record = s.files.Record(index);
    std::string path;
    AudioProperties p;
    if (Search_ContentPath(s, index, path)) p = GetMP3MediaInfo(path);
    const TrackItem item{TrackSeconds(p), TrackState::Id(st.names, s.files.Name(record)), TrackState::Id(st.extensions, s.files.Extension(record))};
    const int folder = s.scope == 3 ? st.folders.Of(record.SourceNr, s.files.RelativeFolder(index)) : 0;
    st.itemOf[index] = st.properties.size();
    st.properties.push_back(p);
    const std::uint64_t before = st.grouping.Counters().comparisons;
    const GroupChange change = st.grouping.Add(item, {record.SourceNr, folder});
    s.counters.fileComparisons += st.grouping.Counters().comparisons - before;
    st.rows.AddItem(index);
    st.rows.Apply(
        s, change, [&st](long i) { return TrackLengthText(st.properties[st.itemOf[i]].seconds); },
        [&st](long i, ResultFile& row) { SetAudioValues(row, st.properties[st.itemOf[i]]); });
  }
};

}  // namespace

void InstallTrackLengthMethod() {
  static const TrackLengthSearchMethod trackLength;
  InstallSearchMethod(kMethodTrackLength, trackLength);
}

void InstallAudioColumns() { InstallAudioColumnsReader(FillAudioColumns); }

}  // namespace twinex::similar
