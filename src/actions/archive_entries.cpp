#include "actions/archive_entries.h"

#include "platform/process.h"
#include "platform/text.h"
#include "settings/translate.h"

namespace twinex {
namespace {

constexpr int kArchiveZip = 1;
constexpr int kArchive7z = 4;

std::string ExitCodeText(int code) {
  switch (code) {
    case 2:
      return z_Translate(18075, "Fatal error");
    case 7:
      return z_Translate(18076, "Command line error");
    case 8:
      return z_Translate(18077, "Not enough memory for operation");
    default:
      return z_Translate(18078, "unknown error");
  }
}

// Whether the archive still lists the entry. The archiver's exit code cannot tell: deleting a
// name the archive does not hold succeeds without doing anything.
bool ArchiveLists(const std::string& program, const std::string& archive, const std::string& entry) {
  std::string reason, listing;
  if (platform::RunProgramStatus({program, "l", "-slt", "-spd", "--", archive, entry}, reason, &listing) != 0)
    return false;
  const std::size_t body = listing.find("\n----------");
  return body != std::string::npos && listing.find("\nPath = " + entry + "\n", body) != std::string::npos;
}

}  // namespace

std::string ArchiveTypeName(int archiveType) {
  // Indexed by the archive kind of the members; 3 is not used.
  static const char* const kNames[] = {"",    "ZIP", "RAR", "???", "7z",  "ISO", "CAB", "TAR", "GZ",
                                       "ePUB", "CBR", "NRG", "LZH", "LHA", "ARJ", "CBZ", "CB7", "CBT"};
  if (archiveType <= 0 || archiveType >= static_cast<int>(std::size(kNames))) return "???";
  return kNames[archiveType];
}

bool ArchiveAllowsDelete(int archiveType) { return archiveType == kArchiveZip || archiveType == kArchive7z; }

std::string DeleteArchiveEntry(const std::string& archiver, const std::string& archive, const std::string& entry) {
  const std::string program = platform::FindProgram(archiver);
  if (program.empty())
    return z_Translate(18084, "Das Programm '%1' wurde nicht gefunden (Paket '%2').", {archiver, kArchiverPackage});
  const std::string inner = platform::ReplaceAll(entry, "\\", "/");
  // Without a name the archiver would delete every entry.
  if (platform::Trim(inner).empty()) return ExitCodeText(7);
  // -spd: the entry is a name, not a wildcard; "--": a name starting with "-" is no switch.
  if (!ArchiveLists(program, archive, inner)) return z_Translate(18085, "Die Datei ist nicht im Archiv vorhanden.");
  std::string reason;
  const int code = platform::RunProgramStatus({program, "d", "-y", "-spd", "--", archive, inner}, reason);
  if (code < 0) return reason;
  if (code != 0) return std::to_string(code) + " - " + ExitCodeText(code);
  if (ArchiveLists(program, archive, inner)) return ExitCodeText(-1);
  return "";
}

}  // namespace twinex
