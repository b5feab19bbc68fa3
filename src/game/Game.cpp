#include "game/Game.h"

#include "game/Bullet.h"
#include "game/Circle.h"
#include "game/OptionMarks.h"
#include "game/Random.h"
#include "platform/Canvas.h"
#include "platform/Cursor.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace fenu {

namespace {
const QString CrLf = QStringLiteral("\r\n");
constexpr TColor White = 0xFFFFFF;
constexpr TColor Black = 0x000000;
} // namespace

TGame::TGame(TGameView& view, CursorService& cursor)
    : view_(view), run_(cursor, view), cursor_(run_) {}

TGame::~TGame() {
    HandOverPlayedGame(); // a game still running as the program ends: aborted
    FreeBullets(true);
    DestroyBalls(0);
}

TCanvas* TGame::Canvas() {
    return view_.Canvas();
}

void TGame::DestroyBalls(size_t from) {
    for (size_t i = from; i < Balls.size(); ++i)
        delete Balls[i];
    if (from < Balls.size())
        Balls.resize(from);
}

void TGame::StartAttractMode() {
    AttractMode = true;
    FreeBullets(true);
    const size_t count =
        static_cast<size_t>(MinDemoBalls + Random(MaxDemoBalls - MinDemoBalls + 1));
    DestroyBalls(count);
    while (Balls.size() < count)
        Balls.push_back(new TCircle(*this));
    for (TCircle* ball : Balls) {
        ball->SetRadius(DemoBallRadius);
        ball->RandomColor();
        ball->RandomPosition();
        ball->RandomVelocity(DemoSpeedBound);
    }
    view_.SetTimerEnabled(true);
}

void TGame::CreateBalls() {
    DestroyBalls(0);
    const TConfiguration& config = GameConfig();
    Balls.reserve(config.BallRadii.size() + 1);
    for (int32_t radius : config.BallRadii) {
        Balls.push_back(new TCircle(*this));
        Balls.back()->SetRadius(static_cast<uint32_t>(radius));
    }
    Balls.push_back(new TCircle(*this));
    Balls.back()->SetRadius(static_cast<uint32_t>(config.PlayerRadius));
}

void TGame::FreeBullets(bool clearList) {
    for (TBullet* bullet : Bullets)
        delete bullet;
    if (clearList)
        Bullets.clear();
}

void TGame::Neu1Click() {
    HandOverPlayedGame(); // with its run, before the new one is recorded
    EndReplay();
    EndRace();
    run_.StartRecording(RunSettings());
    StartGame();
    tally_.Begin(Mode, CurrentConfig, BonusOn());
    view_.GameStarted();
}

void TGame::StartRace(TRaceCourse course) {
    HandOverPlayedGame();
    EndReplay();
    if (!Racing())
        seedBeforeCourse_ = GameRandom().Seed();
    race_ = std::move(course);
    course_ = TCourse::Race;
    CourseConfig = &race_.Settings.Config;
    // The run's generator makes the run's balls, where the run's balls were.
    GameRandom().SetSeed(race_.Settings.Seed);
    // The name is the file's text, never a format: "%1" in it stays as it is.
    raceCaption_ = QStringLiteral(" gegen ") + race_.Rival + QStringLiteral(" (") +
                   QString::number(race_.RivalPoints) + QLatin1Char(')');
    raceFrame_ = 0;
    passed_ = false;
    caption_.valid = false;
    run_.StartRecording(race_.Settings);
    StartGame();
    tally_.Begin(race_.Settings.Mode, race_.Settings.Config, race_.Settings.Bonus, true);
    view_.GameStarted();
}

bool TGame::EndRace() {
    if (!Racing())
        return false;
    course_ = TCourse::Own;
    CourseConfig = nullptr;
    // The next game is the player's own, not one the run's generator decides.
    GameRandom().SetSeed(seedBeforeCourse_);
    caption_.valid = false;
    return true;
}

bool TGame::BonusOn() const {
    return Racing() ? race_.Settings.Bonus : Options && Options->BonusPointsChecked();
}

TRunSettings TGame::RunSettings() const {
    return {std::min(Mode, CustomMode), BonusOn(), CurrentConfig, ClientWidth, ClientHeight,
            GameRandom().Seed()};
}

