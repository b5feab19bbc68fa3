#include "ui/Form1.h"

#include "game/Random.h"
#include "game/run/FrameTimes.h"
#include "platform/Cursor.h"
#include "platform/app/QtApplication.h"
#include "platform/window/FrameClock.h"
#include "platform/window/QtDrawAreaWidget.h"
#include "ui/Form2.h"
#include "ui/Form3.h"
#include "ui/InfoDlg.h"
#include "ui/InputQuery.h"
#include "ui/MainMenu.h"
#include "ui/RecordRuns.h"
#include "ui/SettingsPath.h"
#include "ui/SettingsStore.h"
#include "ui/SteppingAside.h"

#include <cstdio>
#include <utility>

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLayout>
#include <QMessageBox>
#include <QResizeEvent>
#include <QScreen>
#include <QTimer>

namespace fenu {

// A run's times are bound to its frames at the rate the frame clock paces them.
static_assert(FrameClock::FramesPerSecond == RunFramesPerSecond);

namespace {

// Gives the keyboard back to the main window when a dialog it opened closes. A
// window manager does that by itself; on a bare X server the focus falls to the
// root window, and F2, P, Esc and S would go nowhere until the next click.
class TFocusReturn {
public:
    explicit TFocusReturn(QWidget& window) : window_(window) {}
    TFocusReturn(const TFocusReturn&) = delete;
    TFocusReturn& operator=(const TFocusReturn&) = delete;
    ~TFocusReturn() {
        if (window_.isVisible())
            window_.activateWindow();
    }

private:
    QWidget& window_;
};

} // namespace

TForm1::TForm1(TForm1Services services, QWidget* parent)
    : QMainWindow(parent), services_(services),
      settingsFile_(services.SettingsFile.isEmpty() ? fenu::SettingsFile() : services.SettingsFile),
      drawAreaWidget_(new QtDrawAreaWidget(this)), DXDraw(*drawAreaWidget_, presentation_),
      DXTimer(services.App, services.TimerClock) {
    setWindowTitle(QStringLiteral("feNU"));
    // The form's font: 8 points in the system's message-box face, set once and before
    // the menu bar is made (each change lays it out anew), so the title is drawn in it
    // from the first frame.
    const QString face = SystemMessageFontFace();
    setFont(QFont(face.isEmpty() ? QStringLiteral("MS Sans Serif") : face, 8));
    menu_ = new TMainMenu(*this);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);

    drawAreaWidget_->setFixedSize(FieldWidth, FieldHeight);
    setCentralWidget(drawAreaWidget_);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    DXDraw.SetSurfaceSize(FieldWidth, FieldHeight);
    DXDraw.OnMouseDown = [this](TMouseButton button, int x, int y) {
        Guarded([&] { game_->DXDrawMouseDown(button, x, y); });
    };
    DXDraw.Loaded();
    DXSpriteEngine.SetDXDraw(&DXDraw);

    DXTimer.SetActiveOnly(true);
    DXTimer.SetEnabled(false);
    DXTimer.SetInterval(1);
    DXTimer.SetPacer(&presentation_);
    DXTimer.OnTimer = [this](TCustomDXTimer&, int32_t lagCount) {
        Guarded([&] { game_->DXTimerTimer(lagCount); });
        AfterFrame();
    };
    DXTimer.OnActivate = [this](TCustomDXTimer&) { Guarded([&] { game_->DXTimerActivate(); }); };
    DXTimer.OnDeactivate = [this](TCustomDXTimer&) {
        Guarded([&] { game_->DXTimerDeactivate(); });
    };
    DXTimer.Loaded();

    game_ = std::make_unique<TGame>(static_cast<TGameView&>(*this), services.Cursor);
    game_->Engine = &DXSpriteEngine.Engine();
    game_->ClientWidth = FieldWidth;
    game_->ClientHeight = FieldHeight;
    game_->TickClock = &services.Ticks;
    game_->Sounds = services.Sounds;
    game_->Options = this;

    ConnectMenu();
    // The item chosen in a menu is carried out as the menu closes, so what paused
    // the game is forgotten only after that.
    new TSteppingAside([this](bool byMenu) { PauseForWindow(byMenu); },
                       [this] { QTimer::singleShot(0, this, [this] { pausedByMenu_ = false; }); },
                       this);
    FormCreate();
}

