#include "ui/menu_mnemonics.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>

namespace quorvane {

namespace {

const char *const LetterProperty = "quorvaneMnemonic";

class MenuLetters final : public QObject
{
public:
    explicit MenuLetters(QMenu *menu) : QObject(menu), m_menu(menu) {}

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->modifiers() & ~(Qt::AltModifier | Qt::ShiftModifier) || key->text().size() != 1)
            return false;
        const QChar letter = key->text().front().toUpper();
        for (QAction *action : m_menu->actions()) {
            if (action->isEnabled() && action->property(LetterProperty).toChar() == letter) {
                m_menu->setActiveAction(action);
                m_menu->close();
                action->trigger();
                return true;
            }
        }
        return false;
    }

private:
    QMenu *m_menu;
};

} // namespace

void SetMenuMnemonic(QMenu *menu, QAction *action, QChar letter)
{
    action->setProperty(LetterProperty, letter.toUpper());
    if (!menu->property(LetterProperty).toBool()) {
        menu->setProperty(LetterProperty, true);
        menu->installEventFilter(new MenuLetters(menu));
    }
}

void SetMenuBarMnemonic(QMenuBar *bar, QAction *action, QChar letter)
{
    auto *shortcut = new QShortcut(QKeySequence(Qt::ALT | Qt::Key(letter.toUpper().unicode())), bar->window());
    QObject::connect(shortcut, &QShortcut::activated, action, &QAction::trigger);
}

} // namespace quorvane
