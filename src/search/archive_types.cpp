#include "search/archive_types.h"

#include <algorithm>
#include <cmath>

#include "platform/text.h"

namespace twinex {
namespace {

using R = ArchiveReaderKind;

// The enable list in its order. The comic types are their container types under another name.
constexpr ArchiveTypeInfo kTypes[] = {
    {"zip", "zip", 1, 1, R::kLibarchive, false},   {"rar", "rar", 2, 2, R::kLibarchive, false},
    {"7z", "7z", 3, 4, R::kLibarchive, false},     {"iso", "iso", 4, 5, R::kLibarchive, false},
    {"cab", "cab", 5, 6, R::kLibarchive, false},   {"tar", "tar", 6, 7, R::kLibarchive, false},
    {"gz", "gz", 7, 8, R::kLibarchive, true},      {"ePub", "epub", 8, 9, R::kLibarchive, false},
    {"cbr", "cbr", 9, 10, R::kLibarchive, false},  {"nrg", "nrg", 10, 11, R::kSevenZip, false},
    {"lzh", "lzh", 11, 12, R::kLibarchive, false}, {"lha", "lha", 12, 13, R::kLibarchive, false},
    {"arj", "arj", 13, 14, R::kSevenZip, false},   {"cbz", "cbz", 14, 15, R::kLibarchive, false},
    {"cb7", "cb7", 15, 16, R::kLibarchive, false}, {"cbt", "cbt", 16, 17, R::kLibarchive, false},
};
static_assert(std::size(kTypes) == kArchiveTypeCount);

}  // namespace

std::span<const ArchiveTypeInfo> ArchiveTypes() { return kTypes; }

const ArchiveTypeInfo* ArchiveTypeByExtension(std::string_view lowerExt) {
  for (const ArchiveTypeInfo& t : kTypes)
    if (lowerExt == t.extension) return &t;
  return nullptr;
}

const ArchiveTypeInfo* ArchiveTypeByKind(int archiveType) {
  for (const ArchiveTypeInfo& t : kTypes)
    if (archiveType == t.archiveType) return &t;
  return nullptr;
}

const ArchiveTypeInfo* ArchiveTypeOf(std::string_view lowerExt, std::string_view volumeType) {
  if (!volumeType.empty()) return ArchiveTypeByExtension(volumeType);
  return lowerExt == "001" ? nullptr : ArchiveTypeByExtension(lowerExt);
}

std::vector<ArchiveReaderKind> ArchiveReadersFor(std::string_view lowerExt, std::string_view volumeType) {
  const ArchiveTypeInfo* t = ArchiveTypeOf(lowerExt, volumeType);
  if (!t) return {};
  if (lowerExt == "001") return {R::kSevenZip};
  if (t->reader == R::kSevenZip) return {R::kSevenZip, R::kLibarchive};
  return {R::kLibarchive, R::kSevenZip};
}

bool ArchiveScanningOn(const SearchSettings& settings) {
  if (!settings.ScanArchives) return false;
  for (bool on : settings.ScanArchive)
    if (on) return true;
  return false;
}

std::uint64_t ArchiveSizeLimit(const SearchSettings& settings, bool comparesContent) {
  if (!settings.ZipSizeFilter || !comparesContent) return kNoSizeLimit;
  const std::string typed = platform::Trim(settings.ZipSizeFilterSize);
  double number = 20;  // an empty field counts as the default
  if (!typed.empty() && (!platform::ParseDouble(typed, number) || !std::isfinite(number) || number < 0)) number = 0;
  const int unit = std::clamp(settings.ZipSizeFilterTyp, 0, 4);
  const double bytes = std::ceil(number * std::pow(1024.0, unit));
  return bytes >= 1.8e19 ? kNoSizeLimit : static_cast<std::uint64_t>(bytes);
}

}  // namespace twinex
