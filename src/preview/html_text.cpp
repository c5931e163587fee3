#include "preview/html_text.h"

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace twinex::preview {
namespace {

// Windows-1252 code points of 0x80..0x9F; the rest of the upper half is Latin-1.
constexpr char16_t kCp1252High[32] = {0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD,
                                      0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

void AppendUtf8(std::string& out, std::uint32_t cp) {
  if (cp == 0 || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) cp = 0xFFFD;
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

void AppendEscapedCodePoint(std::string& out, std::uint32_t cp) {
  const char* entity = cp < 0x80 ? platform::MarkupEntity(static_cast<char>(cp)) : nullptr;
  if (entity)
    out += entity;
  else
    AppendUtf8(out, cp);
}

// Groups whose text is never shown.
bool HiddenDestination(std::string_view word) {
  static constexpr std::string_view kHidden[] = {"fonttbl", "colortbl", "stylesheet", "info",   "pict",
                                                 "header",  "footer",   "headerl",    "headerr", "footerl",
                                                 "footerr", "object",   "listtable",  "listoverridetable",
                                                 "xmlnstbl", "rsidtbl", "generator",  "themedata", "datastore",
                                                 "latentstyles", "filetbl", "revtbl"};
  for (std::string_view h : kHidden)
    if (word == h) return true;
  return false;
}

struct State {
  bool hidden = false;
  bool bold = false, italic = false, underline = false;
  int skipAfterUnicode = 1;  // \ucN
};

class RtfReader {
 public:
  explicit RtfReader(std::string_view rtf) : in_(rtf) {}

  std::string Run() {
    // Deeply nested groups are cut off rather than followed without end.
    constexpr std::size_t kMaxDepth = 256;
    while (pos_ < in_.size()) {
      const char c = in_[pos_];
      if (c == '{') {
        ++pos_;
        if (stack_.size() >= kMaxDepth) break;
        stack_.push_back(state_);
      } else if (c == '}') {
        ++pos_;
        if (stack_.empty()) break;
        SetStyle(stack_.back());
        state_ = stack_.back();
        stack_.pop_back();
      } else if (c == '\\') {
        ++pos_;
        ControlWord();
      } else if (c == '\r' || c == '\n') {
        ++pos_;
      } else {
        ++pos_;
        Text(static_cast<unsigned char>(c));
      }
    }
    SetStyle(State{});
    return out_;
  }

 private:
  void Text(std::uint32_t cp) {
    if (state_.hidden) return;
    if (cp == '\t') {
      out_ += "&nbsp;&nbsp;&nbsp;&nbsp;";
      return;
    }
    if (cp >= 0x80 && cp < 0xA0) cp = kCp1252High[cp - 0x80];
    AppendEscapedCodePoint(out_, cp);
  }

  // Opens and closes the HTML tags so that they follow the wanted style; tags close in the
  // reverse order of opening, so the fragment stays well nested.
  void SetStyle(const State& want) {
    if (open_.underline && !want.underline) Close("u", open_.underline);
    if (open_.italic && (!want.italic || open_.underline)) {
      if (open_.underline) Close("u", open_.underline);
      Close("i", open_.italic);
    }
    if (open_.bold && (!want.bold || open_.italic || open_.underline)) {
      if (open_.underline) Close("u", open_.underline);
      if (open_.italic) Close("i", open_.italic);
      Close("b", open_.bold);
    }
    if (want.hidden) return;
    if (want.bold && !open_.bold) Open("b", open_.bold);
    if (want.italic && !open_.italic) Open("i", open_.italic);
    if (want.underline && !open_.underline) Open("u", open_.underline);
  }
  void Open(const char* tag, bool& flag) {
    out_.append("<").append(tag).append(">");
    flag = true;
  }
  void Close(const char* tag, bool& flag) {
    out_.append("</").append(tag).append(">");
    flag = false;
  }

  void ControlWord() {
    if (pos_ >= in_.size()) return;
    const char c = in_[pos_];
    if (!std::isalpha(static_cast<unsigned char>(c))) {
      ++pos_;
      ControlSymbol(c);
      return;
    }
    const std::size_t start = pos_;
    while (pos_ < in_.size() && std::isalpha(static_cast<unsigned char>(in_[pos_]))) ++pos_;
    const std::string_view word = in_.substr(start, pos_ - start);
    bool hasParam = false;
    long param = 0;
    const std::size_t numStart = pos_;
    if (pos_ < in_.size() && (in_[pos_] == '-' || std::isdigit(static_cast<unsigned char>(in_[pos_])))) {
      ++pos_;
      while (pos_ < in_.size() && std::isdigit(static_cast<unsigned char>(in_[pos_])) && pos_ - numStart < 10) ++pos_;
      param = std::strtol(std::string(in_.substr(numStart, pos_ - numStart)).c_str(), nullptr, 10);
      hasParam = pos_ - numStart > (in_[numStart] == '-' ? 1u : 0u);
    }
    if (pos_ < in_.size() && in_[pos_] == ' ') ++pos_;  // the delimiter belongs to the word
    Apply(word, hasParam, param);
  }

  void ControlSymbol(char c) {
    switch (c) {
      case '\'': {
        if (pos_ + 2 > in_.size()) return;
        const std::string hex(in_.substr(pos_, 2));
        char* end = nullptr;
        const long v = std::strtol(hex.c_str(), &end, 16);
        if (end == hex.c_str() + 2) {
          pos_ += 2;
          Text(static_cast<std::uint32_t>(v));
        }
        return;
      }
      case '*': state_.hidden = true; return;  // an optional destination this reader does not know
      case '~': if (!state_.hidden) out_ += "&nbsp;"; return;
      case '\\': case '{': case '}': Text(static_cast<unsigned char>(c)); return;
      case '\r': case '\n': Paragraph(); return;
      default: return;
    }
  }

  void Paragraph() {
    if (!state_.hidden) out_ += "<br>\n";
  }

  void Apply(std::string_view word, bool hasParam, long param) {
    const bool on = !hasParam || param != 0;
    if (HiddenDestination(word)) {
      state_.hidden = true;
    } else if (word == "par" || word == "line" || word == "sect" || word == "page") {
      Paragraph();
    } else if (word == "tab") {
      Text('\t');
    } else if (word == "b") {
      state_.bold = on;
    } else if (word == "i") {
      state_.italic = on;
    } else if (word == "ul") {
      state_.underline = on;
    } else if (word == "ulnone") {
      state_.underline = false;
    } else if (word == "plain") {
      state_.bold = state_.italic = state_.underline = false;
    } else if (word == "uc" && hasParam) {
      state_.skipAfterUnicode = param < 0 ? 0 : static_cast<int>(std::min(param, 8L));
    } else if (word == "u" && hasParam) {
      Text(static_cast<std::uint32_t>(param < 0 ? param + 65536 : param));
      SkipFallback();
      return;
    } else {
      return;
    }
    if (!state_.hidden) SetStyle(state_);
  }

  // After "\uN" the reader skips the stand-in characters meant for readers without Unicode.
  void SkipFallback() {
    for (int n = state_.skipAfterUnicode; n > 0 && pos_ < in_.size(); --n) {
      if (in_[pos_] == '{' || in_[pos_] == '}') return;
      if (in_[pos_] == '\\') {
        if (pos_ + 1 < in_.size() && in_[pos_ + 1] == '\'')
          pos_ = std::min(in_.size(), pos_ + 4);
        else
          return;
      } else {
        ++pos_;
      }
    }
  }

  std::string_view in_;
  std::size_t pos_ = 0;
  std::string out_;
  State state_;
  State open_;  // the tags that are open in out_
  std::vector<State> stack_;
};

}  // namespace


std::string RtfToHtml(std::string_view rtf) { return RtfReader(rtf).Run(); }

}  // namespace twinex::preview
