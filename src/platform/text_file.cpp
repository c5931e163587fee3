#include "platform/text_file.h"

#include "platform/text.h"

namespace twinex::platform {
namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F; unassigned codes keep their value.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::string DecodeCp1252(std::string_view bytes) {
  std::u16string u;
  u.reserve(bytes.size());
  for (char c : bytes) {
    auto b = static_cast<unsigned char>(c);
    u.push_back(b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : static_cast<char16_t>(b));
  }
  return Utf16ToUtf8(u);
}

}  // namespace

std::string DecodeTextFile(std::string_view bytes) {
  if (StartsWith(bytes, "\xFF\xFE")) return DecodeUtf16LE(bytes);
  if (StartsWith(bytes, "\xFE\xFF")) return DecodeUtf16BE(bytes);
  if (StartsWith(bytes, "\xEF\xBB\xBF")) return std::string(bytes.substr(3));
  std::size_t zerosEven = 0, zerosOdd = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i)
    if (bytes[i] == '\0') ++(i % 2 ? zerosOdd : zerosEven);
  if (zerosOdd + zerosEven > 0) return zerosOdd >= zerosEven ? DecodeUtf16LE(bytes) : DecodeUtf16BE(bytes);
  if (IsValidUtf8(bytes)) return std::string(bytes);
  return DecodeCp1252(bytes);
}

}  // namespace twinex::platform
