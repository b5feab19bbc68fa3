#include "game/run/RunVerdict.h"

#include "game/Records.h"

namespace fenu {

bool Proves(const TRunEntry& entry, const TRunPlayback& replay) {
    return replay.ReachedEnd && replay.Points == entry.Points;
}

QString VerdictLine(const TRunEntry& entry, const TRunSettings& settings,
                    const TRunPlayback& replay) {
    const QString player = entry.Player.isEmpty() ? QStringLiteral("(ohne Namen)") : entry.Player;
    QString kind = RunDifficultyName(settings.Mode);
    if (settings.Bonus)
        kind += QStringLiteral(" mit Bonus");
    // In one pass: a "%1" in the file's name stays as it is.
    QString line =
        QStringLiteral("%1, %2: in der Datei %3 Punkte, nachgespielt %4 Punkte")
            .arg(player, kind, QString::number(entry.Points), QString::number(replay.Points));
    if (Proves(entry, replay))
        return line + QStringLiteral(" – stimmt überein");
    line += QStringLiteral(" – stimmt nicht: ");
    if (!replay.Failure.isEmpty())
        return line + replay.Failure;
    if (!replay.ReachedEnd)
        return line + QStringLiteral("Der Lauf endet vor dem Ende seines Spiels.");
    return line + QStringLiteral("Die Datei nennt andere Punkte, als das Spiel erreicht.");
}

} // namespace fenu
