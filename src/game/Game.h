#pragma once

#include "game/GameState.h"
#include "game/GameTally.h"
#include "game/GameView.h"
#include "game/Ghost.h"
#include "game/run/GameRun.h"

#include <QString>

namespace fenu {

class CursorService;

/// The game's controller: title screen, running game, end-of-game fade and the
/// entry of a new record, driven one frame at a time by the frame timer, plus the
/// commands of the menu and the mouse. Lives in the main window, which owns it.
class TGame : public TGameState {
public:
    static constexpr int MinDemoBalls = 1;
    static constexpr int MaxDemoBalls = 6;
    static constexpr uint32_t DemoBallRadius = 30;
    static constexpr int32_t DemoSpeedBound = 6;
    static constexpr uint32_t GracePeriod = 2000;
    static constexpr uint32_t BlinkPeriod = 200;
    static constexpr int32_t FadeLength = 64;
    static constexpr uint32_t FadeColorStep = 263172; // 0x040404: one grey level per step
    static constexpr int TitleFontSize = 60;
    static constexpr size_t MaxNameLength = 255;
    static constexpr int MaxReplaySpeed = 8;

    TGame(TGameView& view, CursorService& cursor);
    /// Destroys bullets and balls; the settings are saved by the main window after.
    ~TGame() override;

    void StartAttractMode();
    void CreateBalls();
    void FreeBullets(bool clearList);
    void AbortGame();

    // Handlers of the main window.
    void Neu1Click();
    /// Plays a recorded game again from its first frame, the player's mouse left
    /// out of it; a new game or "Abbrechen" ends it.
    void StartReplay(TRunRecording run, const QString& player);
    /// The same, captioned "feNU - <title> [N Punkte]" (the last game, a file opened).
    void StartReplayTitled(TRunRecording run, const QString& title);
    /// During a replay: doubles ("+") or halves ("-") how many of the game's steps run
    /// in one frame, 1 to MaxReplaySpeed; the caption tells it while faster.
    void ChangeReplaySpeed(bool faster);
    int ReplaySpeed() const { return replaySpeed_; }
    bool Replaying() const { return course_ == TCourse::Replay; }
    /// Whether the last replay ran to its game's end with every checksum holding.
    bool ReplayReachedEnd() const { return run_.ReplayReachedEnd(); }
    /// A new game of the player's on a run's course, against its ghost: the run's
    /// difficulty, bonus option and generator, no record, kept in the statistics as
    /// a race; at its end the view is told who won.
    void StartRace(TRaceCourse course);
    bool Racing() const { return course_ == TCourse::Race; }
    /// The run of the last game played (complete once its fade has ended).
    const TRunRecording& LastRun() const { return run_.Recording(); }
    /// Pauses or resumes a running game; does nothing once it has ended.
    void Pause1Click();
    /// Aborts to the title screen; does nothing on the title screen itself.
    void Abbrechen1Click() {
        if (!AttractMode)
            AbortGame();
    }
    /// While the new-record prompt is open: keeps the record under name as its "OK"
    /// would, for an end of the program that never returns to the prompt.
    void ConfirmOpenRecord(const QString& name);
    /// Hands the player's last game (a game still running: aborted) to the view for
    /// the statistics and the last game's run, once.
    void HandOverPlayedGame();
    void DXTimerTimer(int32_t lagCount);
    void DXTimerActivate();
    void DXTimerDeactivate();
    void DXDrawMouseDown(TMouseButton button, int x, int y);

    // Steering of the player's ball and the cursor confinement.
    bool SteerPlayerBall();
    void UpdateCursorClip();

    TCanvas* Canvas() override;

private:
    void StartGame();
    /// Ends a replay, if one runs, and gives the generator back its state from
    /// before it, so that watching a run never decides the next game.
    bool EndReplay();
    void ReplayFailed();
    bool EndRace();
    /// Whether shots are fired and score: the race's run's option, else the menu's.
    bool BonusOn() const;
    /// Tells once, as the race's points pass the run's.
    void NotePassing(uint32_t points);
    void DrawGhost();
    TRunSettings RunSettings() const;
    void TitleFrame();
    void GameFrame();
    void FadeFrame();
    /// One step of a running game or its fade; false when a replay stopped.
    bool GameStep();
    /// Shows the frame drawn, or leaves that to the end of a faster replay's frame.
    void FlipStep();
    void EndOfGame();
    void ConfirmRecord(size_t table, uint32_t total, QString name);
    void DetectEnd(uint32_t elapsed);
    void DrawTitleText(TColor color);
    void ClearTouching();
    void BallCollisionPasses();
    void UpdateCaption(uint32_t elapsed);
    void HoldCursor();
    void FireBullet();
    void AddDemoBall(int x, int y);
    void RemoveDemoBall();
    void DestroyBalls(size_t from);
    QString RecordPrompt(const TRecord& entry, uint32_t total) const;

    TGameView& view_;
    TGameRun run_;
    TGameTally tally_;
    CursorService& cursor_; ///< the run's: the real cursor, or a replay's readings
    /// What the game is played on: the player's own course, a replay or a race.
    enum class TCourse { Own, Replay, Race } course_ = TCourse::Own;
    uint32_t seedBeforeCourse_ = 0;
    TRaceCourse race_;
    size_t raceFrame_ = 0;  ///< the race's game frames drawn
    bool passed_ = false;   ///< the race's points have passed the run's
    QString raceCaption_;   ///< what follows the points, e.g. " gegen Rita (42)"
    QString replayCaption_; ///< up to the points
    int replaySpeed_ = 1;
    bool holdFlip_ = false; ///< inside a faster replay's steps, before its last
    bool flipHeld_ = false;
    QString title_ = QStringLiteral("feNU");
    // Where the field stood when its confinement was set: a window moved during a
    // game moves the field, and the confinement must follow it.
    TPoint clipOrigin_{};

    // The record the open new-record prompt is asking a name for.
    struct OpenRecord {
        size_t table = 0;
        uint32_t total = 0;
        bool open = false;
    } openRecord_;

    // The caption is rebuilt only when what it shows changes, so a frame allocates
    // nothing in the common case.
    struct CaptionShown {
        bool score = false;
        uint32_t points = 0;
        uint32_t seconds = 0;
        bool bonus = false;
        bool passed = false;
        bool valid = false;
    } caption_;
};

} // namespace fenu
