#include "similar/similar_pictures.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/text.h"

namespace twinex::similar {

// The packed hashes of all pictures: slot 0 of each in one flat array (the comparison loop
// reads nothing else), the variants apart, made on first need.
class PictureStore {
 public:
  PictureStore(const PictureOptions& options, SimilarPictures::VariantMaker maker)
      : options_(options), words_(options.layout.Words()), maker_(std::move(maker)) {}

  std::uint32_t Add(std::span<const std::uint8_t> hash, const PictureMeasure::Summary& summary) {
    const PackedHash packed = PackHash(hash, options_.layout.kind);
    slot0_.insert(slot0_.end(), packed.begin(), packed.begin() + words_);
    summaries_.push_back(summary);
    variants_.emplace_back();
    return static_cast<std::uint32_t>(summaries_.size() - 1);
  }

  const std::uint64_t* Slot0(std::uint32_t item) const { return slot0_.data() + static_cast<std::size_t>(item) * words_; }
  const PictureMeasure::Summary& SummaryOf(std::uint32_t item) const { return summaries_[item]; }
  int Words() const { return words_; }

  // The variant's hash, made with the picture's other ticked variants on first need; null when
  // the picture could not be read again.
  const std::uint64_t* Variant(std::uint32_t item, int slot) {
    std::unique_ptr<Variants>& v = variants_[item];
    if (!v) {
      v = std::make_unique<Variants>();
      std::vector<int> slots;
      for (int k = 1; k < kPictureSlots; ++k)
        if (options_.slots[static_cast<std::size_t>(k)]) slots.push_back(k);
      SlotHashes hashes;
      v->ok = maker_ && maker_(item, slots, hashes);
      if (v->ok)
        for (int k : slots) {
          if (hashes[static_cast<std::size_t>(k)].size() != static_cast<std::size_t>(options_.layout.length)) {
            v->ok = false;
            break;
          }
          v->hashes[static_cast<std::size_t>(k)] = PackHash(hashes[static_cast<std::size_t>(k)], options_.layout.kind);
        }
    }
    return v->ok ? v->hashes[static_cast<std::size_t>(slot)].data() : nullptr;
  }

 private:
  struct Variants {
    std::array<PackedHash, kPictureSlots> hashes{};
    bool ok = false;
  };
  const PictureOptions& options_;
  int words_;
  SimilarPictures::VariantMaker maker_;
  std::vector<std::uint64_t> slot0_;
  std::vector<PictureMeasure::Summary> summaries_;
  std::vector<std::unique_ptr<Variants>> variants_;
};

PictureMeasure::PictureMeasure(PictureStore& store, const PictureOptions& options, bool prefiltered)
    : store_(store),
      options_(options),
      maxDistance_(MaxDistanceFor(options.matchPercent, options.layout.length)),
      turnsQuarter_(options.AnyQuarterTurn()),
      prefiltered_(prefiltered) {
  for (int slot = 0; slot < kPictureSlots; ++slot)
    if (options.slots[static_cast<std::size_t>(slot)]) trySlots_.push_back(slot);
}

PictureMeasure::Summary PictureMeasure::Summarize(Item item) const { return store_.SummaryOf(item); }

bool PictureMeasure::Comparable(const Summary& a, const Summary& b) const {
  if (options_.sameName && a.name != b.name) return false;
  if (options_.sameExtension && a.extension != b.extension) return false;
  // A picture turned a quarter has width and height, and so its orientation and aspect ratio,
  // swapped: when such variants are searched for, they compare regardless of the turn.
  if (options_.sameDimension &&
      !((a.width == b.width && a.height == b.height) || (turnsQuarter_ && a.width == b.height && a.height == b.width)))
    return false;
  if (options_.sameOrientation && a.orientation != b.orientation && !(turnsQuarter_ && a.orientation && b.orientation))
    return false;
  if (options_.sameRatio) {
    // Resized copies round their sides to whole pixels: ratios within 1 % count as equal.
    auto close = [](float x, float y) { return std::fabs(x - y) <= 0.01f * std::max(x, y); };
    if (!close(a.ratio, b.ratio) && !(turnsQuarter_ && a.ratio > 0 && close(a.ratio, 1.0f / b.ratio))) return false;
  }
  return true;
}

double PictureMeasure::Similarity(Item current, Item other, double) {
  if (!prefiltered_ && !Comparable(store_.SummaryOf(current), store_.SummaryOf(other))) return 0;
  const std::uint64_t* p = store_.Slot0(current);
  const int words = store_.Words();
  for (int slot : trySlots_) {
    ++slotComparisons_;
    const std::uint64_t* q = slot == 0 ? store_.Slot0(other) : store_.Variant(other, slot);
    if (!q) continue;
    const int d = GetHammingDistanceFromArray(q, p, words, options_.layout.kind);
    if (d <= maxDistance_) return MatchPercentage(d, options_.layout.length) / 100.0;
  }
  return 0;
}

namespace {

std::uint64_t KeyOf(std::string_view text) { return std::hash<std::string>{}(platform::LowerCase(text)); }

PictureMeasure::Summary SummaryOf(const PictureFacts& f) {
  PictureMeasure::Summary s;
  s.name = KeyOf(f.name);
  s.extension = KeyOf(f.extension);
  s.width = f.width;
  s.height = f.height;
  s.ratio = f.height > 0 ? static_cast<float>(f.width) / static_cast<float>(f.height) : 0.0f;
  s.orientation = f.width == f.height ? 0 : f.width > f.height ? 1 : 2;
  return s;
}

}  // namespace

SimilarPictures::SimilarPictures(PictureOptions options, int scope, RunControl& run, VariantMaker maker,
                                 Grouping::Progress progress, bool prune)
    : options_(std::move(options)),
      scope_(scope),
      store_(std::make_unique<PictureStore>(options_, std::move(maker))),
      measure_(*store_, options_, prune),
      grouping_(measure_, {.scope = scope, .threshold = options_.matchPercent / 100.0, .prune = prune}, run,
                std::move(progress)) {}

SimilarPictures::~SimilarPictures() = default;

GroupChange SimilarPictures::Add(std::span<const std::uint8_t> hash, const PictureFacts& facts, int sourceNr,
                                 std::string_view relativeFolder) {
  const std::uint32_t item = store_->Add(hash, SummaryOf(facts));
  const int folder = scope_ == 3 ? folders_.Of(sourceNr, relativeFolder) : 0;
  return grouping_.Add(item, {sourceNr, folder});
}

}  // namespace twinex::similar
