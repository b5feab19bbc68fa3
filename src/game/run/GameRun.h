#pragma once

#include "game/run/RunRecording.h"
#include "platform/Cursor.h"

#include <QString>

namespace fenu {

class TGameState;
class TGameView;

/// Records the game being played, or plays a recorded one again: the cursor the
/// game controller reads, and the time and bullets of each frame. While recording
/// the cursor is the real one and each frame's first reading is kept; while
/// replaying the readings come from the recording and the real pointer is free.
class TGameRun final : public CursorService {
public:
    TGameRun(CursorService& real, TGameView& view);

    bool Replaying() const { return state_ == TState::Replaying; }
    /// The game recorded last; complete once its fade has ended.
    const TRunRecording& Recording() const { return recording_; }
    const TRunRecording& Replay() const { return replay_; }
    /// Why the replay stopped, once it has.
    const QString& Failure() const { return failure_; }
    /// Whether the last replay reached the frame its game ended on, every checksum
    /// of the recording checked and holding; it stays so after the replay stops.
    bool ReplayReachedEnd() const { return reachedEnd_; }

    void StartRecording(const TRunSettings& settings);
    void StartReplay(TRunRecording run);
    /// Neither records nor replays from now on; the last recording stays.
    void Stop() {
        state_ = TState::Idle;
        failure_.clear();
    }

    /// Holds the game's clock on the time of the frame about to run (the caller
    /// releases it after the frame). False when a replay has no frame left or has
    /// drifted (see Failure).
    bool BeginFrame(TGameState& game);
    /// After the frame: the checksums of the state, and in a replay whether the
    /// game ended where it did. False when the replay drifted (see Failure).
    bool EndFrame(const TGameState& game, bool wasGameFrame);
    /// In a replay, whether a recorded bullet is to be fired before this frame.
    bool ShotDue() const;
    /// A bullet fired from the player's ball centred at player.
    void NoteShot(TPoint player);

    TPoint Pos() override;
    void Clip(const TRect* rect) override;

private:
    enum class TState { Idle, Recording, Replaying };

    bool Fail(const QString& reason);
    /// A frame later than the frames before allow (FrameTimes.h) plays no more time than
    /// they did: the rest is taken out of the game's time, as a pause is.
    void HoldBackClock(TGameState& game) const;

    CursorService& real_;
    TGameView& view_;
    TState state_ = TState::Idle;
    TRunRecording recording_;
    TRunRecording replay_;
    size_t frame_ = 0; ///< frames begun
    size_t shot_ = 0;
    size_t checksum_ = 0;
    uint32_t second_ = 0;
    bool cursorRead_ = false;
    bool reachedEnd_ = false;
    QString failure_;
    QString drift_; ///< the reason given when the replay drifts
};

} // namespace fenu
