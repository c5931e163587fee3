#include "search/search.h"

#include "platform/date_time.h"
#include "platform/process.h"
#include "platform/text.h"
#include "search/archive_search.h"
#include "search/archive_temp.h"
#include "search/check_file.h"
#include "search/checksum_db.h"
#include "search/digest_ahead.h"
#include "search/search_method.h"
#include "settings/window_settings.h"

namespace twinex {

ChecksumDescriptor ChecksumDescriptorFor(int contentCompare) {
  static const ChecksumDescriptor kTable[] = {
      {0, 0, ""}, {1, 16, "MD5"}, {2, 20, "SHA1-160"}, {3, 32, "SHA2-256"}, {4, 48, "SHA2-384"}, {5, 64, "SHA2-512"},
  };
  if (contentCompare < 0 || contentCompare > 5) contentCompare = 2;
  return kTable[contentCompare];
}

namespace {
SearchEnvironment WithRunControl(SearchEnvironment env) {
  if (!env.run) env.run = std::make_shared<RunControl>();
  return env;
}
}  // namespace

Search::Search(const MainSettings& main, SearchEnvironment environment, SearchObserver& obs, Prompt& p)
    : settings(main.search),
      sources(main.sources),
      env(WithRunControl(std::move(environment))),
      run(*env.run),
      observer(obs),
      prompt(p),
      searchMethod(&SearchMethodFor(main.search.SearchMethod)),
      readOwner(main.options.ShowOwner) {
  checkFile = [](Search& s, const EnumeratedFile& f) { Search_CheckFile(s, f); };
  scanArchive = Search_ScanArchive;
  startTick = platform::TickCount();
  lastProgressTick = startTick;
  memoryLimit = env.memoryLimit ? env.memoryLimit : platform::PhysicalMemoryBytes() / 10 * 9;
  for (const char* column : {"ColumnAudioDuration", "ColumnAudioBitRate", "ColumnAudioSamplingRate"})
    if (ReadSetting("Optionen", column, env.settingsFile) == "1") readAudio = true;
}

Search::~Search() = default;

void Search::LogProtokoll(const std::string& text, bool isError) { observer.OnLog(text, isError); }

}  // namespace twinex
