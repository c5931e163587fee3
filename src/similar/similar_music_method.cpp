#include "similar/similar_music_method.h"

#include <algorithm>
#include <deque>
#include <memory>
#include <thread>
#include <unordered_map>
#include <vector>

#include "platform/process.h"
#include "platform/text.h"
#include "search/archive_search.h"
#include "search/checksum_db_search.h"
#include "search/search.h"
#include "search/search_method.h"
#include "settings/translate.h"
#include "similar/fingerprint_compare.h"
#include "similar/fingerprint_program.h"
#include "similar/media_info.h"
#include "similar/similar_rows.h"

namespace twinex::similar {
namespace {

int g_children = 0;

int ChildrenForRun() {
  long long n = g_children;
  if (n <= 0 && !platform::ParseLong(platform::GetEnv("TWINEX_FINGERPRINT_CHILDREN"), n)) n = 0;
  if (n <= 0) n = std::min(4u, std::max(1u, std::thread::hardware_concurrency()));
  return static_cast<int>(std::clamp<long long>(n, 1, 16));
}

struct MusicItem {
  std::vector<std::int32_t> print;
  std::uint32_t extension = 0;
};

// Agreeing bits as the similarity; with the same-extension option files of another extension
// are never compared.
struct MusicMeasure {
  using Item = MusicItem;
  struct Summary {
    std::uint32_t extension;
  };
  bool sameExtension = false;

  Summary Summarize(const Item& item) const { return {item.extension}; }
  std::size_t SizeOf(const Summary&) const { return 0; }
  std::size_t Needed(const Summary&, std::size_t, double) const { return 1; }
  std::size_t Matchable(const Summary& a, const Summary& b) const {
    return !sameExtension || a.extension == b.extension ? 1 : 0;
  }
  void Begin(const Item&) {}
  double Similarity(const Item& a, const Item& b, double) const {
    if (sameExtension && a.extension != b.extension) return 0;
    return FingerprintPercent(a.print, b.print) / 100.0;
  }
};

long long Number(const std::string& text, long long fallback) {
  long long v = 0;
  return platform::ParseLong(text, v) ? v : fallback;
}

// A file in hand: its fingerprint is being made (or was found in the database) and it waits for
// its turn to be compared.
struct Pending {
  long index = 0;
  std::unique_ptr<FingerprintJob> job;  // none: taken from the database, or not startable
  FingerprintAnswer answer;
  bool fromProgram = false;
};

struct MusicState : SearchMethodState {
  explicit MusicState(Search& s)
      : seconds(static_cast<int>(Number(s.settings.SimilarAudioSeconds, 30))),
        algorithmIndex(s.settings.SimilarAudioAlgo),
        algorithm(static_cast<int>(Number(SimilarAudioAlgoText(s.settings.SimilarAudioAlgo), 2))),
        children(ChildrenForRun()),
        measure{s.settings.SimilarAudioOnlySameFileType},
        grouping(measure,
                 {.scope = s.scope, .threshold = static_cast<double>(Number(s.settings.SimilarAudioMatchPercent, 70)) / 100.0},
                 s.run) {}

  int seconds, algorithmIndex, algorithm, children;
  MusicMeasure measure;
  FirstMatchGrouping<MusicMeasure> grouping;
  FolderNumbers folders;
  std::unordered_map<std::string, std::uint32_t> extensions;
  SimilarRows rows;
  std::deque<Pending> pending;

