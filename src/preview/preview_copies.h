#pragma once
// The files the preview reads: a plain file as it is; an archive member from the copy its search
// left in the temp folder, or else from a copy extracted now into a folder of the preview's own.
// Only the newest extracted copy is kept: the one before goes when the next is made, and all go
// with the object.
#include <memory>
#include <mutex>
#include <string>

#include "platform/run_control.h"
#include "results/result_tree.h"

namespace twinex {
class ArchiveTempCopies;
}

namespace twinex::preview {

struct PreviewSource {
  bool ok = false;
  std::string path;       // the file to read
  bool extracted = false;  // a copy made for the preview
  std::string message;    // why the member could not be extracted
};

class PreviewCopies {
 public:
  // tempFolder: the program's temp folder, below which the preview's own folder is made on the
  // first extraction.
  explicit PreviewCopies(std::string tempFolder);
  ~PreviewCopies();
  PreviewCopies(const PreviewCopies&) = delete;
  PreviewCopies& operator=(const PreviewCopies&) = delete;

  // The readable file of a row; extracts an archive member when no copy of it exists. May run
  // on any thread; extractions run one at a time. `run` stops a long extraction.
  PreviewSource SourceOf(const ResultFile& row, RunControl& run);

  // The progress text while a member is extracted: "Entpacke Datei '%1'...".
  static std::string ExtractingText(const ResultFile& row);

 private:
  std::mutex mutex_;
  std::string tempFolder_;
  std::unique_ptr<ArchiveTempCopies> copies_;
  std::string lastCopy_;
};

}  // namespace twinex::preview
