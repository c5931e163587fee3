#include "results/export.h"

#include "platform/number_format.h"
#include "results/export_file.h"
#include "results/export_table.h"
#include "results/export_writers.h"

namespace twinex {
namespace {

std::int64_t CountExported(const ResultTree& tree, int which) {
  std::int64_t n = 0;
  for (const ResultGroup& g : tree.groups)
    for (const ResultFile& f : g.files)
      if (exporting::IsExported(f, which)) ++n;
  return n;
}

ExportOutcome Tell(Prompt& prompt, ExportStatus status, const PromptMessage& message) {
  prompt.Ask(message);
  ExportOutcome outcome;
  outcome.status = status;
  outcome.error = message.Text();
  return outcome;
}

ExportOutcome Failed(Prompt& prompt, const PromptMessage& message) {
  return Tell(prompt, ExportStatus::Failed, message);
}

PromptMessage CannotCreate(const std::string& path, const std::string& error) {
  return PromptMessage::Make(TextRef{15050, "Die Datei %1 konnte nicht erstellt werden.%!%2"}, {path, error},
                             PromptButtons::Ok, PromptIcon::Exclamation);
}

PromptMessage CannotWrite(const std::string& path, const std::string& error) {
  return PromptMessage::Make(TextRef{15051, "Die Datei %1 konnte nicht geschrieben werden.%!%2"}, {path, error},
                             PromptButtons::Ok, PromptIcon::Exclamation);
}

// Writes the text formats line by line into the temporary file. False when cancelled.
bool WriteLines(const ResultTree& tree, const ExportRequest& request, exporting::Utf16LineFile& out) {
  const auto sink = [&](const std::string& line) { out.WriteLine(line); };
  if (request.fileListOnly) return WriteFileList(tree, request, sink);
  if (request.format == kExportCsv) return exporting::WriteCsv(tree, request, sink);
  return WriteTextReport(tree, request, sink);
}

}  // namespace

bool HasFilesToExport(const ResultTree& tree, int which) {
  if (which != kExportSelected && which != kExportUnselected) return true;
  for (const ResultGroup& g : tree.groups)
    for (const ResultFile& f : g.files)
      if (exporting::IsExported(f, which)) return true;
  return false;
}

ExportOutcome ExportResult(const ResultTree& tree, const ExportRequest& request, Prompt& prompt) {
  if (!HasFilesToExport(tree, request.which)) {
    return Tell(prompt, ExportStatus::NothingToExport,
                PromptMessage::Make(TextRef{15000, "Die zu exportierenden Dateien konnten im Suchergebnis nicht gefunden werden!"}));
  }
  const std::int64_t files = CountExported(tree, request.which);
  const bool workbook = request.format == kExportXlsx && !request.fileListOnly;
  // A sheet cut off at its last row would look complete; refuse instead.
  if (workbook && files > exporting::kMaxSheetFiles) {
    return Failed(prompt, PromptMessage::Make(
                              TextRef{15052, "Das Suchergebnis hat mehr Dateien, als ein Tabellenblatt aufnehmen kann (%1)."},
                              {platform::FormatCount(exporting::kMaxSheetFiles)}, PromptButtons::Ok,
                              PromptIcon::Exclamation));
  }

  exporting::ExportTarget target(request.target);
  if (std::string error = target.Create(); !error.empty()) return Failed(prompt, CannotCreate(request.target, error));

  bool complete = true;
  std::string error;
  if (workbook) {
    bool cancelled = false;
    error = exporting::WriteXlsx(tree, request, target.TempPath(), cancelled);
    complete = !cancelled;
  } else {
    exporting::Utf16LineFile out;
    error = out.Open(target.TempPath());
    if (error.empty()) complete = WriteLines(tree, request, out);
    const std::string closeError = out.Close();
    if (error.empty()) error = closeError;
  }
  if (!complete) {
    target.Discard();
    ExportOutcome outcome;
    outcome.status = ExportStatus::Cancelled;
    return outcome;
  }
  if (error.empty()) error = target.Commit();
  if (!error.empty()) {
    target.Discard();
    return Failed(prompt, CannotWrite(request.target, error));
  }
  ExportOutcome outcome;
  outcome.files = files;
  return outcome;
}

}  // namespace twinex
