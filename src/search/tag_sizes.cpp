#include "search/tag_sizes.h"

#include <cstring>

#include "search/tag_file.h"
#include "settings/translate.h"

namespace twinex {
namespace {

// Where an access error happened, for the "(%3)" of the message.
enum Mp3Position { kMp3Open = 1, kMp3Id3v2, kMp3Id3v1, kMp3ApeFooter, kMp3ApeHeader, kMp3Lyrics, kMp3LyricsBegin };
enum FlacPosition { kFlacOpen = 1, kFlacMarker, kFlacBlockHeader, kFlacFrameSync };

constexpr std::uint64_t kApeFooterSize = 32;
constexpr std::uint32_t kApeHasHeader = 0x80000000u;

// Size of the ID3v2 tag at the start (0 without one); false after an access error.
bool Id3v2Size(TagFile& f, std::uint64_t& start) {
  start = 0;
  if (f.Size() < 10) return true;
  unsigned char h[10];
  if (!f.Read(0, h, sizeof h, kMp3Id3v2)) return false;
  if (std::memcmp(h, "ID3", 3) != 0 || h[3] == 255 || h[4] == 255) return true;
  std::uint64_t size = 0;
  for (int i = 6; i < 10; ++i) {
    if (h[i] >= 128) return true;
    size = size * 128 + h[i];
  }
  // Version 4 may repeat the header as a footer after the tag; it belongs to the tag too.
  const bool footer = h[3] >= 4 && (h[5] & 0x10);
  start = 10 + size + (footer ? 10 : 0);
  return true;
}

// Walks the tags at the end of an MP3 from the back. Each step claims bytes in front of the
// ones claimed so far; `room` is what is left between the start tag and them.
struct Mp3EndTags {
  Mp3EndTags(TagFile& file, std::uint64_t startCut) : f(file), start(startCut) {}

  TagFile& f;
  std::uint64_t start;
  std::uint64_t end = 0;
  bool damaged = false;
  std::string message;

  std::uint64_t Room() const { return f.Size() - start - end; }

  // A tag claims `size` more bytes; more than there is means the tag lies.
  void Claim(std::uint64_t size) {
    if (size > Room())
      damaged = true;
    else
      end += size;
  }

  bool Id3v1() {
    if (Room() < 128) return true;
    char tag[3];
    if (!f.Read(f.Size() - end - 128, tag, sizeof tag, kMp3Id3v1)) return false;
    if (std::memcmp(tag, "TAG", 3) == 0) Claim(128);
    return true;
  }

  // An APE tag ends in a 32-byte footer whose size field counts the items and the footer, but
  // not the optional 32-byte header in front; the header is claimed only when the footer
  // announces it and it is really there, so a wrong flag never cuts into the audio.
  bool Ape(bool& found, bool& corrupt) {
    if (Room() < kApeFooterSize) return true;
    unsigned char footer[kApeFooterSize];
    if (!f.Read(f.Size() - end - kApeFooterSize, footer, sizeof footer, kMp3ApeFooter)) return false;
    if (std::memcmp(footer, "APETAGEX", 8) != 0) return true;
    const std::uint32_t size = LittleEndian32(footer + 12);
    const std::uint32_t flags = LittleEndian32(footer + 20);
    if (size > 2147483647u || size < kApeFooterSize) {
      message = z_Translate(14002, "Die Datei '%1' besitzt ein korruptes APE-Tag!", {f.Path()});
      corrupt = true;
      return true;
    }
    std::uint64_t total = size;
    if ((flags & kApeHasHeader) && Room() >= total + kApeFooterSize) {
      char header[8];
      if (!f.Read(f.Size() - end - total - kApeFooterSize, header, sizeof header, kMp3ApeHeader)) return false;
      if (std::memcmp(header, "APETAGEX", 8) == 0) total += kApeFooterSize;
    }
    Claim(total);
    found = true;
    return true;
  }

