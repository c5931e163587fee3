#include <array>
#include <cstring>
#include <vector>

#include "search/tag_file.h"
#include "search/tag_sizes.h"
#include "settings/translate.h"

namespace twinex {
namespace {

enum JpegPosition { kJpegOpen = 1, kJpegStart, kJpegSegment, kJpegEnd };
enum Cr2Position { kCr2Open = 1, kCr2Header, kCr2Ifd, kCr2RawData };

// The end-of-image marker is looked for only this far from the end.
constexpr std::uint64_t kEoiWindow = 300000;

// Markers with which the compared part of a JPEG begins: frames, tables, comments, the scan.
bool BeginsImageData(unsigned char marker) {
  switch (marker) {
    case 0xC0: case 0xC2: case 0xC4: case 0xDB: case 0xDD: case 0xFE: case 0xDA:
      return true;
    default:
      return false;
  }
}

// Position of the last 0xFF 0xD9 within the last `window` bytes, read backwards in chunks
// (it is nearly always in the very last bytes). False when absent or unreadable.
bool FindEndOfImage(TagFile& f, std::uint64_t window, std::uint64_t& eoi, bool& readFailed) {
  std::array<unsigned char, 16384> chunk;
  const std::uint64_t windowStart = f.Size() - window;
  int following = -1;  // first byte of the chunk read before (the one behind this one)
  for (std::uint64_t chunkEnd = f.Size(); chunkEnd > windowStart;) {
    const std::uint64_t chunkStart = chunkEnd - std::min<std::uint64_t>(chunk.size(), chunkEnd - windowStart);
    const auto n = static_cast<std::size_t>(chunkEnd - chunkStart);
    if (!f.Read(chunkStart, chunk.data(), n, kJpegEnd)) {
      readFailed = true;
      return false;
    }
    if (chunk[n - 1] == 0xFF && following == 0xD9) {
      eoi = chunkStart + n - 1;
      return true;
    }
    for (std::size_t i = n - 1; i-- > 0;) {
      if (chunk[i] == 0xFF && chunk[i + 1] == 0xD9) {
        eoi = chunkStart + i;
        return true;
      }
    }
    following = chunk[0];
    chunkEnd = chunkStart;
  }
  return false;
}

}  // namespace

// The application segments (Exif, XMP, ICC profiles, maker data) before the first frame, table,
// comment or scan are left out, and so is anything behind the end-of-image marker. A segment
// length that runs past the file is not trusted; a marker that does not belong here leaves the
// file whole.
TagCuts Search_GetExifDatablockSize(const std::string& path) {
  TagFile f(path);
  if (!f.Open(kJpegOpen)) return f.Uncut();
  if (f.Size() < 4) return {};
  unsigned char soi[2];
  if (!f.Read(0, soi, sizeof soi, kJpegStart)) return f.Uncut();
  if (soi[0] != 0xFF || soi[1] != 0xD8) return {};

  std::uint64_t start = 2;
  for (;;) {
    unsigned char segment[4];
    if (f.Size() - start < sizeof segment) return f.Damaged();
    if (!f.Read(start, segment, sizeof segment, kJpegSegment)) return f.Uncut();
    if (segment[0] != 0xFF) return f.Damaged();
    if (BeginsImageData(segment[1])) break;
    if (segment[1] < 0xE0 || segment[1] > 0xEF) return {};
    const std::uint32_t length = BigEndian(segment + 2, 2);
    if (length < 2 || length + 2 > f.Size() - start) return f.Damaged();
    start += 2 + length;
  }

  const std::uint64_t window = std::min(kEoiWindow, f.Size() - start);
  std::uint64_t eoi = 0;
  bool readFailed = false;
  if (!FindEndOfImage(f, window, eoi, readFailed)) {
    if (readFailed) return f.Uncut();
    return TagCuts{0, 0,
                   z_Translate(14004,
                               "Das Ende der Bilddaten (EOI) konnte nicht in den letzten %1 Bytes der Datei '%2' "
                               "gefunden werden!",
                               {std::to_string(window), path})};
  }
  return f.Cut(start, f.Size() - (eoi + 2));
}

// A CR2 is a little-endian TIFF whose header names, at byte 12, the IFD of the raw image; that
// IFD holds the raw data as a single strip of lossless JPEG. Everything else in the file (Exif,
// maker notes, previews, thumbnails) is what editing tools rewrite, so only the strip is
// compared: the bytes before it are the start cut, the bytes after it the end cut. The strip
// must have one offset and one length inside the file and begin with a JPEG start marker;
// anything else leaves the file whole, so a cut never reaches into the pixels.
TagCuts Search_GetExifDatablockSize_CR2(const std::string& path) {
  TagFile f(path);
  if (!f.Open(kCr2Open)) return f.Uncut();
  unsigned char header[16];
  if (f.Size() < sizeof header) return {};
  if (!f.Read(0, header, sizeof header, kCr2Header)) return f.Uncut();
  if (std::memcmp(header, "II*\0", 4) != 0 || header[8] != 'C' || header[9] != 'R' || header[10] != 2) return {};

  const std::uint64_t ifd = LittleEndian32(header + 12);
  unsigned char countBytes[2];
  if (ifd < sizeof header || ifd > f.Size() || f.Size() - ifd < sizeof countBytes) return f.Damaged();
  if (!f.Read(ifd, countBytes, sizeof countBytes, kCr2Ifd)) return f.Uncut();
  const std::uint64_t count = LittleEndian16(countBytes);
  if (count == 0 || count * 12 > f.Size() - ifd - sizeof countBytes) return f.Damaged();
  std::vector<unsigned char> entries(count * 12);
  if (!f.Read(ifd + sizeof countBytes, entries.data(), entries.size(), kCr2Ifd)) return f.Uncut();

  constexpr std::uint16_t kStripOffsets = 0x0111, kStripByteCounts = 0x0117;
  constexpr std::uint16_t kShort = 3, kLong = 4;
  std::uint64_t offset = 0, length = 0;
  bool haveOffset = false, haveLength = false;
  for (std::uint64_t i = 0; i < count; ++i) {
    const unsigned char* e = entries.data() + i * 12;
    const std::uint16_t tag = LittleEndian16(e), type = LittleEndian16(e + 2);
    if (tag != kStripOffsets && tag != kStripByteCounts) continue;
    if (LittleEndian32(e + 4) != 1 || (type != kShort && type != kLong)) return f.Damaged();
    const std::uint64_t value = type == kShort ? LittleEndian16(e + 8) : LittleEndian32(e + 8);
    (tag == kStripOffsets ? offset : length) = value;
    (tag == kStripOffsets ? haveOffset : haveLength) = true;
  }
  if (!haveOffset || !haveLength || offset < sizeof header || length < 2 || offset > f.Size() ||
      length > f.Size() - offset)
    return f.Damaged();
  unsigned char soi[2];
  if (!f.Read(offset, soi, sizeof soi, kCr2RawData)) return f.Uncut();
  if (soi[0] != 0xFF || soi[1] != 0xD8) return f.Damaged();
  return f.Cut(offset, f.Size() - offset - length);
}

}  // namespace twinex
