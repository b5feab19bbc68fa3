// The reference of bench/peer_ratio.sh (REFERENCE=): the plainest Qt way to show what
// a game in play shows, two squares the size of a small alien ball's box and of the
// player's ball's box (25 and 91 px) moving over a black field, with only their old
// and new places repainted. It keeps the game's pacing: a zero timer whose slot sleeps
// to the next boundary of a 60 Hz grid. Its window is called "moving squares".
#include <cmath>
#include <ctime>

#include <sys/prctl.h>

#include <QApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <QWidget>

namespace {

constexpr long long NanosecondsPerSecond = 1000000000;

long long Now() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * NanosecondsPerSecond + now.tv_nsec;
}

class TMovingSquares final : public QWidget {
public:
    TMovingSquares() {
        setAttribute(Qt::WA_OpaquePaintEvent);
        timer_.setInterval(0);
        connect(&timer_, &QTimer::timeout, this, [this] { Frame(); });
        timer_.start();
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        for (const QRect& area : event->region())
            painter.fillRect(area, Qt::black);
        painter.fillRect(small_, Qt::red);
        painter.fillRect(large_, Qt::green);
    }

private:
    void Frame() {
        ++frames_;
        const long long boundary = start_ + frames_ * NanosecondsPerSecond / 60;
        const timespec until{static_cast<time_t>(boundary / NanosecondsPerSecond),
                             static_cast<long>(boundary % NanosecondsPerSecond)};
        clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr);
        QRegion changed = QRegion(small_) + QRegion(large_);
        const double t = static_cast<double>(frames_);
        small_.moveTo(300 + static_cast<int>(150 * std::cos(t / 50)),
                      250 + static_cast<int>(100 * std::sin(t / 50)));
        large_.moveTo(200 + static_cast<int>(100 * std::sin(t / 70)),
                      150 + static_cast<int>(100 * std::cos(t / 70)));
        changed += QRegion(small_) + QRegion(large_);
        repaint(changed);
    }

    QRect small_{0, 0, 25, 25};
    QRect large_{0, 0, 91, 91};
    QTimer timer_;
    long long start_ = Now();
    long long frames_ = 0;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL); // as exact a wake-up as the game's
    TMovingSquares widget;
    widget.setWindowTitle(QStringLiteral("moving squares"));
    widget.setFixedSize(625, 500);
    widget.show();
    return QApplication::exec();
}
