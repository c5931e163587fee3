#pragma once
// The central error routine: an unexpected error of any procedure becomes a diagnostic record in
// "error.txt", and the caller goes on.
#include <array>
#include <string>
#include <string_view>

namespace twinex {

// What the front end knows about its windows at the time of the error.
struct DiagnosticState {
  bool unicodeSupport = false;
  int searchMethod = -1;                 // -1 when no main window settings exist
  std::array<std::string, 4> statusBar;  // the texts of the status bar panels
};
void SetDiagnosticState(const DiagnosticState& state);
// The run whose stop state the record shows (the session's search); null: none.
class RunControl;
void SetDiagnosticRun(const RunControl* run);

// Writes the record: where it happened and the error, then the lines "Apptitle: ",
// "Datapath: ", "Admin: ", "Errcount: ", "Lang: ", "Stop:", "Unicode:", "SM:", "Sb1:".."Sb4:".
void LogErrorRecord(std::string_view where, std::string_view error);
// Records written by this process.
int ErrorCount();

}  // namespace twinex
