#include "similar/picture_variants.h"

#include <cstring>

namespace twinex::similar {
namespace {

struct Point {
  int x, y;
};

// For each slot: the source pixel shown at (x, y) of the variant, for a source of w x h.
using SourceOf = Point (*)(int x, int y, int w, int h);
constexpr SourceOf kSlots[kPictureSlots] = {
    [](int x, int y, int, int) { return Point{x, y}; },
    [](int x, int y, int, int h) { return Point{y, h - 1 - x}; },
    [](int x, int y, int w, int h) { return Point{w - 1 - x, h - 1 - y}; },
    [](int x, int y, int w, int) { return Point{w - 1 - y, x}; },
    [](int x, int y, int w, int) { return Point{w - 1 - x, y}; },
    [](int x, int y, int, int) { return Point{y, x}; },
    [](int x, int y, int, int h) { return Point{x, h - 1 - y}; },
    [](int x, int y, int w, int h) { return Point{w - 1 - y, h - 1 - x}; },
};

}  // namespace

Bitmap PictureVariant(const Bitmap& in, int slot) {
  if (slot <= 0 || slot >= kPictureSlots) return in;
  Bitmap out;
  out.width = SlotTurnsQuarter(slot) ? in.height : in.width;
  out.height = SlotTurnsQuarter(slot) ? in.width : in.height;
  out.bgra.resize(in.bgra.size());
  std::uint8_t* dst = out.bgra.data();
  for (int y = 0; y < out.height; ++y)
    for (int x = 0; x < out.width; ++x, dst += 4) {
      const Point p = kSlots[slot](x, y, in.width, in.height);
      std::memcpy(dst, in.Pixel(p.x, p.y), 4);
    }
  return out;
}

}  // namespace twinex::similar
