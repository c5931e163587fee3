// Makes the picture folder of the similar-pictures benchmark: N JPEG pictures of 2 to 4
// megapixels, each a different drawing (gradients, discs, bars and grain), and for every tenth
// one a planted copy, resized to 50-85 % and saved again at a lower quality. Writes the planted
// pairs to truth.txt ("original<TAB>copy" per line).
//   similar_pictures_gen <folder> <count> [seed]
#include <FreeImage.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

FIBITMAP* Draw(int w, int h, std::mt19937& rng) {
  FIBITMAP* dib = FreeImage_Allocate(w, h, 24);
  std::uniform_real_distribution<double> unit(0, 1);
  auto byte = [&] { return static_cast<int>(rng() % 256); };
  const double angle = unit(rng) * 6.283, freq = 0.5 + unit(rng) * 3;
  const int c0[3] = {byte(), byte(), byte()}, c1[3] = {byte(), byte(), byte()};
  // The gradient, row by row with one sine per row and column instead of per pixel.
  std::vector<double> cx(static_cast<std::size_t>(w)), cy(static_cast<std::size_t>(h));
  for (int x = 0; x < w; ++x) cx[static_cast<std::size_t>(x)] = std::cos(angle) * x / w;
  for (int y = 0; y < h; ++y) cy[static_cast<std::size_t>(y)] = std::sin(angle) * y / h;
  for (int y = 0; y < h; ++y) {
    BYTE* line = FreeImage_GetScanLine(dib, h - 1 - y);
    for (int x = 0; x < w; ++x) {
      const double t = 0.5 + 0.5 * std::sin(freq * 6.283 * (cx[static_cast<std::size_t>(x)] + cy[static_cast<std::size_t>(y)]));
      for (int c = 0; c < 3; ++c) line[3 * x + c] = static_cast<BYTE>(c0[c] + (c1[c] - c0[c]) * t);
    }
  }
  // Discs and bars of random colours.
  const int shapes = 6 + static_cast<int>(rng() % 10);
  for (int i = 0; i < shapes; ++i) {
    const int col[3] = {byte(), byte(), byte()};
    const bool disc = rng() % 2 == 0;
    const int x0 = static_cast<int>(unit(rng) * w), y0 = static_cast<int>(unit(rng) * h);
    const int rw = static_cast<int>((0.05 + unit(rng) * 0.25) * w), rh = disc ? rw : static_cast<int>((0.05 + unit(rng) * 0.3) * h);
    for (int y = std::max(0, y0 - rh); y < std::min(h, y0 + rh); ++y) {
      BYTE* line = FreeImage_GetScanLine(dib, h - 1 - y);
      for (int x = std::max(0, x0 - rw); x < std::min(w, x0 + rw); ++x) {
        if (disc && (x - x0) * (x - x0) + (y - y0) * (y - y0) > rw * rw) continue;
        for (int c = 0; c < 3; ++c) line[3 * x + c] = static_cast<BYTE>(col[c]);
      }
    }
  }
  // Grain, as a camera adds.
  for (int y = 0; y < h; ++y) {
    BYTE* line = FreeImage_GetScanLine(dib, y);
    for (int x = 0; x < 3 * w; ++x) {
      const int v = line[x] + static_cast<int>(rng() % 9) - 4;
      line[x] = static_cast<BYTE>(v < 0 ? 0 : v > 255 ? 255 : v);
    }
  }
  return dib;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s <folder> <count> [seed]\n", argv[0]);
    return 2;
  }
  FreeImage_Initialise(FALSE);
  const std::string folder = argv[1];
  const int count = std::atoi(argv[2]);
  std::mt19937 rng(argc > 3 ? static_cast<unsigned>(std::atoi(argv[3])) : 12061u);
  std::ofstream truth(folder + "/truth.txt");
  static const int kShapes[][2] = {{1800, 1200}, {2000, 1500}, {2200, 1650}, {2400, 1600}, {1600, 1600}, {1500, 2000}};
  for (int i = 0; i < count; ++i) {
    const auto& shape = kShapes[rng() % 6];
    FIBITMAP* dib = Draw(shape[0], shape[1], rng);
    char name[64];
    std::snprintf(name, sizeof name, "p%05d.jpg", i);
    FreeImage_Save(FIF_JPEG, dib, (folder + "/" + name).c_str(), 85);
    if (i % 10 == 0) {
      const double scale = 0.5 + (rng() % 36) / 100.0;
      FIBITMAP* small = FreeImage_Rescale(dib, static_cast<int>(shape[0] * scale), static_cast<int>(shape[1] * scale), FILTER_BILINEAR);
      char copy[64];
      std::snprintf(copy, sizeof copy, "p%05d_copy.jpg", i);
      FreeImage_Save(FIF_JPEG, small, (folder + "/" + copy).c_str(), 60 + static_cast<int>(rng() % 20));
      FreeImage_Unload(small);
      truth << name << '\t' << copy << '\n';
    }
    FreeImage_Unload(dib);
  }
  FreeImage_DeInitialise();
  return 0;
}
