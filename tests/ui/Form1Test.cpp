// The main window: its fixed geometry, the menu's enabling rules and shortcuts,
// the difficulty radio group and the orderly close that saves the settings.
#include "ui/Form1.h"

#include "FakeApplication.h"
#include "FakeCursor.h"
#include "FakeServices.h"
#include "ManualClock.h"
#include "game/Circle.h"
#include "platform/window/QtDrawAreaWidget.h"
#include "ui/Form2.h"
#include "ui/InputQuery.h"
#include "ui/MainMenu.h"
#include "ui/RecordRuns.h"

#include <functional>
#include <memory>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace fenu::test {
namespace {

class MainWindow : public ::testing::Test {
protected:
    MainWindow() {
        settingsFile = folder.filePath(QStringLiteral("Settings.ini"));
        form = std::make_unique<TForm1>(
            TForm1Services{app, clock, clock, cursor, &sounds, settingsFile});
        form->show();
        QApplication::setActiveWindow(form.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }

    /// A key as the user presses it on the window.
    void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(form.get(), key, modifiers);
    }

    void OpenGameMenu() { emit form->Menu().SpielMenuClicked(); }
    void OpenOptionsMenu() { emit form->Menu().OptionenMenuClicked(); }

    QTemporaryDir folder;
    QString settingsFile;
    FakeApplication app;
    ManualClock clock{5000};
    FakeCursor cursor;
    RecordingSoundPlayer sounds;
    std::unique_ptr<TForm1> form;
};

TEST_F(MainWindow, HasAFixed625By500FieldAndTheTitleAsCaption) {
    EXPECT_EQ(form->windowTitle(), "feNU");
    EXPECT_EQ(form->DrawAreaWidget().size(), QSize(625, 500));
    EXPECT_FALSE(form->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(form->minimumSize(), form->maximumSize()) << "not resizable";
    form->setWindowState(Qt::WindowMaximized); // a title bar's maximise button
    QApplication::processEvents();
    EXPECT_FALSE(form->isMaximized());
    EXPECT_TRUE(form->DrawArea().Initialized()) << "the first showing initializes the field";
    EXPECT_EQ(form->DrawArea().SurfaceWidth(), 625);
    EXPECT_EQ(form->DrawArea().SurfaceHeight(), 500);
}

TEST_F(MainWindow, TheMenuHasItsItemsInOrderWithShortcutNames) {
    TMainMenu& menu = form->Menu();
    EXPECT_EQ(menu.Neu1->text(), "Neu starten\tF2");
    EXPECT_EQ(menu.Pause1->text(), "Pause\tP");
    EXPECT_EQ(menu.Abbrechen1->text(), "Abbrechen\tEsc");
    EXPECT_EQ(menu.Beenden1->text(), "Beenden\tAlt+F4");
    EXPECT_EQ(menu.MenuItem_Sounds->text(), "Sounds abspielen\tS");
    EXPECT_EQ(menu.Spiel1->actions().size(), 10);
    const QList<QAction*> items = menu.Spiel1->actions();
    const qsizetype records = items.indexOf(menu.Rekorde1);
    EXPECT_EQ(items.mid(records + 1, 3),
              (QList<QAction*>{menu.Statistik1, menu.LetztesSpiel1, menu.RekordlaufOeffnen1}));
    EXPECT_EQ(menu.Statistik1->text(), "Statistik...");
    EXPECT_EQ(menu.LetztesSpiel1->text(), "Letztes Spiel ansehen\tF3");
    EXPECT_EQ(menu.Optionen1->actions().size(), 8);
    EXPECT_TRUE(menu.Einfach1->isChecked());
    EXPECT_TRUE(menu.MenuItem_BonusPoints->isChecked()) << "options default to on";
    EXPECT_TRUE(menu.MenuItem_Sounds->isChecked());
}

TEST_F(MainWindow, OnTheTitleScreenPauseAndAbortAreDisabledAndTheirKeysDoNothing) {
    OpenGameMenu();
    OpenOptionsMenu();
    EXPECT_FALSE(form->Menu().Pause1->isEnabled());
    EXPECT_FALSE(form->Menu().Abbrechen1->isEnabled());
    EXPECT_TRUE(form->Menu().MenuItem_BonusPoints->isEnabled());
    Press(Qt::Key_P);
    Press(Qt::Key_Escape);
    EXPECT_TRUE(form->Game().AttractMode);
    EXPECT_TRUE(form->Timer().Enabled());
}

TEST_F(MainWindow, DuringAGameTheKeysPauseAndAbortAndTheBonusOptionIsLocked) {
    Press(Qt::Key_F2);
    EXPECT_FALSE(form->Game().AttractMode);
    OpenGameMenu();
    OpenOptionsMenu();
    EXPECT_TRUE(form->Menu().Pause1->isEnabled());
    EXPECT_TRUE(form->Menu().Abbrechen1->isEnabled());
    EXPECT_FALSE(form->Menu().MenuItem_BonusPoints->isEnabled());

    Press(Qt::Key_P);
    EXPECT_FALSE(form->Timer().Enabled()) << "paused";
    Press(Qt::Key_P);
    EXPECT_TRUE(form->Timer().Enabled()) << "resumed";
    Press(Qt::Key_Escape);
    EXPECT_TRUE(form->Game().AttractMode);
    EXPECT_EQ(form->windowTitle(), "feNU");
}

TEST_F(MainWindow, DuringTheFadePauseIsDisabledButAbortAndTheBonusOptionAreNot) {
    Press(Qt::Key_F2);
    form->Game().GameOverStep = 10;
    OpenGameMenu();
    OpenOptionsMenu();
    EXPECT_FALSE(form->Menu().Pause1->isEnabled());
    EXPECT_TRUE(form->Menu().Abbrechen1->isEnabled());
    EXPECT_TRUE(form->Menu().MenuItem_BonusPoints->isEnabled());
}

TEST_F(MainWindow, TheSKeyTogglesSoundsAtAnyTime) {
    Press(Qt::Key_S);
    EXPECT_FALSE(form->SoundsChecked());
    Press(Qt::Key_F2);
    Press(Qt::Key_S);
    EXPECT_TRUE(form->SoundsChecked());
}

TEST_F(MainWindow, ChoosingAPresetStartsANewGameAtOnceEvenWhenAlreadyChosen) {
    Press(Qt::Key_F2);
    form->Menu().Mittel1->trigger();
    EXPECT_EQ(form->Game().Mode, 1);
    EXPECT_TRUE(form->Menu().Mittel1->isChecked());
    EXPECT_EQ(form->Game().Balls.size(), 3u) << "two alien balls and the player's";
    EXPECT_EQ(form->Game().PlayerBall()->Radius(), 32u);

    const uint32_t startBefore = form->Game().StartTicks;
    clock.Advance(700);
    form->Menu().Mittel1->trigger();
    EXPECT_TRUE(form->Menu().Mittel1->isChecked());
    EXPECT_EQ(form->Game().StartTicks, startBefore + 700) << "a new game started";
}

TEST_F(MainWindow, ACancelledCustomDialogKeepsThePreviousDifficulty) {
    TForm2& form2 = form->Form2();
    form->Menu().Mittel1->trigger();
    QTimer::singleShot(0, &form2, [&form2] { form2.reject(); });
    form->Menu().Benutzerdefiniert1->trigger();
    EXPECT_TRUE(form->Menu().Mittel1->isChecked());
    EXPECT_EQ(form->Game().Mode, 1);

    QTimer::singleShot(0, &form2, [&form2] { form2.accept(); });
    form->Menu().Benutzerdefiniert1->trigger();
    EXPECT_TRUE(form->Menu().Benutzerdefiniert1->isChecked());
    EXPECT_EQ(form->Game().Mode, 3);
    EXPECT_EQ(form->Game().CurrentConfig, (TConfiguration{{20, 20}, 20, 5}));
    EXPECT_EQ(form->Game().Balls.size(), 3u);
}

// Without a window manager nobody hands the keyboard back when a dialog closes
// (here, too, it stays with the hidden dialog): the window takes it itself, so
// that F2, P, Esc and S work again at once.
TEST_F(MainWindow, TheKeyboardComesBackToTheWindowWhenADialogCloses) {
    TForm2& form2 = form->Form2();
    QTimer::singleShot(0, &form2, [&form2] { form2.reject(); });
    form->Menu().Benutzerdefiniert1->trigger();
    EXPECT_TRUE(QTest::qWaitFor(
        [this] { return QGuiApplication::focusWindow() == form->windowHandle(); }, 1000));
    Press(Qt::Key_F2);
    EXPECT_FALSE(form->Game().AttractMode) << "F2 started a game";
}

// The custom settings dialog and the name prompt stand centred on the main window,
// wherever it is, frames included (this window system draws them; the script
// tests/desktop/bare_x_server.sh checks the same without any).
TEST_F(MainWindow, DialogsShowCentredOnTheMainWindow) {
    form->move(40, 30);
    const QPoint centre = form->frameGeometry().center();
    TForm2& form2 = form->Form2();
    QPoint dialogCentre;
    QTimer::singleShot(0, &form2, [&] {
        dialogCentre = form2.frameGeometry().center();
        form2.reject();
    });
    form->Menu().Benutzerdefiniert1->trigger();
    EXPECT_LE((dialogCentre - centre).manhattanLength(), 1) << "custom settings";

    QTimer::singleShot(0, form.get(), [&] {
        QWidget* prompt = QApplication::activeModalWidget();
        ASSERT_NE(prompt, nullptr);
        dialogCentre = prompt->frameGeometry().center();
        QTest::keyClick(prompt, Qt::Key_Escape);
    });
    QString name;
    InputQuery(form.get(), QStringLiteral("Neuer Rekord"), QStringLiteral("?"), name);
    EXPECT_LE((dialogCentre - centre).manhattanLength(), 1) << "name prompt";
}

// SIGTERM or SIGINT while the name prompt is open (the session ends): the name as
// it stands is taken, the records dialog that follows is closed (perhaps before it
// is seen here), then the window, and the new record is in the file.
TEST_F(MainWindow, ATerminationRequestDuringTheNamePromptKeepsTheRecord) {
    form->Menu().MenuItem_BonusPoints->setChecked(false);
    Press(Qt::Key_F2);
    TGame& game = form->Game();
    game.TimePoints = 7;
    game.GameOverStep = TGame::FadeLength - 1;
    QStringList dialogs;
    const std::function<void()> watch = [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr && !dialogs.contains(modal->windowTitle())) {
            dialogs << modal->windowTitle();
            if (dialogs.size() == 1) {
                auto* edit = modal->findChild<QLineEdit*>();
                ASSERT_NE(edit, nullptr);
                edit->setText(QStringLiteral("Tom"));
                form->CloseOnRequest();
            }
        }
        if (form->isVisible())
            QTimer::singleShot(1, form.get(), watch);
    };
    QTimer::singleShot(0, form.get(), watch);
    game.DXTimerTimer(1); // the last fade frame: the game ends with a new record
    EXPECT_TRUE(QTest::qWaitFor([this] { return !form->isVisible(); }, 2000));

    ASSERT_FALSE(dialogs.isEmpty());
    EXPECT_EQ(dialogs.front(), QStringLiteral("Neuer Rekord"));
    QFile file(settingsFile);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromLatin1(file.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral("Points0=7"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Player0=Tom"))) << text.toStdString();
}

// A session save request during the name prompt: the name is saved, the game goes on.
TEST_F(MainWindow, ASessionSaveRequestKeepsTheRecordAndTheGameGoing) {
    form->Menu().MenuItem_BonusPoints->setChecked(false);
    Press(Qt::Key_F2);
    form->Game().TimePoints = 7;
    form->Game().GameOverStep = TGame::FadeLength - 1;
    int ticks = 0;
    const std::function<void()> watch = [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* prompt = qobject_cast<TInputQuery*>(modal); prompt && ticks == 0) {
            prompt->findChild<QLineEdit*>()->setText(QStringLiteral("Tom"));
            form->SaveOnRequest();
        }
        if (modal != nullptr && ++ticks > 100)
            modal->close(); // the records dialog that follows
        else
            QTimer::singleShot(1, form.get(), watch);
    };
    QTimer::singleShot(0, form.get(), watch);
    form->Game().DXTimerTimer(1); // the last fade frame: a new record
    QFile file(settingsFile);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly) && file.readAll().contains("Player0=Tom"));
    EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
    Press(Qt::Key_F2);
    EXPECT_TRUE(form->isVisible() && form->Timer().Enabled() && form->Game().GameOverStep == 0);
}