void TGame::StartReplay(TRunRecording run, const QString& player) {
    StartReplayTitled(std::move(run), QStringLiteral("Rekordlauf von ") + player);
}

void TGame::StartReplayTitled(TRunRecording run, const QString& title) {
    HandOverPlayedGame();
    if (EndRace() || !Replaying())
        seedBeforeCourse_ = GameRandom().Seed();
    run_.StartReplay(std::move(run));
    course_ = TCourse::Replay;
    CourseConfig = &run_.Replay().Settings.Config;
    GameRandom().SetSeed(run_.Replay().Settings.Seed);
    replayCaption_ = title_ + QStringLiteral(" - ") + title + QStringLiteral(" [");
    replaySpeed_ = 1;
    caption_.valid = false;
    StartGame();
}

bool TGame::EndReplay() {
    if (!Replaying())
        return false;
    run_.Stop();
    course_ = TCourse::Own;
    CourseConfig = nullptr;
    GameRandom().SetSeed(seedBeforeCourse_);
    caption_.valid = false;
    return true;
}

void TGame::ChangeReplaySpeed(bool faster) {
    if (!Replaying())
        return;
    replaySpeed_ =
        faster ? std::min(replaySpeed_ * 2, MaxReplaySpeed) : std::max(replaySpeed_ / 2, 1);
    caption_.valid = false;
    UpdateCaption(Now() - StartTicks);
}

void TGame::ReplayFailed() {
    // A run that ends before its game did was left there (Esc, a new game, the end of
    // the program): it ends as the game did, on the title screen.
    const QString reason = run_.Failure();
    AbortGame();
    if (!reason.isEmpty())
        view_.ReplayFailed(reason);
}

void TGame::StartGame() {
    HandOverPlayedGame();
    AttractMode = false;
    StartTicks = Now();
    BonusPoints = 0;
    GameOverStep = 0;
    CreateBalls();
    FreeBullets(true);
    view_.SetTimerEnabled(true);
    UpdateCursorClip();
    view_.SetPauseChecked(false);
}

void TGame::Pause1Click() {
    // The menu decides what it offers when it opens, and a menu left open while the
    // game ended still offers "Pause": stopping the fade there would leave it stuck,
    // with "Pause" disabled from then on.
    if (GameOverStep != 0)
        return;
    if (view_.TimerEnabled())
        PauseTicks = Now();
    else
        StartTicks += Now() - PauseTicks;
    view_.SetTimerEnabled(!view_.TimerEnabled());
    UpdateCursorClip();
}

void TGame::DXTimerDeactivate() {
    if (view_.TimerEnabled() && GameOverStep == 0)
        PauseTicks = Now();
}

void TGame::DXTimerActivate() {
    if (view_.TimerEnabled() && GameOverStep == 0) {
        StartTicks += Now() - PauseTicks;
        UpdateCursorClip();
    }
}

void TGame::AbortGame() {
    HandOverPlayedGame();
    EndReplay();
    EndRace();
    GameOverStep = 1;
    view_.SetTimerEnabled(false);
    UpdateCursorClip();
    view_.Fill(0);
    view_.Flip();
    view_.SetCaption(title_);
    caption_.valid = false;
    StartAttractMode();
}

void TGame::DXTimerTimer(int32_t /*lagCount: every frame moves exactly one step*/) {
    if (AttractMode) {
        TitleFrame();
        return;
    }
    // A faster replay runs several of the game's steps in one frame of the clock and
    // shows only the last of them: every Flip waits for the next frame boundary, so
    // showing each would keep the replay at the game's own speed.
    const int steps = Replaying() ? replaySpeed_ : 1;
    holdFlip_ = steps > 1;
    flipHeld_ = false;
    for (int step = 0; step < steps; ++step) {
        if (!GameStep()) {
            flipHeld_ = false; // the stopped replay has shown its own frame
            break;
        }
        if (!Replaying() || AttractMode || !view_.TimerEnabled())
            break;
    }
    holdFlip_ = false;
    if (std::exchange(flipHeld_, false))
        view_.Flip();
}

void TGame::FlipStep() {
    if (holdFlip_)
        flipHeld_ = true;
    else
        view_.Flip();
}

