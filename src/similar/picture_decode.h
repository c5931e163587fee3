#pragma once
// Decoding a picture file into a small 32-bit bitmap for the picture hashes: FreeImage reads
// nearly every format of the picture list; HEIC/HEIF go through libheif. A picture is read in
// one of a few shapes (the whole picture or a corner of it, shrunk to the hash's size, or at its
// full size for the pixel digests). Any failure comes back as one short error text; nothing
// is thrown and no partial picture is handed on.
#include <cstdint>
#include <string>
#include <vector>

namespace twinex::similar {

// A decoded picture: 32 bits per pixel, rows top to bottom, bytes blue, green, red, alpha.
struct Bitmap {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> bgra;
  const std::uint8_t* Pixel(int x, int y) const {
    return bgra.data() + (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) * 4;
  }
};

// Pictures whose declared size exceeds this many pixels are refused before their pixels are
// decoded: a file of a few kilobytes may announce a picture of gigabytes. 200 megapixels is
// above every camera and most stitched panoramas, and keeps the decoded copy below about 1 GB.
inline constexpr std::uint64_t kMaxPicturePixels = 200'000'000;

// Which part of the picture is read: the whole picture or one corner area of `areaSize` x
// `areaSize` source pixels (smaller pictures give their whole width or height).
enum class PictureArea { Whole = 0, TopLeft, TopRight, BottomLeft, BottomRight };

struct DecodeRequest {
  PictureArea area = PictureArea::Whole;
  int areaSize = 16;
  // The size the picture is shrunk (or stretched) to; 0 x 0 keeps its size.
  int width = 0;
  int height = 0;
  // A JPEG shrunk to a small size may be decoded at 1/2, 1/4 or 1/8 of its size straight away
  // (at least kScaledJpegSide pixels on its long side, and 8 times the asked size), which is
  // several times faster; the shrunk result differs from that of the full picture only in the
  // rounding of a few gray values.
  bool scaledJpeg = true;
};

inline constexpr int kScaledJpegSide = 256;

struct PictureSize {
  int width = 0;
  int height = 0;
};

struct DecodeOutcome {
  bool ok = false;
  std::string error;   // "Unknown format", "Load error", … when not ok
  PictureSize source;  // the file's picture size (known once its header was read)
};

// Decodes `path` as asked into `out`.
DecodeOutcome DecodePicture(const std::string& path, const DecodeRequest& request, Bitmap& out);

// Reads only as much of the file as tells its picture size (the whole picture for formats whose
// reader cannot stop after the header).
DecodeOutcome ReadPictureSize(const std::string& path);

// The bitmap as the bytes of a PNG file (alpha kept); false when it cannot be encoded.
bool EncodePng(const Bitmap& bitmap, std::string& bytes);

}  // namespace twinex::similar
