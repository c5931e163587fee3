#pragma once
// The archive types the search can look into: the enable list's items and codes, the archive
// kind each type gives its members, and which reader opens it. One table serves the walk, the
// listing and the extraction.
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "settings/search_settings.h"

namespace twinex {

enum class ArchiveReaderKind { kLibarchive, kSevenZip };

struct ArchiveTypeInfo {
  const char* listItem;   // text of the enable list ("zip", "ePub", …)
  const char* extension;  // lower case, without the dot
  int itemCode;           // 1..16, also the prefix of the "<code>ScanArchive" key
  int archiveType;        // the members' ArchiveType
  ArchiveReaderKind reader;
  bool singleStream;      // one compressed file without a directory (gz)
};

inline constexpr int kArchiveTypeNone = 0;  // an ordinary file

std::span<const ArchiveTypeInfo> ArchiveTypes();
const ArchiveTypeInfo* ArchiveTypeByExtension(std::string_view lowerExt);
const ArchiveTypeInfo* ArchiveTypeByKind(int archiveType);

// The type of an archive the walk hands over: the type the walk named ("7z", "zip", "tar" for a
// first volume "001" or a ".tar.gz"; "rar" for a first part), else its extension. Null when it
// is none.
const ArchiveTypeInfo* ArchiveTypeOf(std::string_view lowerExt, std::string_view volumeType);

// The readers to try, in order, for an archive: the table's reader first, then the other one
// where it may read what the first could not. Split volumes go to the external program only.
std::vector<ArchiveReaderKind> ArchiveReadersFor(std::string_view lowerExt, std::string_view volumeType);

// Archive scanning is on when the switch and at least one type are on.
bool ArchiveScanningOn(const SearchSettings& settings);

// Members at or above this size are neither listed nor extracted when the search compares
// contents; kNoSizeLimit when there is none.
inline constexpr std::uint64_t kNoSizeLimit = UINT64_MAX;
std::uint64_t ArchiveSizeLimit(const SearchSettings& settings, bool comparesContent);

}  // namespace twinex