TForm1::~TForm1() {
    FormDestroy();
}

void TForm1::FormCreate() {
    Randomize();
    game_->Presets = MakePresets();
    TSettingsStore(settingsFile_).Load(*game_);
    loadedRecords_ = game_->Records;
    game_->StartAttractMode();
}

void TForm1::FormDestroy() {
    if (destroyed_)
        return;
    destroyed_ = true;
    DXTimer.SetEnabled(false);
    // Keep the values to save, then let the sprites go before the engine does.
    const TGameState saved = SettingsToSave();
    game_.reset(); // hands over a game still running: the last game is written now
    statistics_.KeepPending([this](const QString& message) { ReportFailure(message); });
    services_.Cursor.Clip(nullptr);
    // The program may end without unwinding (see main), so the measurements go now.
    presentation_.Log().WriteFrames();
    Save(saved);
}

TGameState TForm1::SettingsToSave() {
    TGameState settings;
    settings.CurrentConfig = game_->CurrentConfig;
    settings.Mode = game_->Mode;
    settings.Records = game_->Records;
    settings.Options = this;
    return settings;
}

void TForm1::Save(const TGameState& settings) {
    TRecordTable written;
    if (CallReportingExceptions(
            [&] {
                written = TSettingsStore(settingsFile_).Save(settings, &loadedRecords_);
                TRecordRuns(settingsFile_).RemoveEmptied(written, loadedRecords_);
            },
            [this](const QString& message) { ReportFailure(message); })) {
        loadedRecords_ = written;
        if (game_)
            game_->Records = written;
    }
}

void TForm1::ReportFailure(const QString& message) {
    if (endedBySystem_) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
    } else {
        const TFocusReturn focusReturn(*this);
        QtApplication::ShowErrorBox(message);
    }
}

void TForm1::SaveAtExit() {
    if (destroyed_)
        return;
    endedBySystem_ = true;
    // The prompt's own loop never returns now.
    if (auto* prompt = qobject_cast<TInputQuery*>(QApplication::activeModalWidget());
        prompt != nullptr && game_)
        game_->ConfirmOpenRecord(prompt->Value());
    destroyed_ = true;
    // A game still running is kept as the orderly end keeps it: in the statistics and
    // as the last game.
    if (game_)
        game_->HandOverPlayedGame();
    statistics_.KeepPending([this](const QString& message) { ReportFailure(message); });
    Save(SettingsToSave());
}

void TForm1::CloseOnRequest() {
    endedBySystem_ = true;
    SettleDialogs(true, MaxDialogsClosedOnRequest, [this] { close(); });
}

void TForm1::DestroyOnQuit() {
    endedBySystem_ = true;
    FormDestroy();
}

void TForm1::SaveOnRequest() {
    SettleDialogs(false, MaxDialogsClosedOnRequest, [this] {
        if (!game_)
            return;
        // The session waits for the answer; the game goes on after it.
        const bool endedBySystem = std::exchange(endedBySystem_, true);
        Save(SettingsToSave());
        endedBySystem_ = endedBySystem;
    });
}

void TForm1::SettleDialogs(bool closeAll, int dialogsLeft, const std::function<void()>& then) {
    QWidget* modal = QApplication::activeModalWidget();
    auto* prompt = qobject_cast<TInputQuery*>(modal);
    if (modal == nullptr || dialogsLeft == 0 || (prompt == nullptr && !closeAll)) {
        then();
        return;
    }
    const auto next = [this, closeAll, dialogsLeft, then] {
        SettleDialogs(closeAll, dialogsLeft - 1, then);
    };
    if (prompt != nullptr) {
        // The prompt goes once the code that opened it has the name and has stored
        // the record (and opened the records dialog): only then is the record there
        // to be saved.
        connect(prompt, &QObject::destroyed, this, next, Qt::QueuedConnection);
        prompt->accept();
        return;
    }
    if (auto* dialog = qobject_cast<QDialog*>(modal))
        dialog->reject();
    else
        modal->close();
    // The dialog's own loop ends only once this handler has returned.
    QTimer::singleShot(0, this, next);
}

