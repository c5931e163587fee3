#include "search/archive_search.h"

#include <algorithm>

#include "platform/date_time.h"
#include "platform/file_system.h"
#include "platform/text.h"
#include "search/archive_extract.h"
#include "search/archive_scan.h"
#include "search/archive_temp.h"
#include "search/search.h"
#include "search/search_method.h"
#include "settings/translate.h"

namespace twinex {
namespace {

// Only where contents are compared does the size limit apply.
bool ComparesContent(const Search& s) {
  return (s.method == 0 && s.criteria[kCritContent]) || s.method == 2 || s.method == 3;
}

ArchiveTempCopies& TempCopies(Search& s) {
  if (!s.tempCopies)
    s.tempCopies = std::make_shared<ArchiveTempCopies>(ArchiveTempCopies::MakeSearchFolder(s.archiveTempFolder),
                                                       ArchiveSizeLimit(s.settings, true));
  return *s.tempCopies;
}

// The labels of a running extraction: shown only once it has taken longer than a moment, then
// updated a few times a second, and taken down when it ends.
class ExtractionLabels {
 public:
  ExtractionLabels(Search& s, const ArchiveRef& archive, const std::string& member, std::uint64_t size)
      : s_(s), start_(platform::TickCount()) {
    p_.member = member;
    p_.archive = archive.path;
    p_.size = size;
  }
  ~ExtractionLabels() {
    if (!shown_) return;
    p_.finished = true;
    s_.observer.OnExtraction(p_);
  }
  ExtractionLabels(const ExtractionLabels&) = delete;
  ExtractionLabels& operator=(const ExtractionLabels&) = delete;

  void Written(std::uint64_t done) {
    const std::int64_t now = platform::TickCount();
    if (now - start_ < kDelayMs || now - last_ < kIntervalMs) return;
    last_ = now;
    shown_ = true;
    p_.done = done;
    s_.observer.OnExtraction(p_);
  }

 private:
  static constexpr std::int64_t kDelayMs = 1500, kIntervalMs = 250;
  Search& s_;
  ExtractionProgress p_;
  std::int64_t start_, last_ = 0;
  bool shown_ = false;
};

TempCopyResult ExtractMember(Search& s, const ArchiveRef& archive, const std::string& inner, std::uint64_t size) {
  ExtractionLabels labels(s, archive, inner, size);
  return TempCopies(s).Extract(archive, inner, s.run, [&](std::uint64_t done) { labels.Written(done); });
}

class SearchHooks final : public ArchiveScanHooks {
 public:
  explicit SearchHooks(Search& s) : s_(s) {}

  bool Rejected(const ArchiveMember& m) override {
    const std::string full = s_.archiveBeingScanned + "/" + m.pathInsideZip;
    const std::string ext = platform::LowerCase(platform::xGetExtension(m.name));
    return s_.filters.Search_CheckFileFilter(m.size, m.name, full, m.modified, m.created) ||
           !s_.searchMethod->AcceptsExtension(s_, ext);
  }
  void Excluded(std::uint64_t size) override {
    ++s_.counters.filesExcluded;
    s_.counters.bytesExcluded += size;
  }
  // Members are handed on only after the listing, so that copies needed for comparisons inside
  // the archive can first be made in one pass in archive order.
  void Accepted(const ArchiveRef&, const ArchiveMember& m) override { accepted.push_back(m); }
  void Log(const std::string& line, bool isError) override { s_.LogProtokoll(line, isError); }

  std::vector<ArchiveMember> accepted;

