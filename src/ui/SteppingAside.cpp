#include "ui/SteppingAside.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace fenu {

TSteppingAside::TSteppingAside(TShown shown, std::function<void()> menuClosed, QObject* parent)
    : QObject(parent), shown_(std::move(shown)), menuClosed_(std::move(menuClosed)) {
    qApp->installEventFilter(this);
}

TSteppingAside::~TSteppingAside() {
    qApp->removeEventFilter(this);
}

bool TSteppingAside::eventFilter(QObject* watched, QEvent* event) {
    // Every event of the program passes here, the frames' too: the cheap test first.
    if (event->type() != QEvent::Show && event->type() != QEvent::Hide)
        return false;
    const auto* widget = qobject_cast<const QWidget*>(watched);
    if (widget == nullptr || !widget->isWindow())
        return false;
    const Qt::WindowType type = widget->windowType();
    const bool menu = type == Qt::Popup;
    if (!menu && type != Qt::Dialog && type != Qt::Sheet)
        return false;
    if (event->type() == QEvent::Show)
        shown_(menu);
    else if (menu)
        menuClosed_();
    return false;
}

} // namespace fenu
