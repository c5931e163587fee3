#pragma once
// The about window (version and the licences of the libraries used) and the dialog for an
// unexpected error, which also writes the error record.
#include <string>

class QWidget;

namespace twinex::ui {

void ShowAboutDialog(QWidget* parent);
void ShowUnexpectedError(QWidget* parent, const std::string& where, const std::string& error);

}  // namespace twinex::ui
