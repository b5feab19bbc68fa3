#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace fenu {

/// Opt-in measurements of the presentation path, for the pacing and start-up scripts
/// in bench/. Both are off unless their environment variable names a file, and then
/// cost one clock read per frame into memory reserved up front; the files are written
/// when the log goes away (at the end of the program) or when the frame table is full.
///
///   FENU_FRAME_LOG=<file>    one line per frame paced by the frame clock:
///                            "<woke_ns> <presented_ns>" on CLOCK_MONOTONIC, the moment
///                            the wait for the frame boundary returned and the moment
///                            the frame had been handed to the window system.
///   FENU_STARTUP_LOG=<file>  one line, "<realtime_ns>": CLOCK_REALTIME when the first
///                            frame the game drew was shown in an exposed window. The
///                            realtime clock is what a shell can read before it starts
///                            the program ($EPOCHREALTIME), so both ends use one clock.
class FrameLog {
public:
    static constexpr const char* FrameVariable = "FENU_FRAME_LOG";
    static constexpr const char* StartupVariable = "FENU_STARTUP_LOG";
    /// Ten minutes at 60 Hz.
    static constexpr size_t FrameCapacity = 36000;

    /// A log that records nothing.
    FrameLog() = default;
    /// framePath or startupPath may be empty: that measurement is off.
    FrameLog(std::string framePath, std::string startupPath);
    ~FrameLog();
    FrameLog(const FrameLog&) = delete;
    FrameLog& operator=(const FrameLog&) = delete;

    /// The file named by an environment variable; empty when unset.
    static std::string EnvironmentPath(const char* variable);

    /// The wait for a frame boundary has just returned; not paced: a frame drawn
    /// before the window was first shown, at once, which counts for the start-up only.
    void BoundaryReached(bool paced = true);
    /// A copy onto the window has just finished; exposed tells whether the window is
    /// on screen. Only the first copy after each boundary counts as a frame.
    void Presented(bool exposed);

    bool Recording() const { return !framePath_.empty() || !startupPath_.empty(); }
    size_t Frames() const { return presented_.size(); }
    /// Writes the frame file now (also done by the destructor).
    void WriteFrames();

private:
    std::string framePath_;
    std::string startupPath_;
    std::vector<int64_t> woke_;
    std::vector<int64_t> presented_;
    bool boundaryPending_ = false;
    bool anyFrame_ = false;
    bool startupMarked_ = false;
    bool framesWritten_ = false;
};

} // namespace fenu
