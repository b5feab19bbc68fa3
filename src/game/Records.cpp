#include "game/Records.h"

namespace fenu {

TRecordTable MergeRecords(const TRecordTable& loaded, const TRecordTable& mine,
                          const TRecordTable& file) {
    TRecordTable merged = file;
    for (size_t t = 0; t < merged.size(); ++t) {
        for (size_t n = 0; n < merged[t].size(); ++n) {
            const bool changedHere = mine[t][n] != loaded[t][n];
            const bool changedThere = file[t][n] != loaded[t][n];
            if (changedHere && (!changedThere || mine[t][n].Points > file[t][n].Points))
                merged[t][n] = mine[t][n];
        }
    }
    return merged;
}

const QString& DifficultyName(int mode) {
    static const std::array<QString, PresetCount> names = {
        QStringLiteral("Einfach"), QStringLiteral("Mittel"), QStringLiteral("Schwierig")};
    return names.at(static_cast<size_t>(mode));
}

QString RunDifficultyName(TMode mode) {
    return mode < PresetCount ? DifficultyName(mode) : QStringLiteral("Benutzerdefiniert");
}

} // namespace fenu
