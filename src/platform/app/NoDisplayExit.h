#pragma once

#include <QtGlobal>

namespace fenu {

/// While it stands, a failure to reach the display as the application object is made
/// ends the program with status 1 and a German sentence on the standard error naming
/// DISPLAY and WAYLAND_DISPLAY, instead of Qt's English advice and an abort with a
/// core dump. Qt's other messages in that time are held back, and passed on as they
/// came once the application stands.
class NoDisplayExit {
public:
    NoDisplayExit();
    ~NoDisplayExit();
    NoDisplayExit(const NoDisplayExit&) = delete;
    NoDisplayExit& operator=(const NoDisplayExit&) = delete;

    /// The sentence, for the environment as it is.
    static QString Message();

private:
    QtMessageHandler previous_;
};

} // namespace fenu
