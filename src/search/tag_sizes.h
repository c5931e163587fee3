#pragma once
// How many bytes of tags and metadata to leave out at the start and the end of a file, so that
// files that differ only in their tags compare equal. Every reader falls back to the full file
// (both cuts 0) when the tags are unreadable or contradict the file's size; `message` then holds
// the text to log.
#include <cstdint>
#include <string>

namespace twinex {

struct TagCuts {
  std::uint64_t start = 0;
  std::uint64_t end = 0;
  std::string message;  // "" when there is nothing to log
};

// ID3v2 at the start; ID3v1, APE and Lyrics3 v2 at the end.
TagCuts Search_CheckForMP3IDTag(const std::string& path);
// "fLaC" and its metadata blocks at the start.
TagCuts Search_CheckForFlacTag(const std::string& path);
// JPEG: application segments before the image data, anything after the end-of-image marker.
TagCuts Search_GetExifDatablockSize(const std::string& path);
// CR2: everything but the raw image data.
TagCuts Search_GetExifDatablockSize_CR2(const std::string& path);

}  // namespace twinex