// A game left with Esc is the last game (F3); a run file chosen under "Rekordlauf
// öffnen..." plays captioned with the player it names.
TEST_F(MainWindow, TheLastGameAndARunFileFromTheMenuPlayAgain) {
    OpenGameMenu();
    EXPECT_FALSE(form->Menu().LetztesSpiel1->isEnabled()) << "no game yet";
    Press(Qt::Key_F2);
    for (int frame = 0; frame < 30; ++frame, clock.Advance(16))
        form->Game().DXTimerTimer(1);
    Press(Qt::Key_Escape);
    QTest::qWait(1); // the last game is written after the frame that ended it
    OpenGameMenu();
    ASSERT_TRUE(form->Menu().LetztesSpiel1->isEnabled());
    Press(Qt::Key_F3);
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->Game().Replaying(); }, 1000));
    form->Game().DXTimerTimer(1);
    EXPECT_TRUE(form->windowTitle().startsWith("feNU - Letztes Spiel ["));

    TRunEntry header;
    const TRecordRuns runs(settingsFile);
    const auto last = TRecordRuns::LoadFile(runs.LastGamePath(), header);
    ASSERT_EQ(last.Found, TRecordRuns::TFound::Ready) << last.Reason.toStdString();
    QFile shared(folder.filePath("Geteilt.fenurun"));
    ASSERT_TRUE(shared.open(QIODevice::WriteOnly));
    shared.write(WriteRunFile({9, "Rita", RunProgramVersion()}, last.Run));
    shared.close();
    form->ChooseRunFile = [&] { return shared.fileName(); };
    QString asked; // watched or raced: asked once, naming the file's player
    form->ChooseRunUse = [&](const QString& player) {
        asked += player;
        return TRunUse::Watch;
    };
    form->Game().Abbrechen1Click();
    form->Menu().RekordlaufOeffnen1->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->Game().Replaying(); }, 1000));
    EXPECT_EQ(asked, "Rita");
    form->Game().DXTimerTimer(1);
    EXPECT_TRUE(form->windowTitle().startsWith("feNU - Rekordlauf von Rita ["));

    // F3 plays this copy's last game from memory, whatever became of its file.
    ASSERT_TRUE(QFile::remove(runs.LastGamePath()));
    form->Game().Abbrechen1Click();
    Press(Qt::Key_F3);
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->Game().Replaying(); }, 1000));
}

