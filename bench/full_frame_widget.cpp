// The yardstick of bench/peer_ratio.sh: the barest way to show 625 x 500 pixels of
// animation, a plain widget that repaints the whole of a full image 62.5 times a
// second (a 16 ms timer). Its window is called "full frame".
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTimer>
#include <QWidget>

namespace {

class TFullFrameWidget final : public QWidget {
public:
    TFullFrameWidget() : frame_(625, 500, QImage::Format_RGB32) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        frame_.fill(Qt::black);
        timer_.setTimerType(Qt::PreciseTimer);
        connect(&timer_, &QTimer::timeout, this, [this] {
            // One pixel differs from frame to frame, so nothing is the same frame.
            frame_.setPixel(frames_ % 625, 0, (frames_ & 1) != 0 ? 0xFFFFFFFF : 0xFF000000);
            ++frames_;
            update();
        });
        timer_.start(16);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.drawImage(QPoint(0, 0), frame_);
    }

private:
    QImage frame_;
    QTimer timer_;
    int frames_ = 0;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    TFullFrameWidget widget;
    widget.setWindowTitle(QStringLiteral("full frame"));
    widget.setFixedSize(625, 500);
    widget.show();
    return QApplication::exec();
}
