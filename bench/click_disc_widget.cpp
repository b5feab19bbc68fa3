// The floor of bench/latency.sh: the plainest Qt widget that answers a click on the
// screen, a 625 x 500 black field that paints a white disc where it was pressed,
// repainted at once in its press handler. Its window is called "click disc".
#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

namespace {

class TClickDiscWidget final : public QWidget {
public:
    TClickDiscWidget() {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setFixedSize(625, 500);
    }

protected:
    void mousePressEvent(QMouseEvent* event) override {
        // A right click takes the disc away again, so that the next left click changes
        // the pixel under the pointer once more.
        disc_ =
            event->button() == Qt::LeftButton ? event->position().toPoint() : QPoint(-100, -100);
        repaint();
    }
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::black);
        painter.setBrush(Qt::white);
        painter.drawEllipse(disc_, 30, 30);
    }

private:
    QPoint disc_{-100, -100};
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    TClickDiscWidget widget;
    widget.setWindowTitle(QStringLiteral("click disc"));
    widget.show();
    return QApplication::exec();
}
