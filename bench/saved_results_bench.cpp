// Saves and loads a result of many rows and writes its CSV export, for the time and size of
// each. Built with -DTWINEX_BENCH=ON; run by bench/saved_results.sh.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>

#include "results/export.h"
#include "results/saved_results.h"
#include "settings/prompt.h"

namespace {

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

long long FileSize(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 ? static_cast<long long>(st.st_size) : -1;
}

// Groups of two to four files, spread over folders as a photo and music collection would be.
twinex::ResultTree MakeTree(std::size_t rows) {
  twinex::ResultTree tree;
  std::size_t made = 0;
  for (std::size_t g = 0; made < rows; ++g) {
    twinex::ResultGroup& group = tree.AddGroup("", 100000 + g * 37, 0);
    const std::size_t members = 2 + g % 3;
    for (std::size_t i = 0; i < members && made < rows; ++i, ++made) {
      twinex::ResultFile f;
      f.dupname = "IMG_" + std::to_string(20000 + g) + (i ? " (" + std::to_string(i) + ")" : "") + ".jpg";
      f.path = "/home/user/Bilder/" + std::to_string(2000 + (g / 400) % 25) + "/Urlaub " + std::to_string(g / 40 % 90);
      f.size = group.sizeG;
      f.dateVal = 45000.0 + static_cast<double>(g % 2000) + 0.25;
      f.dateEval = f.dateVal;
      f.attr = 0x20;
      f.hardlinkID = "-";
      f.qnr = 1 + static_cast<int>(i % 2);
      f.device = 2049;
      f.inode = 1000000 + made;
      f.selected = i > 0;
      tree.AddFile(group, std::move(f));
    }
    group.dupname = std::to_string(group.sizeG);
  }
  return tree;
}

}  // namespace

int main(int argc, char** argv) {
  const std::size_t rows = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 500000;
  const std::string folder = argc > 2 ? argv[2] : "/tmp/twinex-saved-bench";
  twinex::SilentPrompt prompt;
  twinex::ResultTree tree = MakeTree(rows);

  twinex::SaveResultRequest save;
  save.dataFolder = folder;
  save.name = "bench";
  auto t0 = std::chrono::steady_clock::now();
  const twinex::SaveResultOutcome saved = twinex::Report_Save(tree, save, prompt);
  const double saveSeconds = Seconds(t0);
  if (!saved.saved) {
    std::fprintf(stderr, "save failed: %s\n", saved.error.c_str());
    return 1;
  }
  t0 = std::chrono::steady_clock::now();
  const twinex::LoadedResult loaded = twinex::Report_Laden(folder, "bench");
  const double loadSeconds = Seconds(t0);
  if (!loaded.ok() || loaded.tree.counters.DupCount != tree.counters.DupCount) {
    std::fprintf(stderr, "load failed: %s\n", loaded.error.c_str());
    return 1;
  }
  twinex::ExportRequest csv;
  csv.target = folder + "/bench.csv";
  csv.format = twinex::kExportCsv;
  t0 = std::chrono::steady_clock::now();
  const twinex::ExportOutcome exported = twinex::ExportResult(tree, csv, prompt);
  const double csvSeconds = Seconds(t0);
  const twinex::SavedResultFiles files = twinex::SavedResultPaths(folder, "bench");
  std::printf("rows\t%zu (%zu groups)\n", rows, tree.groups.size());
  std::printf("save\t%.2f s\nload\t%.2f s\n", saveSeconds, loadSeconds);
  std::printf("asr4a\t%lld bytes\nini4a\t%lld bytes\n", FileSize(files.rows), FileSize(files.info));
  std::printf("csv\t%lld bytes (%.2f s, %s)\n", FileSize(csv.target), csvSeconds, exported.Ok() ? "ok" : "failed");
  std::printf("asr4a/csv\t%.2f\n", static_cast<double>(FileSize(files.rows)) / static_cast<double>(FileSize(csv.target)));
  return 0;
}
