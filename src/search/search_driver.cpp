#include "search/search_driver.h"

#include <exception>
#include <new>

#include "platform/date_time.h"
#include "platform/file_system.h"
#include "platform/number_format.h"
#include "platform/process.h"
#include "platform/text.h"
#include "platform/volume.h"
#include "search/checksum_db_search.h"
#include "search/closing_steps.h"
#include "search/digest_ahead.h"
#include "search/grouping_key.h"
#include "search/hardlink_id.h"
#include "search/result_rows.h"
#include "search/search_method.h"
#include "search/search_stats.h"
#include "search/walk.h"
#include "settings/prompt.h"
#include "settings/translate.h"

namespace twinex {
namespace {

std::uint64_t NumberOr(const std::string& text, std::uint64_t fallback) {
  long long v = 0;
  return platform::ParseLong(text, v) && v >= 0 ? static_cast<std::uint64_t>(v) : fallback;
}

std::string EnsureTrailingSlash(std::string path) {
  if (path.empty() || path.back() != '/') path += '/';
  return path;
}

// One entry of the step list: its caption, whether this search has it, and what it runs.
struct Step {
  TextRef text;
  bool (*present)(const Search&);
  void (*run)(Search&);
};

bool Always(const Search&) { return true; }
bool OnlyWithoutDups(const Search& s) { return s.settings.ShowOnlyFilesWithoutDups; }
bool LogWithoutDups(const Search& s) { return s.settings.LogFilesWithNoDups; }
bool ArchivesOn(const Search& s) { return s.scanArchives; }
bool RemoveGroupsOn(const Search& s) { return s.settings.RemoveGroupsDupsNotInsideAllSources; }
bool ExpandOn(const Search& s) { return s.env.expandAllGroups; }

// The closing steps in the order of the step list; the summary is logged after the first three.
const Step kClosingPartOne[] = {
    {TextRef{11013, "Erstelle Suchergebnis mit Dateien ohne Duplikate"}, OnlyWithoutDups, Search_ShowOnlyFilesWithoutDups},
    {TextRef{11014, "Formatiere Dateigröße"}, Always, Report_FormatSizes},
    {TextRef{11015, "Sortiere Gruppen"}, Always, Report_SortGroups},
};
const Step kClosingPartTwo[] = {
    {TextRef{11016, "Protokolliere Dateien ohne Duplikate"}, LogWithoutDups, Search_LogFilesWithoutDups},
    {TextRef{11017, "Lösche temporäre Dateien aus Archiven von Dateien ohne Duplikate"}, ArchivesOn, Search_DeleteTempFiles},
    {TextRef{11018, "Lösche Liste mit Dateien ohne Duplikate"}, Always, Search_DeleteFileCollection},
    {TextRef{11019, "Entferne alle Gruppen, bei welchen die Duplikate nicht in allen Quellordnern vorhanden sind"},
     RemoveGroupsOn, RemoveGroup_DupsNotExistAtAllSourcefolders},
    {TextRef{11020, "Alle Gruppen im Suchergebnis werden aufgeklappt"}, ExpandOn, Group_ExpandAll},
    {TextRef{11021, "Die Breite von allen Spalten wird optimiert"}, Always, Report_Resize_Columns},
};

class StepList {
 public:
  explicit StepList(const Search& s) {
    count_ = 2;  // counting and comparing
    for (const auto& st : kClosingPartOne) count_ += st.present(s) ? 1 : 0;
    for (const auto& st : kClosingPartTwo) count_ += st.present(s) ? 1 : 0;
  }
  int count() const { return count_; }
  void Announce(Search& s, const std::string& text) {
    ++current_;
    s.observer.OnStep(z_Translate(11010, "%1 von %2", {std::to_string(current_), std::to_string(count_)}) + " - " + text);
  }
  template <std::size_t N>
  void Run(Search& s, const Step (&steps)[N]) {
    for (const auto& st : steps) {
      if (!st.present(s)) continue;
      Announce(s, z_Translate(st.text));
      st.run(s);
    }
  }

