// Decoding pictures into the hashes' bitmaps: orientation and colours, corner areas, size-only
// reads, and bad input (broken, empty, foreign and absurdly large pictures; mutated files).
#include "similar/picture_decode.h"
#include "similar/picture_hashes.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "similar/picture_fixture.h"
#include "support/temp_dir.h"

namespace twinex::similar {
namespace {

using test::DibPtr;
using test::TempDir;

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A picture of four coloured quarters: red top left, green top right, blue bottom left,
// white bottom right.
DibPtr Quarters(int w, int h) {
  DibPtr dib(FreeImage_Allocate(w, h, 24));
  for (int y = 0; y < h; ++y) {
    BYTE* line = FreeImage_GetScanLine(dib.get(), h - 1 - y);
    for (int x = 0; x < w; ++x) {
      const bool right = x >= w / 2, bottom = y >= h / 2;
      line[3 * x + FI_RGBA_RED] = (!right && !bottom) || (right && bottom) ? 255 : 0;
      line[3 * x + FI_RGBA_GREEN] = right ? 255 : 0;
      line[3 * x + FI_RGBA_BLUE] = bottom ? 255 : 0;
      if (right && !bottom) line[3 * x + FI_RGBA_RED] = 0;
    }
  }
  return dib;
}

// Blue, green, red of the bitmap's pixel.
std::array<int, 3> At(const Bitmap& b, int x, int y) {
  const std::uint8_t* p = b.Pixel(x, y);
  return {p[0], p[1], p[2]};
}

TEST(PictureDecode, ReadsTopRowFirstInBlueGreenRedOrderAndShrinksOrCutsAsAsked) {
  TempDir t;
  const std::string png = t / "q.png";
  ASSERT_TRUE(test::Save(Quarters(40, 20).get(), png, FIF_PNG));
  Bitmap b;
  DecodeOutcome o = DecodePicture(png, {}, b);
  ASSERT_TRUE(o.ok) << o.error;
  EXPECT_EQ(o.source.width, 40);
  EXPECT_EQ(o.source.height, 20);
  ASSERT_EQ(b.width, 40);
  EXPECT_EQ(At(b, 0, 0), (std::array<int, 3>{0, 0, 255}));      // red
  EXPECT_EQ(At(b, 39, 0), (std::array<int, 3>{0, 255, 0}));     // green
  EXPECT_EQ(At(b, 0, 19), (std::array<int, 3>{255, 0, 0}));     // blue
  EXPECT_EQ(At(b, 39, 19), (std::array<int, 3>{255, 255, 255}));

  ASSERT_TRUE(DecodePicture(png, {PictureArea::Whole, 0, 4, 2}, b).ok);
  EXPECT_EQ(b.width * b.height, 8);
  for (int c : At(b, 3, 1)) EXPECT_GT(c, 200);  // white, less what the filter brings in

  // Corner areas of 6 source pixels, each kept at its size.
  const std::pair<PictureArea, std::array<int, 3>> corners[] = {{PictureArea::TopLeft, {0, 0, 255}},
                                                                {PictureArea::TopRight, {0, 255, 0}},
                                                                {PictureArea::BottomLeft, {255, 0, 0}},
                                                                {PictureArea::BottomRight, {255, 255, 255}}};
  for (const auto& [area, colour] : corners) {
    ASSERT_TRUE(DecodePicture(png, {area, 6, 0, 0}, b).ok);
    EXPECT_EQ(b.width, 6);
    EXPECT_EQ(b.height, 6);
    EXPECT_EQ(At(b, 0, 0), colour);
    EXPECT_EQ(At(b, 5, 5), colour);
  }
  // An area larger than the picture is the whole picture.
  ASSERT_TRUE(DecodePicture(png, {PictureArea::BottomRight, 100, 0, 0}, b).ok);
  EXPECT_EQ(b.width, 40);
}

TEST(PictureDecode, ReadsTheSizeAloneAndEveryUsualFormat) {
  TempDir t;
  DibPtr pattern = test::DrawPattern(64, 48, 1);
  const std::pair<FREE_IMAGE_FORMAT, const char*> formats[] = {
      {FIF_JPEG, "jpg"}, {FIF_PNG, "png"}, {FIF_GIF, "gif"}, {FIF_BMP, "bmp"}, {FIF_TIFF, "tif"},
      {FIF_WEBP, "webp"}, {FIF_TARGA, "tga"}, {FIF_PPM, "ppm"}};
  for (const auto& [fif, ext] : formats) {
    const std::string path = t / (std::string("p.") + ext);
    ASSERT_TRUE(test::Save(pattern.get(), path, fif)) << ext;
    const DecodeOutcome size = ReadPictureSize(path);
    ASSERT_TRUE(size.ok) << ext << ": " << size.error;
    EXPECT_EQ(size.source.width, 64) << ext;
    EXPECT_EQ(size.source.height, 48) << ext;
    Bitmap b;
    EXPECT_TRUE(DecodePicture(path, {PictureArea::Whole, 0, 8, 8}, b).ok) << ext;
  }
}

// A large JPEG shrunk for a hash is decoded at a fraction of its size; the hashes stay within a
// few bits of those of the fully decoded picture. Small pictures decode as they are.
TEST(PictureDecode, ScaledJpegDecodingKeepsTheHashesClose) {
  TempDir t;
  const std::string big = t / "big.jpg", small = t / "small.jpg";
  ASSERT_TRUE(test::Save(test::DrawPattern(1600, 1200, 4).get(), big, FIF_JPEG, 90));
  ASSERT_TRUE(test::Save(test::DrawPattern(320, 240, 4).get(), small, FIF_JPEG, 90));
  const std::pair<int, int> kLimits[] = {{kAHash, 6}, {kPHash, 2}};
  for (const auto& [algo, limit] : kLimits) {
    const HashLayout layout = HashLayoutFor(algo, 1, 0, 0);
    auto hash = [&](const std::string& path, bool scaled) {
      DecodeRequest r{PictureArea::Whole, 0, layout.width, layout.height};
      r.scaledJpeg = scaled;
      Bitmap b;
      EXPECT_TRUE(DecodePicture(path, r, b).ok);
      return MakePictureHash(layout, b);
    };
    const std::vector<std::uint8_t> full = hash(big, false), scaled = hash(big, true);
    int d = 0;
    for (std::size_t i = 0; i < full.size(); ++i) d += full[i] != scaled[i];
    EXPECT_LE(d, limit) << algo;
    EXPECT_EQ(hash(small, false), hash(small, true)) << algo;
  }
}

TEST(PictureDecode, BadPicturesComeBackAsOneErrorText) {
  TempDir t;
  DibPtr pattern = test::DrawPattern(64, 48, 2);
  Bitmap b;
  auto error = [&](const std::string& path) {
    DecodeOutcome o = DecodePicture(path, {PictureArea::Whole, 0, 8, 8}, b);
    EXPECT_FALSE(o.ok) << path;
    EXPECT_TRUE(b.bgra.empty()) << path;
    return o.error;
  };
  EXPECT_EQ(error(t.Write("empty.jpg", "")).rfind("Format read error", 0), 0u);
  EXPECT_EQ(error(t.Write("text.xyz", "just some words")), "Unknown format");
  EXPECT_FALSE(error(t / "missing.png").empty());
  std::vector<std::uint8_t> png = test::Encoded(pattern.get(), FIF_PNG);
  WriteBytes(t / "cut.png", std::vector<std::uint8_t>(png.begin(), png.begin() + 60));
  EXPECT_FALSE(error(t / "cut.png").empty());
  // A PNG that announces 100,000 x 100,000 pixels is refused from its header.
  WriteBytes(t / "bomb.png", test::WithAnnouncedSize(png, 100000, 100000));
  EXPECT_NE(error(t / "bomb.png").find("limit"), std::string::npos);
  // A GIF whose logical screen and image are 65,535 pixels square, and a WBMP as large.
  std::string gif = "GIF89a";
  gif += std::string("\xFF\xFF\xFF\xFF\x00\x00\x00", 7);
  gif += std::string("\x2C\x00\x00\x00\x00\xFF\xFF\xFF\xFF\x00\x08\x02\x4C\x01\x00\x3B", 16);
  EXPECT_NE(error(t.Write("bomb.gif", gif)).find("limit"), std::string::npos);
  EXPECT_NE(error(t.Write("bomb.wbmp", std::string("\x00\x00\x83\xFF\x7F\x83\xFF\x7F", 8))).find("limit"),
            std::string::npos);
  // A file named .jpg that holds no picture at all.
  EXPECT_FALSE(error(t.Write("fake.jpg", std::string(500, 'x'))).empty());
}

// Mutated pictures of five formats: each either decodes to the bitmap asked for or fails with
// an error text; none may crash or hang the loader.
TEST(PictureDecode, MutatedFilesNeverCrashTheLoader) {
  TempDir t;
  DibPtr pattern = test::DrawPattern(48, 32, 3);
  const std::pair<FREE_IMAGE_FORMAT, const char*> formats[] = {
      {FIF_JPEG, "jpg"}, {FIF_PNG, "png"}, {FIF_GIF, "gif"}, {FIF_TIFF, "tif"}, {FIF_WEBP, "webp"}};
  std::mt19937 rng(20261206);
  int decoded = 0, failed = 0;
  for (const auto& [fif, ext] : formats) {
    const std::vector<std::uint8_t> clean = test::Encoded(pattern.get(), fif);
    ASSERT_GT(clean.size(), 16u) << ext;
    for (int i = 0; i < 60; ++i) {
      std::vector<std::uint8_t> bytes = clean;
      auto pos = [&] { return std::uniform_int_distribution<std::size_t>(0, bytes.size() - 1)(rng); };
      switch (i % 4) {
        case 0:  // a few bytes changed
          for (int k = 0; k < 1 + i % 8; ++k) bytes[pos()] = static_cast<std::uint8_t>(rng());
          break;
        case 1:  // cut short
          bytes.resize(pos());
          break;
        case 2:  // a run of 0xFF over the middle
          for (std::size_t k = pos(), n = 0; k < bytes.size() && n < 32; ++k, ++n) bytes[k] = 0xFF;
          break;
        default:  // garbage inserted
          bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(pos()), 24, static_cast<std::uint8_t>(rng()));
      }
      const std::string path = t / ("m" + std::to_string(i) + "." + ext);
      WriteBytes(path, bytes);
      Bitmap b;
      const DecodeOutcome o = DecodePicture(path, {PictureArea::Whole, 0, 16, 16}, b);
      if (o.ok) {
        ++decoded;
        EXPECT_EQ(b.bgra.size(), 16u * 16u * 4u) << path;
      } else {
        ++failed;
        EXPECT_FALSE(o.error.empty()) << path;
      }
    }
  }
  EXPECT_EQ(decoded + failed, 300);
  EXPECT_GT(failed, 0);
}

}  // namespace
}  // namespace twinex::similar
