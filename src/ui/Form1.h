#pragma once

#include "display/DXDraw.h"
#include "display/DXTimer.h"
#include "game/Game.h"
#include "game/GameView.h"
#include "game/OptionMarks.h"
#include "platform/app/QtApplication.h"
#include "platform/window/QtPresentationDevice.h"
#include "sprites/DXSpriteEngine.h"
#include "stats/StatisticsKeeper.h"
#include "ui/RecordRuns.h"
#include "ui/RunFileDialogs.h"

#include <functional>
#include <memory>

#include <QElapsedTimer>
#include <QMainWindow>

namespace fenu {

class Application;
class Clock;
class CursorService;
class QtDrawAreaWidget;
class SoundPlayer;
class TForm2;
class TForm3;
class TInfo;
class TMainMenu;

/// The services the main window runs on; the program passes the real ones, the
/// widget tests doubles.
struct TForm1Services {
    Application& App;
    Clock& Ticks;      ///< the system tick counter of the game
    Clock& TimerClock; ///< the frame timer's millisecond clock
    CursorService& Cursor;
    SoundPlayer* Sounds = nullptr;
    QString SettingsFile; ///< empty: the program's own Settings.ini
};

/// The main window: the 625 x 500 field, the menu bar, the frame timer and the
/// game controller. Its construction runs the game's start-up; closing it runs the
/// shutdown, which ends with saving the settings.
class TForm1 : public QMainWindow, public TOptionMarks, private TGameView {
    Q_OBJECT
public:
    static constexpr int FieldWidth = 625;
    static constexpr int FieldHeight = 500;
    static constexpr qint64 MinSizeRestoreIntervalMs = 500;
    /// Dialogs closed one after another before the window closes regardless.
    static constexpr int MaxDialogsClosedOnRequest = 8;
    static constexpr int AfterFrameFallbackMs = 100;

    explicit TForm1(TForm1Services services, QWidget* parent = nullptr);
    ~TForm1() override;

    /// Each dialog is made on its first use, once, and keeps its state from then on:
    /// building all three at start-up would delay the first frame for windows nobody
    /// may open.
    TForm2& Form2();
    TForm3& Form3();
    TInfo& Info();

    TGame& Game() { return *game_; }
    TMainMenu& Menu() { return *menu_; }
    TDXDraw& DrawArea() { return DXDraw; }
    TDXTimer& Timer() { return DXTimer; }
    QtDrawAreaWidget& DrawAreaWidget() { return *drawAreaWidget_; }
    const QString& SettingsFile() const { return settingsFile_; }
    TStatisticsKeeper& Statistics() { return statistics_; }

    // Menu handlers.
    void Spiel1Click();
    void Optionen1Click();
    void MenuItem_DefConfigClick(TMode tag);
    void Benutzerdefiniert1Click();
    void Rekorde1Click();
    void Statistik1Click();
    void Info1Click();
    /// Plays the run of records[table][mode] when there is one: the records dialog
    /// closes first. A run that cannot be shown is refused with a message box.
    void PlayRecordRun(int table, int mode);
    /// A race against the run of records[table][mode], as PlayRecordRun finds it.
    void RaceRecordRun(int table, int mode);
    /// Plays the run of any file (a command-line argument, "Rekordlauf öffnen..."),
    /// captioned with the player it names; the records and statistics stay as they are.
    /// With race, a race against it instead.
    void OpenRunFile(const QString& path, bool race = false);
    void LetztesSpiel1Click();
    void RekordlaufOeffnen1Click();
    /// The file "Rekordlauf öffnen..." opens; unset, the file dialog asks.
    std::function<QString()> ChooseRunFile;
    /// Whether a file opened is watched or raced; unset, a question asks.
    std::function<TRunUse(const QString& player)> ChooseRunUse;
    /// The end of a race: unset, the box tells who won and offers to save the race's
    /// run (true), for which SaveRaceRun asks a name and a file.
    std::function<bool(const QString& result)> ShowRaceResultBox;
    /// Where the race's run is saved, given the name it suggests; unset, a dialog asks.
    std::function<QString(const QString& suggestedPath)> ChooseRaceRunFile;
    void Beenden1Click() { close(); }

    /// Shows the window for the first time, centred on the screen frame included,
    /// given the frame the window manager is going to draw (zero without one).
    void ShowCentred(QMargins expectedFrame);

    /// The orderly end: bullets and balls go, then the settings are saved (a failed
    /// save is shown in the error box). Runs once, whatever closes the program.
    void FormDestroy();

    // The ends and saves below are asked for by the system, not the player, who may
    // not be there: a failed save goes to the standard error instead of a box that
    // would hold up the logout or the end until someone clicks it.

    /// Ends the program the orderly way when the system asks it to (SIGTERM, SIGINT,
    /// SIGHUP), also from inside a dialog: an open name prompt is confirmed with the
    /// name as it stands, so that a record is not lost to the end of a session, any
    /// other dialog is closed, then the window.
    void CloseOnRequest();

    /// FormDestroy where the application quits without a close (the session ends).
    void DestroyOnQuit();

    /// Saves the settings and records when the desktop session asks for its data (a
    /// logout that may yet be cancelled, a checkpoint): an open name prompt is
    /// confirmed as for CloseOnRequest, other dialogs stay open, and the game goes on.
    void SaveOnRequest();