 private:
  Search& s_;
};

void HandOn(Search& s, const ArchiveRef& archive, const ArchiveMember& m) {
  EnumeratedFile f;
  f.folder = archive.path;  // the result shows the archive as the member's path
  f.name = m.name;
  f.fullPath = archive.path + "/" + m.pathInsideZip;
  f.archivePath = m.pathInsideZip;
  f.size = m.size;
  f.modified = m.modified;
  f.created = m.created;
  f.attributes = m.attributes;
  f.inArchive = true;
  f.archiveType = static_cast<std::uint8_t>(archive.type()->archiveType);
  ++s.counters.filesInArchives;
  s.checkFile(s, f);
  if (s.counters.duplicates >= s.maxDuplicates) s.run.RequestStop(kStopMaxDuplicates);
}

// Copies made ahead are found by the member's archive and inner path.
std::string CopyAheadKey(const std::string& archivePath, const std::string& inner) { return archivePath + "/" + inner; }

void CopyAhead(Search& s, const ArchiveRef& archive, const std::string& inner, std::uint64_t size) {
  TempCopyResult copy = ExtractMember(s, archive, inner, size);
  if (!copy.ok) return;  // the comparison tries again and reports why it cannot
  ++s.counters.filesExtracted;
  s.copiesAhead[CopyAheadKey(archive.path, inner)] = copy.number;
}

// Reaching a member of a solid archive means reading the archive up to it. When the first file
// of a size is a member and a later member of the same size arrives, the first one lies behind
// the reader and the archive would be read again from its start: once per such pair, which
// grows with the square of the members. Members whose size another member of the archive shares
// are therefore copied ahead, in archive order, in one pass.
void CopyAheadMembersOfSharedSize(Search& s, const ArchiveRef& archive, const std::vector<ArchiveMember>& members) {
  if (members.size() < 2) return;
  std::unordered_map<std::uint64_t, int> sizes;
  for (const ArchiveMember& m : members) ++sizes[m.size];
  Search::SolidArchiveMembers* order = nullptr;
  if (auto it = s.solidArchives.find(archive.path); it != s.solidArchives.end()) order = &it->second;
  for (std::size_t i = 0; i < members.size(); ++i) {
    if (s.run.StopRequested()) return;
    if (sizes[members[i].size] < 2) continue;
    CopyAhead(s, archive, members[i].pathInsideZip, members[i].size);
    if (order) {
      order->copied[i] = true;
      order->reached = i + 1;
    }
  }
}

// Solid archives (7z, rar, compressed tars) cannot skip to a member: reaching one means
// decompressing everything before it.
bool IsSolid(const ArchiveRef& archive) {
  static const char* const kSolid[] = {"7z", "cb7", "rar", "cbr", "tgz"};
  for (const char* ext : kSolid)
    if (archive.lowerExt == ext) return true;
  return archive.volumeType == "tar";
}

void RememberSolidOrder(Search& s, const ArchiveRef& archive, const std::vector<ArchiveMember>& members) {
  if (!IsSolid(archive) || members.empty()) return;
  Search::SolidArchiveMembers& order = s.solidArchives[archive.path];
  order = {};
  for (const ArchiveMember& m : members) {
    order.position.emplace(m.pathInsideZip, order.members.size());
    order.members.push_back(m.pathInsideZip);
    order.sizes.push_back(m.size);
  }
  order.copied.assign(members.size(), false);
}

// A member behind the point the reader has reached would cost a read from the archive's start,
// and the next one behind it another: the members passed on the way are copied ahead in that
// one read, so that each solid archive is read from its start at most once more.
void BeforeExtracting(Search& s, const ArchiveRef& archive, const std::string& inner) {
  const auto found = s.solidArchives.find(archive.path);
  if (found == s.solidArchives.end()) return;
  Search::SolidArchiveMembers& order = found->second;
  const auto at = order.position.find(inner);
  if (at == order.position.end()) return;
  const std::size_t target = at->second;
  if (target < order.reached)
    for (std::size_t i = 0; i < target && !s.run.StopRequested(); ++i)
      if (!order.copied[i]) {
        order.copied[i] = true;
        CopyAhead(s, archive, order.members[i], order.sizes[i]);
      }
  order.copied[target] = true;
  order.reached = std::max(order.reached, target + 1);
}

// The copy made ahead for this member, if any, now belongs to its record.
bool ClaimCopyAhead(Search& s, FileRecord& r, const std::string& inner) {
  const auto it = s.copiesAhead.find(CopyAheadKey(s.files.Folder(r.FolderIndex), inner));
  if (it == s.copiesAhead.end()) return false;
  s.files.SetArchiveMember(r, inner, it->second);
  s.copiesAhead.erase(it);
  return true;
}

}  // namespace

void Search_ScanArchive(Search& s, const std::string& fullPath, const std::string& ext, const std::string& type) {
  const ArchiveRef archive{fullPath, ext, type};
  if (!archive.type()) return;
  ++s.counters.archivesSearched;
  s.archiveBeingScanned = fullPath;
  ArchiveScanOptions options;
  options.sizeLimit = ArchiveSizeLimit(s.settings, ComparesContent(s));
  options.logPasswordProtected = s.settings.LogPasswordProtectedFiles;
  SearchHooks hooks(s);
  ScanArchiveMembers(archive, options, s.run, hooks);
  s.counters.totalFiles += hooks.accepted.size();
  if (s.method == 0 && s.criteria[kCritContent]) {
    RememberSolidOrder(s, archive, hooks.accepted);
    CopyAheadMembersOfSharedSize(s, archive, hooks.accepted);
  }
  for (const ArchiveMember& m : hooks.accepted) {
    if (s.run.StopRequested()) break;
    HandOn(s, archive, m);
  }
}

std::string Search_TempCopyPath(const Search& s, const FileRecord& r) {
  if (r.ArchiveType == 0 || !s.tempCopies) return "";
  const std::string& nr = s.files.ArchiveTempFileNr(r);
  return nr.empty() ? "" : s.tempCopies->folder() + nr + SafeMemberFileName(s.files.PathInsideZip(r));
}

bool Search_ContentPath(Search& s, long index, std::string& path) {
  FileRecord& r = s.files.Record(index);
  if (r.ArchiveType == 0) {
    path = s.files.GetPathWithFileName(index);
    return true;
  }
  if (r.HaveErrorMessage) return false;
  const std::string inner = s.files.PathInsideZip(r);
  if (s.files.ArchiveTempFileNr(r).empty()) ClaimCopyAhead(s, r, inner);
  path = Search_TempCopyPath(s, r);
  if (!path.empty() && platform::ExistFile(path)) return true;
  const ArchiveRef archive = ArchiveRefOf(s.files.Folder(r.FolderIndex));
  BeforeExtracting(s, archive, inner);
  TempCopyResult copy = ExtractMember(s, archive, inner, r.SIZE);
  if (!copy.message.empty()) s.LogProtokoll(copy.message, copy.isError);
  if (!copy.ok) {
    if (copy.isError) r.HaveErrorMessage = true;
    return false;
  }
  ++s.counters.filesExtracted;
  s.files.SetArchiveMember(r, inner, copy.number);
  path = copy.path;
  return true;
}

void Search_DropTempCopy(Search& s, long index) {
  FileRecord& r = s.files.Record(index);
  const std::string path = Search_TempCopyPath(s, r);
  if (path.empty()) return;
  s.tempCopies->Remove(path);
  s.files.SetArchiveMember(r, s.files.PathInsideZip(r), "");
}

void Search_DeleteTempCopiesWithoutDups(Search& s) {
  if (!s.tempCopies) return;
  for (const auto& [member, number] : s.copiesAhead)
    s.tempCopies->Remove(s.tempCopies->folder() + number + SafeMemberFileName(member));
  s.copiesAhead.clear();
  for (long i = 1; i <= s.files.Count(); ++i)
    if (s.files.Record(i).GroupID == -1) Search_DropTempCopy(s, i);
}

}  // namespace twinex
