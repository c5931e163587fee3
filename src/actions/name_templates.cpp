#include "actions/name_templates.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/date_time.h"
#include "platform/file_ops.h"
#include "platform/file_system.h"
#include "platform/text.h"

namespace twinex {
namespace {

// Group captions and date texts may hold characters a file name cannot.
std::string NameSafe(std::string text) {
  for (char& c : text)
    if (std::string_view("\\/:*?<>|").find(c) != std::string_view::npos) c = '_';
  return text;
}

std::string TwoDigits(int v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d", v);
  return buf;
}

std::string StemOf(std::string_view fileName) {
  std::string stem, ext;
  SplitFileName(fileName, stem, ext);
  return stem;
}

// The text a placeholder (given without its "%" signs, upper case) stands for; nullopt when
// the word is no placeholder.
std::optional<std::string> Placeholder(std::string_view word, const RenameContext& c) {
  int year, month, day, hour, minute, second;
  platform::SplitDate(c.now, year, month, day, hour, minute, second);
  if (word == "NAME") return c.name;
  if (word == "EXT") return c.ext.empty() ? "" : "." + c.ext;
  if (word == "FOLDER") return c.folder;
  if (word == "GNAME") return NameSafe(c.groupCaption);
  if (word == "FNAME") return c.firstName;
  if (word == "LNAME") return c.lastName;
  if (word == "CDATE") return NameSafe(c.createdText);
  if (word == "MDATE") return NameSafe(c.modifiedText);
  if (word == "PDATE") return NameSafe(c.pictureDate);
  if (word == "YYYY") return std::to_string(year);
  if (word == "YY") return TwoDigits(year % 100);
  if (word == "MM") return TwoDigits(month);
  if (word == "DD") return TwoDigits(day);
  if (word == "HH") return TwoDigits(hour);
  if (word == "NN") return TwoDigits(minute);
  if (word == "SS") return TwoDigits(second);
  return std::nullopt;
}

std::string AsciiUpper(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

// "\x" of the template becomes a quoted "x" for the date formatter, which knows quotes only.
std::string EscapesToQuotes(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '"') {
      const std::size_t end = text.find('"', i + 1);
      const std::size_t stop = end == std::string_view::npos ? text.size() : end + 1;
      out.append(text.substr(i, stop - i));
      if (end == std::string_view::npos) out += '"';
      i = stop - 1;
    } else if (c == '\\' && i + 1 < text.size() && text[i + 1] != '"') {
      out += '"';
      out += text[++i];
      out += '"';
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

void SplitFileName(std::string_view fileName, std::string& stem, std::string& ext) {
  ext = platform::xGetExtension(fileName);
  stem = std::string(ext.empty() ? fileName : fileName.substr(0, fileName.size() - ext.size() - 1));
}

RenameContext MakeRenameContext(const ResultTree& tree, const ResultGroup& group, const ResultFile& file, double now) {
  RenameContext c;
  SplitFileName(file.dupname, c.name, c.ext);
  c.folder = platform::FileNameOf(file.path);
  c.groupCaption = group.dupname;
  if (!group.files.empty()) {
    c.firstName = StemOf(group.files.front().dupname);
    c.lastName = StemOf(group.files.back().dupname);
  }
  c.createdText = FormatDateDisplay(file.dateEval, tree.display.dateFormat);
  c.modifiedText = FormatDateDisplay(file.dateVal, tree.display.dateFormat);
  // The picture's own date needs the picture metadata reader; until a file has one, the
  // creation date stands in, in the picture-date form.
  c.pictureDate = FormatDateDisplay(file.dateEval, "yyyy\"_\"mm\"_\"dd hh\"_\"nn\"_\"ss");
  c.now = now;
  return c;
}

std::string ExpandRenameTemplate(std::string_view pattern, const RenameContext& context) {
  std::string out;
  std::size_t i = 0;
  while (i < pattern.size()) {
    const std::size_t open = pattern.find('%', i);
    if (open == std::string_view::npos) break;
    const std::size_t close = pattern.find('%', open + 1);
    if (close == std::string_view::npos) break;
    out.append(pattern.substr(i, open - i));
    if (auto value = Placeholder(AsciiUpper(pattern.substr(open + 1, close - open - 1)), context)) {
      out += *value;
      i = close + 1;
    } else {
      // Not a placeholder: the first "%" is text, the second may open the next one.
      out += '%';
      i = open + 1;
    }
  }
  out.append(pattern.substr(i));
  return out;
}

bool IsPlainFileName(std::string_view name) { return platform::IsPlainFileName(name, name.size()); }

std::optional<std::string> TemplateEnvironment(const std::string& name) {
  if (const char* v = std::getenv(name.c_str())) return std::string(v);
  if (platform::UpperCase(name) != "USERNAME") return std::nullopt;
  if (const char* user = std::getenv("USER"); user && *user) return std::string(user);
  if (const passwd* pw = getpwuid(getuid())) return std::string(pw->pw_name);
  return std::nullopt;
}

std::string SubfolderName(std::string_view pattern, double now, const EnvironmentLookup& environment) {
  std::string text;
  std::size_t i = 0;
  while (i < pattern.size()) {
    const std::size_t open = pattern.find('%', i);
    const std::size_t close = open == std::string_view::npos ? open : pattern.find('%', open + 1);
    if (close == std::string_view::npos) break;
    text.append(pattern.substr(i, open - i));
    if (auto value = environment(std::string(pattern.substr(open + 1, close - open - 1)))) {
      text += *value;
      i = close + 1;
    } else {
      text += '%';
      i = open + 1;
    }
  }
  text.append(pattern.substr(i));

  const std::string formatted = FormatDateDisplay(now, EscapesToQuotes(text));
  std::string out;
  for (const std::string& part : platform::Split(platform::ReplaceAll(formatted, "\\", "/"), '/')) {
    if (part.empty() || part == "." || part == "..") continue;
    if (!out.empty()) out += '/';
    out += part;
  }
  return out;
}

std::string TargetFolderFor(const std::string& root, const std::string& fileFolder, bool keepStructure) {
  const std::string base = platform::StripTrailingSlash(root);
  if (!keepStructure) return base;
  return base == "/" ? fileFolder : base + fileFolder;
}

std::string NumberedName(std::string_view fileName, int number) {
  std::string stem, ext;
  SplitFileName(fileName, stem, ext);
  char buf[16];
  std::snprintf(buf, sizeof buf, "-%03d", number);
  return stem + buf + (ext.empty() ? "" : "." + ext);
}

std::string MoveExistingAside(const std::string& folder, const std::string& name, std::string* movedTo) {
  const std::string from = platform::JoinPath(folder, name);
  std::string error;
  for (int n = 1; n <= 999; ++n) {
    const std::string to = platform::JoinPath(folder, NumberedName(name, n));
    if (platform::PathExists(to)) continue;
    error = platform::RenameNoReplace(from, to);
    if (error.empty()) {
      if (movedTo) *movedTo = to;
      return "";
    }
    if (!platform::PathExists(to)) return error;  // not a race for the name: a real failure
  }
  return error.empty() ? "rename: no free numbered name" : error;
}

}  // namespace twinex
