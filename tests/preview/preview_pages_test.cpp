// The generated pages show every text from a file as text, and rich text comes out readable.
#include "preview/html_text.h"
#include "preview/media_report.h"
#include "preview/picture_fit.h"
#include "preview/preview_pages.h"

#include <gtest/gtest.h>

#include <fstream>
#include <vector>

#include "support/temp_dir.h"

namespace twinex::preview {
namespace {

const char* const kHostile = "<script>alert('x')</script>&\".mp3";

TEST(PreviewPages, TextsFromTheFileNeverBecomeMarkup) {
  EXPECT_EQ(HtmlEscape(kHostile), "&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt;&amp;&quot;.mp3");
  FileFacts facts;
  facts.name = kHostile;
  facts.folder = "/music/<blink>";
  facts.archive = "/music/<marquee>.zip";
  facts.pathInside = "in/<xmp>.mp3";
  MediaReport report;
  report.opened = true;
  report.sections = {{"<General>", {{"Title", "<img src=x onerror=alert(1)>"}}}};
  PageColours colours;
  colours.back = "\"><script>";
  const std::string pages[] = {PropertiesPage(facts, report, colours), UnknownFormatPage(facts, "<err>", colours),
                               PicturePage(facts, "file:///a\"b.jpg", 10, 10, colours)};
  for (const std::string& page : pages) {
    EXPECT_EQ(page.find("<script"), std::string::npos) << page;
    for (const char* tag : {"<blink>", "<marquee>", "<xmp>", "<img src=x", "<err>", "<General>", "a\"b"})
      EXPECT_EQ(page.find(tag), std::string::npos) << tag << " in " << page;
  }
  EXPECT_NE(pages[0].find("&lt;img src=x onerror=alert(1)&gt;"), std::string::npos);
  EXPECT_NE(pages[1].find("&lt;err&gt;"), std::string::npos);
  EXPECT_NE(pages[1].find("Archivdatei"), std::string::npos);
}

TEST(PreviewPages, ALibraryFailureIsShownWithTheFileName) {
  FileFacts facts;
  facts.name = "broken.avi";
  MediaReport report;
  report.error = "No such file or directory";
  const std::string page = PropertiesPage(facts, report, {});
  EXPECT_NE(page.find("MediaInfo Error: No such file or directory"), std::string::npos);
  EXPECT_NE(page.find("Datei: broken.avi"), std::string::npos);
}

TEST(PreviewPages, RichTextKeepsItsWordsStylesAndCharacters) {
  const std::string rtf =
      "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red255\\green0\\blue0;}"
      "{\\*\\generator Writer;}\\f0 Gr\\'f6\\'dfe {\\b fett} und {\\i kursiv}\\par "
      "\\u8364? Preis <b>&\\line Ende\\tab.}";
  const std::string html = RtfToHtml(rtf);
  EXPECT_NE(html.find("Größe <b>fett</b> und <i>kursiv</i><br>"), std::string::npos) << html;
  EXPECT_NE(html.find("€ Preis &lt;b&gt;&amp;<br>"), std::string::npos) << html;
  for (const char* hidden : {"Arial", "red255", "Writer"}) EXPECT_EQ(html.find(hidden), std::string::npos) << html;
  // Broken documents give what can be read, and every opened tag is closed.
  for (const std::string& broken : std::vector<std::string>{"{\\rtf1 {\\b offen", "}}}{{\\u", "{\\rtf1\\'z", "\\", std::string(1000, '{') + "x"}) {
    const std::string out = RtfToHtml(broken);
    EXPECT_EQ(out.find("<b>") == std::string::npos, out.find("</b>") == std::string::npos) << out;
  }
}

TEST(PreviewPages, TheMediaReportIsReadIntoSections) {
  const auto sections = ParseMediaReport(
      "General\r\nComplete name                 : /proc/self/fd/7\r\nFormat     : Wave\r\n\r\n"
      "Audio\nFormat : PCM\nSampling rate : 8 000 Hz\nTitle : a : b\n");
  ASSERT_EQ(sections.size(), 2u);
  EXPECT_EQ(sections[0].name, "General");
  ASSERT_EQ(sections[0].values.size(), 1u);  // the library's own name of the file is left out
  EXPECT_EQ(sections[0].values[0], (std::pair<std::string, std::string>{"Format", "Wave"}));
  EXPECT_EQ(sections[1].values.back().second, "a : b");
}

TEST(PreviewPages, AWaveFileIsDescribedByTheLibrary) {
  test::TempDir t;
  // One second of 8 kHz mono 8-bit silence.
  std::string wav = "RIFF";
  auto le = [&](std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) wav.push_back(static_cast<char>(v >> (8 * i)));
  };
  le(36 + 8000, 4);
  wav += "WAVEfmt ";
  le(16, 4), le(1, 2), le(1, 2), le(8000, 4), le(8000, 4), le(1, 2), le(8, 2);
  wav += "data";
  le(8000, 4);
  wav += std::string(8000, '\x80');
  const MediaReport report = ReadMediaReport(t.Write("Töne <1>.wav", wav));
  ASSERT_TRUE(report.opened);
  bool audio = false;
  for (const MediaSection& s : report.sections) audio |= s.name == "Audio";
  EXPECT_TRUE(audio);
  const MediaReport missing = ReadMediaReport(t / "missing.wav");
  EXPECT_FALSE(missing.opened);
  EXPECT_FALSE(missing.error.empty());
}

TEST(PreviewPages, PicturesFitTheBoxWithoutGrowing) {
  EXPECT_EQ(FitInto(100, 50, 400, 400).width, 100);
  const FitSize wide = FitInto(4000, 1000, 200, 200);
  EXPECT_EQ(wide.width, 200);
  EXPECT_EQ(wide.height, 50);
  const FitSize tall = FitInto(1000, 4000, 200, 200);
  EXPECT_EQ(tall.width, 50);
  EXPECT_EQ(tall.height, 200);
  EXPECT_EQ(FitInto(100000, 1, 128, 128).height, 1);  // never 0
  EXPECT_EQ(FitInto(0, 10, 128, 128).width, 0);
}

}  // namespace
}  // namespace twinex::preview