  std::uint32_t ExtensionId(std::string_view ext) {
    return extensions.try_emplace(platform::FoldCase(ext), static_cast<std::uint32_t>(extensions.size())).first->second;
  }
};

MusicState& StateOf(Search& s) {
  if (!s.methodState) s.methodState = std::make_unique<MusicState>(s);
  return static_cast<MusicState&>(*s.methodState);
}

void AbandonAll(MusicState& st) {
  for (Pending& p : st.pending)
    if (p.job) p.job->Abandon();
  st.pending.clear();
}

// Waits for the oldest file's program, reading every running program meanwhile (a child whose
// output pipe filled up would stall). Pause holds all children; a skip gives up the oldest file.
void WaitForFront(Search& s, MusicState& st) {
  Pending& front = st.pending.front();
  if (!front.job) return;
  while (!front.job->Poll(50)) {
    for (std::size_t i = 1; i < st.pending.size(); ++i)
      if (st.pending[i].job) st.pending[i].job->Poll(0);
    if (s.run.State() == kStateRunning) continue;
    if (s.run.Paused()) {
      for (Pending& p : st.pending)
        if (p.job) p.job->Pause();
      s.run.WaitWhilePaused();
      for (Pending& p : st.pending)
        if (p.job) p.job->Resume();
    }
    if (s.run.State() != kStateRunning && !s.run.ContinueAfterBlock()) front.job->Abandon();
  }
  front.answer = front.job->Finish();
}

void CompareFront(Search& s, MusicState& st) {
  Pending& p = st.pending.front();
  const long index = p.index;
  const std::string path = s.files.GetPathWithFileName(index);
  switch (p.answer.kind) {
    case FingerprintAnswer::kGivenUp:
      return;
    case FingerprintAnswer::kEmpty:
      s.LogProtokoll(z_Translate(11162,
                                 "INFO: Es konnte keine Prüfsumme von der Musikdatei '%1' erstellt werden. Entweder ist die "
                                 "Tonspur kürzer als %2 Sekunden oder es ist nicht genügend Ton in dem Messbereich vorhanden.",
                                 {path, std::to_string(st.seconds)}));
      return;
    case FingerprintAnswer::kFailed:
      s.LogProtokoll(z_Translate(11163, "Beim Erstellen der Prüfsumme von Datei '%2' ist ein Fehler aufgetreten: %1",
                                 {p.answer.error, path}),
                     true);
      return;
    case FingerprintAnswer::kMade:
      break;
  }
  if (p.fromProgram) {
    ++s.counters.checksumsCreated;
    DB_Save_Audio_Hash(s, index, st.seconds, st.algorithmIndex, p.answer.fingerprint);
  }
  FileRecord& record = s.files.Record(index);
  const int folder = s.scope == 3 ? st.folders.Of(record.SourceNr, s.files.RelativeFolder(index)) : 0;
  const std::uint64_t before = st.grouping.Counters().comparisons;
  const GroupChange change =
      st.grouping.Add({std::move(p.answer.fingerprint), st.ExtensionId(s.files.Extension(record))}, {record.SourceNr, folder});
  s.counters.fileComparisons += st.grouping.Counters().comparisons - before;
  st.rows.AddItem(index);
  st.rows.Apply(s, change);
}

// Finishes the oldest file in hand.
void CompleteFront(Search& s, MusicState& st) {
  if (s.run.StopRequested()) return AbandonAll(st);
  WaitForFront(s, st);
  if (s.run.StopRequested()) return AbandonAll(st);
  CompareFront(s, st);
  st.pending.pop_front();
}

class SimilarMusicSearchMethod : public SearchMethod {
 public:
  std::string Refusal() const override { return FingerprintProgramRefusal(); }
  void SetCriteria(const SearchSettings&, std::array<bool, 8>&) const override {}
  bool AcceptsExtension(const Search&, std::string_view ext) const override { return IsMusicExtension(ext); }
  bool FiltersByType() const override { return true; }
  bool MakesChecksums(const Search&) const override { return true; }
  int CaptionType(const Search&) const override { return kCaptionSimilarMusic; }
  void AddLogLines(const Search& s, std::vector<std::string>& lines) const override { SimilarMusicLogLines(s, lines); }

  void CheckFile(Search& s) const override {
    MusicState& st = StateOf(s);
    if (s.run.StopRequested()) return AbandonAll(st);
    // Every file is kept in the table: it is compared when its turn comes.
    Pending p;
    p.index = s.files.Add("", std::move(s.files.Record(0)));
    if (DB_Get_Audio_Hash(s, p.index, st.seconds, st.algorithmIndex, p.answer.fingerprint)) {
      p.answer.kind = FingerprintAnswer::kMade;
    } else {
      std::string path;
      // An archive member that cannot be extracted is logged by the extraction.
      if (!Search_ContentPath(s, p.index, path)) return;
      p.job = std::make_unique<FingerprintJob>();
      p.job->Start(FingerprintArguments(FingerprintProgram(), st.algorithm, st.seconds, path));
      p.fromProgram = true;
    }
    st.pending.push_back(std::move(p));
    while (static_cast<int>(st.pending.size()) >= st.children && !st.pending.empty()) CompleteFront(s, st);
  }

  void FinishWalk(Search& s) const override {
    if (!s.methodState) return;
    MusicState& st = StateOf(s);
    while (!st.pending.empty()) CompleteFront(s, st);
  }
};

}  // namespace

void SetFingerprintChildren(int children) { g_children = children; }

void InstallSimilarMusicMethod() {
  static const SimilarMusicSearchMethod music;
  InstallSearchMethod(kMethodSimilarMusic, music);
}

}  // namespace twinex::similar