// A dialog made after start-up takes the system's message-box face like the
// windows that existed then.
TForm2& TForm1::Form2() {
    if (!form2_) {
        form2_ = std::make_unique<TForm2>(this);
        UseSystemMessageFont();
    }
    return *form2_;
}

TForm3& TForm1::Form3() {
    if (!form3_) {
        form3_ = std::make_unique<TForm3>(game_->Records, *this, this);
        connect(form3_.get(), &TForm3::RecordRunRequested, this, &TForm1::PlayRecordRun);
        connect(form3_.get(), &TForm3::RecordRaceRequested, this, &TForm1::RaceRecordRun);
        form3_->SetRecordRuns(TRecordRuns(settingsFile_));
        UseSystemMessageFont();
    }
    return *form3_;
}

TInfo& TForm1::Info() {
    if (!info_)
        info_ = std::make_unique<TInfo>(this);
    return *info_;
}

template <class Handler> void TForm1::Guarded(Handler&& handler) {
    if (!game_)
        return; // the window is closing: no handler runs on a game that is gone
    CallReportingExceptions(handler,
                            [](const QString& message) { QtApplication::ShowErrorBox(message); });
}

void TForm1::ConnectMenu() {
    TMainMenu& m = *menu_;
    connect(&m, &TMainMenu::SpielMenuClicked, this, [this] { Guarded([&] { Spiel1Click(); }); });
    connect(&m, &TMainMenu::OptionenMenuClicked, this,
            [this] { Guarded([&] { Optionen1Click(); }); });
    connect(m.Neu1, &QAction::triggered, this, [this] { Guarded([&] { game_->Neu1Click(); }); });
    connect(m.Pause1, &QAction::triggered, this, [this] {
        Guarded([&] {
            if (!std::exchange(pausedByMenu_, false))
                game_->Pause1Click();
        });
    });
    connect(m.Abbrechen1, &QAction::triggered, this,
            [this] { Guarded([&] { game_->Abbrechen1Click(); }); });
    connect(m.Rekorde1, &QAction::triggered, this, [this] { Guarded([&] { Rekorde1Click(); }); });
    connect(m.Statistik1, &QAction::triggered, this,
            [this] { Guarded([&] { Statistik1Click(); }); });
    connect(m.LetztesSpiel1, &QAction::triggered, this,
            [this] { Guarded([&] { LetztesSpiel1Click(); }); });
    connect(m.RekordlaufOeffnen1, &QAction::triggered, this,
            [this] { Guarded([&] { RekordlaufOeffnen1Click(); }); });
    connect(m.Beenden1, &QAction::triggered, this, [this] { Beenden1Click(); });
    for (QAction* preset : {m.Einfach1, m.Mittel1, m.Schwierig1}) {
        connect(preset, &QAction::triggered, this, [this, preset] {
            Guarded([&] { MenuItem_DefConfigClick(static_cast<TMode>(preset->data().toInt())); });
        });
    }
    connect(m.Benutzerdefiniert1, &QAction::triggered, this,
            [this] { Guarded([&] { Benutzerdefiniert1Click(); }); });
    connect(m.Info1, &QAction::triggered, this, [this] { Guarded([&] { Info1Click(); }); });
}

void TForm1::Spiel1Click() {
    menu_->LetztesSpiel1->setEnabled(!lastGame_.isEmpty() ||
                                     QFileInfo::exists(TRecordRuns(settingsFile_).LastGamePath()));
    menu_->Pause1->setEnabled(game_->GameOverStep == 0);
    menu_->Abbrechen1->setEnabled(!game_->AttractMode);
}

void TForm1::Optionen1Click() {
    menu_->MenuItem_BonusPoints->setEnabled(game_->GameOverStep != 0);
}

void TForm1::MenuItem_DefConfigClick(TMode tag) {
    CheckDifficulty(tag);
    game_->Mode = tag;
    game_->CurrentConfig = game_->Presets[tag];
    game_->Neu1Click();
}

