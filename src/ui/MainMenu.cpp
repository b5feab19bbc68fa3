#include "ui/MainMenu.h"

#include <QAction>
#include <QActionGroup>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>

namespace fenu {

namespace {
QAction* AddItem(QMenu* menu, const QString& caption, const QString& shortcutText = {}) {
    // "\t" puts the key's name at the right of the item, as menus show shortcuts.
    return menu->addAction(shortcutText.isEmpty() ? caption
                                                  : caption + QLatin1Char('\t') + shortcutText);
}

QAction* AddRadio(QMenu* menu, QActionGroup* group, const QString& caption, int tag) {
    QAction* item = menu->addAction(caption);
    item->setCheckable(true);
    item->setData(tag);
    group->addAction(item);
    return item;
}
} // namespace

TMainMenu::TMainMenu(QMainWindow& window) : QObject(&window) {
    QMenuBar* bar = window.menuBar();

    Spiel1 = bar->addMenu(QStringLiteral("Spiel"));
    Neu1 = AddItem(Spiel1, QStringLiteral("Neu starten"), QStringLiteral("F2"));
    Pause1 = AddItem(Spiel1, QStringLiteral("Pause"), QStringLiteral("P"));
    Abbrechen1 = AddItem(Spiel1, QStringLiteral("Abbrechen"), QStringLiteral("Esc"));
    Spiel1->addSeparator();
    Rekorde1 = AddItem(Spiel1, QStringLiteral("Rekorde..."));
    Statistik1 = AddItem(Spiel1, QStringLiteral("Statistik..."));
    LetztesSpiel1 = AddItem(Spiel1, QStringLiteral("Letztes Spiel ansehen"), QStringLiteral("F3"));
    RekordlaufOeffnen1 =
        AddItem(Spiel1, QStringLiteral("Rekordlauf öffnen..."), QStringLiteral("Strg+O"));
    Spiel1->addSeparator();
    Beenden1 = AddItem(Spiel1, QStringLiteral("Beenden"), QStringLiteral("Alt+F4"));

    Optionen1 = bar->addMenu(QStringLiteral("Optionen"));
    DifficultyGroup = new QActionGroup(this);
    DifficultyGroup->setExclusive(true);
    Einfach1 = AddRadio(Optionen1, DifficultyGroup, QStringLiteral("Einfach"), 0);
    Mittel1 = AddRadio(Optionen1, DifficultyGroup, QStringLiteral("Mittel"), 1);
    Schwierig1 = AddRadio(Optionen1, DifficultyGroup, QStringLiteral("Schwierig"), 2);
    Benutzerdefiniert1 =
        AddRadio(Optionen1, DifficultyGroup, QStringLiteral("Benutzerdefiniert..."), 3);
    Einfach1->setChecked(true);
    Optionen1->addSeparator();
    MenuItem_BonusPoints = AddItem(Optionen1, QStringLiteral("Bonus-Punkte durch Geschosse"));
    MenuItem_BonusPoints->setCheckable(true);
    Optionen1->addSeparator();
    MenuItem_Sounds = AddItem(Optionen1, QStringLiteral("Sounds abspielen"), QStringLiteral("S"));
    MenuItem_Sounds->setCheckable(true);

    N4 = bar->addMenu(QStringLiteral("?"));
    Info1 = AddItem(N4, QStringLiteral("Info"));

    connect(Spiel1, &QMenu::aboutToShow, this, &TMainMenu::SpielMenuClicked);
    connect(Optionen1, &QMenu::aboutToShow, this, &TMainMenu::OptionenMenuClicked);

    AddShortcut(window, QKeyCombination(Qt::Key_F2), Neu1, &TMainMenu::SpielMenuClicked);
    AddShortcut(window, QKeyCombination(Qt::Key_P), Pause1, &TMainMenu::SpielMenuClicked);
    AddShortcut(window, QKeyCombination(Qt::Key_Escape), Abbrechen1, &TMainMenu::SpielMenuClicked);
    AddShortcut(window, QKeyCombination(Qt::Key_F3), LetztesSpiel1, &TMainMenu::SpielMenuClicked);
    AddShortcut(window, QKeyCombination(Qt::ControlModifier, Qt::Key_O), RekordlaufOeffnen1,
                &TMainMenu::SpielMenuClicked);
    AddShortcut(window, QKeyCombination(Qt::AltModifier, Qt::Key_F4), Beenden1,
                &TMainMenu::SpielMenuClicked);
    AddShortcut(window, QKeyCombination(Qt::Key_S), MenuItem_Sounds,
                &TMainMenu::OptionenMenuClicked);
}

void TMainMenu::AddShortcut(QMainWindow& window, QKeyCombination key, QAction* item,
                            void (TMainMenu::*menuClick)()) {
    auto* shortcut = new QShortcut(QKeySequence(key), &window);
    shortcut->setContext(Qt::WindowShortcut);
    connect(shortcut, &QShortcut::activated, this, [this, item, menuClick] {
        (this->*menuClick)();
        if (item->isEnabled())
            item->trigger();
    });
}

} // namespace fenu
