#pragma once
// What a picture search reads from its settings, and the step that turns one picture file into
// the hashes of the slots asked for, decoding the file once.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "similar/picture_decode.h"
#include "similar/picture_hashes.h"
#include "similar/picture_variants.h"

namespace twinex {
struct SearchSettings;
}

namespace twinex::similar {

struct PictureOptions {
  HashLayout layout;
  PictureArea area = PictureArea::Whole;
  int areaSize = 16;
  int matchPercent = 91;
  // The slots a collected picture is tried with: slot 0, and the ticked variants when rotated
  // and mirrored pictures are searched for.
  std::array<bool, kPictureSlots> slots{true};
  // Only pictures equal in each ticked property are compared.
  bool sameName = false, sameExtension = false, sameDimension = false, sameOrientation = false, sameRatio = false;
  // Hashes of the whole picture may come from the checksum database; corner areas are not
  // recorded in its type code.
  bool Cacheable() const { return area == PictureArea::Whole; }
  bool AnyQuarterTurn() const;
};

PictureOptions PictureOptionsFrom(const SearchSettings& settings);

using SlotHashes = std::array<std::vector<std::uint8_t>, kPictureSlots>;

// Decodes `path` and makes the hashes of `slots` into out[slot]. "" or the loader's error text.
// `size` receives the file's picture size.
std::string HashPictureSlots(const std::string& path, const PictureOptions& options, std::span<const int> slots,
                             SlotHashes& out, PictureSize& size);

}  // namespace twinex::similar