TEST_F(MainWindow, ARaceEndsInATieNotAWinAgainstTheRivalNamedAsInTheFile) {
    QString result;
    form->ShowRaceResultBox = [&](const QString& text) { return (result = text), false; };
    form->Game().StartRace({{}, {}, QStringLiteral("%1 Rita"), 0});
    form->Game().GameOverStep = TGame::FadeLength - 1;
    form->Game().DXTimerTimer(1); // the race's last frame: 0 points against 0
    EXPECT_TRUE(QTest::qWaitFor([&] { return !result.isEmpty(); }));
    EXPECT_EQ(result, QStringLiteral("Unentschieden: 0 gegen 0 Punkte von %1 Rita"));
}

TEST_F(MainWindow, ClosingTheWindowWritesTheSettingsFile) {
    form->Menu().Schwierig1->trigger();
    form->Game().Records[0][2] = {77, QStringLiteral("Anna")};
    form->close();
    QFile file(settingsFile);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromLatin1(file.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral("Mode=2")));
    EXPECT_TRUE(text.contains(QStringLiteral("Points2=77")));
    EXPECT_TRUE(text.contains(QStringLiteral("Player2=Anna")));
    EXPECT_FALSE(cursor.clip.has_value()) << "the cursor is free after the end";
}

TEST_F(MainWindow, TheTitleScreenDrawsTheTitleInWhiteBehindTheBalls) {
    // Park the demo balls away from the centre so the title shows.
    for (TCircle* ball : form->Game().Balls) {
        ball->X = 0;
        ball->Y = 0;
        ball->Velocity = TVector(1, 1);
    }
    form->Game().DXTimerTimer(1);
    const QImage& shown = form->DrawAreaWidget().Presented();
    ASSERT_EQ(shown.size(), QSize(625, 500));
    int white = 0;
    for (int x = 100; x < 525; ++x)
        for (int y = 200; y < 300; ++y)
            white += (shown.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF;
    EXPECT_GT(white, 1000) << "the 60-point title around the centre";
    EXPECT_EQ(shown.pixel(620, 495) & 0xFFFFFF, 0u) << "black elsewhere";
}

} // namespace
} // namespace fenu::test
