#pragma once

namespace fenu {

/// Waits, before a frame is made, for the frame boundary it will be shown at, so that
/// the frame takes the input that came during the wait and is shown as soon as it is
/// drawn; the presentation then does not wait again for that boundary.
class FramePacer {
public:
    virtual ~FramePacer() = default;
    virtual void AwaitFrame() = 0;
};

} // namespace fenu