void TForm1::Benutzerdefiniert1Click() {
    // The radio items do not check themselves: a cancelled dialog keeps the old mark.
    CheckDifficulty(game_->Mode);
    const TFocusReturn focusReturn(*this);
    if (Form2().exec() != QDialog::Accepted)
        return;
    game_->Mode = CustomMode;
    CheckDifficulty(CustomMode);
    game_->CurrentConfig.BallRadii.assign(static_cast<size_t>(form2_->BallCount()),
                                          form2_->BallRadius());
    game_->CurrentConfig.PlayerRadius = form2_->PlayerRadius();
    game_->CurrentConfig.MaxStartSpeed = form2_->MaxSpeed();
    game_->Neu1Click();
}

void TForm1::Rekorde1Click() {
    const TFocusReturn focusReturn(*this);
    Form3().exec();
}

void TForm1::Statistik1Click() {
    const TFocusReturn focusReturn(*this);
    statistics_.ShowDialog(this, game_->Records, BonusPointsChecked(), game_->Mode,
                           QtApplication::ShowErrorBox);
}

// What a game's start or end leaves to do comes right after a frame is shown, where
// the wait for the next one absorbs it: between that wait and its frame (where the
// input the frame takes is handled) it would make the frame late. A timer does it
// where no frame follows.
void TForm1::AfterFrame() {
    if (std::exchange(openStatisticsAfterFrame_, false))
        statistics_.Open([this](const QString& message) { ReportFailure(message); });
    WriteLastGame();
}

void TForm1::AfterFrameOrSoon() {
    QTimer::singleShot(AfterFrameFallbackMs, this, [this] { AfterFrame(); });
}

// The statistics' store (Qt SQL and SQLite) loads and opens its file when the first
// game starts, after its first frame: not at the start of the program, which may never
// see a game, and not at the game's end, which must not wait for it.
void TForm1::GameStarted() {
    openStatisticsAfterFrame_ = true;
    AfterFrameOrSoon();
}

// After the game's last frame, before any record prompt; also from the game's
// destructor, when the window has let it go.
void TForm1::GameFinished(const TPlayedGame& game, const TRunRecording& run) {
    statistics_.Keep(game, [this](const QString& message) { ReportFailure(message); });
    lastGame_ =
        WriteRunFile({game.TimePoints + game.BonusPoints, QString(), RunProgramVersion()}, run);
    lastGameWritten_ = false;
    // Written after the frame that ended the game, or at once as the program ends.
    if (destroyed_)
        WriteLastGame();
    else
        AfterFrameOrSoon();
}

void TForm1::RaceEnded(uint32_t points, uint32_t rivalPoints, const QString& rival) {
    const QString verdict = points > rivalPoints   ? QStringLiteral("Gewonnen")
                            : points < rivalPoints ? QStringLiteral("Verloren")
                                                   : QStringLiteral("Unentschieden");
    // In one pass: a "%1" in the rival's name stays as it is.
    const QString result =
        QStringLiteral("%1: %2 gegen %3 Punkte von %4")
            .arg(verdict, QString::number(points), QString::number(rivalPoints), rival);
    // Shown once the frame that ended the race has returned.
    QTimer::singleShot(0, this, [this, result, points] {
        const TFocusReturn focusReturn(*this);
        if (ShowRaceResultBox ? ShowRaceResultBox(result) : ShowRaceResult(this, result))
            Guarded([&] { SaveRaceRun(points); });
    });
}

void TForm1::SaveRaceRun(uint32_t points) {
    const TRunRecording& run = game_->LastRun();
    QString name = racerName_;
    if (!InputQuery(QStringLiteral("Lauf speichern"),
                    QStringLiteral("Unter welchem Namen soll der Lauf gespeichert werden?"), name))
        return;
    racerName_ = name;
    const TRecord entry{points, name};
    const QString suggested = QDir::home().filePath(
        SharedRunFileName(run.Settings.Bonus ? 1 : 0, run.Settings.Mode, entry));
    const QString target =
        ChooseRaceRunFile ? ChooseRaceRunFile(suggested) : ChooseRunFileToSave(this, suggested);
    if (target.isEmpty())
        return;
    const QString failure = TRecordRuns::SaveRun(target, {points, name, RunProgramVersion()}, run);
    if (!failure.isEmpty())
        ReportFailure(QStringLiteral("Der Lauf kann nicht gespeichert werden: ") + failure);
}

