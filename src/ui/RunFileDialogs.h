#pragma once

#include <QString>

class QWidget;

namespace fenu {

/// Asks where to save a run, starting with suggestedPath; empty when cancelled.
QString ChooseRunFileToSave(QWidget* parent, const QString& suggestedPath);

/// What to do with a run file just chosen: watch it, race against it, or neither.
enum class TRunUse { Watch, Race, Nothing };
/// Asks it once, naming the run's player.
TRunUse AskRunUse(QWidget* parent, const QString& player);

/// The box at the end of a race: who won, with points; true where the player asks to
/// save the race's run ("Lauf speichern unter...").
bool ShowRaceResult(QWidget* parent, const QString& result);

} // namespace fenu
