#include "actions/action_rules.h"

namespace twinex {

const std::vector<ActionRule>& ActionRules() {
  static const std::vector<ActionRule> kRules = {
      {FileAction::Delete, TextRef{18000, "Dateien löschen"}, TextRef{18090, "GELÖSCHT: %1"},
       TextRef{18091, "Die Datei '%1' konnte nicht gelöscht werden: %2"},
       TextRef{18079, "HINWEIS: Das Löschen von Dateien in einer Archivdatei des Typs '%1' wird nicht unterstützt: '%2' -> '%3'"},
       TextRef{18136, "Dateien gelöscht: %1 von %2"},
       /*needsFolder*/ false, /*changesSource*/ true, /*takesLinks*/ true, /*leavesFolder*/ true},
      {FileAction::Copy, TextRef{18001, "Dateien in einen Sicherungsordner kopieren"},
       TextRef{18095, "KOPIERT: '%1' nach '%2'"},
       TextRef{18097, "Die Datei '%1' konnte nicht in den Ordner '%2' kopiert werden: %3"},
       TextRef{18080, "HINWEIS: Das Kopieren von Dateien aus einer Archivdatei wird nicht unterstützt: '%1' -> '%2'"},
       TextRef{18137, "Dateien kopiert: %1 von %2"}, true, false, false, false},
      {FileAction::Move, TextRef{18002, "Dateien in einen Sicherungsordner verschieben"},
       TextRef{18096, "VERSCHOBEN: '%1' nach '%2'"},
       TextRef{18098, "Die Datei '%1' konnte nicht in den Ordner '%2' verschoben werden: %3"},
       TextRef{18081, "HINWEIS: Das Verschieben von Dateien aus einer Archivdatei wird nicht unterstützt: '%1' -> '%2'"},
       TextRef{18138, "Dateien verschoben: %1 von %2"}, true, true, true, true},
      {FileAction::Trash, TextRef{18003, "Lokale Dateien in den Windows Papierkorb verschieben"},
       TextRef{18092, "PAPIERKORB: %1"},
       TextRef{18093, "Die Datei '%1' konnte nicht in den Papierkorb verschoben werden: %2"},
       TextRef{18082, "HINWEIS: Das Verschieben von Dateien aus einer Archivdatei in den Windows Papierkorb wird nicht unterstützt: '%1' -> '%2'"},
       TextRef{18139, "Dateien in den Windows Papierkorb verschoben: %1 von %2"}, false, true, true, true},
      {FileAction::Rename, TextRef{18004, "Dateien umbenennen"}, TextRef{18099, "UMBENANNT: '%1' in '%2'"},
       TextRef{18100, "Die Datei '%1' konnte nicht in '%2' umbenannt werden: %3"},
       TextRef{18083, "HINWEIS: Das Umbenennen von Dateien aus einer Archivdatei wird nicht unterstützt: '%1' -> '%2'"},
       TextRef{18140, "Dateien umbenannt: %1 von %2"}, false, true, false, false},
  };
  return kRules;
}

const ActionRule& RuleFor(FileAction action) {
  for (const ActionRule& r : ActionRules())
    if (r.action == action) return r;
  return ActionRules().front();
}

}  // namespace twinex
