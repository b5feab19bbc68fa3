#include "game/Configuration.h"

namespace fenu {

std::array<TConfiguration, PresetCount> MakePresets() {
    return {{
        {{20}, 40, 4},
        {{20, 20}, 32, 6},
        {{30, 30, 30}, 25, 7},
    }};
}

} // namespace fenu