bool TGame::GameStep() {
    while (run_.ShotDue())
        FireBullet();
    const bool playing = GameOverStep == 0;
    // Released also when the frame throws: a clock held on would stop the game's time.
    const struct TTicksRelease {
        TGameState& game;
        ~TTicksRelease() { game.ReleaseTicks(); }
    } release{*this};
    if (run_.BeginFrame(*this)) {
        if (playing)
            GameFrame();
        else
            FadeFrame();
        if (run_.EndFrame(*this, playing))
            return true;
    }
    ReplayFailed();
    return false;
}

void TGame::DrawTitleText(TColor color) {
    TCanvas* canvas = view_.Canvas();
    if (!canvas)
        return;
    canvas->SetFontSize(TitleFontSize);
    canvas->SetFontColor(color);
    canvas->SetFontName(view_.FontFace());
    canvas->SetFontBold(true);
    canvas->SetBrushStyle(TBrushStyle::bsClear);
    const QString& title = TCircle::TitleText();
    const int width = canvas->TextWidth(title);
    const int height = canvas->TextHeight(title);
    canvas->TextOut((view_.ClientWidth() - width) / 2, (view_.ClientHeight() - height) / 2, title);
}

void TGame::ClearTouching() {
    for (TCircle* ball : Balls)
        ball->Touching = 0;
}

void TGame::BallCollisionPasses() {
    // A later ball's pass may set an earlier ball's Touching again; TouchingBefore
    // keeps Touching as it stood right after the ball's own pass.
    for (size_t i = 0; i < Balls.size(); ++i) {
        Balls[i]->CheckCollisions();
        Balls[i]->TouchingBefore = Balls[i]->Touching;
    }
}

void TGame::TitleFrame() {
    view_.Fill(0);
    DrawTitleText(White);
    view_.DrawAll();
    ClearTouching();
    view_.MoveAll(1);
    BallCollisionPasses();
    view_.ReleaseCanvas();
    view_.Flip();
}

void TGame::GameFrame() {
    if (view_.ClientOrigin() != clipOrigin_)
        UpdateCursorClip();
    view_.Fill(0);
    view_.DrawAll();
    DrawGhost();
    ClearTouching();
    if (!SteerPlayerBall())
        GameOverStep = 1;
    view_.MoveAll(1);
    BallCollisionPasses();
    BulletPass(*this);
    const uint32_t elapsed = Now() - StartTicks;
    if (PlayerBall()->Touching != 0)
        GameOverStep = 1;
    view_.ReleaseCanvas();
    FlipStep();
    NotePassing(elapsed / 1000 + BonusPoints);
    UpdateCaption(elapsed);
    DetectEnd(elapsed);
    if (Racing())
        ++raceFrame_; // the fade shows the ghost one step on, as the balls are
}

void TGame::DrawGhost() {
    if (!Racing())
        return;
    if (TCanvas* canvas = view_.Canvas())
        TGhost::Draw(*canvas, race_.Ghost, raceFrame_);
}

void TGame::NotePassing(uint32_t points) {
    if (!Racing() || passed_ || points <= race_.RivalPoints)
        return;
    passed_ = true;
    PlayWave("SUCCESS");
}

void TGame::DetectEnd(uint32_t elapsed) {
    tally_.Played(elapsed, BonusPoints);
    if (GameOverStep != 1)
        return;
    if (elapsed <= GracePeriod) {
        GameOverStep = 0;
        return;
    }
    TimePoints = elapsed / 1000;
    tally_.NoteEnd(PlayerBall()->Touching != 0 ? TGameEnd::Touched : TGameEnd::Caught, TimePoints);
    HoldCursor();
    PlayWave("GAMEOVER");
}