    /// The last save when the program ends past the window's own close: Qt calls
    /// exit() when the X server goes away. A name typed into an open prompt is kept,
    /// as on SIGTERM.
    void SaveAtExit();

    // The menu's check marks are the options.
    bool BonusPointsChecked() const override;
    void SetBonusPointsChecked(bool checked) override;
    bool SoundsChecked() const override;
    void SetSoundsChecked(bool checked) override;
    void CheckDifficulty(TMode mode) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void FormCreate();
    /// Settles the open dialogs, one per turn of the event loop, then runs then: a
    /// name prompt is confirmed with the name as it stands, and with closeAll any
    /// other dialog is closed.
    void SettleDialogs(bool closeAll, int dialogsLeft, const std::function<void()>& then);
    /// What the settings file keeps, taken from the game.
    TGameState SettingsToSave();
    /// Writes the settings and records, merged with another copy's (see WriteSettings);
    /// what was written becomes the baseline and the game's records.
    void Save(const TGameState& settings);
    /// The error box, or the standard error once the system ends the program.
    void ReportFailure(const QString& message);
    void ConnectMenu();
    /// Runs a handler; an exception escaping it is shown in the error box.
    template <class Handler> void Guarded(Handler&& handler);

    // What the game controller needs of the window.
    void Fill(uint32_t rawValue) override;
    TCanvas* Canvas() override;
    void ReleaseCanvas() override;
    void Flip() override;
    TPoint ClientOrigin() override;
    int ClientWidth() const override;
    int ClientHeight() const override;
    void DrawAll() override;
    void MoveAll(int32_t stepCount) override;
    bool TimerEnabled() const override;
    void SetTimerEnabled(bool enabled) override;
    void SetCaption(const QString& caption) override;
    QString FontFace() const override;
    void SetPauseChecked(bool checked) override;
    bool InputQuery(const QString& caption, const QString& prompt, QString& value) override;
    void ReloadRecords() override;
    void RecordConfirmed() override;
    void ShowRecords() override;
    void KeepRecordRun(const TRunRecording& run, const TRecord& entry) override;
    void ReplayFailed(const QString& reason) override;
    void GameStarted() override;
    void GameFinished(const TPlayedGame& game, const TRunRecording& run) override;
    void RaceEnded(uint32_t points, uint32_t rivalPoints, const QString& rival) override;
    /// The run of records[table][mode], where one is kept for it.
    TRecordRuns::TLoaded LoadRecordRun(int table, int mode, TRecord& entry) const;
    /// Refuses a run that cannot be shown, or plays it captioned with title.
    void PlayRun(TRecordRuns::TLoaded loaded, const QString& title);
    /// Refuses a run that cannot be raced (one that does not play to its end here),
    /// or starts a race against it, rival named.
    void RaceRun(TRecordRuns::TLoaded loaded, const QString& rival);
    /// A loaded run that is not Ready, or not of this field, refused with the reason;
    /// false then.
    bool Usable(TRecordRuns::TLoaded& loaded);
    /// A file's run watched or raced, named by its player.
    void UseRun(TRecordRuns::TLoaded loaded, const TRunEntry& header, bool race);
    static QString ShownPlayer(const TRunEntry& header);
    /// The race's run saved as a file naming the player asked for, with points.
    void SaveRaceRun(uint32_t points);
    /// Writes the last game's run file, unless it is written.
    void WriteLastGame();
    void RefuseRecordRun(const QString& reason);
    void AfterFrame();
    /// AfterFrame after the next frame, or after AfterFrameFallbackMs without one.
    void AfterFrameOrSoon();
    /// Pauses the player's running game as "Pause" does, for a dialog, box or menu
    /// (byMenu) that shows: it does not run on and end behind it, and the pointer is
    /// free to reach it. The player resumes with "Pause" as after any pause.
    void PauseForWindow(bool byMenu = false);

    TForm1Services services_;
    QString settingsFile_;
    TStatisticsKeeper statistics_{settingsFile_};
    /// The records as this run last read or saved them: what another copy changed in
    /// the file since is told from what this one changed (MergeRecords).
    TRecordTable loadedRecords_;
    QtDrawAreaWidget* drawAreaWidget_;
    QtPresentationSystem presentation_;
    // Declaration order is destruction order reversed: the game's sprites go before
    // the engine component, which unbinds from the drawing area before it goes.
    TDXDraw DXDraw;
    TDXSpriteEngine DXSpriteEngine;
    TDXTimer DXTimer;
    TMainMenu* menu_ = nullptr;
    std::unique_ptr<TGame> game_;
    std::unique_ptr<TForm2> form2_;
    std::unique_ptr<TForm3> form3_;
    std::unique_ptr<TInfo> info_;
    /// The run file of the last game this copy played; empty before the first.
    QByteArray lastGame_;
    QString racerName_; ///< the name the last race's run was saved under
    bool lastGameWritten_ = true;
    /// The game was paused by the opening of a menu still open, or just closed: its
    /// "Pause" then keeps the game paused rather than resuming it.
    bool pausedByMenu_ = false;
    bool openStatisticsAfterFrame_ = false;
    bool destroyed_ = false;
    bool endedBySystem_ = false;
    bool shownBefore_ = false;
    QMargins expectedFrame_;
    QElapsedTimer sinceSizeRestored_;
};

} // namespace fenu
