#pragma once
// Listing and extracting through the readers the type table names, and the log texts of
// their outcomes.
#include <string>
#include <string_view>

#include "search/archive_reader.h"
#include "search/search_observer.h"

namespace twinex {

class MemberSink;

// The archive the walk found: its full path, lower-case extension and the volume type it named.
struct ArchiveRef {
  std::string path;
  std::string lowerExt;
  std::string volumeType;
  const ArchiveTypeInfo* type() const { return ArchiveTypeOf(lowerExt, volumeType); }
};

// The reference of an archive by its path alone, with the walk's naming rules for first volumes
// ("x.7z.001") and compressed tars ("x.tar.gz").
ArchiveRef ArchiveRefOf(const std::string& path);

// The readers of the process, one of each kind; the external archiver's program name may be
// changed (tests point it at a missing program).
ArchiveReader& ReaderOfKind(ArchiveReaderKind kind);
void SetArchiverProgram(const std::string& program);

// Lists with the type's first reader; when that one cannot open the archive at all, with the
// next. The outcome is the last reader's.
ArchiveOutcome ListArchive(const ArchiveRef& archive, RunControl& run,
                           const std::function<bool(const ArchiveMember&)>& onMember);
// Extracts one member with the first reader that opens the archive.
ArchiveOutcome ExtractArchiveMember(const ArchiveRef& archive, const std::string& pathInsideZip, MemberSink& sink,
                                    RunControl& run);

// The search-log line of a listing that failed ("" for success and a stop).
std::string ListingMessage(const std::string& archivePath, const ArchiveOutcome& outcome);
// The INFO line of a password-protected member.
std::string PasswordMemberMessage(const std::string& pathInsideZip, const std::string& archivePath);
// The INFO line of an archive without any member.
std::string NoMembersMessage(const std::string& archivePath);
// The labels of a running extraction in one line: "Entpacke Datei...", the member, "-", its
// size, the archive and the share done ("" once it has finished).
std::string ExtractionLabel(const ExtractionProgress& progress);
// Why an extraction failed, in the user's words (the "%3" of an extraction message).
std::string ExtractionReason(const ArchiveOutcome& outcome);
// The search-log line of an extraction that failed ("" for success and a stop of the search);
// isError tells an error line from an INFO line (the user gave up the member).
std::string ExtractionMessage(const std::string& pathInsideZip, const std::string& archivePath,
                              const ArchiveOutcome& outcome, bool& isError);

}  // namespace twinex
