#include "similar/picture_hasher.h"

#include <algorithm>
#include <optional>

#include "platform/text.h"
#include "settings/search_settings.h"

namespace twinex::similar {

bool PictureOptions::AnyQuarterTurn() const {
  for (int slot = 1; slot < kPictureSlots; ++slot)
    if (slots[static_cast<std::size_t>(slot)] && SlotTurnsQuarter(slot)) return true;
  return false;
}

PictureOptions PictureOptionsFrom(const SearchSettings& s) {
  PictureOptions o;
  o.layout = HashLayoutFor(s);
  o.area = static_cast<PictureArea>(std::clamp(s.SimiliarImagesCompareSource, 0, 4));
  long long number = 0;
  if (platform::ParseLong(s.SimiliarImagesCompareSourceWH, number)) o.areaSize = static_cast<int>(std::clamp(number, 1LL, 1LL << 20));
  if (platform::ParseLong(s.SimilarPicsMatchPercent, number)) o.matchPercent = static_cast<int>(std::clamp(number, 0LL, 100LL));
  if (s.SimiliarImagesRotateFlip)
    for (int slot = 1; slot < kPictureSlots; ++slot)
      o.slots[static_cast<std::size_t>(slot)] = s.SimiliarImagesRotateFlipN[static_cast<std::size_t>(slot - 1)];
  o.sameName = s.SimiliarImagesOnlySameFileName;
  o.sameExtension = s.SimiliarImagesOnlySameFileType;
  o.sameDimension = s.SimiliarImagesOnlySameDimension;
  o.sameOrientation = s.SimiliarImagesOnlySameFormat;
  o.sameRatio = s.SimiliarImagesOnlySameRatio;
  return o;
}

std::string HashPictureSlots(const std::string& path, const PictureOptions& o, std::span<const int> slots,
                             SlotHashes& out, PictureSize& size) {
  // The shrunk picture in its own shape, and turned a quarter for variants of a picture that is
  // not square (dHash reads one pixel more across than down).
  std::optional<Bitmap> bases[2];
  DecodeRequest request{o.area, o.areaSize, o.layout.width, o.layout.height};
  for (int slot : slots) {
    const bool turned = SlotTurnsQuarter(slot) && o.layout.width != o.layout.height;
    std::optional<Bitmap>& base = bases[turned ? 1 : 0];
    if (!base) {
      DecodeRequest r = request;
      if (turned) std::swap(r.width, r.height);
      base.emplace();
      DecodeOutcome decoded = DecodePicture(path, r, *base);
      size = decoded.source;
      if (!decoded.ok) return decoded.error;
    }
    std::vector<std::uint8_t> hash = MakePictureHash(o.layout, slot == 0 ? *base : PictureVariant(*base, slot));
    if (hash.size() != static_cast<std::size_t>(o.layout.length)) return "FlipHorizontal" + std::to_string(slot) + " error";
    out[static_cast<std::size_t>(slot)] = std::move(hash);
  }
  return "";
}

}  // namespace twinex::similar
