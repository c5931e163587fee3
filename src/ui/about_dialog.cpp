#include "ui/about_dialog.h"

#include <QMessageBox>
#include <QtGlobal>
#include <sqlite3.h>

#include "app/error_record.h"
#include "settings/translate.h"
#include "ui/qt_text.h"

namespace twinex::ui {

void ShowAboutDialog(QWidget* parent) {
  struct Library {
    const char* name;
    std::string version;
    const char* licence;
  };
  const Library kLibraries[] = {
      {"Qt", qVersion(), "LGPL 3"},
      {"SQLite", sqlite3_libversion(), "Public Domain"},
      {"OpenSSL", "3", "Apache 2.0"},
      {"utf8proc", "", "MIT"},
      {"libxlsxwriter", "", "BSD 2-Clause"},
  };
  std::string text = "<h3>Twinex " TWINEX_VERSION "</h3><p>" +
                     z_Translate(22210, "Findet doppelte und ähnliche Dateien.") + "</p><p>" +
                     z_Translate(22211, "Verwendete Bibliotheken:") + "</p><ul>";
  for (const Library& l : kLibraries)
    text += "<li>" + std::string(l.name) + (l.version.empty() ? "" : " " + l.version) + " (" + l.licence + ")</li>";
  text += "</ul>";
  QMessageBox::about(parent, Q(z_Translate(22204, "Über Twinex")), Q(text));
}

void ShowUnexpectedError(QWidget* parent, const std::string& where, const std::string& error, bool recorded) {
  if (!recorded) LogErrorRecord(where, error);
  QMessageBox::critical(parent, "Twinex",
                        Q(z_Translate(22212, "Es ist ein unerwarteter Fehler aufgetreten: %1%!%2", {where, error})));
}

}  // namespace twinex::ui
