// The yardstick for the game's start-up: the smallest Qt program with a main window
// and a menu bar. With FENU_STARTUP_LOG=<file> it writes CLOCK_REALTIME in
// nanoseconds when its window is first painted, as the game does for its first
// title frame (platform/FrameLog.h), and then runs on until it is ended.
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QPaintEvent>
#include <QPainter>

namespace {

class TFirstPaintWindow final : public QMainWindow {
protected:
    void paintEvent(QPaintEvent* event) override {
        QMainWindow::paintEvent(event);
        if (marked_)
            return;
        marked_ = true;
        const char* path = std::getenv("FENU_STARTUP_LOG");
        if (path == nullptr)
            return;
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        if (std::FILE* file = std::fopen(path, "w")) {
            std::fprintf(file, "%lld\n",
                         static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
            std::fclose(file);
        }
    }

private:
    bool marked_ = false;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    TFirstPaintWindow window;
    window.setWindowTitle(QStringLiteral("minimal"));
    QMenu* menu = window.menuBar()->addMenu(QStringLiteral("Spiel"));
    menu->addAction(QStringLiteral("Beenden"), &app, &QApplication::quit);
    window.resize(625, 500);
    window.show();
    return QApplication::exec();
}