void TGame::UpdateCaption(uint32_t elapsed) {
    if (Replaying()) {
        const uint32_t points = elapsed / 1000 + BonusPoints;
        const auto speed = static_cast<uint32_t>(replaySpeed_);
        if (caption_.valid && caption_.points == points && caption_.seconds == speed)
            return;
        caption_ = {true, points, speed, false, false, true};
        QString caption = replayCaption_ + QString::number(points) + QStringLiteral(" Punkte]");
        if (speed > 1)
            caption += QStringLiteral(" (%1×)").arg(speed);
        view_.SetCaption(caption);
        return;
    }
    const bool bonus = BonusOn();
    const bool showScore = elapsed > GracePeriod || elapsed % BlinkPeriod < BlinkPeriod / 2;
    CaptionShown shown{showScore, elapsed / 1000 + BonusPoints, elapsed / 1000, bonus, passed_,
                       true};
    if (caption_.valid && caption_.score == shown.score && caption_.passed == shown.passed &&
        (!shown.score || (caption_.points == shown.points && caption_.bonus == shown.bonus &&
                          (!shown.bonus || caption_.seconds == shown.seconds))))
        return;
    caption_ = shown;
    if (!showScore) {
        view_.SetCaption(title_);
        return;
    }
    QString caption =
        title_ + QStringLiteral(" - [") + QString::number(shown.points) + QStringLiteral(" Punkte");
    if (bonus)
        caption += QStringLiteral(", ") + QString::number(shown.seconds) + QStringLiteral(" Sek.");
    caption += QLatin1Char(']');
    if (Racing())
        caption += raceCaption_ + (passed_ ? QStringLiteral(" – überholt!") : QString());
    view_.SetCaption(caption);
}

void TGame::FadeFrame() {
    const int32_t step = GameOverStep;
    view_.Fill(static_cast<uint32_t>(step) * FadeColorStep);
    DrawTitleText(Black);
    GameOverStep = step + 1;
    view_.DrawAll();
    DrawGhost();
    view_.ReleaseCanvas();
    FlipStep();
    if (GameOverStep == FadeLength)
        EndOfGame();
}

QString TGame::RecordPrompt(const TRecord& entry, uint32_t total) const {
    QString pointsText;
    if (BonusOn()) {
        pointsText = QString::number(TimePoints) + QStringLiteral(" Punkte (Zeit)") + CrLf +
                     QString::number(BonusPoints) + QStringLiteral(" Punkte (Bonus)") + CrLf +
                     QString::number(total) + QStringLiteral(" Punkte (insgesamt)");
    } else {
        pointsText = QString::number(TimePoints) + QStringLiteral(" Punkte");
    }
    return QStringLiteral("Neuer Rekord in der Schwierigkeitsstufe \"") + DifficultyName(Mode) +
           QStringLiteral("\":") + CrLf + pointsText + CrLf + CrLf +
           QStringLiteral("Alter Rekord: ") + QString::number(entry.Points) +
           QStringLiteral(" Punkte") + CrLf + CrLf + QStringLiteral("Geben Sie Ihren Namen ein:");
}

void TGame::EndOfGame() {
    view_.SetTimerEnabled(false);
    UpdateCursorClip();
    HandOverPlayedGame();
    if (Racing()) {
        // A known course sets no record: the race ends with who won.
        const uint32_t rivalPoints = race_.RivalPoints;
        const QString rival = race_.Rival;
        EndRace();
        view_.RaceEnded(TimePoints + BonusPoints, rivalPoints, rival);
        return;
    }
    if (EndReplay() || Mode >= CustomMode)
        return;
    // Another copy of the program may have set a record since this one read them.
    view_.ReloadRecords();
    const size_t table = BonusOn() ? 1 : 0;
    const TRecord& entry = Records[table][Mode];
    const uint32_t total = TimePoints + BonusPoints;
    if (total <= entry.Points)
        return;
    QString name = entry.Player;
    const QString prompt = RecordPrompt(entry, total);
    PlayWave("SUCCESS");
    openRecord_ = {table, total, true};
    const bool confirmed = view_.InputQuery(QStringLiteral("Neuer Rekord"), prompt, name);
    // Already kept where the program ended meanwhile.
    const bool stillOpen = openRecord_.open;
    openRecord_.open = false;
    if (!confirmed || !stillOpen)
        return;
    ConfirmRecord(table, total, std::move(name));
    view_.ShowRecords();
}

void TGame::ConfirmOpenRecord(const QString& name) {
    if (!openRecord_.open)
        return;
    openRecord_.open = false;
    ConfirmRecord(openRecord_.table, openRecord_.total, name);
}

void TGame::ConfirmRecord(size_t table, uint32_t total, QString name) {
    TRecord& entry = Records[table][Mode];
    entry.Points = total;
    name.truncate(static_cast<qsizetype>(MaxNameLength));
    entry.Player = name.isEmpty() ? QStringLiteral("(Unbekannt)") : name;
    const TRecord confirmed = entry;
    view_.RecordConfirmed();
    // The run goes with the record only where it stands: another copy may have
    // saved a higher one while the prompt was open.
    if (entry == confirmed && LastRun().Settings.Mode == Mode &&
        LastRun().Settings.Bonus == (table == 1))
        view_.KeepRecordRun(LastRun(), entry);
}

