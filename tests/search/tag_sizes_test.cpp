// Tag and metadata sizes of MP3, FLAC, JPEG and CR2 files built byte by byte.
#include "search/content_compare.h"
#include "search/tag_sizes.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace twinex::test {
namespace {

std::string Le32(std::uint32_t v) {
  std::string s(4, '\0');
  for (int i = 0; i < 4; ++i) s[static_cast<std::size_t>(i)] = static_cast<char>(v >> (8 * i));
  return s;
}
std::string Le16(std::uint16_t v) { return Le32(v).substr(0, 2); }
std::string Be(std::uint32_t v, int bytes) {
  std::string s;
  for (int i = bytes - 1; i >= 0; --i) s += static_cast<char>(v >> (8 * i));
  return s;
}

std::string Payload(std::size_t n, char seed) {
  std::string s(n, '\0');
  for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<char>(seed + (i * 31) % 97);
  return s;
}

std::string Id3v2(int version, std::uint32_t claimedSize, const std::string& body, bool footer = false) {
  std::string h = "ID3";
  h += static_cast<char>(version);
  h += '\0';
  h += static_cast<char>(footer ? 0x10 : 0);
  for (int shift = 21; shift >= 0; shift -= 7) h += static_cast<char>((claimedSize >> shift) & 0x7F);
  return h + body + (footer ? "3DI" + std::string(7, '\0') : "");
}

std::string ApeTag(const std::string& items, bool withHeader, std::uint32_t sizeField = 0) {
  const std::uint32_t size = sizeField ? sizeField : static_cast<std::uint32_t>(items.size() + 32);
  auto block = [&](std::uint32_t flags) {
    return "APETAGEX" + Le32(2000) + Le32(size) + Le32(1) + Le32(flags) + std::string(8, '\0');
  };
  const std::uint32_t hasHeader = withHeader ? 0x80000000u : 0;
  return (withHeader ? block(hasHeader | 0x20000000u) : "") + items + block(hasHeader);
}

std::string Lyrics3(const std::string& text) {
  std::string body = "LYRICSBEGIN" + text;
  std::string size = std::to_string(body.size());
  return body + std::string(6 - size.size(), '0') + size + "LYRICS200";
}

std::string Id3v1(char fill) { return "TAG" + std::string(125, fill); }

void ExpectCuts(const TagCuts& c, std::uint64_t start, std::uint64_t end) {
  EXPECT_EQ(c.start, start);
  EXPECT_EQ(c.end, end);
  EXPECT_EQ(c.message, "");
}

// The two files compare equal once their cuts are left out.
void ExpectEqualContent(const std::string& a, const TagCuts& ca, const std::string& b, const TagCuts& cb) {
  CompareBuffers buffers;
  RunControl run;
  std::string error;
  EXPECT_EQ(Search_CompareFileContent({a, ca.start, ca.end}, {b, cb.start, cb.end}, {}, error, buffers, run), kContentEqual);
  EXPECT_EQ(Search_CompareFileContent({a}, {b}, {}, error, buffers, run), kContentDifferent);
}

const std::string kDamaged = "' sind beschädigt; die Datei wird vollständig verglichen.";

TEST(TagSizes, Mp3TagsAtBothEndsAreLeftOut) {
  TempDir t;
  const std::string audio = Payload(5000, 'A');
  const std::string lyrics = Lyrics3("IND0000200ETTTitle");
  const std::string a = t.Write("a.mp3", Id3v2(3, 20, std::string(20, 'a')) + audio +
                                             ApeTag(std::string(40, 'x'), true) + Id3v1('1'));
  const std::string b = t.Write("b.mp3", Id3v2(4, 50, std::string(50, 'b'), true) + audio + lyrics +
                                             ApeTag(std::string(10, 'y'), false) + Id3v1('2'));
  const std::string c = t.Write("c.mp3", audio + ApeTag("z", false) + lyrics);
  const TagCuts ca = Search_CheckForMP3IDTag(a), cb = Search_CheckForMP3IDTag(b), cc = Search_CheckForMP3IDTag(c);
  ExpectCuts(ca, 30, 128 + 72 + 32);
  ExpectCuts(cb, 70, 128 + 42 + lyrics.size());
  ExpectCuts(cc, 0, lyrics.size() + 33);
  ExpectEqualContent(a, ca, b, cb);
  ExpectEqualContent(a, ca, c, cc);
  ExpectCuts(Search_CheckForMP3IDTag(t.Write("plain.mp3", audio)), 0, 0);
}

TEST(TagSizes, Mp3TagsThatDoNotFitAreNotTrusted) {
  TempDir t;
  const std::string audio = Payload(400, 'A');
  const std::string lying = t.Write("lying.mp3", Id3v2(3, 100000, "") + audio);
  TagCuts c = Search_CheckForMP3IDTag(lying);
  EXPECT_EQ(c.start + c.end, 0u);
  EXPECT_EQ(c.message, "Die Metadaten der Datei '" + lying + kDamaged);

  // An APE size field beyond any sane tag ends the tag search; what was found before stays.
  const std::string corrupt = t.Write("corrupt.mp3", audio + ApeTag("", false, 0xF0000000u) + Id3v1('x'));
  c = Search_CheckForMP3IDTag(corrupt);
  EXPECT_EQ(c.end, 128u);
  EXPECT_EQ(c.message, "Die Datei '" + corrupt + "' besitzt ein korruptes APE-Tag!");

  // A plausible APE size that reaches before the start of the file.
  c = Search_CheckForMP3IDTag(t.Write("long.mp3", audio + ApeTag("", false, 5000)));
  EXPECT_EQ(c.end, 0u);
  EXPECT_NE(c.message.find(kDamaged), std::string::npos);

  c = Search_CheckForMP3IDTag(t / "missing.mp3");
  EXPECT_EQ(c.message, "Beim Zugriff auf die Datei '" + (t / "missing.mp3") +
                           "' ist ein Fehler aufgetreten: No such file or directory (1)");
}

std::string FlacBlock(int type, const std::string& body, bool last) {
  return static_cast<char>(type | (last ? 0x80 : 0)) + Be(static_cast<std::uint32_t>(body.size()), 3) + body;
}

TEST(TagSizes, FlacMetadataChain) {
  TempDir t;
  const std::string frames = "\xFF\xF8" + Payload(3000, 'F');
  const std::string info = FlacBlock(0, Payload(34, 's'), false);
  const std::string a = t.Write("a.flac", "fLaC" + info + FlacBlock(4, "comment one", false) +
                                              FlacBlock(1, std::string(100, '\0'), true) + frames);
  const std::string b = t.Write("b.flac", "fLaC" + info + FlacBlock(4, "a longer second comment", true) + frames);
  const TagCuts ca = Search_CheckForFlacTag(a), cb = Search_CheckForFlacTag(b);
  ExpectCuts(ca, 4 + 38 + 15 + 104, 0);
  ExpectCuts(cb, 4 + 38 + 27, 0);
  ExpectEqualContent(a, ca, b, cb);

  const std::string broken = t.Write("broken.flac", "fLaC" + info + std::string("\x81\x00\xFF\xFF", 4) + frames);
  EXPECT_EQ(Search_CheckForFlacTag(broken).message, "Die Metadaten der Datei '" + broken + kDamaged);
  // A chain that ends where no audio frame begins is not the real chain.
  const std::string noSync = t.Write("nosync.flac", "fLaC" + FlacBlock(0, Payload(34, 's'), true) + Payload(3000, 'q'));
  EXPECT_EQ(Search_CheckForFlacTag(noSync).message, "Die Metadaten der Datei '" + noSync + kDamaged);
  const std::string noInfo = t.Write("noinfo.flac", "fLaC" + FlacBlock(1, "pad", true) + frames);
  TagCuts c = Search_CheckForFlacTag(noInfo);
  EXPECT_EQ(c.start, 0u);
  EXPECT_EQ(c.message, "Der Streaminfo-Block konnte nicht in der Datei '" + noInfo + "' gefunden werden!");
  ExpectCuts(Search_CheckForFlacTag(t.Write("other.flac", "ID3 not a flac stream")), 0, 0);
}

std::string Segment(unsigned char marker, const std::string& body) {
  return std::string("\xFF") + static_cast<char>(marker) + Be(static_cast<std::uint32_t>(body.size() + 2), 2) + body;
}

TEST(TagSizes, JpegMetadataAndTrailer) {
  TempDir t;
  const std::string image = Segment(0xDB, Payload(65, 'q')) + Segment(0xC0, Payload(15, 'f')) +
                            Segment(0xDA, Payload(10, 's')) + Payload(4000, 'e') + "\xFF\xD9";
  const std::string a = t.Write("a.jpg", "\xFF\xD8" + Segment(0xE0, "JFIF" + Payload(12, 'j')) +
                                             Segment(0xE1, "Exif" + Payload(300, 'x')) + image);
  const std::string b = t.Write("b.jpg", "\xFF\xD8" + Segment(0xE1, "Exif" + Payload(120, 'y')) + image + "trailer");
  const TagCuts ca = Search_GetExifDatablockSize(a), cb = Search_GetExifDatablockSize(b);
  ExpectCuts(ca, 2 + 20 + 308, 0);
  ExpectCuts(cb, 2 + 128, 7);
  ExpectEqualContent(a, ca, b, cb);
  // The marker's two bytes on both sides of a boundary of the backwards search.
  const std::string longTail = t.Write("tail.jpg", "\xFF\xD8" + image + std::string(16383, 't'));
  ExpectCuts(Search_GetExifDatablockSize(longTail), 2, 16383);

  const std::string noEoi = t.Write("noeoi.jpg", "\xFF\xD8" + Segment(0xE1, "Exif") + Segment(0xDB, Payload(500, 'n')));
  TagCuts c = Search_GetExifDatablockSize(noEoi);
  EXPECT_EQ(c.start + c.end, 0u);
  EXPECT_EQ(c.message,
            "Das Ende der Bilddaten (EOI) konnte nicht in den letzten 504 Bytes der Datei '" + noEoi + "' gefunden werden!");

  const std::string overlong = t.Write("long.jpg", "\xFF\xD8\xFF\xE1\x7F\xFF" + Payload(100, 'o'));
  EXPECT_EQ(Search_GetExifDatablockSize(overlong).message, "Die Metadaten der Datei '" + overlong + kDamaged);
  // Markers the rule does not know keep the whole file.
  ExpectCuts(Search_GetExifDatablockSize(t.Write("dnl.jpg", "\xFF\xD8" + Segment(0xDC, "ab") + image)), 0, 0);
  ExpectCuts(Search_GetExifDatablockSize(t.Write("png.jpg", "\x89PNG....")), 0, 0);
}

// A CR2-shaped TIFF: header with the raw IFD offset, metadata, the raw IFD, the raw strip, a tail.
std::string Cr2(const std::string& metadata, const std::string& raw, const std::string& tail,
                std::uint32_t lengthField = 0, char version = 2) {
  const auto rawIfd = static_cast<std::uint32_t>(16 + metadata.size());
  const std::uint32_t rawOffset = rawIfd + 2 + 2 * 12 + 4;
  std::string s = std::string("II*\0", 4) + Le32(16) + "CR" + version + '\0' + Le32(rawIfd) + metadata;
  s += Le16(2) + Le16(0x0111) + Le16(4) + Le32(1) + Le32(rawOffset);
  s += Le16(0x0117) + Le16(3) + Le32(1) + Le16(static_cast<std::uint16_t>(lengthField ? lengthField : raw.size())) +
       Le16(0);
  return s + Le32(0) + raw + tail;
}

TEST(TagSizes, Cr2KeepsOnlyTheRawStrip) {
  TempDir t;
  const std::string raw = "\xFF\xD8" + Payload(2000, 'r');
  const std::string a = t.Write("a.cr2", Cr2(Payload(300, 'm'), raw, ""));
  const std::string b = t.Write("b.cr2", Cr2(Payload(120, 'n'), raw, "edited"));
  const TagCuts ca = Search_GetExifDatablockSize_CR2(a), cb = Search_GetExifDatablockSize_CR2(b);
  ExpectCuts(ca, 16 + 300 + 30, 0);
  ExpectCuts(cb, 16 + 120 + 30, 6);
  ExpectEqualContent(a, ca, b, cb);

  const std::string past = t.Write("past.cr2", Cr2("", raw, "", 60000));
  EXPECT_EQ(Search_GetExifDatablockSize_CR2(past).message, "Die Metadaten der Datei '" + past + kDamaged);
  const std::string notJpeg = t.Write("nojpeg.cr2", Cr2("", Payload(100, 'p'), ""));
  EXPECT_EQ(Search_GetExifDatablockSize_CR2(notJpeg).message, "Die Metadaten der Datei '" + notJpeg + kDamaged);
  ExpectCuts(Search_GetExifDatablockSize_CR2(t.Write("tiff.cr2", Cr2("", raw, "", 0, 3))), 0, 0);
}

}  // namespace
}  // namespace twinex::test
