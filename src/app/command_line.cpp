#include "app/command_line.h"

#include <optional>

#include "platform/file_system.h"
#include "platform/text.h"
#include "settings/profiles.h"
#include "settings/search_settings.h"
#include "settings/source_folders.h"

namespace twinex {
namespace {

using platform::StartsWith;

// The state of one pass: switches write straight into the settings; folders and the profile
// are collected and applied after the last token, so their order on the line does not matter.
struct Pass {
  MainSettings& settings;
  const AppPaths& paths;
  std::vector<std::string> folders;
  std::string profileName;
  std::string profilePath;

  SearchSettings& search() { return settings.search; }
  int method() const { return settings.search.SearchMethod; }
};

// Digit at position i of the token, or -1.
int DigitAt(std::string_view token, std::size_t i) {
  if (i >= token.size() || token[i] < '0' || token[i] > '9') return -1;
  return token[i] - '0';
}

bool AllDigits(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

// The rest after a two-character switch as a whole number strictly between lo and hi. The
// fields it feeds hold whole numbers, so a sign, a fraction or an exponent is not accepted.
bool RestBetween(std::string_view token, long long lo, long long hi) {
  std::string_view rest = token.substr(2);
  long long v = 0;
  return AllDigits(rest) && platform::ParseLong(rest, v) && v > lo && v < hi;
}

bool ThreeWithDigitBelow(std::string_view token, int limit) {
  int d = DigitAt(token, 2);
  return token.size() == 3 && d >= 0 && d < limit;
}

void SetMethod(Pass& p, int method) { p.search().SearchMethod = method; }

// "-s" with digits: each digit 1..9 ticks criterion digit-1; a rest that is all zeros ticks the
// file name, so that no criterion at all is never the result.
void PropertiesWithCriteria(std::string_view token, Pass& p) {
  SetMethod(p, kMethodProperties);
  std::string_view rest = token.substr(2);
  if (token.size() < 3 || !AllDigits(rest)) return;
  auto& crit = p.search().Suchkriterien;
  crit.fill(false);
  bool allZero = true;
  for (char c : rest) {
    int d = c - '0';
    if (d != 0) allZero = false;
    if (d >= 1 && d <= 9 && d - 1 < static_cast<int>(crit.size())) crit[d - 1] = true;
  }
  if (allZero) crit[kCritName] = true;
}

// The comparison sizes offered depend on the picture algorithm, so the digit is read against
// the list of the current algorithm (by its stored code).
std::optional<int> ThumbSizeIndexFor(int algoCode, int digit) {
  switch (algoCode) {
    case 0:  // aHash
    case 2:  // dHash
    case 9:  // mHash
      if (digit == 0 || digit == 1) return digit;
      return std::nullopt;
    case 1:  // bHash
      if (digit >= 2 && digit <= 4) return digit - 2;
      return std::nullopt;
    case 3:  // pHash has a single size
      return 0;
    default:  // checksums compare the decoded pixels, there is no size to choose
      return std::nullopt;
  }
}

// A profile is a file in the profile folder; a name that would leave that folder is refused.
void AcceptProfile(std::string_view token, Pass& p) {
  std::string name(token.substr(4, token.size() - 5));
  if (!ProfileNameError(name).empty()) return;
  std::string path = ProfileFilePath(p.paths.profileFolder, name);
  if (!platform::ExistFile(path)) return;
  p.profileName = name;
  p.profilePath = path;
}

// One switch: the token starts with (or, when exact, equals) the prefix; the first rule whose
// prefix matches owns the token, and a token whose condition fails is ignored.
struct SwitchRule {
  std::string_view prefix;
  bool exact;
  bool (*condition)(std::string_view token, const Pass& p);
  void (*effect)(std::string_view token, Pass& p);
};

bool Always(std::string_view, const Pass&) { return true; }

const SwitchRule kSwitchRules[] = {
    {"-sa", false, Always, [](std::string_view, Pass& p) { SetMethod(p, kMethodSimilarMusic); }},
    {"-sb", false, Always, [](std::string_view, Pass& p) { SetMethod(p, kMethodTrackLength); }},
    {"-sc", false, Always, [](std::string_view, Pass& p) { SetMethod(p, kMethodSimilarNames); }},
    {"-s9", false, Always, [](std::string_view, Pass& p) { SetMethod(p, kMethodSimilarPictures); }},
    {"-s8", false, Always, [](std::string_view, Pass& p) { SetMethod(p, kMethodHardlinks); }},
    {"-s", false, Always, PropertiesWithCriteria},
    {"-c", false,
     [](std::string_view t, const Pass& p) {
       return p.settings.search.Suchkriterien[kCritContent] && ThreeWithDigitBelow(t, 6);
     },
     [](std::string_view t, Pass& p) { p.search().ContentCompare = DigitAt(t, 2); }},
    {"-f", false,
     [](std::string_view t, const Pass& p) {
       return p.method() == kMethodSimilarNames && ThreeWithDigitBelow(t, 8);
     },
     [](std::string_view t, Pass& p) { p.search().PartialFilenameCompareMethod = DigitAt(t, 2); }},
    // The digit is a position in the list as shown, which is not the order of the stored codes.
    {"-h", false,
     [](std::string_view t, const Pass& p) {
       return p.method() == kMethodSimilarPictures && ThreeWithDigitBelow(t, 10);
     },
     [](std::string_view t, Pass& p) {
       p.search().SimiliarImagesAlgo = kPictureAlgorithmListOrder[DigitAt(t, 2)];
     }},
    {"-m", false,
     [](std::string_view t, const Pass& p) {
       return (p.method() == kMethodSimilarMusic || p.method() == kMethodSimilarPictures) &&
              RestBetween(t, 0, 101);
     },
     [](std::string_view t, Pass& p) {
       std::string value(t.substr(2));
       if (p.method() == kMethodSimilarMusic)
         p.search().SimilarAudioMatchPercent = value;
       else
         p.search().SimilarPicsMatchPercent = value;
     }},
    {"-l", false,
     [](std::string_view t, const Pass& p) {
       return p.method() == kMethodSimilarMusic && RestBetween(t, 0, 1000);
     },
     [](std::string_view t, Pass& p) { p.search().SimilarAudioSeconds = std::string(t.substr(2)); }},
    // The music list shows "1", "2", "4", "5"; the switch names the entry, not its position.
    {"-a", false,
     [](std::string_view t, const Pass& p) {
       return p.method() == kMethodSimilarMusic && (t == "-a1" || t == "-a2" || t == "-a4" || t == "-a5");
     },
     [](std::string_view t, Pass& p) {
       static constexpr int kPosition[] = {-1, 0, 1, -1, 2, 3};
       p.search().SimilarAudioAlgo = kPosition[DigitAt(t, 2)];
     }},
    {"-d", false,
     [](std::string_view t, const Pass& p) {
       return p.method() == kMethodSimilarPictures && t.size() == 3 && DigitAt(t, 2) >= 0 &&
              ThumbSizeIndexFor(p.settings.search.SimiliarImagesAlgo, DigitAt(t, 2)).has_value();
     },
     [](std::string_view t, Pass& p) {
       p.search().SimilarPicsThumbSizeIndex = *ThumbSizeIndexFor(p.search().SimiliarImagesAlgo, DigitAt(t, 2));
     }},
    {"-p:\"", false, [](std::string_view t, const Pass&) { return t.size() >= 6 && t.back() == '"'; },
     AcceptProfile},
    {"-n", true, Always, [](std::string_view, Pass&) {}},
    {"\"", false, [](std::string_view t, const Pass&) { return t.size() >= 3 && t.back() == '"'; },
     [](std::string_view t, Pass& p) { p.folders.emplace_back(t.substr(1, t.size() - 2)); }},
    // Unquoted, only a path from the root names a folder; anything relative is not ours to guess.
    {"/", false, Always, [](std::string_view t, Pass& p) { p.folders.emplace_back(t); }},
};

void ApplyToken(std::string_view token, Pass& p) {
  for (const SwitchRule& rule : kSwitchRules) {
    bool matches = rule.exact ? token == rule.prefix : StartsWith(token, rule.prefix);
    if (!matches) continue;
    if (rule.condition(token, p)) rule.effect(token, p);
    return;
  }
}

// Ticks the named folders, adding the ones the list lacks. A folder the list already holds is
// ticked in place: otherwise a folder named on the command line would stay unticked and the
// search would not look at it.
void TickNamedFolders(Pass& p, CommandLineOutcome* outcome) {
  auto& rows = p.settings.sources.sources;
  for (SourceFolder& row : rows) row.ticked = false;
  for (const std::string& folder : p.folders) {
    // The source list outlives the working directory (it is saved), so only a path from the
    // root names a folder reliably.
    if (!StartsWith(folder, "/") || !platform::ExistFolder(folder)) continue;
    int at = Folder_Find_in_List(rows, folder);
    if (at < 0) {
      if (!Folder_Add_to_List(rows, folder, true)) continue;
    } else if (rows[static_cast<std::size_t>(at)].ticked) {
      continue;  // named twice
    } else {
      rows[static_cast<std::size_t>(at)].ticked = true;
    }
    if (outcome) outcome->foldersAdded.push_back(folder);
  }
}

// Loads the profile as the profile list does, after the switches and folders, so whatever the
// profile stores wins.
bool LoadProfile(Pass& p) { return Profil_Load(p.paths.profileFolder, p.profileName, p.settings); }

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view text) {
  std::string trimmed = platform::Trim(text);
  std::vector<std::string> tokens;
  std::string current;
  bool inQuotes = false;
  for (char c : trimmed) {
    if (c == '"') {
      inQuotes = !inQuotes;
      current += c;
    } else if (c == ' ' && !inQuotes) {
      tokens.push_back(std::move(current));
      current.clear();
    } else {
      current += c;
    }
  }
  if (!trimmed.empty()) tokens.push_back(std::move(current));
  return tokens;
}

bool Init_Kommandozeile(std::string_view rawText, MainSettings& settings, const AppPaths& paths,
                        CommandLineOutcome* outcome) {
  if (outcome) *outcome = CommandLineOutcome{};
  std::string text = platform::Trim(rawText);
  // A restart and the translator switch are not requests to search.
  if (text.empty() || text == "-RESTART" || text == "-TL") return false;

  Pass pass{settings, paths, {}, {}, {}};
  for (const std::string& token : SplitCommandLine(text)) ApplyToken(token, pass);

  TickNamedFolders(pass, outcome);
  bool profileLoaded = !pass.profilePath.empty() && LoadProfile(pass);

  if (outcome) {
    outcome->processed = true;
    outcome->foldersNamed = pass.folders;
    if (profileLoaded) {
      outcome->profileName = pass.profileName;
      outcome->profilePath = pass.profilePath;
    }
  }
  return true;
}

// The rules above read the program's raw command line, where the file manager puts every folder
// in double quotes. A shell hands over arguments with the quotes already removed and relative
// folders relative to its own directory; rebuilding the raw text lets one set of rules serve
// both ways of starting.
std::string RawCommandLineFromArgs(const std::vector<std::string>& args, std::vector<std::string>* rejected) {
  std::string text;
  auto append = [&text](const std::string& part) {
    if (!text.empty()) text += ' ';
    text += part;
  };
  auto reject = [rejected](const std::string& arg) {
    if (rejected) rejected->push_back(arg);
  };
  for (const std::string& arg : args) {
    if (arg.empty()) {
      reject(arg);
    } else if (StartsWith(arg, "-p:")) {
      std::string name = arg.substr(3);
      if (StartsWith(name, "\""))
        append(arg);
      else if (name.find('"') != std::string::npos)
        reject(arg);  // the quote would end the name early and could name another profile
      else
        append("-p:\"" + name + "\"");
    } else if (arg[0] == '-') {
      append(arg);
    } else if (arg.find('"') != std::string::npos) {
      reject(arg);  // a quote inside the path would split it and could name another folder
    } else {
      append("\"" + platform::AbsolutePath(arg) + "\"");
    }
  }
  return text;
}

}  // namespace twinex
