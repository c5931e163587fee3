#include "search/result_rows.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/number_format.h"
#include "search/archive_search.h"
#include "search/grouping_key.h"
#include "search/hardlink_id.h"
#include "search/search.h"
#include "settings/translate.h"

namespace twinex {
namespace {

// Remembers a group that was opened or grew, for the next hand-over.
void NoteGroupChanged(Search& s, int groupId) {
  if (s.liveGroups && (s.changedGroups.empty() || s.changedGroups.back() != groupId)) s.changedGroups.push_back(groupId);
}

// The date display format without the parts the search ignored.
std::string CaptionDateFormat(const Search& s) {
  std::string f = s.result.display.dateFormat;
  auto erase = [&f](const std::string& part) {
    for (std::size_t p; (p = f.find(part)) != std::string::npos;) f.erase(p, part.size());
  };
  if (s.settings.IgnoreTime) {
    for (const char* part : {"hh:nn:ss", "h:n:s", "AM/PM"}) erase(part);
  } else if (s.settings.IgnoreSeconds) {
    for (const char* part : {":ss", ":s"}) erase(part);
  }
  while (!f.empty() && f.back() == ' ') f.pop_back();
  return f;
}

double CaptionDate(const Search& s, double date) {
  if (s.settings.IgnoreTime) return std::floor(date);
  if (s.settings.IgnoreSeconds) {
    double seconds = std::round(date * 86400.0);
    return (seconds - std::fmod(seconds, 60.0)) / 86400.0;
  }
  return date;
}

}  // namespace

ResultGroup& Search_AddNewGroup(Search& s, long index) {
  const FileRecord& r = s.files.Record(index);
  std::string caption;
  std::uint64_t sizeG = 0;
  double dateG = 0;
  switch (s.result.captionType) {
    case kCaptionName:
    case kCaptionNameWithExtension: {
      std::string name = ComparisonName(s, s.files.Name(r));
      if (name.empty())
        caption = "." + std::string(s.files.Extension(r));
      else if (s.result.captionType == kCaptionNameWithExtension && !s.files.Extension(r).empty())
        caption = name + "." + std::string(s.files.Extension(r));
      else
        caption = name;
      break;
    }
    case kCaptionExtension:
      caption = s.files.Extension(r).empty() ? z_Translate(11130, "[Ohne Dateiendung]") : std::string(s.files.Extension(r));
      break;
    case kCaptionSize:
      sizeG = r.SIZE;
      caption = std::to_string(r.SIZE);
      break;
    case kCaptionModified:
    case kCaptionCreated:
      dateG = CaptionDate(s, s.result.captionType == kCaptionModified ? r.DateLastModified : r.DateCreated);
      caption = FormatDateDisplay(dateG, CaptionDateFormat(s));
      break;
    case kCaptionAttributes:
      caption = AttributeLetters(r.Attributes);
      if (caption.empty()) caption = z_Translate(11131, "[Keine Attribute]");
      break;
    case kCaptionHardlink:
      caption = s.files.GetHardlinkIDkeyFormatted(index, s.quellSerialsAllSame) + " (" +
                std::to_string(r.NumberOfLinks) + ")";
      break;
    default:
      caption = s.files.FileName(r);
      break;
  }
  ResultGroup& g = s.result.AddGroup(std::move(caption), sizeG, dateG);
  s.counters.groups = s.result.groups.size();
  return g;
}

ResultFile ResultFileOf(const Search& s, const FileRecord& r) {
  ResultFile f;
  f.dupname = s.files.FileName(r);
  f.path = s.files.SharedFolder(r.FolderIndex);
  f.SetPathA(s.files.PathInsideZip(r));
  f.size = r.SIZE;
  f.dateVal = r.DateLastModified;
  f.dateEval = r.DateCreated;
  f.attr = r.Attributes;
  f.hardlinks = r.NumberOfLinks >= 2 ? r.NumberOfLinks : 0;
  f.SetHardlinkID(r.NumberOfLinks >= 2 ? HardlinkSearchKey(cHardlinkID::Of(r), s.quellSerialsAllSame) : "-");
  f.similar = r.PercentMatch;
  f.picW = s.files.Extras(r).picWidth;
  f.picH = s.files.Extras(r).picHeight;
  f.qnr = r.SourceNr;
  f.archiv = r.ArchiveType;
  if (f.archiv != 0)
    if (std::string copy = Search_TempCopyPath(s, r); !copy.empty()) f.EditExtras().tmppath = std::move(copy);
  f.IsRefFile = r.IsReferenceFile;
  f.device = r.VolumeSerialNumber;
  f.inode = (static_cast<std::uint64_t>(r.FileIndexHigh) << 32) | r.FileIndexLow;
  if (r.SourceNr >= 1 && static_cast<std::size_t>(r.SourceNr) <= s.sourceTable.size())
    f.protectedFile = s.sourceTable[static_cast<std::size_t>(r.SourceNr - 1)].fileProtection;
  return f;
}

namespace {
AudioColumnsReader g_audioColumns = nullptr;
}  // namespace

void InstallAudioColumnsReader(AudioColumnsReader reader) { g_audioColumns = reader; }

ResultFile ResultRowOf(Search& s, const FileRecord& r) {
  ResultFile f = ResultFileOf(s, r);
  if (s.readOwner && f.archiv == 0) f.EditExtras().owner = s.ownerNames.OwnerOf(f.FullPath());
  if (s.readAudio && g_audioColumns) {
    // An archive member is read from its temporary copy when it has one.
    const std::string path = f.archiv == 0 ? f.FullPath() : f.Extras().tmppath;
    if (!path.empty()) g_audioColumns(path, f);
  }
  return f;
}

void Search_HandOverGroups(Search& s) {
  if (s.changedGroups.empty()) return;
  // Ids grow with the groups' opening, so sorting them keeps the groups in the order they opened.
  std::sort(s.changedGroups.begin(), s.changedGroups.end());
  s.changedGroups.erase(std::unique(s.changedGroups.begin(), s.changedGroups.end()), s.changedGroups.end());
  std::vector<ResultGroup> copies;
  copies.reserve(s.changedGroups.size());
  for (int id : s.changedGroups)
    if (const ResultGroup* g = s.result.FindGroup(id)) copies.push_back(*g);
  s.changedGroups.clear();
  if (!copies.empty()) s.observer.OnGroupsChanged(s.result, copies);
}

void Search_AddNodeFromCollection(Search& s, ResultGroup& group, const FileRecord& r) {
  ResultFile f = ResultRowOf(s, r);
  if (r.SourceNr >= 1 && static_cast<std::size_t>(r.SourceNr) <= s.sourceTable.size()) {
    SourceEntry& src = s.sourceTable[static_cast<std::size_t>(r.SourceNr - 1)];
    src.duplicates += 1;
    src.duplicateBytes += r.SIZE;
  }
  s.result.AddFile(group, std::move(f));
  NoteGroupChanged(s, group.id);
  s.counters.duplicates = static_cast<std::uint64_t>(s.result.counters.DupCount);
}

}  // namespace twinex
