#include "game/run/GameRun.h"

#include "game/GameState.h"
#include "game/GameView.h"
#include "game/run/FrameTimes.h"

namespace fenu {

namespace {
// The rules play the same game on every processor of one kind: a run that plays
// otherwise here was changed since it was recorded. Only a run recorded on another
// kind may be true to its recording and still play otherwise (the extended precision
// differs); one of unknown kind (an older file) may be either.
QString DriftReason(const QString& recordedOn) {
    const QString changed = QStringLiteral("Die Datei passt nicht zu ihrer eigenen Aufnahme");
    if (recordedOn == RunMachine())
        return changed + QStringLiteral(": Das Spiel verläuft anders, als sie es festhält.");
    if (recordedOn.isEmpty())
        return changed + QStringLiteral(", oder sie wurde auf einem anderen Computertyp "
                                        "aufgenommen, dessen Prozessor anders rechnet.");
    return QStringLiteral("Das Spiel verläuft auf diesem Rechner anders als bei der Aufnahme. Der "
                          "Rekordlauf wurde auf einem anderen Computertyp (") +
           recordedOn + QStringLiteral(") aufgenommen; dort rechnet der Prozessor anders.");
}
} // namespace

TGameRun::TGameRun(CursorService& real, TGameView& view) : real_(real), view_(view) {
    recording_.Reserve();
    recording_.Machine = RunMachine();
}

void TGameRun::StartRecording(const TRunSettings& settings) {
    recording_.Clear(settings);
    state_ = TState::Recording;
    frame_ = 0;
    second_ = 0;
    failure_.clear();
}

void TGameRun::StartReplay(TRunRecording run) {
    replay_ = std::move(run);
    // Made here, as no frame may allocate.
    drift_ = DriftReason(replay_.Machine);
    state_ = TState::Replaying;
    frame_ = 0;
    shot_ = 0;
    checksum_ = 0;
    second_ = 0;
    reachedEnd_ = false;
    failure_.clear();
}

bool TGameRun::Fail(const QString& reason) {
    state_ = TState::Idle;
    failure_ = reason;
    return false;
}

bool TGameRun::BeginFrame(TGameState& game) {
    if (!failure_.isEmpty())
        return false;
    cursorRead_ = false;
    if (state_ == TState::Replaying) {
        // Only a game left before its fade ended has no frame left (any other
        // difference fails a check first): the replay ends where the game was left.
        if (frame_ >= replay_.Frames.size())
            return Fail(QString());
        game.HoldTicks(game.StartTicks + replay_.Frames[frame_].Elapsed);
    } else {
        if (state_ == TState::Recording && game.GameOverStep == 0)
            HoldBackClock(game);
        game.HoldTicks(game.Now());
        if (state_ == TState::Recording) {
            const TPoint last =
                recording_.Frames.empty() ? TPoint{} : recording_.Frames.back().Cursor;
            recording_.Frames.push_back({game.Now() - game.StartTicks, last});
        }
    }
    ++frame_;
    return true;
}

void TGameRun::HoldBackClock(TGameState& game) const {
    const uint32_t latest = LatestFrameTime(frame_ + 1);
    if (game.Now() - game.StartTicks > latest)
        game.StartTicks = game.Now() - latest;
}

bool TGameRun::EndFrame(const TGameState& game, bool wasGameFrame) {
    const uint32_t elapsed = game.Now() - game.StartTicks;
    cursorRead_ = true;
    if (!wasGameFrame || state_ == TState::Idle)
        return true;
    const bool ended = game.GameOverStep != 0;
    const bool check = ended || elapsed / 1000 != second_;
    second_ = elapsed / 1000;
    if (state_ == TState::Recording) {
        if (check)
            recording_.Checksums.push_back(StateChecksum(game));
        if (ended)
            recording_.GameFrames = static_cast<uint32_t>(frame_);
        return true;
    }
    if (check && (checksum_ >= replay_.Checksums.size() ||
                  replay_.Checksums[checksum_++] != StateChecksum(game)))
        return Fail(drift_);
    if (ended != (frame_ == replay_.GameFrames))
        return Fail(drift_);
    reachedEnd_ = ended && checksum_ == replay_.Checksums.size();
    return true;
}

bool TGameRun::ShotDue() const {
    return state_ == TState::Replaying && shot_ < replay_.Shots.size() &&
           replay_.Shots[shot_].Frame == frame_;
}

void TGameRun::NoteShot(TPoint player) {
    if (state_ == TState::Recording) {
        recording_.Shots.push_back({static_cast<uint32_t>(recording_.Frames.size()), player});
    } else if (state_ == TState::Replaying) {
        if (shot_ >= replay_.Shots.size() || replay_.Shots[shot_].Player != player)
            Fail(drift_);
        ++shot_;
    }
}

TPoint TGameRun::Pos() {
    const TPoint origin = view_.ClientOrigin();
    if (state_ == TState::Replaying) {
        const TPoint cursor = frame_ > 0 ? replay_.Frames[frame_ - 1].Cursor : TPoint{};
        return {origin.X + cursor.X, origin.Y + cursor.Y};
    }
    const TPoint here = real_.Pos();
    if (state_ == TState::Recording && !cursorRead_ && !recording_.Frames.empty()) {
        recording_.Frames.back().Cursor = {here.X - origin.X, here.Y - origin.Y};
        cursorRead_ = true;
    }
    return here;
}

void TGameRun::Clip(const TRect* rect) {
    real_.Clip(state_ == TState::Replaying ? nullptr : rect);
}

} // namespace fenu
