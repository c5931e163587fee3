#pragma once
// The small reads the tag readers make, with one wording for access errors and for tags that
// contradict the file.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/read_only_file.h"
#include "search/tag_sizes.h"

namespace twinex {

class TagFile {
 public:
  explicit TagFile(const std::string& path) : path_(path) {}

  // Both return false after an access error; `position` tells the log where it happened.
  bool Open(int position);
  bool Read(std::uint64_t offset, void* buffer, std::size_t length, int position);
  std::uint64_t Size() const { return file_.Size(); }

  // The full file, with the access error (if any) as the message.
  TagCuts Uncut() const;
  // The full file because the tags do not fit the file.
  TagCuts Damaged() const;
  // The cuts when they leave the file's bytes in order, else Damaged().
  TagCuts Cut(std::uint64_t start, std::uint64_t end) const;

  const std::string& Path() const { return path_; }

 private:
  std::string path_;
  platform::ReadOnlyFile file_;
  std::string accessError_;
};

inline std::uint32_t LittleEndian32(const unsigned char* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
inline std::uint16_t LittleEndian16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
inline std::uint32_t BigEndian(const unsigned char* p, int bytes) {
  std::uint32_t v = 0;
  for (int i = 0; i < bytes; ++i) v = (v << 8) | p[i];
  return v;
}

}  // namespace twinex
