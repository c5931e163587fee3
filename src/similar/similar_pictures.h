#pragma once
// The similar-pictures search of one run, ready for the per-file step: each picture arrives
// with the hash of the picture as it is, and is grouped by first match with the pictures handed
// in before it. Rotated and mirrored variants of a collected picture are made when a comparison
// first needs them, through the maker the search supplies, and kept from then on.
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "similar/first_match.h"
#include "similar/picture_hasher.h"

namespace twinex::similar {

// What the same-property restrictions compare.
struct PictureFacts {
  std::string_view name;       // without extension
  std::string_view extension;
  int width = 0;
  int height = 0;
};

class PictureStore;

// The measure of the first-match grouping: an item is a picture's number in the store.
class PictureMeasure {
 public:
  using Item = std::uint32_t;
  struct Summary {
    std::uint64_t name = 0, extension = 0;  // keys of the lower-case texts
    std::int32_t width = 0, height = 0;
    float ratio = 0;
    std::uint8_t orientation = 0;  // 0 square, 1 landscape, 2 portrait
  };

  // `prefiltered`: the grouping asks Matchable before Similarity (its pruning is on), so
  // Similarity need not check the restrictions again.
  PictureMeasure(PictureStore& store, const PictureOptions& options, bool prefiltered);

  Summary Summarize(Item item) const;
  std::size_t SizeOf(const Summary&) const { return 0; }
  std::size_t Needed(const Summary&, std::size_t, double) const { return 1; }
  std::size_t Matchable(const Summary& a, const Summary& b) const { return Comparable(a, b) ? 1 : 0; }
  void Begin(Item) {}
  double Similarity(Item current, Item other, double threshold);

  bool Comparable(const Summary& a, const Summary& b) const;
  std::uint64_t SlotComparisons() const { return slotComparisons_; }

 private:
  PictureStore& store_;
  const PictureOptions& options_;
  std::vector<int> trySlots_;  // 0 and the ticked variants
  int maxDistance_;
  bool turnsQuarter_;
  bool prefiltered_;
  std::uint64_t slotComparisons_ = 0;
};

class SimilarPictures {
 public:
  using Grouping = FirstMatchGrouping<PictureMeasure>;
  // Makes the hashes of the slots of a collected picture (by its number); false when the
  // picture cannot be read again (its variants then never match).
  using VariantMaker = std::function<bool(std::size_t item, std::span<const int> slots, SlotHashes& out)>;

  SimilarPictures(PictureOptions options, int scope, RunControl& run, VariantMaker maker,
                  Grouping::Progress progress = {}, bool prune = true);
  ~SimilarPictures();

  // Pictures are numbered 0, 1, … in the order they are added. `hash` is slot 0's hash of
  // options().layout.length elements.
  GroupChange Add(std::span<const std::uint8_t> hash, const PictureFacts& facts, int sourceNr,
                  std::string_view relativeFolder);

  const Grouping& Groups() const { return grouping_; }
  const PictureOptions& Options() const { return options_; }
  // Hash comparisons made, one per slot tried.
  std::uint64_t SlotComparisons() const { return measure_.SlotComparisons(); }

 private:
  PictureOptions options_;
  int scope_;
  std::unique_ptr<PictureStore> store_;
  PictureMeasure measure_;
  FolderNumbers folders_;
  Grouping grouping_;
};

}  // namespace twinex::similar
