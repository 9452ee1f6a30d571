// The shortcuts that the main window's menus show, checked against what a keyboard on X11 can
// produce: the window system reports keypad keys with the keypad flag, but matches shortcuts
// without it, so a shortcut that names the keypad never fires there.
#include "EditorFixture.h"

#include "TEditorForm.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace {

class MenuShortcuts : public EditorFixture {
protected:
    /// Every action of the menu bar's menus and their submenus that has a shortcut.
    std::vector<QAction*> ShortcutActions() {
        std::vector<QAction*> found;
        std::vector<QMenu*> menus;
        for (QAction* title : Main().menuBar()->actions())
            if (title->menu())
                menus.push_back(title->menu());
        while (!menus.empty()) {
            QMenu* menu = menus.back();
            menus.pop_back();
            for (QAction* action : menu->actions()) {
                if (action->menu())
                    menus.push_back(action->menu());
                else if (!action->shortcuts().isEmpty())
                    found.push_back(action);
            }
        }
        return found;
    }
};

} // namespace

TEST_F(MenuShortcuts, NoneNamesTheKeypadAndZoomHasThePlainKeys) {
    const std::vector<QAction*> actions = ShortcutActions();
    EXPECT_GE(actions.size(), 15u);
    for (QAction* action : actions)
        for (const QKeySequence& sequence : action->shortcuts())
            for (int i = 0; i < sequence.count(); ++i)
                EXPECT_FALSE(sequence[i].keyboardModifiers().testFlag(Qt::KeypadModifier))
                    << action->objectName().toStdString() << " "
                    << sequence.toString().toStdString();
    EXPECT_EQ(Main().ZoomInAction->shortcuts(),
              (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Plus),
                                   QKeySequence(Qt::CTRL | Qt::Key_Equal)}));
    EXPECT_EQ(Main().ZoomOutAction->shortcuts(),
              (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Minus)}));
}
