#include "game/run/RunPlayback.h"

#include "game/Circle.h"
#include "game/Game.h"
#include "game/GameView.h"
#include "game/Random.h"
#include "platform/Cursor.h"
#include "sprites/Sprite.h"

namespace fenu {

namespace {

// A replay reads its cursor from the run and frees the real one: nothing to point.
class TNoCursor final : public CursorService {
public:
    TPoint Pos() override { return {}; }
    void Clip(const TRect*) override {}
};

// A field without a window: the sprites move and collide, nothing is drawn or shown.
class THeadlessView final : public TGameView {
public:
    THeadlessView(TSpriteEngine& engine, const TRunSettings& settings)
        : engine_(engine), width_(settings.FieldWidth), height_(settings.FieldHeight) {}

    void Fill(uint32_t) override {}
    TCanvas* Canvas() override { return nullptr; }
    void ReleaseCanvas() override {}
    void Flip() override {}
    TPoint ClientOrigin() override { return {}; }
    int ClientWidth() const override { return width_; }
    int ClientHeight() const override { return height_; }
    void DrawAll() override {}
    void MoveAll(int32_t stepCount) override { engine_.Move(stepCount); }
    bool TimerEnabled() const override { return timerEnabled_; }
    void SetTimerEnabled(bool enabled) override { timerEnabled_ = enabled; }
    void SetCaption(const QString&) override {}
    QString FontFace() const override { return {}; }
    void SetPauseChecked(bool) override {}
    bool InputQuery(const QString&, const QString&, QString&) override { return false; }
    void RecordConfirmed() override {}
    void ShowRecords() override {}
    void ReplayFailed(const QString& reason) override { failure = reason; }

    QString failure;

private:
    TSpriteEngine& engine_;
    int width_;
    int height_;
    bool timerEnabled_ = false;
};

TPoint Centre(const TCircle& ball) {
    return {ball.MidX(), ball.MidY()};
}

} // namespace

TRunPlayback PlayRunHeadless(const TRunRecording& run) {
    TRunPlayback result;
    const uint32_t seed = GameRandom().Seed();
    {
        TSpriteEngine engine;
        engine.SurfaceBounds = {0, 0, run.Settings.FieldWidth, run.Settings.FieldHeight};
        THeadlessView view(engine, run.Settings);
        TNoCursor cursor;
        TGame game(view, cursor);
        game.Engine = &engine;
        game.ClientWidth = run.Settings.FieldWidth;
        game.ClientHeight = run.Settings.FieldHeight;
        game.StartReplayTitled(run, QString());
        result.Ghost.Radius = run.Settings.Config.PlayerRadius;
        result.Ghost.Centres.reserve(run.GameFrames + 1);
        while (game.Replaying() && game.GameOverStep == 0) {
            result.Ghost.Centres.push_back(Centre(*game.PlayerBall()));
            game.DXTimerTimer(1);
            if (game.AttractMode)
                break; // stopped: drifted, or left before its end
            ++result.GameFrames;
            const uint32_t elapsed = run.Frames[result.GameFrames - 1].Elapsed;
            result.Points = elapsed / 1000 + game.BonusPoints;
        }
        if (!game.AttractMode && game.GameOverStep != 0) {
            result.Ghost.Centres.push_back(Centre(*game.PlayerBall()));
            result.Ghost.Ended = true;
            result.Points = game.TimePoints + game.BonusPoints;
        }
        while (game.Replaying())
            game.DXTimerTimer(1); // the fade, whose frames the run holds too
        result.ReachedEnd = game.ReplayReachedEnd() && result.Ghost.Ended;
        result.Failure = view.failure;
    }
    GameRandom().SetSeed(seed);
    return result;
}

} // namespace fenu
