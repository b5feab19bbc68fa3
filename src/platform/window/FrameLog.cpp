#include "platform/window/FrameLog.h"

#include "platform/window/FrameClock.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <utility>

namespace fenu {

namespace {
int64_t RealtimeNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<int64_t>(now.tv_sec) * FrameClock::NanosecondsPerSecond + now.tv_nsec;
}
} // namespace

FrameLog::FrameLog(std::string framePath, std::string startupPath)
    : framePath_(std::move(framePath)), startupPath_(std::move(startupPath)) {
    if (framePath_.empty())
        return;
    // Reserved here so that recording a frame never allocates.
    woke_.reserve(FrameCapacity);
    presented_.reserve(FrameCapacity);
}

FrameLog::~FrameLog() {
    WriteFrames();
}

std::string FrameLog::EnvironmentPath(const char* variable) {
    const char* value = std::getenv(variable);
    return value != nullptr ? std::string(value) : std::string();
}

void FrameLog::BoundaryReached(bool paced) {
    anyFrame_ = true;
    if (!paced || framePath_.empty() || framesWritten_)
        return;
    // A boundary whose frame never reached the window is replaced, not kept, so
    // that the two columns stay paired.
    if (boundaryPending_)
        woke_.back() = FrameClock::Now();
    else
        woke_.push_back(FrameClock::Now());
    boundaryPending_ = true;
}

void FrameLog::Presented(bool exposed) {
    if (boundaryPending_) {
        boundaryPending_ = false;
        presented_.push_back(FrameClock::Now());
        if (presented_.size() == FrameCapacity)
            WriteFrames();
    }
    if (startupPath_.empty() || startupMarked_ || !anyFrame_ || !exposed)
        return;
    startupMarked_ = true;
    if (std::FILE* file = std::fopen(startupPath_.c_str(), "w")) {
        std::fprintf(file, "%lld\n", static_cast<long long>(RealtimeNanoseconds()));
        std::fclose(file);
    }
}

void FrameLog::WriteFrames() {
    if (framePath_.empty() || framesWritten_)
        return;
    framesWritten_ = true;
    boundaryPending_ = false;
    std::FILE* file = std::fopen(framePath_.c_str(), "w");
    if (file == nullptr)
        return;
    for (size_t i = 0; i < presented_.size(); ++i)
        std::fprintf(file, "%lld %lld\n", static_cast<long long>(woke_[i]),
                     static_cast<long long>(presented_[i]));
    std::fclose(file);
}

} // namespace fenu
