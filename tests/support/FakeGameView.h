#pragma once

#include "game/GameView.h"
#include "game/PlayedGame.h"
#include "sprites/Sprite.h"

#include <functional>
#include <vector>

#include <QString>

namespace fenu::test {

/// The main window as the game controller sees it, without a window: records
/// fills, flips and captions, runs the sprite passes on a plain engine, and answers
/// the record prompt from a script.
class FakeGameView : public TGameView {
public:
    explicit FakeGameView(TSpriteEngine& engine) : engine_(engine) {}

    void Fill(uint32_t rawValue) override { fills.push_back(rawValue); }
    TCanvas* Canvas() override { return canvas; }
    void ReleaseCanvas() override { ++releases; }
    void Flip() override { ++flips; }
    TPoint ClientOrigin() override { return origin; }
    int ClientWidth() const override { return 625; }
    int ClientHeight() const override { return 500; }
    void DrawAll() override { engine_.Draw(); }
    void MoveAll(int32_t stepCount) override { engine_.Move(stepCount); }
    bool TimerEnabled() const override { return timerEnabled; }
    void SetTimerEnabled(bool enabled) override { timerEnabled = enabled; }
    void SetCaption(const QString& text) override {
        caption = text;
        captions.push_back(text);
    }
    QString FontFace() const override { return QStringLiteral("DejaVu Sans"); }
    void SetPauseChecked(bool checked) override { pauseChecked = checked; }
    bool InputQuery(const QString& title, const QString& prompt, QString& value) override {
        ++prompts;
        promptTitle = title;
        promptText = prompt;
        promptInitial = value;
        return answer ? answer(value) : false;
    }
    void RecordConfirmed() override {}
    void ShowRecords() override { ++recordsShown; }
    void ReplayFailed(const QString& reason) override {
        ++replayFailures;
        replayFailure = reason;
    }
    void GameFinished(const TPlayedGame& game, const TRunRecording&) override {
        finished.push_back(game);
    }
    void RaceEnded(uint32_t points, uint32_t rivalPoints, const QString& rival) override {
        raceResult = QStringLiteral("%1:%2 %3").arg(points).arg(rivalPoints).arg(rival);
    }

    TCanvas* canvas = nullptr;
    TPoint origin{100, 50};
    std::vector<uint32_t> fills;
    int flips = 0;
    int releases = 0;
    bool timerEnabled = false;
    bool pauseChecked = true;
    QString caption = QStringLiteral("feNU");
    std::vector<QString> captions;
    int prompts = 0;
    QString promptTitle, promptText, promptInitial;
    std::function<bool(QString&)> answer; ///< edits the name; false cancels
    int recordsShown = 0;
    int replayFailures = 0;
    std::vector<TPlayedGame> finished; ///< handed over for the statistics
    QString replayFailure;
    QString raceResult; ///< "points:rival's points rival" of the last race ended

private:
    TSpriteEngine& engine_;
};

} // namespace fenu::test
