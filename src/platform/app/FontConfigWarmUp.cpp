#include "platform/app/FontConfigWarmUp.h"

#include <fontconfig/fontconfig.h>
#include <malloc.h>

namespace fenu {

FontConfigWarmUp::FontConfigWarmUp() {
    // What the configuration allocates stays in use after the thread has ended; in
    // a heap arena of the thread's own it would keep that arena's pages resident.
    mallopt(M_ARENA_MAX, 1);
    // Without a configuration the library warns, and Qt falls back as it would.
    reading_ = std::thread([] { FcInit(); });
}

FontConfigWarmUp::~FontConfigWarmUp() {
    Wait();
}

void FontConfigWarmUp::Wait() {
    if (reading_.joinable())
        reading_.join();
}

} // namespace fenu
