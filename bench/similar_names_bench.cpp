// Times the similar-names grouping on generated names: every measure at one percentage, with
// the prunings and with the plain loop side by side. The plain loop may be given a time limit;
// it then reports its rate and the time it would need for the same pairs (both loops try the
// same pairs, so the pruned run's count is the plain run's).
//
//   similar_names_bench <count> [percent] [plain limit in seconds] [measure]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "similar/first_match.h"
#include "similar/name_measure.h"

namespace {

using namespace twinex;
using namespace twinex::similar;

const char* const kArtists[] = {"The Beatles", "Queen", "Miles Davis", "Nina Simone", "Daft Punk", "Abba",
                                "Radiohead", "Björk", "Sigur Rós", "Kraftwerk", "Ludovico Einaudi", "Muse"};
const char* const kWords[] = {"love", "night", "summer", "road", "dream", "light", "heart", "river", "city",
                              "blue", "fire", "home", "rain", "star", "dance", "time", "world", "gold",
                              "holiday", "beach", "party", "birthday", "wedding", "trip", "invoice", "report",
                              "scan", "letter", "contract", "photo", "family", "garden", "Straße", "café"};
const char* const kTails[] = {"", " (Live)", " (Remastered)", " - Radio Edit", " (Acoustic)", "_final", " copy", " (2)"};

// Camera files, numbered songs and worded documents, roughly as a user's disk mixes them.
class NameCorpus {
 public:
  explicit NameCorpus(unsigned seed) : rng_(seed) {}

  std::string Next() {
    int kind = Pick(100);
    if (kind < 40) return Camera();
    if (kind < 75) return Song();
    return Document();
  }

 private:
  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
  template <std::size_t N>
  const char* From(const char* const (&list)[N]) { return list[Pick(static_cast<int>(N))]; }
  std::string Digits(int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += static_cast<char>('0' + Pick(10));
    return s;
  }
  std::string Title() {
    std::string s = From(kWords);
    for (int n = Pick(3); n > 0; --n) s += std::string(" ") + From(kWords);
    s[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(s[0])));
    return s;
  }
  std::string Camera() {
    switch (Pick(5)) {
      case 0: return "IMG_" + Digits(4);
      case 1: return "DSC0" + Digits(4);
      case 2: return "PXL_2019" + Digits(4) + "_" + Digits(9);
      case 3: return "P10" + Digits(5);
      default: return "20" + Digits(6) + "_" + Digits(6);
    }
  }
  std::string Song() {
    std::string track = std::to_string(1 + Pick(20));
    if (track.size() < 2) track = "0" + track;
    switch (Pick(3)) {
      case 0: return track + " - " + From(kArtists) + " - " + Title() + From(kTails);
      case 1: return std::string(From(kArtists)) + " - " + Title() + From(kTails);
      default: return track + ". " + Title() + From(kTails);
    }
  }
  std::string Document() {
    std::string s = Title();
    if (Pick(2)) s += " " + std::to_string(2010 + Pick(15));
    if (Pick(3) == 0) s += "-" + Digits(2);
    return s + From(kTails);
  }

  std::mt19937 rng_;
};

struct Timing {
  double seconds = 0;
  GroupingCounters counters;
  std::size_t groups = 0;
  bool complete = true;
};

Timing Run(const std::vector<std::string>& names, int measure, int percent, bool prune, double limit) {
  NamePreparer preparer(measure, " ,_.;-");
  std::vector<NameItem> items;
  items.reserve(names.size());
  for (const auto& n : names) items.push_back(preparer.Prepare(n));
  NameMeasure m(measure, prune);
  RunControl run;
  FirstMatchGrouping<NameMeasure> g(m, {.scope = 0, .threshold = percent / 100.0, .prune = prune}, run);
  auto start = std::chrono::steady_clock::now();
  auto elapsed = [&] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(); };
  Timing t;
  for (auto& item : items) {
    if (limit > 0 && elapsed() > limit) {
      t.complete = false;
      break;
    }
    g.Add(std::move(item));
  }
  t.seconds = elapsed();
  t.counters = g.Counters();
  t.groups = g.Groups().size();
  return t;
}

const char* const kMeasureNames[] = {"SmartMatch", "FuzzyMatch", "Levenshtein", "Ratcliff",
                                     "MatchDiff",  "WordMatch",  "FuzzyPercent", "Simil (Jaro-Winkler)"};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s <count> [percent] [plain limit s] [measure]\n", argv[0]);
    return 2;
  }
  std::size_t count = std::strtoul(argv[1], nullptr, 10);
  int percent = argc > 2 ? std::atoi(argv[2]) : 80;
  double limit = argc > 3 ? std::atof(argv[3]) : 0;
  int only = argc > 4 ? std::atoi(argv[4]) : -1;

  NameCorpus corpus(4711);
  std::vector<std::string> names;
  for (std::size_t i = 0; i < count; ++i) names.push_back(corpus.Next());

  std::printf("| names | measure | groups | pairs | computed | pruned: time s | pruned: pairs/s | plain: time s | plain: pairs/s |\n");
  std::printf("|---:|---|---:|---:|---:|---:|---:|---:|---:|\n");
  for (int measure = 0; measure < kNameMeasureCount; ++measure) {
    if (only >= 0 && measure != only) continue;
    Timing pruned = Run(names, measure, percent, true, 0);
    Timing plain = Run(names, measure, percent, false, limit);
    double pairs = static_cast<double>(pruned.counters.comparisons);
    double plainRate = static_cast<double>(plain.counters.comparisons) / plain.seconds;
    std::string plainTime = plain.complete ? std::to_string(plain.seconds)
                                           : "~" + std::to_string(pairs / plainRate) + " (est.)";
    if (plain.complete && (plain.counters.comparisons != pruned.counters.comparisons || plain.groups != pruned.groups)) {
      std::fprintf(stderr, "mismatch between pruned and plain runs for measure %d\n", measure);
      return 1;
    }
    std::printf("| %zu | %s | %zu | %.0f | %llu | %.2f | %.3g | %s | %.3g |\n", count, kMeasureNames[measure],
                pruned.groups, pairs, static_cast<unsigned long long>(pruned.counters.measured), pruned.seconds,
                pairs / pruned.seconds, plainTime.c_str(), plainRate);
    std::fflush(stdout);
  }
  return 0;
}
