#pragma once

#include <QChar>

class QAction;
class QMenu;
class QMenuBar;

namespace quorvane {

// Keyboard access for menu entries whose Chinese text has no letter to mark:
// the text stays as it is; while the entry's menu is open the letter picks
// it, and an entry right on the menu bar opens with Alt and the letter.
void SetMenuMnemonic(QMenu *menu, QAction *action, QChar letter);
void SetMenuBarMnemonic(QMenuBar *bar, QAction *action, QChar letter);

} // namespace quorvane