void TForm1::Info1Click() {
    const TFocusReturn focusReturn(*this);
    Info().ShowAbout(QStringLiteral("feNU"), QStringLiteral("2005"), ProgramIcon());
}

void TForm1::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // The window has one size. Where Qt draws the title bar itself (Wayland), its
    // maximise button cannot be taken away, so its effect is undone instead.
    if (event->type() == QEvent::WindowStateChange &&
        (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) != 0)
        QTimer::singleShot(0, this, [this] {
            setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowFullScreen));
        });
}

void TForm1::ShowCentred(QMargins expectedFrame) {
    expectedFrame_ = expectedFrame;
    show();
}

TRecordRuns::TLoaded TForm1::LoadRecordRun(int table, int mode, TRecord& entry) const {
    if (!game_ || table < 0 || table > 1 || mode < 0 || mode >= PresetCount)
        return {};
    entry = game_->Records[static_cast<size_t>(table)][static_cast<size_t>(mode)];
    return TRecordRuns(settingsFile_)
        .Load(static_cast<size_t>(table), static_cast<TMode>(mode), entry);
}

void TForm1::PlayRecordRun(int table, int mode) {
    TRecord entry;
    TRecordRuns::TLoaded loaded = LoadRecordRun(table, mode, entry);
    if (loaded.Found != TRecordRuns::TFound::None)
        PlayRun(std::move(loaded), QStringLiteral("Rekordlauf von ") + entry.Player);
}

void TForm1::RaceRecordRun(int table, int mode) {
    TRecord entry;
    TRecordRuns::TLoaded loaded = LoadRecordRun(table, mode, entry);
    if (loaded.Found != TRecordRuns::TFound::None)
        RaceRun(std::move(loaded), entry.Player);
}

bool TForm1::Usable(TRecordRuns::TLoaded& loaded) {
    if (loaded.Found == TRecordRuns::TFound::Ready &&
        (loaded.Run.Settings.FieldWidth != FieldWidth ||
         loaded.Run.Settings.FieldHeight != FieldHeight)) {
        loaded.Found = TRecordRuns::TFound::Refused;
        loaded.Reason = QStringLiteral("Das Spielfeld hat eine andere Größe.");
    }
    if (loaded.Found == TRecordRuns::TFound::Ready)
        return true;
    RefuseRecordRun(loaded.Reason);
    return false;
}

void TForm1::RaceRun(TRecordRuns::TLoaded loaded, const QString& rival) {
    if (!Usable(loaded))
        return;
    // The ghost's way and the points to beat come from playing the run here, never
    // from what its file claims; a run that does not play to its end has neither.
    TRunPlayback replay = PlayRunHeadless(loaded.Run);
    if (!replay.ReachedEnd) {
        RefuseRecordRun(replay.Failure.isEmpty()
                            ? QStringLiteral("Der Lauf endet vor dem Ende seines Spiels.")
                            : replay.Failure);
        return;
    }
    if (form3_ && form3_->isVisible())
        form3_->accept();
    TRaceCourse course{loaded.Run.Settings, std::move(replay.Ghost), rival, replay.Points};
    QTimer::singleShot(0, this, [this, course = std::move(course)]() mutable {
        Guarded([&] { game_->StartRace(std::move(course)); });
    });
}

void TForm1::PlayRun(TRecordRuns::TLoaded loaded, const QString& title) {
    if (!Usable(loaded))
        return;
    if (form3_ && form3_->isVisible())
        form3_->accept();
    // Started once the dialog's loop has ended, and outside any frame: the records
    // dialog may have been opened by the end of a game.
    QTimer::singleShot(0, this, [this, run = std::move(loaded.Run), title]() mutable {
        Guarded([&] { game_->StartReplayTitled(std::move(run), title); });
    });
}

void TForm1::OpenRunFile(const QString& path, bool race) {
    if (!game_)
        return;
    TRunEntry header;
    TRecordRuns::TLoaded loaded = TRecordRuns::LoadFile(path, header);
    UseRun(std::move(loaded), header, race);
}

// The last game's file names no player.
QString TForm1::ShownPlayer(const TRunEntry& header) {
    return header.Player.isEmpty() ? QStringLiteral("Letztes Spiel") : header.Player;
}

