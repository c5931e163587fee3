#include "similar/picture_decode.h"


#include <algorithm>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string_view>

#include "similar/picture_libraries.h"

namespace twinex::similar {
namespace {

// FreeImage reports a reader's complaint through one process-wide callback; the last one is
// added to our error text so the search log says what was wrong with the file.
thread_local std::string lastLibraryMessage;

void OnLibraryMessage(FREE_IMAGE_FORMAT, const char* message) { lastLibraryMessage = message ? message : ""; }

// Set by InitLibrary for the rest of the file; the decoding entry points return early without it.
const FreeImageLibrary* fi = nullptr;

// The library, opened and initialised on the first picture; "" or why it cannot be used.
std::string InitLibrary() {
  static std::string error;
  static std::once_flag once;
  std::call_once(once, [] {
    fi = FreeImageLib(&error);
    if (!fi) return;
    fi->FreeImage_Initialise(FALSE);
    fi->FreeImage_SetOutputMessage(OnLibraryMessage);
  });
  return fi ? std::string() : "Load error (" + error + ")";
}

std::string Failure(std::string_view text) {
  std::string out(text);
  if (!lastLibraryMessage.empty()) out += " (" + lastLibraryMessage + ")";
  lastLibraryMessage.clear();
  return out;
}

// Owns one FreeImage bitmap.
class Dib {
 public:
  Dib() = default;
  explicit Dib(FIBITMAP* p) : p_(p) {}
  ~Dib() { Reset(nullptr); }
  Dib(const Dib&) = delete;
  Dib& operator=(const Dib&) = delete;
  void Reset(FIBITMAP* p) {
    if (p_) fi->FreeImage_Unload(p_);
    p_ = p;
  }
  FIBITMAP* get() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  FIBITMAP* p_ = nullptr;
};

bool TooLarge(std::uint64_t width, std::uint64_t height) {
  return width == 0 || height == 0 || width * height > kMaxPicturePixels;
}

std::string RefusedSize(std::uint64_t width, std::uint64_t height) {
  return "Format read error (" + std::to_string(width) + " x " + std::to_string(height) +
         " pixels, more than the limit of " + std::to_string(kMaxPicturePixels) + ")";
}

// HEIF pictures (and AVIF, their sibling) start with an "ftyp" box naming their brand.
bool LooksLikeHeif(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  unsigned char head[12] = {};
  const std::size_t got = std::fread(head, 1, sizeof head, f);
  std::fclose(f);
  if (got < sizeof head || std::memcmp(head + 4, "ftyp", 4) != 0) return false;
  static constexpr std::string_view kBrands[] = {"heic", "heix", "hevc", "hevx", "heim", "heis",
                                                 "hevm", "hevs", "mif1", "msf1", "avif", "avis"};
  const std::string_view brand(reinterpret_cast<const char*>(head + 8), 4);
  return std::find(std::begin(kBrands), std::end(kBrands), brand) != std::end(kBrands);
}

DecodeOutcome LoadHeif(const std::string& path, Dib& dib) {
  DecodeOutcome o;
  std::string missing;
  const HeifLibrary* hf = HeifLib(&missing);
  if (!hf) {
    o.error = "Load error (" + missing + ")";
    return o;
  }
  heif_context* ctx = hf->heif_context_alloc();
  heif_image_handle* handle = nullptr;
  heif_image* image = nullptr;
  auto release = [&] {
    if (image) hf->heif_image_release(image);
    if (handle) hf->heif_image_handle_release(handle);
    hf->heif_context_free(ctx);
  };
  auto fail = [&](std::string text, const heif_error& e) {
    o.error = std::move(text);
    if (e.message && *e.message) o.error += std::string(" (") + e.message + ")";
    release();
    return o;
  };
  heif_error e = hf->heif_context_read_from_file(ctx, path.c_str(), nullptr);
  if (e.code != heif_error_Ok) return fail("Format read error", e);
  e = hf->heif_context_get_primary_image_handle(ctx, &handle);
  if (e.code != heif_error_Ok) return fail("Format read error", e);
  const auto width = static_cast<std::uint64_t>(std::max(0, hf->heif_image_handle_get_width(handle)));
  const auto height = static_cast<std::uint64_t>(std::max(0, hf->heif_image_handle_get_height(handle)));
  if (TooLarge(width, height)) return fail(RefusedSize(width, height), heif_error{});
  o.source = {static_cast<int>(width), static_cast<int>(height)};
  e = hf->heif_decode_image(handle, &image, heif_colorspace_RGB, heif_chroma_interleaved_RGBA, nullptr);
  if (e.code != heif_error_Ok) return fail("Load error", e);
  int stride = 0;
  const std::uint8_t* plane = hf->heif_image_get_plane_readonly(image, heif_channel_interleaved, &stride);
  const int w = hf->heif_image_get_width(image, heif_channel_interleaved);
  const int h = hf->heif_image_get_height(image, heif_channel_interleaved);
  if (!plane || w <= 0 || h <= 0) return fail("FreeImage_GetBitmap error", heif_error{});
  dib.Reset(fi->FreeImage_Allocate(w, h, 32, 0, 0, 0));
  if (!dib) return fail("FreeImage_GetBitmap error", heif_error{});
  for (int y = 0; y < h; ++y) {
    const std::uint8_t* src = plane + static_cast<std::ptrdiff_t>(y) * stride;
    BYTE* dst = fi->FreeImage_GetScanLine(dib.get(), h - 1 - y);  // FreeImage keeps rows bottom-up
    for (int x = 0; x < w; ++x, src += 4, dst += 4) {
      dst[FI_RGBA_BLUE] = src[2];
      dst[FI_RGBA_GREEN] = src[1];
      dst[FI_RGBA_RED] = src[0];
      dst[FI_RGBA_ALPHA] = src[3];
    }
  }
  o.source = {w, h};
  o.ok = true;
  release();
  return o;
}

FREE_IMAGE_FORMAT FormatOf(const std::string& path) {
  FREE_IMAGE_FORMAT fif = fi->FreeImage_GetFileType(path.c_str(), 0);
  if (fif == FIF_UNKNOWN) fif = fi->FreeImage_GetFIFFromFilename(path.c_str());
  return fif != FIF_UNKNOWN && fi->FreeImage_FIFSupportsReading(fif) ? fif : FIF_UNKNOWN;
}

std::vector<std::uint8_t> FileHead(const std::string& path, std::size_t bytes) {
  std::vector<std::uint8_t> head(bytes);
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return {};
  head.resize(std::fread(head.data(), 1, bytes, f));
  std::fclose(f);
  return head;
}

// The largest picture a GIF declares: its logical screen and the image descriptors found in
// the first 64 KB (the reader allocates one of them before it decodes anything).
std::uint64_t GifDeclaredPixels(const std::string& path) {
  const std::vector<std::uint8_t> h = FileHead(path, 65536);
  auto u16 = [&](std::size_t at) { return at + 1 < h.size() ? static_cast<std::uint64_t>(h[at] | (h[at + 1] << 8)) : 0; };
  if (h.size() < 13) return 0;
  std::uint64_t most = u16(6) * u16(8);
  std::size_t at = 13 + ((h[10] & 0x80) ? 3u * (2u << (h[10] & 7)) : 0u);
  while (at < h.size()) {
    if (h[at] == 0x2C) {  // image descriptor
      most = std::max(most, u16(at + 5) * u16(at + 7));
      break;
    }
    if (h[at] != 0x21 || at + 2 >= h.size()) break;  // only extensions may come first
    at += 2;
    while (at < h.size() && h[at] != 0) at += h[at] + 1u;
    ++at;
  }
  return most;
}

// WBMP: type 0, a header byte, then width and height as multi-byte integers.
std::uint64_t WbmpDeclaredPixels(const std::string& path) {
  const std::vector<std::uint8_t> h = FileHead(path, 32);
  std::size_t at = 2;
  auto number = [&] {
    std::uint64_t v = 0;
    for (int i = 0; i < 5 && at < h.size(); ++i) {
      const std::uint8_t b = h[at++];
      v = (v << 7) | (b & 0x7F);
      if (!(b & 0x80)) break;
    }
    return v;
  };
  const std::uint64_t w = number(), hgt = number();
  return w * hgt;
}

// The declared size, from the header alone where the reader can stop there. False (with the
// error) when the header cannot be read or announces too many pixels.
bool CheckHeader(const std::string& path, FREE_IMAGE_FORMAT fif, DecodeOutcome& o) {
  if (!fi->FreeImage_FIFSupportsNoPixels(fif)) {
    // Readers that cannot stop at the header would allocate what a forged header asks for.
    const std::uint64_t declared = fif == FIF_GIF ? GifDeclaredPixels(path) : fif == FIF_WBMP ? WbmpDeclaredPixels(path) : 0;
    if (declared > kMaxPicturePixels) {
      o.error = "Format read error (more than the limit of " + std::to_string(kMaxPicturePixels) + " pixels)";
      return false;
    }
    return true;
  }
  Dib header(fi->FreeImage_Load(fif, path.c_str(), FIF_LOAD_NOPIXELS));
  if (!header) {
    o.error = Failure("Format read error");
    return false;
  }
  const std::uint64_t w = fi->FreeImage_GetWidth(header.get()), h = fi->FreeImage_GetHeight(header.get());
  if (TooLarge(w, h)) {
    o.error = RefusedSize(w, h);
    return false;
  }
  o.source = {static_cast<int>(w), static_cast<int>(h)};
  return true;
}

int LoadFlags(FREE_IMAGE_FORMAT fif) {
  switch (fif) {
    case FIF_JPEG: return JPEG_ACCURATE;
    case FIF_RAW: return RAW_DISPLAY;  // the developed picture, as a viewer shows it
    case FIF_ICO: return 0;            // the first icon of the file
    default: return 0;
  }
}

DecodeOutcome LoadWithFreeImage(const std::string& path, int scaledSide, Dib& dib) {
  DecodeOutcome o;
  lastLibraryMessage.clear();
  const FREE_IMAGE_FORMAT fif = FormatOf(path);
  if (fif == FIF_UNKNOWN) {
    o.error = "Unknown format";
    return o;
  }
  if (!CheckHeader(path, fif, o)) return o;
  int flags = LoadFlags(fif);
  if (fif == FIF_JPEG && scaledSide > 0) flags |= std::min(scaledSide, 0xFFFF) << 16;
  dib.Reset(fi->FreeImage_Load(fif, path.c_str(), flags));
  if (!dib || !fi->FreeImage_HasPixels(dib.get())) {
    dib.Reset(nullptr);
    o.error = Failure("Load error");
    return o;
  }
  // Readers that cannot stop at the header are checked after the fact, before any copy.
  const std::uint64_t w = fi->FreeImage_GetWidth(dib.get()), h = fi->FreeImage_GetHeight(dib.get());
  if (TooLarge(w, h)) {
    dib.Reset(nullptr);
    o.error = RefusedSize(w, h);
    return o;
  }
  if (o.source.width == 0) o.source = {static_cast<int>(w), static_cast<int>(h)};
  o.ok = true;
  return o;
}

// Any bitmap FreeImage reads, as 32 bits per pixel.
bool To32Bits(Dib& dib) {
  const FREE_IMAGE_TYPE type = fi->FreeImage_GetImageType(dib.get());
  if (type != FIT_BITMAP && type != FIT_RGB16 && type != FIT_RGBA16) {
    Dib standard(fi->FreeImage_ConvertToStandardType(dib.get(), TRUE));
    if (!standard) return false;
    dib.Reset(fi->FreeImage_ConvertTo32Bits(standard.get()));
    return static_cast<bool>(dib);
  }
  if (type == FIT_BITMAP && fi->FreeImage_GetBPP(dib.get()) == 32) return true;
  dib.Reset(fi->FreeImage_ConvertTo32Bits(dib.get()));
  return static_cast<bool>(dib);
}

// The corner area in FreeImage's coordinates (left, top, right, bottom; top is row 0 as seen).
bool CropToArea(Dib& dib, const DecodeRequest& r) {
  if (r.area == PictureArea::Whole) return true;
  const int w = static_cast<int>(fi->FreeImage_GetWidth(dib.get())), h = static_cast<int>(fi->FreeImage_GetHeight(dib.get()));
  const int aw = std::clamp(r.areaSize, 1, w), ah = std::clamp(r.areaSize, 1, h);
  const bool right = r.area == PictureArea::TopRight || r.area == PictureArea::BottomRight;
  const bool bottom = r.area == PictureArea::BottomLeft || r.area == PictureArea::BottomRight;
  const int left = right ? w - aw : 0, top = bottom ? h - ah : 0;
  dib.Reset(fi->FreeImage_Copy(dib.get(), left, top, left + aw, top + ah));
  return static_cast<bool>(dib);
}

}  // namespace

DecodeOutcome DecodePicture(const std::string& path, const DecodeRequest& request, Bitmap& out) {
  out = Bitmap{};
  if (std::string missing = InitLibrary(); !missing.empty()) {
    DecodeOutcome o;
    o.error = std::move(missing);
    return o;
  }
  Dib dib;
  const int scaledSide = request.scaledJpeg && request.area == PictureArea::Whole && request.width > 0 && request.height > 0
                              ? std::max(kScaledJpegSide, 8 * std::max(request.width, request.height))
                              : 0;
  DecodeOutcome o = LooksLikeHeif(path) ? LoadHeif(path, dib) : LoadWithFreeImage(path, scaledSide, dib);
  if (!o.ok) return o;
  o.ok = false;
  if (!To32Bits(dib) || !CropToArea(dib, request)) {
    o.error = Failure("FreeImage_GetBitmap error");
    return o;
  }
  if (request.width > 0 && request.height > 0 &&
      (static_cast<int>(fi->FreeImage_GetWidth(dib.get())) != request.width ||
       static_cast<int>(fi->FreeImage_GetHeight(dib.get())) != request.height)) {
    dib.Reset(fi->FreeImage_Rescale(dib.get(), request.width, request.height, FILTER_CATMULLROM));
    if (!dib) {
      o.error = Failure("FreeImage_GetBitmap error");
      return o;
    }
  }
  out.width = static_cast<int>(fi->FreeImage_GetWidth(dib.get()));
  out.height = static_cast<int>(fi->FreeImage_GetHeight(dib.get()));
  const std::size_t row = static_cast<std::size_t>(out.width) * 4;
  out.bgra.resize(row * static_cast<std::size_t>(out.height));
  for (int y = 0; y < out.height; ++y)
    std::memcpy(out.bgra.data() + row * static_cast<std::size_t>(y), fi->FreeImage_GetScanLine(dib.get(), out.height - 1 - y), row);
  o.ok = true;
  return o;
}

DecodeOutcome ReadPictureSize(const std::string& path) {
  if (std::string missing = InitLibrary(); !missing.empty()) {
    DecodeOutcome o;
    o.error = std::move(missing);
    return o;
  }
  if (!LooksLikeHeif(path)) {
    const FREE_IMAGE_FORMAT fif = FormatOf(path);
    if (fif != FIF_UNKNOWN && fi->FreeImage_FIFSupportsNoPixels(fif)) {
      DecodeOutcome o;
      o.ok = CheckHeader(path, fif, o);
      return o;
    }
  }
  Bitmap unused;
  DecodeRequest tiny;
  tiny.width = tiny.height = 1;
  return DecodePicture(path, tiny, unused);
}

}  // namespace twinex::similar