 private:
  int count_ = 0;
  int current_ = 0;
};

void CheckSourcesAgain(Search& s) {
  std::string missing;
  std::vector<SourceEntry> present;
  for (auto& src : s.sourceTable) {
    if (platform::ExistFolder(src.path)) {
      present.push_back(src);
      continue;
    }
    if (!missing.empty()) missing += "\r\n";
    missing += z_Translate(11002, "Der Quellordner '%1' konnte nicht gefunden werden!", {src.path});
  }
  if (missing.empty()) return;
  s.prompt.Ask(PromptMessage::Composed(missing, PromptButtons::Ok, PromptIcon::Exclamation));
  s.sourceTable = std::move(present);
}

void CountFiles(Search& s) {
  s.observer.OnStep(z_Translate(11030, "Die Anzahl der Dateien wird ermittelt..."));
  for (const auto& src : s.sourceTable) {
    if (s.run.StopRequested()) break;
    s.recurseCurrentSource = src.includeSubfolders;
    Search_GetSourceFolderFileCount(s, src.path);
  }
  s.observer.OnStep(z_Translate(11031, "Dateianzahl: %1", {platform::FormatCount(s.counters.totalFiles)}));
}

void WalkSources(Search& s) {
  for (const auto& src : s.sourceTable) {
    if (s.run.StopRequested()) break;
    s.observer.OnStep(z_Translate(11032, "Durchsuche: %1", {src.path}));
    s.recurseCurrentSource = src.includeSubfolders;
    s.currentSourceNr = src.SourceNr;
    s.files.SetSourceBaseLength(src.SourceNr, src.path == "/" ? 0 : src.path.size());
    s.tempInsideSource = s.scanArchives && platform::StartsWith(s.archiveTempFolder, EnsureTrailingSlash(src.path));
    std::uint64_t filesBefore = s.counters.filesExcluded, bytesBefore = s.counters.bytesExcluded;
    std::uint64_t foldersBefore = s.counters.foldersExcluded;
    Search_GetFiles(s, src.path);
    std::uint64_t files = s.counters.filesExcluded - filesBefore;
    std::uint64_t folders = s.counters.foldersExcluded - foldersBefore;
    if (files != 0)
      s.LogProtokoll(z_Translate(11033, "Dateien ausgeschlossen: %1 (%2)",
                                 {platform::FormatCount(files), platform::FormatSizeAuto(s.counters.bytesExcluded - bytesBefore)}));
    if (folders != 0) s.LogProtokoll(z_Translate(11034, "Ordner ausgeschlossen: %1", {platform::FormatCount(folders)}));
    Log_Scan_Stats(s);
  }
}

void LogStopReason(Search& s) {
  switch (s.run.StopReason()) {
    case kStopOutOfMemory:
      s.LogProtokoll(z_Translate(11054, "Die Suche wurde abgebrochen, da Windows keinen weiteren Speicher mehr für die Suche bereitstellen kann."), true);
      break;
    case kStopMemoryLimit:
      s.LogProtokoll(z_Translate(11055, "Die Suche wurde abgebrochen, da die maximale Speichernutzung für 32-Bit Anwendungen unter Windows erreicht wurde."), true);
      break;
    case kStopMaxDuplicates:
      s.LogProtokoll(z_Translate(11056, "Die Suche wurde abgebrochen, da die vom Anwender festgelegte maximale Anzahl von %1 Duplikaten gefunden wurde.",
                                 {s.settings.CancelSearchMaxDupCount}), true);
      break;
    case kStopUser:
      s.LogProtokoll(z_Translate(11057, "Die Suche wurde von dem Anwender abgebrochen."), true);
      break;
    default:
      break;
  }
}

void AfterSearchActions(Search& s) {
  if (s.run.StopReason() == kStopUser) return;
  if (s.env.playSound && s.env.playSoundFile) {
    std::string file = s.env.soundFile;
    if (file.empty() || !platform::ExistFile(file)) file = platform::JoinPath(s.env.programFolder, "1.mp3");
    s.env.playSoundFile(file);
  }
  if (s.env.saveReport && s.env.saveReportHook) s.env.saveReportHook();
  if (s.env.afterSearchAction != 1 && s.env.afterSearchAction != 2) return;
  bool hibernate = s.env.afterSearchAction == 2;
  TextRef question = hibernate ? TextRef{11071, "Der PC wird in %1 Sekunden in den Ruhezustand versetzt..."}
                               : TextRef{11070, "Der StandBy-Modus wird in %1 Sekunden aktiviert..."};
  PromptMessage ask = PromptMessage::Make(question, {"20"}, PromptButtons::OkCancel);
  ask.timeoutSeconds = 20;  // nobody at the machine: the power state follows
  if (s.prompt.Ask(ask) == PromptAnswer::Cancel) return;
  s.LogProtokoll(hibernate ? z_Translate(11073, "Windows Ruhezustand wird ausgeführt...")
                           : z_Translate(11072, "Windows Standby wird ausgeführt..."));
  std::string error = s.env.requestPowerState ? s.env.requestPowerState(hibernate) : platform::RequestPowerState(hibernate);
  if (error.empty()) return;
  TextRef failure = hibernate ? TextRef{11075, "Beim Versetzen des PCs in den Ruhezustand ist ein Fehler aufgetreten: %1"}
                              : TextRef{11074, "Beim Starten des StandBy-Modus ist ein Fehler aufgetreten: %1"};
  s.prompt.Ask(PromptMessage::Make(failure, {error}, PromptButtons::Ok, PromptIcon::Exclamation));
}

}  // namespace

void Init_Variablen(Search& s) {
  SearchSettings& st = s.settings;
  NormalizeAllFields(st);
  s.method = st.SearchMethod;
  s.searchMethod = &SearchMethodFor(s.method);
  s.criteria.fill(false);
  s.searchMethod->SetCriteria(st, s.criteria);
  s.scope = st.SourceFolderCompareMode;
  s.contentMethod = st.ContentCompare;
  s.contentPercent = s.contentMethod == 0 ? static_cast<int>(NumberOr(st.ContentComparePercent, 100)) : 100;
  s.checksum = ChecksumDescriptorFor(s.contentMethod);
  for (int i = 0; i < 4; ++i) s.buffers[static_cast<std::size_t>(i)] = NumberOr(st.CompareBuffer[static_cast<std::size_t>(i)], 0);
  if (!st.CompareFileEndFirst) s.buffers[3] = 0;
  s.nameCleanup = PrepareNameCleanup(st.IgnoreChars, st.IgnoreCharsText, st.IgnoreText, st.IgnoreTextText);

  s.skipJunctions = st.NTFSordner;
  s.scanArchives = st.ScanArchives;
  std::string temp = st.TempFolder.empty() ? s.env.programTempFolder : ReplaceSystemvariablen(st.TempFolder);
  s.archiveTempFolder = EnsureTrailingSlash(platform::AbsolutePath(temp.empty() ? platform::SystemTempFolder() : temp));
  s.pictureExtensions = "/";
  for (const auto& e : st.SimilarImageExtensions)
    if (e.ticked) s.pictureExtensions += platform::LowerCase(e.ext) + "/";
  s.maxDuplicates = st.CancelSearchMaxDup ? NumberOr(st.CancelSearchMaxDupCount, 999) : 2000000;
  // Numbers typed as text are read once here, never per file.
  s.firstCharsCount = 0;
  platform::ParseLong(st.FileNameCompareOnlyFirstCharsCount, s.firstCharsCount);
  const std::uint64_t minutes = NumberOr(st.LogStatisticMinutes, 5);
  s.statsIntervalMs = static_cast<std::int64_t>(minutes == 0 ? 5 : minutes) * 60000;

  s.files.Init(100000, 50000);
  s.files.SetDigestLength(s.checksum.digestLength > 0 ? s.checksum.digestLength : kMaxDigestLength);
  s.result.Clear();
  s.result.captionType = s.searchMethod->CaptionType(s);
  if (!s.env.dateFormat.empty()) s.result.display.dateFormat = s.env.dateFormat;
  s.result.display.ignoreTime = st.IgnoreTime;
  s.result.display.ignoreSeconds = st.IgnoreSeconds;

  s.sourceTable.clear();
  int nr = 0;
  for (const auto& src : s.sources.sources) {
    if (!src.ticked) continue;
    SourceEntry e;
    e.path = platform::StripTrailingSlash(platform::AbsolutePath(src.path));
    e.SourceNr = ++nr;
    e.includeSubfolders = src.includeSubfolders;
    e.fileProtection = src.fileProtection;
    e.volume = platform::GetVolumeSerial(e.path);
    s.sourceTable.push_back(e);
  }
  s.quellSerialsAllSame = QuellSerialsAllSame(s.sourceTable);
  s.result.display.hardlinkIdWithVolume = !s.quellSerialsAllSame;
  DB_OpenForSearch(s);
}

void Search_Start(Search& s) {
  s.startTick = platform::TickCount();
  s.lastProgressTick = s.startTick;
  s.liveGroups = s.observer.WantsLiveGroups();
  CheckSourcesAgain(s);
  s.observer.OnStep(GetSearchDescription(s.settings, false));

  for (const auto& line : SearchLogHeader(s)) s.LogProtokoll(line);
  if (s.settings.Prio) platform::SetLowPriority();

  StepList steps(s);
  steps.Announce(s, z_Translate(11011, "Dateianzahl von allen Quellordnern wird ermittelt"));
  CountFiles(s);

  steps.Announce(s, s.settings.ShowOnlyFilesWithoutDups ? z_Translate(11012, "Vergleiche Dateien")
                                                        : z_Translate(11022, "Vergleiche Dateien und erstelle Suchergebnis"));
  if (DigestAhead::Applies(s)) s.digestAhead = std::make_unique<DigestAhead>(s);
  WalkSources(s);
  s.digestAhead.reset();
  s.searchMethod->FinishWalk(s);
  Search_HandOverGroups(s);
  DB_OptimizeAfterSearch(s);

  std::int64_t seconds = (platform::TickCount() - s.startTick) / 1000;
  s.LogProtokoll(z_Translate(11053, "Zeitaufwand: %1", {platform::FormatDuration(seconds)}));
  LogStopReason(s);
  for (const auto& src : s.sourceTable) {
    if (src.duplicates == 0) continue;
    s.LogProtokoll(z_Translate(11058, "%1 Duplikate mit insgesamt %3 in '%2' gefunden",
                               {platform::FormatCount(src.duplicates), src.path, platform::FormatSizeAuto(src.duplicateBytes)}));
  }

  steps.Run(s, kClosingPartOne);
  for (const auto& line : SummaryLines(s, s.counters.foldersScanned)) s.LogProtokoll(line);
  steps.Run(s, kClosingPartTwo);
  DB_CloseForSearch(s);

  AfterSearchActions(s);
}

SearchOutcome StartSearchForDups(const MainSettings& settings, SearchEnvironment env, SearchObserver& observer,
                                 Prompt& prompt, const std::function<void(Search&)>& configure) {
  SearchOutcome out;
  if (!ValidateSearchStart(settings, prompt)) return out;
  observer.OnGeneralLog(std::string(50, '-'));
  out.search = std::make_unique<Search>(settings, std::move(env), observer, prompt);
  Search& s = *out.search;
  if (configure) configure(s);
  s.filters = Init_FilterOptionen(s.sources, s.settings.NullByte, s.settings.FilterVerwendenBest, &prompt);
  out.started = true;
  try {
    Init_Variablen(s);
    Search_Start(s);
  } catch (const std::bad_alloc&) {
    s.run.RequestStop(kStopOutOfMemory);
    LogStopReason(s);
    observer.OnUnexpectedError("Search_Start", "out of memory");
  } catch (const std::exception& e) {
    // Whatever was found so far stays readable, but marked: the run did not reach its end.
    s.run.RequestStop(kStopFailed);
    s.LogProtokoll(z_Translate(11059, "Die Suche wurde wegen eines Fehlers abgebrochen: %1", {e.what()}), true);
    observer.OnUnexpectedError("Search_Start", e.what());
  }
  out.stopReason = s.run.StopReason();
  return out;
}

}  // namespace twinex
