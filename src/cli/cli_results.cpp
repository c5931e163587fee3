#include "cli/cli_results.h"

#include <cstdio>

#include "app/session.h"
#include "cli/cli_front.h"
#include "cli/cli_options.h"
#include "platform/date_time.h"
#include "platform/number_format.h"
#include "platform/text.h"
#include "results/saved_results.h"

namespace twinex::cli {

int RunResultCommand(const CliOptions& o, const std::string& dataFolder, Prompt& prompt) {
  if (o.listResults) {
    for (const SavedResultEntry& e : Init_SearchResults(dataFolder))
      std::printf("%s\t%s\t%s\t%s\t%s\n", platform::DisplayText(e.name).c_str(),
                  platform::FormatCount(e.dupCount).c_str(), platform::FormatSizeAuto(e.bytes).c_str(),
                  platform::FormatGeneralDate(e.created).c_str(), e.comment.c_str());
    return 0;
  }
  std::string error;
  if (!o.renameResult.empty()) {
    error = Searchresult_Rename(dataFolder, o.renameResult, o.renameResultTo);
  } else if (!Searchresult_Delete(dataFolder, o.deleteResult, prompt, &error)) {
    if (error.empty()) return 1;  // the question was answered No; the prompt said so
  }
  if (error.empty()) return 0;
  std::fprintf(stderr, "twinex-cli: %s\n", ForTerminal(error).c_str());
  return 1;
}

int SaveCliResult(Session& session, const CliOptions& o) {
  if (o.saveResult.empty() && !o.autoSave) return 0;
  const SaveResultOutcome out = session.SaveResult(o.saveResult, o.autoSave);
  if (!out.saved) {
    std::fprintf(stderr, "twinex-cli: the result was not saved%s%s\n", out.error.empty() ? "" : ": ",
                 ForTerminal(out.error).c_str());
    return 1;
  }
  if (o.commentGiven) {
    if (std::string e = Searchresult_Save_Comment(session.app().paths.dataFolder, out.name, o.comment); !e.empty()) {
      std::fprintf(stderr, "twinex-cli: comment: %s\n", e.c_str());
      return 1;
    }
  }
  std::fprintf(stderr, "twinex-cli: result saved as %s\n", platform::DisplayText(out.name).c_str());
  return 0;
}

}  // namespace twinex::cli