void TForm1::UseRun(TRecordRuns::TLoaded loaded, const TRunEntry& header, bool race) {
    if (race)
        RaceRun(std::move(loaded), ShownPlayer(header));
    else if (header.Player.isEmpty())
        PlayRun(std::move(loaded), ShownPlayer(header));
    else
        PlayRun(std::move(loaded), QStringLiteral("Rekordlauf von ") + header.Player);
}

void TForm1::LetztesSpiel1Click() {
    WriteLastGame();
    // The game this copy played, from memory: its file may hold an older game where
    // the write failed, or another copy's since. The file serves the next start.
    TRunEntry header;
    PlayRun(lastGame_.isEmpty()
                ? TRecordRuns::LoadFile(TRecordRuns(settingsFile_).LastGamePath(), header)
                : TRecordRuns::Read(lastGame_, header),
            QStringLiteral("Letztes Spiel"));
}

void TForm1::RekordlaufOeffnen1Click() {
    PauseForWindow(); // also where no dialog shows (ChooseRunFile)
    const TFocusReturn focusReturn(*this);
    const QString path = ChooseRunFile
                             ? ChooseRunFile()
                             : QFileDialog::getOpenFileName(
                                   this, QStringLiteral("Rekordlauf öffnen"), QDir::homePath(),
                                   QStringLiteral("feNU-Rekordläufe (*.fenurun)"));
    if (path.isEmpty())
        return;
    TRunEntry header;
    TRecordRuns::TLoaded loaded = TRecordRuns::LoadFile(path, header);
    // A file that cannot be used is refused before anything is asked of it.
    TRunUse use = TRunUse::Watch;
    if (loaded.Found == TRecordRuns::TFound::Ready) {
        const QString player = ShownPlayer(header);
        use = ChooseRunUse ? ChooseRunUse(player) : AskRunUse(this, player);
    }
    if (use != TRunUse::Nothing)
        UseRun(std::move(loaded), header, use == TRunUse::Race);
}

void TForm1::WriteLastGame() {
    if (std::exchange(lastGameWritten_, true))
        return;
    const QString failure = TRecordRuns(settingsFile_).SaveLastGame(lastGame_);
    // Only for watching it again: no box interrupts the player for it.
    if (!failure.isEmpty())
        std::fprintf(stderr, "%s\n", qPrintable(failure));
}

void TForm1::PauseForWindow(bool byMenu) {
    // A replay holds no pointer and counts no time of the player's: it plays on.
    if (!game_ || game_->AttractMode || game_->GameOverStep != 0 || !DXTimer.Enabled() ||
        game_->Replaying())
        return;
    game_->Pause1Click();
    pausedByMenu_ = byMenu;
}

void TForm1::RefuseRecordRun(const QString& reason) {
    QWidget* parent = QApplication::activeModalWidget();
    QMessageBox::warning(parent ? parent : this, QStringLiteral("feNU"),
                         QStringLiteral("Der Rekordlauf kann nicht gezeigt werden.\n\n") + reason);
}

void TForm1::KeepRecordRun(const TRunRecording& run, const TRecord& entry) {
    const QString failure = TRecordRuns(settingsFile_).Save(run, entry);
    if (!failure.isEmpty()) {
        ReportFailure(QStringLiteral("Der Rekordlauf kann nicht gespeichert werden: ") + failure);
    }
}

void TForm1::ReplayFailed(const QString& reason) {
    // Shown once the frame that found it has returned.
    QTimer::singleShot(0, this, [this, reason] { RefuseRecordRun(reason); });
}

void TForm1::showEvent(QShowEvent* event) {
    if (!shownBefore_) {
        shownBefore_ = true;
        // Centred on the screen the first time it shows, frame included. The window
        // manager frames the window only once it is mapped (just after this), so the
        // frame it is going to draw was asked for before (ShowCentred); a window's
        // position is that of its frame, which Qt then knows too.
        if (QScreen* screen = this->screen()) {
            QRect frame = rect().marginsAdded(expectedFrame_);
            frame.moveCenter(screen->availableGeometry().center());
            move(frame.topLeft());
        }
        // A window manager gives a new window the keyboard; without one the keys
        // would go wherever the pointer happens to be.
        activateWindow();
    }
    QMainWindow::showEvent(event);
}

