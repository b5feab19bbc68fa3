#include "game/Records.h"

namespace fenu {

const QString& DifficultyName(int mode) {
    static const std::array<QString, PresetCount> names = {
        QStringLiteral("Einfach"), QStringLiteral("Mittel"), QStringLiteral("Schwierig")};
    return names.at(static_cast<size_t>(mode));
}

} // namespace fenu