void TGame::HandOverPlayedGame() {
    if (const TPlayedGame* game = tally_.Finish())
        view_.GameFinished(*game, run_.Recording());
}

bool TGame::SteerPlayerBall() {
    TCircle* player = PlayerBall();
    const TPoint cursor = cursor_.Pos();
    const TPoint origin = view_.ClientOrigin();
    const int64_t dx = int64_t{cursor.X} - origin.X - player->MidX();
    const int64_t dy = int64_t{cursor.Y} - origin.Y - player->MidY();
    const double distance = std::sqrt(static_cast<double>(dx * dx + dy * dy));
    if (static_cast<double>(player->Radius()) >= distance)
        return false;
    constexpr long double halfPi = std::numbers::pi_v<long double> / 2;
    long double theta;
    if (dx == 0) {
        theta = (dy > 0 ? 1 : -1) * halfPi;
    } else {
        theta = std::atan(static_cast<long double>(dy) / static_cast<long double>(dx));
        if (dx < 0)
            theta += std::numbers::pi_v<long double>;
    }
    player->Velocity.SetAngle(static_cast<double>(theta));
    return true;
}

void TGame::UpdateCursorClip() {
    TCircle* player = PlayerBall();
    if (!view_.TimerEnabled() || !player) {
        cursor_.Clip(nullptr);
        return;
    }
    const auto r = static_cast<int32_t>(player->Radius());
    const TPoint origin = view_.ClientOrigin();
    clipOrigin_ = origin;
    const TRect area{origin.X + r, origin.Y + r, origin.X + view_.ClientWidth() - r,
                     origin.Y + view_.ClientHeight() - r};
    cursor_.Clip(&area);
}

void TGame::HoldCursor() {
    // Held where the pointer itself is, not where the field's confinement clamps it
    // to: a window system that confines to the whole window (XWayland) never starts
    // a hold at a point without the pointer.
    cursor_.Clip(nullptr);
    const TPoint here = cursor_.Pos();
    const TRect point{here.X, here.Y, here.X, here.Y};
    cursor_.Clip(&point);
}

void TGame::DXDrawMouseDown(TMouseButton button, int x, int y) {
    if (Replaying())
        return;
    if (!AttractMode) {
        if (BonusOn() && GameOverStep == 0)
            FireBullet(); // any button fires, also while paused
        return;
    }
    if (button == TMouseButton::mbLeft)
        AddDemoBall(x, y);
    else if (button == TMouseButton::mbRight)
        RemoveDemoBall();
}

void TGame::FireBullet() {
    TCircle* player = PlayerBall();
    auto* bullet = new TBullet(*this);
    Bullets.push_back(bullet);
    bullet->Velocity.Assign(player->Velocity);
    TVector& ahead = ScratchVectors[0];
    ahead.Assign(player->Velocity);
    ahead.Scale(20);
    const double clearance = static_cast<double>(player->Radius() + bullet->Radius() + 4);
    if (ahead.Length() < clearance)
        ahead.SetLength(clearance);
    const auto radius = static_cast<long double>(bullet->Radius());
    bullet->X = static_cast<double>(player->MidX() + static_cast<long double>(ahead.X) - radius);
    bullet->Y = static_cast<double>(player->MidY() + static_cast<long double>(ahead.Y) - radius);
    run_.NoteShot({player->MidX(), player->MidY()});
}

void TGame::AddDemoBall(int x, int y) {
    if (Balls.size() >= static_cast<size_t>(MaxDemoBalls))
        return;
    auto* ball = new TCircle(*this);
    Balls.push_back(ball);
    ball->SetRadius(DemoBallRadius);
    ball->RandomColor();
    ball->RandomVelocity(DemoSpeedBound);
    ball->X = x - static_cast<double>(DemoBallRadius);
    ball->Y = y - static_cast<double>(DemoBallRadius);
}

void TGame::RemoveDemoBall() {
    if (Balls.size() <= static_cast<size_t>(MinDemoBalls))
        return;
    delete Balls.back();
    Balls.pop_back();
}

} // namespace fenu
