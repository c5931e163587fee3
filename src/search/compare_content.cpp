#include "search/compare_content.h"

#include <algorithm>
#include <cstring>

#include "search/archive_search.h"
#include "search/checksum_db_search.h"
#include "search/digest_ahead.h"
#include "search/hardlink_id.h"
#include "search/search.h"
#include "settings/translate.h"

namespace twinex {
namespace {

ContentWorkspace& Workspace(Search& s) {
  if (!s.contentWorkspace) s.contentWorkspace = std::make_shared<ContentWorkspace>();
  return *s.contentWorkspace;
}

// The file that stands for the record's content: an archive member reads its temporary copy,
// which the comparison has made before it asks.
CompareFile CompareFileOf(Search& s, long index) {
  const FileRecord& r = s.files.Record(index);
  std::string path;
  if (r.ArchiveType == 0 || !Search_ContentPath(s, index, path)) path = s.files.GetPathWithFileName(index);
  const RecordExtras& cuts = s.files.Extras(r);
  return CompareFile{path, cuts.cutFromFileStart, cuts.cutFromFileEnd};
}

// Two names of one file have the same content; a name whose identity cannot be read is
// compared by content.
bool SameFileByHardlink(Search& s, long ia, long ib) {
  const bool known = ReadHardlinkData(s, ia) & ReadHardlinkData(s, ib);  // both read, both logged
  return known && cHardlinkID::Of(s.files.Record(ia)).SameFileAs(cHardlinkID::Of(s.files.Record(ib)));
}

// The helper's job that may hold the file's digest: the checked file's own, or one offered with
// the walk's folder for a stored file.
DigestJob* JobMadeAhead(const Search& s, long index) {
  if (index == 0) return s.currentDigestJob;
  return s.offeredFolder ? s.offeredFolder->JobForRecord(index) : nullptr;
}

// The file's digest, made at most once per search. False when it could not be made (the record
// is then marked and logged) or the user stopped or skipped it (nothing is marked). `soon` is a
// digest the helper was asked to make just now.
bool EnsureDigest(Search& s, ContentWorkspace& ws, long index, DigestJob* soon = nullptr) {
  FileRecord& r = s.files.Record(index);
  if (r.HashCreated || DB_Get_Hash(s, index)) return true;
  // The file being checked is opened inside its folder, which the walk holds open, and with the
  // size the walk read; any other by its path. The path of the first is made only for a message.
  const bool inFolder = index == 0 && r.ArchiveType == 0 && s.currentFolderFd >= 0;
  const auto length = static_cast<std::size_t>(std::clamp(s.checksum.digestLength, 0, kMaxDigestLength));
  std::string path, error;
  HashOutcome outcome = HashOutcome::Failed;
  DigestJob* ahead = soon ? soon : JobMadeAhead(s, index);
  if (ahead && ahead->Take(s.files.HashArray(r), length)) {
    outcome = HashOutcome::Created;  // made ahead by the helper thread
  } else {
    if (!inFolder && !Search_ContentPath(s, index, path)) return false;
    platform::ReadOnlyFile file;
    error = inFolder ? file.OpenInFolder(s.currentFolderFd, std::string(s.files.FileName(r)), r.SIZE) : file.Open(path);
    if (!error.empty()) {
      error = "CreateFileWide: " + error;
    } else {
      const std::uint64_t readBlock = SaneBlockSize(s.buffers[2], 16384);
      outcome = CreateHashFromFile(file, s.files.Extras(r), s.files.HashArray(r), s.checksum, readBlock, ws.checksum,
                                   error, s.run);
    }
  }
  switch (outcome) {
    case HashOutcome::Created:
      r.HashCreated = true;
      ++s.counters.checksumsCreated;
      DB_Save_Hash(s, index);
      if (r.ArchiveType != 0 && s.settings.DeleteTempFilesAfterCreateChecksum) Search_DropTempCopy(s, index);
      return true;
    case HashOutcome::Failed:
      if (path.empty()) path = s.files.GetPathWithFileName(index);
      s.LogProtokoll(
          z_Translate(14010, "Beim Erstellen der Prüfsumme von Datei '%2' ist ein Fehler aufgetreten: %1", {error, path}),
          true);
      r.HaveErrorMessage = true;
      return false;
    case HashOutcome::Cancelled:
      break;
  }
  return false;
}

bool CompareByChecksum(Search& s, ContentWorkspace& ws, long ia, long ib) {
  const FileRecord& a = s.files.Record(ia);
  const FileRecord& b = s.files.Record(ib);
  const std::uint64_t range = s.files.EffectiveSize(a);
  if (range != s.files.EffectiveSize(b)) {
    // Short ranges are their own zero-padded digests, so only equal lengths may be compared.
    ++s.counters.fileComparisons;
    return false;
  }
  if (range == 0) {
    ++s.counters.fileComparisons;
    return true;
  }
  if (!a.HashCreated || !b.HashCreated) {
    // Stored digests first: a file known to the database is not even looked at.
    DB_Get_Hash(s, ia);
    DB_Get_Hash(s, ib);
  }
  if (!a.HashCreated || !b.HashCreated) {
    if (ws.samples.Differ(ia, ib, range, [&](long index) { return CompareFileOf(s, index); })) {
      ++s.counters.fileComparisons;
      return false;
    }
    // Two large files: the helper hashes the stored one while this thread hashes the new one.
    std::shared_ptr<DigestJob> soon;
    if (s.digestAhead && !a.HashCreated && !b.HashCreated && b.ArchiveType == 0 &&
        range >= DigestAhead::kSizeLimit && !JobMadeAhead(s, ib))
      soon = s.digestAhead->Soon(s.files.GetPathWithFileName(ib), b.SIZE);
    if (!EnsureDigest(s, ws, ia) || !EnsureDigest(s, ws, ib, soon.get())) return false;
  }
  ++s.counters.fileComparisons;
  const auto length = static_cast<std::size_t>(std::clamp(s.checksum.digestLength, 0, kMaxDigestLength));
  return std::memcmp(s.files.HashArray(a), s.files.HashArray(b), length) == 0;
}

bool CompareByBytes(Search& s, ContentWorkspace& ws, long ia, long ib) {
  FileRecord& a = s.files.Record(ia);
  FileRecord& b = s.files.Record(ib);
  ++s.counters.fileComparisons;
  const CompareFile fa = CompareFileOf(s, ia), fb = CompareFileOf(s, ib);
  const CompareBlockSizes sizes = CompareBlockSizes::From(s.buffers);
  const bool exact = s.contentPercent >= 100;
  std::string error;
  int percent = 100;
  int code = 0;
  if (exact) {
    if (s.files.EffectiveSize(a) == s.files.EffectiveSize(b) &&
        ws.samples.Differ(ia, ib, s.files.EffectiveSize(a), [&](long index) -> const CompareFile& { return index == ia ? fa : fb; }))
      return false;
    code = Search_CompareFileContent(fa, fb, sizes, error, ws.compare, s.run);
  } else {
    code = Search_CompareFileContentPercent(fa, fb, sizes, percent, error, ws.compare, s.run);
  }

  auto logCompareError = [&] {
    s.LogProtokoll(z_Translate(14012, "Beim Vergleichen der Dateien '%1' und '%2' ist ein Fehler aufgetreten: %3",
                               {fa.path, fb.path, error}),
                   true);
  };
  switch (code) {
    case kContentEqual:
      if (exact) return true;
      if (percent < std::max(s.contentPercent, 1)) return false;
      // The new file shows how far it matches the group's first file, which is the reference.
      a.PercentMatch = static_cast<std::uint8_t>(percent);
      b.PercentMatch = 100;
      return true;
    case kContentDifferent:
      if (!error.empty()) logCompareError();
      return false;
    case kContentCancelled:
      return false;
    case kContentOpenFirst:
    case kContentOpenSecond: {
      const bool first = code == kContentOpenFirst;
      s.LogProtokoll(
          z_Translate(14011, "Die Datei '%1' konnte nicht geöffnet werden. Fehler: %2", {first ? fa.path : fb.path, error}),
          true);
      (first ? a : b).HaveErrorMessage = true;
      return false;
    }
    default:
      // A file that fails while being read would fail again against every later file.
      logCompareError();
      (code == kContentReadFirst ? a : b).HaveErrorMessage = true;
      return false;
  }
}

}  // namespace

bool UsesContentPrints(const Search& s) {
  return s.criteria[kCritContent] && s.contentMethod == 0 && s.contentPercent >= 100;
}

bool Search_ContentPrint(Search& s, long index, std::uint64_t& print) {
  const FileRecord& r = s.files.Record(index);
  if (r.HaveErrorMessage || r.ArchiveType != 0) return false;
  return Workspace(s).samples.Print(index, s.files.EffectiveSize(r), [&](long i) { return CompareFileOf(s, i); }, print);
}

void Search_ContentNewCheckedFile(Search& s) {
  if (s.contentWorkspace) s.contentWorkspace->samples.NewCheckedFile();
}

void Search_ContentStored(Search& s, long index) {
  if (s.contentWorkspace) s.contentWorkspace->samples.Stored(index);
}

ContentSamples::FullPrintOutcome Search_ContentFullPrint(Search& s, long index, std::uint64_t& print) {
  const FileRecord& r = s.files.Record(index);
  if (r.HaveErrorMessage || r.ArchiveType != 0) return ContentSamples::FullPrintOutcome::Failed;
  return Workspace(s).samples.FullPrint(CompareFileOf(s, index), s.files.EffectiveSize(r), print, s.run);
}

bool Search_CompareContent(Search& search, long indexNew, long indexFirst) {
  const FileRecord& a = search.files.Record(indexNew);
  const FileRecord& b = search.files.Record(indexFirst);
  // An erroneous file was logged when it failed; it never joins a group.
  if (a.HaveErrorMessage || b.HaveErrorMessage) return false;
  const bool members = a.ArchiveType != 0 || b.ArchiveType != 0;
  if (members && search.files.EffectiveSize(a) != search.files.EffectiveSize(b) && search.contentPercent >= 100) return false;
  // A member's content is its temporary copy. Checksums make it only when neither the record nor
  // the database knows the digest; a byte comparison needs it at once.
  std::string path;
  if (search.contentMethod == 0 && a.ArchiveType != 0 && !Search_ContentPath(search, indexNew, path)) return false;
  if (search.contentMethod == 0 && b.ArchiveType != 0 && !Search_ContentPath(search, indexFirst, path)) return false;
  if (!members && search.settings.DontCompareHardlinks && SameFileByHardlink(search, indexNew, indexFirst)) return true;
  ContentWorkspace& ws = Workspace(search);
  if (search.contentMethod > 0) return CompareByChecksum(search, ws, indexNew, indexFirst);
  return CompareByBytes(search, ws, indexNew, indexFirst);
}

}  // namespace twinex
