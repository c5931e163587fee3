// The comparison step of the similar-pictures search alone: N random hashes (no two alike)
// grouped by first match, so every pair is compared once. Prints pairs per second.
//   similar_pictures_compare <count> [algorithm code, 0 aHash] [compare size index, 1]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "similar/similar_pictures.h"

using namespace twinex;
using namespace twinex::similar;

int main(int argc, char** argv) {
  const int count = argc > 1 ? std::atoi(argv[1]) : 20000;
  PictureOptions o;
  o.layout = HashLayoutFor(argc > 2 ? std::atoi(argv[2]) : kAHash, argc > 3 ? std::atoi(argv[3]) : 1, 0, 0);
  o.matchPercent = 90;
  RunControl run;
  SimilarPictures pictures(o, 0, run, {});
  std::mt19937 rng(7);
  std::vector<std::vector<std::uint8_t>> hashes(static_cast<std::size_t>(count), std::vector<std::uint8_t>(static_cast<std::size_t>(o.layout.length)));
  for (auto& h : hashes)
    for (auto& b : h) b = static_cast<std::uint8_t>(rng() & 1);
  const auto start = std::chrono::steady_clock::now();
  std::size_t grouped = 0;
  for (const auto& h : hashes) grouped += pictures.Add(h, {"n", "jpg", 100, 100}, 1, "").added.size();
  const double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const double pairs = static_cast<double>(pictures.SlotComparisons());
  std::printf("%d hashes of %d bits: %.0f comparisons in %.2f s, %.1f million per second (%zu grouped)\n", count,
              o.layout.length, pairs, secs, pairs / secs / 1e6, grouped);
  return 0;
}
