#pragma once
// The size a picture is shown or shrunk at: as large as fits the box, never enlarged, keeping its
// proportions and at least one pixel on each side.
#include <algorithm>
#include <cstdint>

namespace twinex::preview {

struct FitSize {
  int width = 0;
  int height = 0;
};

inline FitSize FitInto(int width, int height, int boxWidth, int boxHeight) {
  if (width <= 0 || height <= 0 || boxWidth <= 0 || boxHeight <= 0) return {};
  if (width <= boxWidth && height <= boxHeight) return {width, height};
  // Compare width * boxHeight with height * boxWidth in 64 bits: the side that hits the box first.
  const std::int64_t w = width, h = height, bw = boxWidth, bh = boxHeight;
  if (w * bh >= h * bw) return {boxWidth, static_cast<int>(std::max<std::int64_t>(1, (h * bw + w / 2) / w))};
  return {static_cast<int>(std::max<std::int64_t>(1, (w * bh + h / 2) / h)), boxHeight};
}

}  // namespace twinex::preview
