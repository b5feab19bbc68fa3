#pragma once

#include <QKeyCombination>
#include <QObject>

class QAction;
class QActionGroup;
class QMainWindow;
class QMenu;
class QShortcut;

namespace fenu {

/// The main window's menu bar. Its items keep the names of the form: the game
/// menu "Spiel", the options menu "Optionen" and "?".
///
/// Enabled states are recomputed only when a menu opens or one of its shortcut
/// keys is pressed: the menu's own handler runs first (aboutToShow, or the key),
/// then the item is clicked if it is now enabled. That is why the shortcuts are our
/// own QShortcuts and not the actions' shortcuts, which Qt would gate on stale
/// enabled states; the key names still show beside the items.
class TMainMenu : public QObject {
    Q_OBJECT
public:
    explicit TMainMenu(QMainWindow& window);

    QMenu* Spiel1;
    QAction* Neu1;
    QAction* Pause1;
    QAction* Abbrechen1;
    QAction* Rekorde1;
    QAction* Statistik1;
    QAction* LetztesSpiel1;
    QAction* RekordlaufOeffnen1;
    QAction* Beenden1;
    QMenu* Optionen1;
    QActionGroup* DifficultyGroup;
    QAction* Einfach1;
    QAction* Mittel1;
    QAction* Schwierig1;
    QAction* Benutzerdefiniert1;
    QAction* MenuItem_BonusPoints;
    QAction* MenuItem_Sounds;
    QMenu* N4;
    QAction* Info1;

signals:
    /// A menu is about to show, or a shortcut of one of its items was pressed.
    void SpielMenuClicked();
    void OptionenMenuClicked();

private:
    void AddShortcut(QMainWindow& window, QKeyCombination key, QAction* item,
                     void (TMainMenu::*menuClick)());
};

} // namespace fenu
