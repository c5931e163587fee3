#include "presenters/close_question.h"

#include "settings/translate.h"

namespace twinex {

bool CloseQuestion::Wanted(const std::string& beendenBestaetigen, bool hasGroups) {
  return hasGroups && beendenBestaetigen == "1";
}

std::string CloseQuestion::Question() { return z_Translate(22610, "Soll das Suchergebnis gespeichert werden?"); }

std::string CloseQuestion::DontAskAgainCaption() { return z_Translate(22611, "Diesen Dialog nicht mehr anzeigen"); }

std::string CloseQuestion::CountdownText() const {
  return z_Translate(22612, "Das Fenster wird in %1 Sekunden geschlossen...", {std::to_string(remaining_ < 0 ? 0 : remaining_)});
}

bool CloseQuestion::Tick() {
  if (remaining_ > 0) --remaining_;
  return expired();
}

}  // namespace twinex
