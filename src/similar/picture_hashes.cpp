#include "similar/picture_hashes.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/digest.h"
#include "settings/search_settings.h"

namespace twinex::similar {
namespace {

bool Is(const Bitmap& b, int w, int h) {
  return b.width == w && b.height == h && b.bgra.size() == static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 4;
}

std::vector<std::uint8_t> Grays(const Bitmap& b, std::uint8_t (*gray)(const std::uint8_t*)) {
  std::vector<std::uint8_t> g(static_cast<std::size_t>(b.width) * static_cast<std::size_t>(b.height));
  for (std::size_t i = 0; i < g.size(); ++i) g[i] = gray(b.bgra.data() + 4 * i);
  return g;
}

std::vector<std::uint8_t> AboveThreshold(const std::vector<std::uint8_t>& grays, int threshold) {
  std::vector<std::uint8_t> bits(grays.size());
  for (std::size_t i = 0; i < grays.size(); ++i) bits[i] = grays[i] > threshold ? 1 : 0;
  return bits;
}

// The type codes of bHash by its compare size index; 16 blocks per side add 10.
constexpr int kBlockHashCodes[] = {90, 110, 130};

struct DigestRow {
  int algorithm;
  int length;
  int typeCode;
};
constexpr DigestRow kDigests[] = {{kMd5, 16, 20}, {kSha1, 20, 30}, {kSha256, 32, 40}, {kSha384, 48, 50}, {kSha512, 64, 60}};

// The blocks' sums of red + green + blue. Quick gives each pixel to the block it starts in;
// precise splits a pixel that straddles a block border between both blocks by its overlap.
std::vector<double> BlockSums(const Bitmap& b, int bits, bool precise) {
  std::vector<double> blocks(static_cast<std::size_t>(bits) * static_cast<std::size_t>(bits), 0.0);
  const double bw = static_cast<double>(b.width) / bits, bh = static_cast<double>(b.height) / bits;
  const bool even = b.width % bits == 0 && b.height % bits == 0;
  // One axis: the first block a pixel lies in, the weight it gives there, and the next block.
  struct Share {
    int first, second;
    double firstWeight;
  };
  auto share = [&](int p, double size) {
    if (!precise || even) {
      int i = std::min(bits - 1, static_cast<int>(p / size));
      return Share{i, i, 1.0};
    }
    const int i = std::min(bits - 1, static_cast<int>(std::floor(p / size)));
    const double border = (i + 1) * size;
    if (i + 1 >= bits || border >= p + 1) return Share{i, i, 1.0};
    return Share{i, i + 1, border - p};
  };
  for (int y = 0; y < b.height; ++y) {
    const Share sy = share(y, bh);
    for (int x = 0; x < b.width; ++x) {
      const Share sx = share(x, bw);
      const std::uint8_t* p = b.Pixel(x, y);
      const double v = static_cast<double>(p[0]) + p[1] + p[2];
      auto add = [&](int by, int bx, double w) {
        if (w > 0) blocks[static_cast<std::size_t>(by) * static_cast<std::size_t>(bits) + static_cast<std::size_t>(bx)] += v * w;
      };
      add(sy.first, sx.first, sy.firstWeight * sx.firstWeight);
      if (sx.second != sx.first) add(sy.first, sx.second, sy.firstWeight * (1 - sx.firstWeight));
      if (sy.second != sy.first) {
        add(sy.second, sx.first, (1 - sy.firstWeight) * sx.firstWeight);
        if (sx.second != sx.first) add(sy.second, sx.second, (1 - sy.firstWeight) * (1 - sx.firstWeight));
      }
    }
  }
  return blocks;
}

}  // namespace

std::uint8_t GrayAverage(const std::uint8_t* p) {
  // The sum over three is never exactly a half, so rounding to nearest needs no tie rule.
  return static_cast<std::uint8_t>((p[0] + p[1] + p[2] + 1) / 3);
}

std::uint8_t GrayLuma(const std::uint8_t* p) {
  return static_cast<std::uint8_t>(std::floor(0.299 * p[2] + 0.587 * p[1] + 0.114 * p[0]));
}

std::uint8_t GetMedianFromByteArray(std::vector<std::uint8_t> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t half = values.size() / 2;
  if (half % 2 == 0 && half + 1 < values.size())
    return static_cast<std::uint8_t>(std::nearbyint((values[half] + values[half + 1]) / 2.0));
  return values[half];
}

double GetMedian2(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t half = values.size() / 2;
  return values.size() % 2 == 1 ? values[half] : (values[half - 1] + values[half]) / 2.0;
}

void DCT1DfromDoubles(std::span<const double> in, std::span<double> out) {
  const std::size_t n = in.size();
  const double scale = std::sqrt(2.0 / static_cast<double>(n));
  for (std::size_t k = 0; k < n; ++k) {
    double sum = 0;
    for (std::size_t i = 0; i < n; ++i)
      sum += in[i] * std::cos(std::numbers::pi * static_cast<double>(k) * (static_cast<double>(i) + 0.5) / static_cast<double>(n));
    out[k] = scale * sum;
  }
  if (n > 0) out[0] /= std::sqrt(2.0);
}

std::vector<std::uint8_t> AverageHash(const Bitmap& b) {
  if (b.width <= 0 || b.width != b.height || !Is(b, b.width, b.height)) return {};
  const std::vector<std::uint8_t> g = Grays(b, GrayAverage);
  double sum = 0;
  for (std::uint8_t v : g) sum += v;
  return AboveThreshold(g, static_cast<int>(std::nearbyint(sum / static_cast<double>(g.size()))));
}

std::vector<std::uint8_t> MedianHash(const Bitmap& b) {
  if (b.width <= 0 || b.width != b.height || !Is(b, b.width, b.height)) return {};
  const std::vector<std::uint8_t> g = Grays(b, GrayAverage);
  return AboveThreshold(g, GetMedianFromByteArray(g));
}

std::vector<std::uint8_t> DifferenceHash(const Bitmap& b) {
  const int s = b.height;
  if (s <= 0 || !Is(b, s + 1, s)) return {};
  std::vector<std::uint8_t> bits;
  bits.reserve(static_cast<std::size_t>(s) * static_cast<std::size_t>(s));
  for (int y = 0; y < s; ++y)
    for (int x = 1; x <= s; ++x) bits.push_back(GrayAverage(b.Pixel(x - 1, y)) < GrayAverage(b.Pixel(x, y)) ? 1 : 0);
  return bits;
}

std::vector<std::uint8_t> PerceptualHash(const Bitmap& b) {
  constexpr int kN = 32, kKeep = 8;
  if (!Is(b, kN, kN)) return {};
  std::vector<double> m(kN * kN), rows(kN * kN);
  for (int i = 0; i < kN * kN; ++i) m[static_cast<std::size_t>(i)] = GrayLuma(b.bgra.data() + 4 * i);
  for (int y = 0; y < kN; ++y)
    DCT1DfromDoubles(std::span<const double>(m).subspan(y * kN, kN), std::span<double>(rows).subspan(y * kN, kN));
  std::vector<double> column(kN), transformed(kN), coefficients;
  std::vector<double> full(kN * kN);
  for (int x = 0; x < kN; ++x) {
    for (int y = 0; y < kN; ++y) column[static_cast<std::size_t>(y)] = rows[static_cast<std::size_t>(y * kN + x)];
    DCT1DfromDoubles(column, transformed);
    for (int y = 0; y < kN; ++y) full[static_cast<std::size_t>(y * kN + x)] = transformed[static_cast<std::size_t>(y)];
  }
  for (int y = 0; y < kKeep; ++y)
    for (int x = 0; x < kKeep; ++x) {
      // Rounding noise of the sums (a flat area gives 1e-14 instead of 0) would decide bits at
      // random; kept to six decimals, equal pictures hash alike on every machine.
      coefficients.push_back(std::round(full[static_cast<std::size_t>(y * kN + x)] * 1e6) / 1e6);
    }
  const double median = GetMedian2(coefficients);
  std::vector<std::uint8_t> bits(coefficients.size());
  for (std::size_t i = 0; i < bits.size(); ++i) bits[i] = coefficients[i] > median ? 1 : 0;
  return bits;
}

std::vector<std::uint8_t> BlockHash(const Bitmap& b, int blockBits, bool precise) {
  if (blockBits <= 0 || b.width < blockBits || b.height < blockBits || !Is(b, b.width, b.height)) return {};
  const std::vector<double> blocks = BlockSums(b, blockBits, precise);
  const double halfBlock = static_cast<double>(b.width) / blockBits * (static_cast<double>(b.height) / blockBits) * 768 / 2;
  const std::size_t band = blocks.size() / 4;
  std::vector<std::uint8_t> bits(blocks.size());
  for (std::size_t start = 0; start < blocks.size(); start += band) {
    const double m = GetMedian2(std::vector<double>(blocks.begin() + static_cast<std::ptrdiff_t>(start),
                                                    blocks.begin() + static_cast<std::ptrdiff_t>(start + band)));
    for (std::size_t i = start; i < start + band; ++i) {
      const double v = blocks[i];
      bits[i] = (v > m || (std::abs(v - m) < 1 && m > halfBlock)) ? 1 : 0;
    }
  }
  return bits;
}

std::vector<std::uint8_t> PixelDigest(const Bitmap& b, int contentMethod) {
  platform::Digest digest;
  std::vector<std::uint8_t> out(64);
  std::size_t length = 0;
  if (!digest.Begin(contentMethod).empty() || !digest.Add(b.bgra.data(), b.bgra.size()).empty() ||
      !digest.Finish(out.data(), out.size(), length).empty())
    return {};
  out.resize(length);
  return out;
}

HashLayout HashLayoutFor(int algorithm, int sizeIndex, int bitsIndex, int methodIndex) {
  HashLayout h;
  h.algorithm = algorithm;
  const int side = PictureCompareSide(algorithm, sizeIndex);
  h.side = side;
  h.width = h.height = side;
  switch (algorithm) {
    case kAHash:
    case kMHash:
    case kDHash: {
      if (side < 0) break;
      static constexpr int kCodes[][2] = {{70, 80}, {150, 160}, {180, 190}};
      const int row = algorithm == kAHash ? 0 : algorithm == kDHash ? 1 : 2;
      h.length = side * side;
      h.typeCode = kCodes[row][side == 8 ? 0 : 1];
      if (algorithm == kDHash) h.width = side + 1;
      return h;
    }
    case kPHash:
      h.side = h.width = h.height = 32;
      h.length = 64;
      h.typeCode = 170;
      return h;
    case kBHash:
      if (side < 0) break;
      h.blockBits = bitsIndex == 0 ? 8 : 16;
      h.precise = methodIndex == 1;
      h.length = h.blockBits * h.blockBits;
      h.typeCode = kBlockHashCodes[sizeIndex] + (h.blockBits == 16 ? 10 : 0);
      return h;
    default:
      for (const DigestRow& d : kDigests)
        if (d.algorithm == algorithm) {
          // The digests read the decoded picture as it is: a change of one pixel must change
          // the digest, which a shrunk copy would hide.
          h.kind = HashElements::Bytes;
          h.length = d.length;
          h.typeCode = d.typeCode;
          h.width = h.height = 0;
          return h;
        }
  }
  h.length = 0;
  return h;
}

HashLayout HashLayoutFor(const SearchSettings& s) {
  return HashLayoutFor(s.SimiliarImagesAlgo, s.SimilarPicsThumbSizeIndex, s.SimilarPicsChecksumBitsIndex,
                     s.SimilarPicsChecksumOptionIndex);
}

std::vector<std::uint8_t> MakePictureHash(const HashLayout& layout, const Bitmap& b) {
  if (layout.kind == HashElements::Bytes) {
    if (b.bgra.empty()) return {};
    return PixelDigest(b, layout.algorithm - kMd5 + 1);
  }
  if (layout.width != b.width || layout.height != b.height) return {};
  switch (layout.algorithm) {
    case kAHash: return AverageHash(b);
    case kMHash: return MedianHash(b);
    case kDHash: return DifferenceHash(b);
    case kPHash: return PerceptualHash(b);
    case kBHash: return BlockHash(b, layout.blockBits, layout.precise);
    default: return {};
  }
}

}  // namespace twinex::similar
