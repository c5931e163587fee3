#include "search/archive_access.h"

#include "platform/file_system.h"
#include "platform/number_format.h"
#include "platform/text.h"
#include "search/archive_extract.h"
#include "settings/translate.h"

namespace twinex {
namespace {

std::string g_archiver = "7zz";
constexpr const char* kArchiverPackage = "7zip";

// What a second reader may cure: the first could not open the archive at all.
bool WorthAnotherReader(const ArchiveOutcome& o) {
  return o.error == ArchiveError::kOpen || o.error == ArchiveError::kNoProgram;
}

template <typename Step>
ArchiveOutcome WithReaders(const ArchiveRef& archive, Step step) {
  const ArchiveTypeInfo* type = archive.type();
  if (!type) return {ArchiveError::kOpen, "?"};
  ArchiveOutcome outcome{ArchiveError::kOpen, "?"};
  for (ArchiveReaderKind kind : ArchiveReadersFor(archive.lowerExt, archive.volumeType)) {
    ArchiveOutcome next = step(ReaderOfKind(kind), *type);
    // The first reader's reason is kept when the second one is merely missing.
    if (next.error != ArchiveError::kNoProgram || outcome.text == "?") outcome = next;
    if (!WorthAnotherReader(next)) break;
  }
  return outcome;
}

}  // namespace

std::string ExtractionReason(const ArchiveOutcome& o) {
  switch (o.error) {
    case ArchiveError::kPassword:
      return z_Translate(11508, "Datei passwortgeschützt?");
    case ArchiveError::kNotFound:
      return z_Translate(11512, "Die Datei ist nicht im Archiv vorhanden.");
    case ArchiveError::kNotAFile:
      return z_Translate(11513, "Verknüpfungen und Ordner in Archiven werden nicht entpackt.");
    case ArchiveError::kTooLarge:
      return z_Translate(11514, "Die Datei ist größer als die Grenze für das Entpacken.");
    case ArchiveError::kNoSpace:
      return z_Translate(11515, "Im temporären Ordner ist nicht genug Platz frei.") + " " + o.text;
    case ArchiveError::kNoProgram:
      return z_Translate(18084, "Das Programm '%1' wurde nicht gefunden (Paket '%2').", {o.text, kArchiverPackage});
    default:
      return o.text.empty() ? z_Translate(11509, "Unbekannter Fehler") : o.text;
  }
}

ArchiveRef ArchiveRefOf(const std::string& path) {
  ArchiveRef ref{path, platform::LowerCase(platform::xGetExtension(path)), ""};
  const std::string lower = platform::LowerCase(path);
  if (ref.lowerExt == "001")
    ref.volumeType = platform::LowerCase(platform::xGetExtension(path.substr(0, path.size() - 4)));
  else if (platform::EndsWith(lower, ".tar.gz"))
    ref.volumeType = "tar";
  return ref;
}

ArchiveReader& ReaderOfKind(ArchiveReaderKind kind) {
  static const std::unique_ptr<ArchiveReader> library = MakeLibarchiveReader();
  static std::unique_ptr<ArchiveReader> archiver;
  static std::string archiverProgram;
  if (kind == ArchiveReaderKind::kLibarchive) return *library;
  if (!archiver || archiverProgram != g_archiver) {
    archiver = MakeSevenZipReader(g_archiver);
    archiverProgram = g_archiver;
  }
  return *archiver;
}

void SetArchiverProgram(const std::string& program) { g_archiver = program; }

ArchiveOutcome ListArchive(const ArchiveRef& archive, RunControl& run,
                           const std::function<bool(const ArchiveMember&)>& onMember) {
  bool anyListed = false;
  return WithReaders(archive, [&](ArchiveReader& reader, const ArchiveTypeInfo& type) {
    if (anyListed) return ArchiveOutcome{};  // never list the same members twice
    return reader.List(archive.path, type, run, [&](const ArchiveMember& m) {
      anyListed = true;
      return onMember(m);
    });
  });
}

ArchiveOutcome ExtractArchiveMember(const ArchiveRef& archive, const std::string& pathInsideZip, MemberSink& sink,
                                    RunControl& run) {
  return WithReaders(archive, [&](ArchiveReader& reader, const ArchiveTypeInfo& type) {
    return reader.Extract(archive.path, type, pathInsideZip, sink, run);
  });
}

std::string ListingMessage(const std::string& archivePath, const ArchiveOutcome& o) {
  switch (o.error) {
    case ArchiveError::kNone:
    case ArchiveError::kStopped:
    case ArchiveError::kSkipped:
      return "";
    case ArchiveError::kPassword:
      return z_Translate(11504, "INFO: Die Archivdatei '%1' ist mit einem Passwort geschützt und kann nicht durchsucht werden!",
                         {archivePath});
    case ArchiveError::kRead:
      return z_Translate(11502, "Beim Lesen von Datei '%2' ist ein Fehler aufgetreten: %1",
                         {o.text + " [Search_ScanArchive]", archivePath});
    default:
      return z_Translate(11501, "Beim Öffnen der Datei '%1' ist ein Fehler aufgetreten: %2",
                         {archivePath, ExtractionReason(o) + " [Search_ScanArchive]"});
  }
}

std::string PasswordMemberMessage(const std::string& pathInsideZip, const std::string& archivePath) {
  return z_Translate(11503,
                     "INFO: Die Datei '%1' aus dem Archiv '%2' ist mit einem Passwort geschützt und kann nicht entpackt werden!",
                     {pathInsideZip, archivePath});
}

std::string NoMembersMessage(const std::string& archivePath) {
  return z_Translate(11505, "INFO: Es konnten keine Dateien in der Archivdatei '%1' gefunden werden! (Falsche Dateiendung?)",
                     {archivePath});
}

std::string ExtractionMessage(const std::string& pathInsideZip, const std::string& archivePath,
                              const ArchiveOutcome& o, bool& isError) {
  isError = false;
  if (o.ok() || o.error == ArchiveError::kStopped) return "";
  if (o.error == ArchiveError::kSkipped)
    return z_Translate(11507, "INFO: Das Entpacken der Datei '%1' aus der Archivdatei '%2' wurde vom Anwender abgebrochen",
                       {pathInsideZip, archivePath});
  isError = true;
  return z_Translate(11506, "Beim Entpacken der Datei '%1' aus der Archivdatei '%2' ist ein Fehler aufgetreten: %3",
                     {pathInsideZip, archivePath, ExtractionReason(o) + " [Search_CheckandCreateTempFileFromArchive]"});
}

std::string ExtractionLabel(const ExtractionProgress& p) {
  if (p.finished) return "";
  return z_Translate(11516, "Entpacke Datei...") + " " + p.member + " - " + platform::FormatSizeAuto(p.size) + " - " +
         p.archive + " " + std::to_string(p.Percent()) + "%";
}

}  // namespace twinex
