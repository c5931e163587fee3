#include "ui/after_search_menu.h"

#include <QActionGroup>
#include <QMenu>

#include "app/session.h"
#include "settings/translate.h"
#include "ui/qt_text.h"

namespace twinex::ui {

void AddAfterSearchCommands(QMenu* menu, Session& session) {
  QMenu* after = menu->addMenu(Q(z_Translate(23060, "Nach der Suche")));
  QAction* sound = after->addAction(Q(z_Translate(23061, "Sound abspielen")));
  sound->setCheckable(true);
  sound->setChecked(session.settings().options.PlaySoundAfterSearch);
  QObject::connect(sound, &QAction::toggled, menu,
                   [&session](bool on) { session.settings().options.PlaySoundAfterSearch = on; });
  after->addSeparator();
  // The action list: none, standby, hibernation; chosen for this session only.
  const TextRef kActions[] = {TextRef{23062, "Keine Aktion"}, TextRef{23063, "PC in den StandBy-Modus versetzen"},
                              TextRef{23064, "PC in den Ruhezustand versetzen"}};
  auto* group = new QActionGroup(after);
  for (int i = 0; i < 3; ++i) {
    QAction* a = after->addAction(Q(z_Translate(kActions[i])));
    a->setCheckable(true);
    a->setChecked(session.afterSearchAction() == i);
    group->addAction(a);
    QObject::connect(a, &QAction::triggered, menu, [&session, i] { session.SetAfterSearchAction(i); });
  }
}

}  // namespace twinex::ui