  // Lyrics3 v2 ends in a six-digit size and "LYRICS200"; the size counts from "LYRICSBEGIN".
  bool Lyrics3(bool& found) {
    if (Room() < 15) return true;
    char tail[15];
    if (!f.Read(f.Size() - end - 15, tail, sizeof tail, kMp3Lyrics)) return false;
    if (std::memcmp(tail + 6, "LYRICS200", 9) != 0) return true;
    std::uint64_t size = 0;
    for (int i = 0; i < 6; ++i) {
      if (tail[i] < '0' || tail[i] > '9') return true;
      size = size * 10 + static_cast<std::uint64_t>(tail[i] - '0');
    }
    const std::uint64_t total = size + 15;
    if (total > Room()) {
      damaged = true;
      return true;
    }
    char begin[11];
    if (size < sizeof begin) return true;
    if (!f.Read(f.Size() - end - total, begin, sizeof begin, kMp3LyricsBegin)) return false;
    if (std::memcmp(begin, "LYRICSBEGIN", 11) != 0) return true;
    Claim(total);
    found = true;
    return true;
  }

  // APE and Lyrics3 tags may stand in either order before the ID3v1 tag.
  bool Read() {
    if (!Id3v1()) return false;
    for (int round = 0; round < 2 && !damaged; ++round) {
      bool found = false, corrupt = false;
      if (!Ape(found, corrupt)) return false;
      if (corrupt) break;
      if (!damaged && !Lyrics3(found)) return false;
      if (!found) break;
    }
    return true;
  }
};

}  // namespace

TagCuts Search_CheckForMP3IDTag(const std::string& path) {
  TagFile f(path);
  if (!f.Open(kMp3Open)) return f.Uncut();
  std::uint64_t start = 0;
  if (!Id3v2Size(f, start)) return f.Uncut();
  if (start > f.Size()) return f.Damaged();
  Mp3EndTags tags(f, start);
  if (!tags.Read()) return f.Uncut();
  if (tags.damaged) return f.Damaged();
  TagCuts cuts = f.Cut(start, tags.end);
  cuts.message = tags.message;
  return cuts;
}

// The metadata blocks follow "fLaC" as a chain of headers (last-block flag and type in one
// byte, a 24-bit length); the audio frames after them begin with the frame sync 0xFFF8/0xFFF9.
// A chain that runs past the file or is not followed by a frame is not trusted.
TagCuts Search_CheckForFlacTag(const std::string& path) {
  TagFile f(path);
  if (!f.Open(kFlacOpen)) return f.Uncut();
  if (f.Size() <= 8) return {};
  char marker[4];
  if (!f.Read(0, marker, sizeof marker, kFlacMarker)) return f.Uncut();
  if (std::memcmp(marker, "fLaC", 4) != 0) return {};

  std::uint64_t pos = 4;
  bool streamInfo = false;
  for (bool last = false; !last;) {
    unsigned char h[4];
    if (f.Size() - pos < sizeof h) return f.Damaged();
    if (!f.Read(pos, h, sizeof h, kFlacBlockHeader)) return f.Uncut();
    const int type = h[0] & 0x7F;
    if (type == 127) return f.Damaged();
    streamInfo = streamInfo || type == 0;
    last = (h[0] & 0x80) != 0;
    pos += sizeof h + BigEndian(h + 1, 3);
    if (pos > f.Size()) return f.Damaged();
  }
  if (!streamInfo) {
    return TagCuts{0, 0,
                   z_Translate(14003, "Der Streaminfo-Block konnte nicht in der Datei '%1' gefunden werden!", {path})};
  }
  if (f.Size() - pos >= 2) {
    unsigned char sync[2];
    if (!f.Read(pos, sync, sizeof sync, kFlacFrameSync)) return f.Uncut();
    if (sync[0] != 0xFF || (sync[1] & 0xFE) != 0xF8) return f.Damaged();
  }
  return f.Cut(pos, 0);
}

}  // namespace twinex
