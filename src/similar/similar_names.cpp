#include "similar/similar_names.h"

#include <utility>

namespace twinex::similar {

SimilarNames::SimilarNames(NameCompareOptions options, int scope, RunControl& run, Grouping::Progress progress,
                           bool prune)
    : options_(std::move(options)),
      scope_(scope),
      preparer_(options_.measure, options_.delimiters),
      measure_(options_.measure, prune),
      grouping_(measure_, {.scope = scope, .threshold = options_.Threshold(), .prune = prune}, run, std::move(progress)) {}

GroupChange SimilarNames::Add(std::string_view nameWithoutExtension, std::string_view extension, int sourceNr,
                              std::string_view relativeFolder) {
  NameItem item = preparer_.Prepare(SimilarComparisonName(options_, nameWithoutExtension, extension));
  // Folder numbers are only needed by scope 3; the others leave the table empty.
  int folder = scope_ == 3 ? folders_.Of(sourceNr, relativeFolder) : 0;
  return grouping_.Add(std::move(item), {sourceNr, folder});
}

}  // namespace twinex::similar
