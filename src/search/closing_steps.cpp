#include "search/closing_steps.h"

#include "search/archive_search.h"

#include "results/removal_commands.h"

#include "platform/date_time.h"
#include "platform/number_format.h"
#include "search/result_rows.h"
#include "search/search.h"
#include "search/walk.h"
#include "settings/translate.h"

namespace twinex {
namespace {

constexpr std::int64_t kRefreshMs = 1000;

// Visits the records that stayed without a duplicate, keeping the window alive on the way.
template <typename Fn>
void ForEachFileWithoutDups(Search& s, Fn fn) {
  std::int64_t last = platform::TickCount();
  for (long i = 1; i <= s.files.Count(); ++i) {
    if (platform::TickCount() - last >= kRefreshMs) {
      last = platform::TickCount();
      Search_ShowProgress(s, "", false);
    }
    if (s.run.Paused()) Pause(s);
    if (s.files.Record(i).GroupID == -1) fn(i);
  }
}

}  // namespace

void Search_ShowOnlyFilesWithoutDups(Search& s) {
  s.result.Clear();
  ResultGroup& group = s.result.AddGroup(z_Translate(11132, "Dateien ohne Duplikate"));
  group.textCaption = true;
  std::uint64_t count = 0;
  ForEachFileWithoutDups(s, [&](long i) {
    s.result.AddFile(group, ResultRowOf(s, s.files.Record(i)));
    ++count;
  });
  if (group.files.empty()) s.result.Clear();
  s.counters.groups = s.result.groups.size();
  s.LogProtokoll(z_Translate(11133, "Es wurden %1 Dateien ohne Duplikate gefunden.", {platform::FormatCount(count)}));
}

// Sizes are formatted when shown; this step fixes the unit they are shown in.
void Report_FormatSizes(Search& s) { ReadSizeFormat(s.result.display, s.env.settingsFile); }

void Report_SortGroups(Search& s) { s.result.SortGroups(s.result.GroupSortKey()); }

void Search_LogFilesWithoutDups(Search& s) {
  bool heading = false;
  ForEachFileWithoutDups(s, [&](long i) {
    if (!heading) {
      s.LogProtokoll(z_Translate(11134, "Dateien ohne Duplikate:"));
      heading = true;
    }
    const FileRecord& r = s.files.Record(i);
    if (r.ArchiveType != 0)
      s.LogProtokoll(s.files.FolderOf(i) + " --> " + s.files.PathInsideZip(r));
    else
      s.LogProtokoll(s.files.GetPathWithFileName(i));
  });
}

void Search_DeleteTempFiles(Search& s) { Search_DeleteTempCopiesWithoutDups(s); }

void Search_DeleteFileCollection(Search& s) {
  s.files.Clear();
  s.slotChains = {};
  s.slotPrints = {};
}

void RemoveGroup_DupsNotExistAtAllSourcefolders(Search& s) {
  RemoveGroup_DupsNotExistAtAllSourcefolders(s.result, static_cast<int>(s.sourceTable.size()));
  s.counters.groups = s.result.groups.size();
  s.counters.duplicates = static_cast<std::uint64_t>(s.result.counters.DupCount);
}

void Group_ExpandAll(Search& s) {
  for (auto& g : s.result.groups) g.expanded = true;
}

void Report_Resize_Columns(Search&) {}  // column widths belong to the window that shows the result

}  // namespace twinex
