#include "preview/thumbnail_cache.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>

#include "platform/digest.h"
#include "platform/file_ops.h"
#include "platform/file_system.h"
#include "platform/ini_file.h"
#include "preview/picture_fit.h"

namespace twinex::preview {
namespace {

constexpr int kSha256 = 3;  // content method of SHA-256
constexpr std::size_t kDigestHex = 64;
constexpr const char* kSuffix = ".png";
// A temporary file that is older than this is a leftover of a write that never finished.
constexpr std::int64_t kLeftoverSeconds = 3600;

bool IsCacheName(const std::string& name) {
  if (name.size() != kDigestHex + 4 || name.compare(kDigestHex, 4, kSuffix) != 0) return false;
  for (std::size_t i = 0; i < kDigestHex; ++i)
    if (!std::isxdigit(static_cast<unsigned char>(name[i])) || std::isupper(static_cast<unsigned char>(name[i])))
      return false;
  return true;
}

// Marks a cached thumbnail as used now, so the clean-up keeps it.
void Touch(const std::string& path) { ::utimensat(AT_FDCWD, path.c_str(), nullptr, 0); }

}  // namespace

std::string ThumbnailCache::FolderIn(const std::string& tempFolder) {
  std::string folder = platform::JoinPath(tempFolder, "thumbnails");
  folder.push_back('/');
  return folder;
}

std::string ThumbnailCache::CacheFileOf(const std::string& picture, int maxSide) const {
  struct stat st;
  if (::stat(picture.c_str(), &st) != 0) return "";
  // Fields are separated by NUL, which no path holds, so no two keys read alike.
  std::string key = platform::AbsolutePath(picture);
  for (std::uint64_t v : {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
                          static_cast<std::uint64_t>(st.st_size), static_cast<std::uint64_t>(st.st_mtim.tv_sec),
                          static_cast<std::uint64_t>(st.st_mtim.tv_nsec), static_cast<std::uint64_t>(maxSide)}) {
    key.push_back('\0');
    key += std::to_string(v);
  }
  platform::Digest digest;
  if (!digest.Begin(kSha256).empty() || !digest.Add(key.data(), key.size()).empty()) return "";
  const std::string hex = digest.FinishHex();
  return hex.empty() ? "" : folder_ + hex + kSuffix;
}

ThumbnailResult ThumbnailCache::Get(const std::string& picture, int maxSide) const {
  ThumbnailResult r;
  r.path = CacheFileOf(picture, maxSide);
  if (r.path.empty()) {
    r.error = std::strerror(errno);
    return r;
  }
  if (platform::ExistFile(r.path)) {
    Touch(r.path);
    r.ok = r.fromCache = true;
    return r;
  }
  const similar::DecodeOutcome size = similar::ReadPictureSize(picture);
  if (!size.ok) {
    r.error = size.error;
    return r;
  }
  r.picture = size.source;
  const FitSize fit = FitInto(size.source.width, size.source.height, maxSide, maxSide);
  similar::DecodeRequest request;
  request.width = fit.width;
  request.height = fit.height;
  similar::Bitmap bitmap;
  const similar::DecodeOutcome decoded = similar::DecodePicture(picture, request, bitmap);
  std::string png;
  if (!decoded.ok) {
    r.error = decoded.error;
    return r;
  }
  if (!similar::EncodePng(bitmap, png)) {
    r.error = "PNG encoding failed";
    return r;
  }
  if (std::string e = platform::CreateFolderTree(folder_); !e.empty()) {
    r.error = e;
    return r;
  }
  if (std::string e = platform::WriteFileAtomic(r.path, png); !e.empty()) {
    r.error = e;
    return r;
  }
  r.ok = true;
  return r;
}

std::size_t ThumbnailCache::Clean(std::int64_t nowUnix, std::int64_t maxAgeSeconds) const {
  std::size_t removed = 0;
  (void)platform::ListFolder(folder_, [&](const platform::FileInfo& entry) {
    if (!entry.isRegular || entry.isSymlink) return true;
    const std::string path = folder_ + entry.name;
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0) return true;
    const std::int64_t age = nowUnix - static_cast<std::int64_t>(st.st_mtim.tv_sec);
    if (age > (IsCacheName(entry.name) ? maxAgeSeconds : kLeftoverSeconds) && ::unlink(path.c_str()) == 0) ++removed;
    return true;
  });
  return removed;
}

}  // namespace twinex::preview
