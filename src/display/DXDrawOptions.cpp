#include "display/DXDrawOptions.h"

namespace fenu {

namespace {
using enum TDXDrawOption;

void DropUnused3D(TDXDrawOptions& options) {
    if (!options.Contains(do3D))
        options.Exclude({doRetainedMode, doHardware, doSelectDriver, doZBuffer});
}
} // namespace

TDXDrawOptions EffectiveDXDrawOptions(TDXDrawOptions asked, TDXDrawOptions current,
                                      bool initialized) {
    if (initialized) {
        TDXDrawOptions result = current;
        for (TDXDrawOption switchable : {doWaitVBlank, doStretch, doCenter}) {
            if (asked.Contains(switchable))
                result.Include(switchable);
            else
                result.Exclude(switchable);
        }
        DropUnused3D(result);
        return result;
    }
    TDXDrawOptions result = asked;
    if (!result.Contains(doFullScreen))
        result.Exclude({doNoWindowChange, doAllowReboot, doAllowPalette256, doFlip});
    if (!result.Contains(do3D))
        result.Exclude({doDirectX7Mode, doRetainedMode, doHardware, doSelectDriver, doZBuffer});
    if (result.Contains(doSystemMemory))
        result.Exclude(doFlip);
    if (result.Contains(doDirectX7Mode))
        result.Exclude(doRetainedMode);
    result.Exclude(doHardware);
    return result;
}

} // namespace fenu