namespace twinex::similar {

bool EncodePng(const Bitmap& bitmap, std::string& bytes) {
  if (!InitLibrary().empty()) return false;
  if (bitmap.width <= 0 || bitmap.height <= 0 ||
      bitmap.bgra.size() != static_cast<std::size_t>(bitmap.width) * static_cast<std::size_t>(bitmap.height) * 4)
    return false;
  // ConvertFromRawBits only reads the pixels, whatever its signature says.
  Dib dib(fi->FreeImage_ConvertFromRawBits(const_cast<BYTE*>(bitmap.bgra.data()), bitmap.width, bitmap.height,
                                       bitmap.width * 4, 32, FI_RGBA_RED_MASK, FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK,
                                       TRUE));
  if (!dib) return false;
  FIMEMORY* memory = fi->FreeImage_OpenMemory(nullptr, 0);
  if (!memory) return false;
  bool ok = fi->FreeImage_SaveToMemory(FIF_PNG, dib.get(), memory, PNG_DEFAULT) != FALSE;
  BYTE* data = nullptr;
  DWORD size = 0;
  if (ok && fi->FreeImage_AcquireMemory(memory, &data, &size) && data)
    bytes.assign(reinterpret_cast<const char*>(data), size);
  else
    ok = false;
  fi->FreeImage_CloseMemory(memory);
  return ok;
}

}  // namespace twinex::similar
