// HEIC pictures, which FreeImage cannot read, decode through libheif.
#include <gtest/gtest.h>
#include <libheif/heif.h>

#include "similar/picture_decode.h"
#include "support/temp_dir.h"

namespace twinex::similar {
namespace {

// A HEIC picture of w x h, red on its left half and blue on its right; false when this libheif
// has no HEVC encoder.
bool WriteHeic(const std::string& path, int w, int h) {
  if (!heif_have_encoder_for_format(heif_compression_HEVC)) return false;
  heif_context* ctx = heif_context_alloc();
  heif_encoder* encoder = nullptr;
  heif_image* image = nullptr;
  bool ok = heif_context_get_encoder_for_format(ctx, heif_compression_HEVC, &encoder).code == heif_error_Ok &&
            heif_image_create(w, h, heif_colorspace_RGB, heif_chroma_interleaved_RGB, &image).code == heif_error_Ok &&
            heif_image_add_plane(image, heif_channel_interleaved, w, h, 8).code == heif_error_Ok;
  if (ok) {
    heif_encoder_set_lossy_quality(encoder, 90);
    int stride = 0;
    std::uint8_t* plane = heif_image_get_plane(image, heif_channel_interleaved, &stride);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        std::uint8_t* p = plane + y * stride + 3 * x;
        p[0] = x < w / 2 ? 220 : 20;
        p[1] = 20;
        p[2] = x < w / 2 ? 20 : 220;
      }
    ok = heif_context_encode_image(ctx, image, encoder, nullptr, nullptr).code == heif_error_Ok &&
         heif_context_write_to_file(ctx, path.c_str()).code == heif_error_Ok;
  }
  if (image) heif_image_release(image);
  if (encoder) heif_encoder_release(encoder);
  heif_context_free(ctx);
  return ok;
}

TEST(PictureHeif, DecodesThroughLibheifWithSizeAndColours) {
  test::TempDir t;
  const std::string path = t / "photo.heic";
  if (!WriteHeic(path, 64, 48)) GTEST_SKIP() << "no HEVC encoder in this libheif";
  EXPECT_EQ(ReadPictureSize(path).source.width, 64);
  Bitmap b;
  const DecodeOutcome o = DecodePicture(path, {PictureArea::Whole, 0, 8, 8}, b);
  ASSERT_TRUE(o.ok) << o.error;
  EXPECT_EQ(o.source.height, 48);
  const std::uint8_t* left = b.Pixel(1, 4);
  const std::uint8_t* right = b.Pixel(6, 4);
  EXPECT_GT(left[2], 150);  // red
  EXPECT_LT(left[0], 80);
  EXPECT_GT(right[0], 150);  // blue
  EXPECT_LT(right[2], 80);

  // A cut file fails with an error text.
  const std::string cut = t.Write("cut.heic", test::ReadFile(path).substr(0, 200));
  EXPECT_FALSE(DecodePicture(cut, {}, b).ok);
}

}  // namespace
}  // namespace twinex::similar
