#pragma once

#include <thread>

namespace fenu {

/// Reads the system's font configuration on a thread of its own while the main
/// thread connects to the display. The first font the window asks for would read
/// it anyway, a fifth of the time to the first frame, and nothing else the start
/// does needs it. Wait() before anything asks for a font: the configuration is
/// then in place and the font library does not read it a second time. Every thread
/// of the program allocates from one heap arena from then on.
class FontConfigWarmUp {
public:
    FontConfigWarmUp();
    ~FontConfigWarmUp();
    FontConfigWarmUp(const FontConfigWarmUp&) = delete;
    FontConfigWarmUp& operator=(const FontConfigWarmUp&) = delete;

    void Wait();

private:
    std::thread reading_;
};

} // namespace fenu
