#pragma once
// The thumbnails of a group's pictures, cached as PNG files in the "thumbnails" folder below the
// program's temp folder. A thumbnail's name is a digest of the picture's path, identity, size,
// modification time and the thumbnail size, so two pictures never share one, and a picture that
// changed gets a new one. Files are written through a temporary file and a rename, so a reader
// never sees half a thumbnail; thumbnails not used for a while are removed.
#include <cstdint>
#include <string>

#include "similar/picture_decode.h"

namespace twinex::preview {

struct ThumbnailResult {
  bool ok = false;
  std::string path;              // the cached PNG
  bool fromCache = false;        // it was there already
  similar::PictureSize picture;  // the picture's own size (0 x 0 when taken from the cache)
  std::string error;             // the decoder's or the file system's message
};

class ThumbnailCache {
 public:
  // Thumbnails unused for this long go at the next clean-up.
  static constexpr std::int64_t kMaxAgeSeconds = 30LL * 24 * 3600;

  // The cache below the program's temp folder.
  static std::string FolderIn(const std::string& tempFolder);

  explicit ThumbnailCache(std::string folder) : folder_(std::move(folder)) {}
  const std::string& folder() const { return folder_; }

  // The cache file of a picture for a thumbnail of at most maxSide pixels ("" when the picture
  // cannot be read from the file system).
  std::string CacheFileOf(const std::string& picture, int maxSide) const;

  // The thumbnail of the picture: the cached one, or a new one made and cached. Safe to call from
  // several threads (the last writer of the same thumbnail wins with identical bytes).
  ThumbnailResult Get(const std::string& picture, int maxSide) const;

  // Removes cached thumbnails whose last use is older than maxAgeSeconds before nowUnix, and
  // leftovers of interrupted writes; returns how many files went.
  std::size_t Clean(std::int64_t nowUnix, std::int64_t maxAgeSeconds = kMaxAgeSeconds) const;

 private:
  std::string folder_;  // ends in "/"
};

}  // namespace twinex::preview
