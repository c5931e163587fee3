#pragma once
// The rotated and mirrored variants of a picture, slot 1..7 (slot 0 is the picture as it is):
// 1 turned 90° right, 2 turned 180°, 3 turned 90° left, 4 mirrored left to right, 5 turned 90°
// right and mirrored, 6 mirrored top to bottom, 7 turned 90° left and mirrored. They are made
// from the shrunk bitmap, so a variant costs a few hundred pixel copies.
#include "similar/picture_decode.h"

namespace twinex::similar {

inline constexpr int kPictureSlots = 8;

// Whether the slot's variant has width and height swapped.
constexpr bool SlotTurnsQuarter(int slot) { return slot == 1 || slot == 3 || slot == 5 || slot == 7; }

// The variant of `in` for the slot (0: a copy).
Bitmap PictureVariant(const Bitmap& in, int slot);

}  // namespace twinex::similar
