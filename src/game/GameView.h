#pragma once

#include "platform/Geometry.h"
#include "platform/MouseButton.h"

#include <cstdint>

#include <QString>

namespace fenu {

class TCanvas;
struct TPlayedGame;
struct TRecord;
struct TRunRecording;

/// What the game controller needs of the main window and its components: the
/// drawing area, the sprite engine component, the frame timer, the caption, the
/// menu's pause mark and the modal prompts. The main window implements it; the
/// scenario tests drive the controller through a fake.
class TGameView {
public:
    virtual ~TGameView() = default;

    // Drawing area: Fill takes a raw pixel value; Canvas is null while there is no
    // back buffer; the canvas must be released before Flip.
    virtual void Fill(uint32_t rawValue) = 0;
    virtual TCanvas* Canvas() = 0;
    virtual void ReleaseCanvas() = 0;
    virtual void Flip() = 0;
    /// Screen position of the drawing area's top-left client pixel.
    virtual TPoint ClientOrigin() = 0;
    virtual int ClientWidth() const = 0;
    virtual int ClientHeight() const = 0;

    // Sprite engine component.
    virtual void DrawAll() = 0;
    virtual void MoveAll(int32_t stepCount) = 0;

    // Frame timer.
    virtual bool TimerEnabled() const = 0;
    virtual void SetTimerEnabled(bool enabled) = 0;

    // Main window.
    virtual void SetCaption(const QString& caption) = 0;
    virtual QString FontFace() const = 0;
    virtual void SetPauseChecked(bool checked) = 0;
    /// The modal text input; false when cancelled. At most 255 characters.
    virtual bool InputQuery(const QString& caption, const QString& prompt, QString& value) = 0;
    /// Brings the records up to date with the settings file, where another copy of the
    /// program may have saved since: at a game's end, before its points are compared.
    virtual void ReloadRecords() {}
    /// A new record has just been entered: it is kept at once, whatever ends the
    /// program afterwards.
    virtual void RecordConfirmed() = 0;
    /// Shows the records dialog modally.
    virtual void ShowRecords() = 0;
    /// The player confirmed the record entry set by the game run recorded.
    virtual void KeepRecordRun(const TRunRecording& /*run*/, const TRecord& /*entry*/) {}
    /// A race is over (not left): the player's points against the run's.
    virtual void RaceEnded(uint32_t /*points*/, uint32_t /*rivalPoints*/,
                           const QString& /*rival*/) {}
    /// A replay stopped because it no longer followed its recording.
    virtual void ReplayFailed(const QString& /*reason*/) {}
    /// A game of the player's has started (not a replay): what its end needs can be
    /// made ready.
    virtual void GameStarted() {}
    /// A game of the player's is over, after its last frame or aborted, with the run
    /// that recorded it: the statistics keep the one, "Letztes Spiel" the other.
    virtual void GameFinished(const TPlayedGame& /*game*/, const TRunRecording& /*run*/) {}
};

} // namespace fenu
