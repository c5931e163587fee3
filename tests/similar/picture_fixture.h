#pragma once
// Pictures made for the tests with FreeImage itself: a drawn pattern (soft gradients and a few
// shapes, as a photo has), saved in any format, resized, turned, mirrored or cropped.
#include <FreeImage.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace twinex::test {

struct DibDeleter {
  void operator()(FIBITMAP* p) const {
    if (p) FreeImage_Unload(p);
  }
};
using DibPtr = std::unique_ptr<FIBITMAP, DibDeleter>;

// A 24-bit picture of w x h: a gradient whose direction and colours follow `seed`, with a few
// filled circles and bars.
inline DibPtr DrawPattern(int w, int h, int seed) {
  DibPtr dib(FreeImage_Allocate(w, h, 24));
  std::uint32_t state = 2463534242u + static_cast<std::uint32_t>(seed) * 7919u;
  auto next = [&] {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
  };
  const double angle = (next() % 360) * 3.14159265 / 180, freq = 1 + next() % 3;
  struct Circle {
    double x, y, r;
    int c[3];
  };
  std::vector<Circle> circles;
  for (int i = 0; i < 4; ++i)
    circles.push_back({static_cast<double>(next() % 100) / 100, static_cast<double>(next() % 100) / 100,
                       0.08 + static_cast<double>(next() % 20) / 100,
                       {static_cast<int>(next() % 256), static_cast<int>(next() % 256), static_cast<int>(next() % 256)}});
  for (int y = 0; y < h; ++y) {
    BYTE* line = FreeImage_GetScanLine(dib.get(), h - 1 - y);
    for (int x = 0; x < w; ++x) {
      const double u = static_cast<double>(x) / w, v = static_cast<double>(y) / h;
      const double t = 0.5 + 0.5 * std::sin(freq * 3.14159265 * (u * std::cos(angle) + v * std::sin(angle)) * 2);
      int c[3] = {static_cast<int>(40 + 180 * t), static_cast<int>(200 - 150 * t), static_cast<int>(90 + 120 * u)};
      for (const Circle& k : circles)
        if ((u - k.x) * (u - k.x) + (v - k.y) * (v - k.y) < k.r * k.r)
          for (int i = 0; i < 3; ++i) c[i] = k.c[i];
      line[3 * x + FI_RGBA_RED] = static_cast<BYTE>(c[0]);
      line[3 * x + FI_RGBA_GREEN] = static_cast<BYTE>(c[1]);
      line[3 * x + FI_RGBA_BLUE] = static_cast<BYTE>(c[2]);
    }
  }
  return dib;
}

inline DibPtr Resized(FIBITMAP* dib, int w, int h) { return DibPtr(FreeImage_Rescale(dib, w, h, FILTER_BILINEAR)); }
inline DibPtr Turned(FIBITMAP* dib, double degreesLeft) { return DibPtr(FreeImage_Rotate(dib, degreesLeft)); }
inline DibPtr Mirrored(FIBITMAP* dib) {
  DibPtr copy(FreeImage_Clone(dib));
  FreeImage_FlipHorizontal(copy.get());
  return copy;
}
// The picture less a strip at its right and bottom edges (the top-left corner kept).
inline DibPtr Cropped(FIBITMAP* dib, int right, int bottom) {
  return DibPtr(FreeImage_Copy(dib, 0, 0, static_cast<int>(FreeImage_GetWidth(dib)) - right,
                               static_cast<int>(FreeImage_GetHeight(dib)) - bottom));
}

inline bool Save(FIBITMAP* dib, const std::string& path, FREE_IMAGE_FORMAT fif, int flags = 0) {
  if (fif == FIF_GIF) {
    DibPtr pal(FreeImage_ColorQuantize(dib, FIQ_WUQUANT));
    return FreeImage_Save(fif, pal.get(), path.c_str(), flags);
  }
  return FreeImage_Save(fif, dib, path.c_str(), flags);
}

// The bytes of the picture saved in a format.
inline std::vector<std::uint8_t> Encoded(FIBITMAP* dib, FREE_IMAGE_FORMAT fif, int flags = 0) {
  DibPtr pal;
  if (fif == FIF_GIF) {
    pal.reset(FreeImage_ColorQuantize(dib, FIQ_WUQUANT));
    dib = pal.get();
  }
  FIMEMORY* mem = FreeImage_OpenMemory();
  std::vector<std::uint8_t> out;
  if (FreeImage_SaveToMemory(fif, dib, mem, flags)) {
    BYTE* data = nullptr;
    DWORD size = 0;
    FreeImage_AcquireMemory(mem, &data, &size);
    out.assign(data, data + size);
  }
  FreeImage_CloseMemory(mem);
  return out;
}

// The CRC of a PNG chunk (type and data).
inline std::uint32_t Crc32(const std::uint8_t* p, std::size_t n) {
  std::uint32_t c = 0xFFFFFFFFu;
  for (std::size_t i = 0; i < n; ++i) {
    c ^= p[i];
    for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
  }
  return ~c;
}

inline void PutBig(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
}

// A PNG whose header announces width x height pixels (its data stays that of the smaller
// picture): a few kilobytes that would decode to gigabytes.
inline std::vector<std::uint8_t> WithAnnouncedSize(std::vector<std::uint8_t> png, std::uint32_t width,
                                                   std::uint32_t height) {
  PutBig(png, 16, width);
  PutBig(png, 20, height);
  PutBig(png, 29, Crc32(png.data() + 12, 17));
  return png;
}

}  // namespace twinex::test
