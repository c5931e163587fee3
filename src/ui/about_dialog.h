#pragma once
// The about window (version and the licences of the libraries used) and the dialog for an
// unexpected error, which also writes the error record.
#include <string>

class QWidget;

namespace twinex::ui {

void ShowAboutDialog(QWidget* parent);
// recorded: the engine has written the error record already (errors of its runs).
void ShowUnexpectedError(QWidget* parent, const std::string& where, const std::string& error, bool recorded = false);

}  // namespace twinex::ui