void TForm1::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    // The window has one size. A window manager keeps it; without one any client
    // may resize the window, and the field would stand in a grey margin. Restored at
    // most twice a second, so that a window manager insisting on another size is
    // not fought without end.
    const QSize fixed = minimumSize();
    if (!isVisible() || fixed != maximumSize() || event->size() == fixed)
        return;
    if (sinceSizeRestored_.isValid() && sinceSizeRestored_.elapsed() < MinSizeRestoreIntervalMs)
        return;
    sinceSizeRestored_.start();
    QTimer::singleShot(0, this, [this] { resize(minimumSize()); });
}

void TForm1::keyPressEvent(QKeyEvent* event) {
    // By the character typed, so that "+" is found on any keyboard layout.
    if (event->text() == QLatin1String("+") || event->text() == QLatin1String("-"))
        Guarded([&] { game_->ChangeReplaySpeed(event->text() == QLatin1String("+")); });
    else
        QMainWindow::keyPressEvent(event);
}

void TForm1::closeEvent(QCloseEvent* event) {
    FormDestroy();
    event->accept();
}

bool TForm1::BonusPointsChecked() const {
    return menu_->MenuItem_BonusPoints->isChecked();
}
void TForm1::SetBonusPointsChecked(bool checked) {
    menu_->MenuItem_BonusPoints->setChecked(checked);
}
bool TForm1::SoundsChecked() const {
    return menu_->MenuItem_Sounds->isChecked();
}
void TForm1::SetSoundsChecked(bool checked) {
    menu_->MenuItem_Sounds->setChecked(checked);
}

void TForm1::CheckDifficulty(TMode mode) {
    QAction* items[] = {menu_->Einfach1, menu_->Mittel1, menu_->Schwierig1};
    (mode < PresetCount ? items[mode] : menu_->Benutzerdefiniert1)->setChecked(true);
}

void TForm1::Fill(uint32_t rawValue) {
    if (TDirectDrawSurface* surface = DXDraw.Surface())
        surface->Fill(rawValue);
}

TCanvas* TForm1::Canvas() {
    TDirectDrawSurface* surface = DXDraw.Surface();
    return surface ? &surface->Canvas() : nullptr;
}

void TForm1::ReleaseCanvas() {
    if (TDirectDrawSurface* surface = DXDraw.Surface())
        surface->ReleaseCanvas();
}

void TForm1::Flip() {
    DXDraw.Flip();
}
TPoint TForm1::ClientOrigin() {
    return DXDraw.ClientOrigin();
}
int TForm1::ClientWidth() const {
    return FieldWidth;
}
int TForm1::ClientHeight() const {
    return FieldHeight;
}
void TForm1::DrawAll() {
    DXSpriteEngine.DrawAll();
}
void TForm1::MoveAll(int32_t stepCount) {
    DXSpriteEngine.MoveAll(stepCount);
}
bool TForm1::TimerEnabled() const {
    return DXTimer.Enabled();
}
void TForm1::SetTimerEnabled(bool enabled) {
    DXTimer.SetEnabled(enabled);
}
void TForm1::SetCaption(const QString& caption) {
    setWindowTitle(caption);
}
QString TForm1::FontFace() const {
    return font().family();
}
void TForm1::SetPauseChecked(bool checked) {
    menu_->Pause1->setChecked(checked);
}

bool TForm1::InputQuery(const QString& caption, const QString& prompt, QString& value) {
    const TFocusReturn focusReturn(*this);
    return fenu::InputQuery(this, caption, prompt, value);
}

void TForm1::ReloadRecords() {
    const TRecordTable file = TSettingsStore(settingsFile_).LoadRecords();
    game_->Records = MergeRecords(loadedRecords_, game_->Records, file);
    loadedRecords_ = file;
}

// Before the records dialog shows: from here on no end of the program, orderly or
// not, may lose the record.
void TForm1::RecordConfirmed() {
    Save(SettingsToSave());
}

void TForm1::ShowRecords() {
    Rekorde1Click();
}

} // namespace fenu
