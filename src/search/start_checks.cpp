#include <climits>
#include <cstdlib>

#include "platform/checksum.h"
#include "platform/file_system.h"
#include "platform/text.h"
#include "search/search_driver.h"
#include "search/search_method.h"
#include "settings/prompt.h"
#include "settings/translate.h"

namespace twinex {
namespace {

// The folder as the file system sees it, so that two names of one folder (a symbolic link and
// its target) are caught as an overlap instead of finding every file twice and offering one of
// two names of the same file for deletion.
std::string CanonicalFolder(const std::string& path) {
  char buf[PATH_MAX];
  if (realpath(path.c_str(), buf)) return buf;
  return platform::StripTrailingSlash(platform::AbsolutePath(path));
}

bool IsBelow(const std::string& inner, const std::string& outer) {
  if (outer == "/") return inner != "/";
  return inner.size() > outer.size() && inner.compare(0, outer.size(), outer) == 0 && inner[outer.size()] == '/';
}

bool Overlap(const SourceFolder& a, const std::string& ca, const SourceFolder& b, const std::string& cb) {
  if (ca == cb) return true;
  if (IsBelow(ca, cb) && b.includeSubfolders) return true;
  if (IsBelow(cb, ca) && a.includeSubfolders) return true;
  return false;
}

void Tell(Prompt& prompt, const TextRef& text, std::vector<std::string> params,
          PromptIcon icon = PromptIcon::Information) {
  prompt.Ask(PromptMessage::Make(text, std::move(params), PromptButtons::Ok, icon));
}

bool ChecksumProviderNeeded(const SearchSettings& s) {
  if (s.SearchMethod == kMethodSimilarPictures) return s.SimiliarImagesAlgo >= 4 && s.SimiliarImagesAlgo <= 8;
  return s.SearchMethod == kMethodProperties && s.Suchkriterien[kCritContent] && s.ContentCompare > 0;
}

int PictureChecksumMethod(int algoCode) { return algoCode - 3; }  // codes 4..8 → MD5..SHA-512

}  // namespace

bool FindOverlappingSources(const std::vector<SourceFolder>& sources, std::string& first, std::string& second) {
  std::vector<const SourceFolder*> ticked;
  std::vector<std::string> canonical;
  for (const auto& s : sources) {
    if (!s.ticked) continue;
    ticked.push_back(&s);
    canonical.push_back(CanonicalFolder(s.path));
  }
  for (std::size_t i = 0; i < ticked.size(); ++i) {
    for (std::size_t j = i + 1; j < ticked.size(); ++j) {
      if (Overlap(*ticked[i], canonical[i], *ticked[j], canonical[j])) {
        first = ticked[i]->path;
        second = ticked[j]->path;
        return true;
      }
    }
  }
  return false;
}

bool ValidateSearchStart(const MainSettings& settings, Prompt& prompt) {
  const SearchSettings& s = settings.search;
  if (s.SearchMethod < 0 || s.SearchMethod > 5) {
    Tell(prompt, TextRef{11001, "Es ist keine Suchmethode ausgewählt!"}, {});
    return false;
  }
  if (const std::string refusal = SearchMethodFor(s.SearchMethod).Refusal(); !refusal.empty()) {
    prompt.Ask(PromptMessage::Composed(refusal, PromptButtons::Ok, PromptIcon::Information));
    return false;
  }
  if (s.SearchMethod == kMethodProperties) {
    bool any = false;
    for (bool c : s.Suchkriterien) any = any || c;
    if (!any) {
      Tell(prompt, TextRef{3626, "Es ist kein Suchkriterium ausgewählt."}, {});
      return false;
    }
  }
  int tickedCount = 0;
  for (const auto& src : settings.sources.sources) {
    if (!src.ticked) continue;
    ++tickedCount;
    if (!platform::ExistFolder(src.path)) {
      Tell(prompt, TextRef{11002, "Der Quellordner '%1' konnte nicht gefunden werden!"}, {src.path}, PromptIcon::Exclamation);
      return false;
    }
  }
  if (tickedCount == 0) {
    Tell(prompt, TextRef{11003, "Es ist kein Quellordner ausgewählt!"}, {});
    return false;
  }
  if (s.SourceFolderCompareMode == 2 && tickedCount == 1) {
    Tell(prompt, TextRef{11004, "Die ausgewählte Vergleichsmethode '%1' benötigt mindestens 2 Quellordner!"},
         {SourceFolderCompareModeText(2)});
    return false;
  }
  std::string a, b;
  if (FindOverlappingSources(settings.sources.sources, a, b)) {
    Tell(prompt, TextRef{11005, "Der Suchvorgang kann nicht durchgeführt werden:%!%!'%1' und '%2' überschneiden sich."},
         {platform::UpperCase(a), platform::UpperCase(b)});
    return false;
  }
  if (ChecksumProviderNeeded(s)) {
    int method = s.SearchMethod == kMethodSimilarPictures ? PictureChecksumMethod(s.SimiliarImagesAlgo) : s.ContentCompare;
    std::string error = platform::InitChecksumProvider(method);
    if (!error.empty()) {
      Tell(prompt, TextRef{11006, "Der Systemprovider für die Erstellung der Prüfsummen konnte nicht initialisiert werden: %1"},
           {error}, PromptIcon::Exclamation);
      return false;
    }
  }
  return true;
}

bool CancelSearch(Prompt& prompt, RunControl& run) {
  auto m = PromptMessage::Make(TextRef{11078, "Soll die Suche abgebrochen werden?"}, {}, PromptButtons::YesNo,
                               PromptIcon::Question);
  if (prompt.Ask(m) != PromptAnswer::Yes) return false;
  run.RequestStop(kStopUser);
  return true;
}

}  // namespace twinex
