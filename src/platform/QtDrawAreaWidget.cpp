#include "platform/QtDrawAreaWidget.h"

#include <cmath>
#include <cstring>

#include <QEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWindow>

namespace fenu {

QtDrawAreaWidget::QtDrawAreaWidget(QWidget* parent) : QWidget(parent) {
    setCursor(Qt::CrossCursor);
    // Every pixel comes from the presented image; Qt need not clear anything first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(false);
    WatchForm();
}

QtDrawAreaWidget::~QtDrawAreaWidget() {
    // The control must finalize before the window it presents into goes away.
    if (listener_ != nullptr)
        listener_->WindowDestroying();
    if (form_ != nullptr)
        form_->removeEventFilter(this);
}

void QtDrawAreaWidget::SetListener(DrawAreaWindowListener* listener) {
    listener_ = listener;
}

bool QtDrawAreaWidget::HasForm() const {
    return parentWidget() != nullptr;
}

bool QtDrawAreaWidget::HasParent() const {
    return parentWidget() != nullptr;
}

void QtDrawAreaWidget::RequestParentRepaint() {
    if (parentWidget() != nullptr)
        parentWidget()->update();
}

TPoint QtDrawAreaWidget::ClientOrigin() const {
    const QPoint origin = mapToGlobal(QPoint(0, 0));
    return TPoint{origin.x(), origin.y()};
}

int QtDrawAreaWidget::ClientWidth() const {
    return width();
}

int QtDrawAreaWidget::ClientHeight() const {
    return height();
}

bool QtDrawAreaWidget::Exposed() const {
    const QWindow* handle = window()->windowHandle();
    return isVisible() && handle != nullptr && handle->isExposed();
}

void QtDrawAreaWidget::WatchForm() {
    QWidget* form = parentWidget() != nullptr ? window() : nullptr;
    if (form == form_)
        return;
    if (form_ != nullptr)
        form_->removeEventFilter(this);
    form_ = form;
    if (form_ != nullptr)
        form_->installEventFilter(this);
}

bool QtDrawAreaWidget::event(QEvent* event) {
    if (event->type() == QEvent::ParentChange)
        WatchForm();
    return QWidget::event(event);
}

bool QtDrawAreaWidget::eventFilter(QObject* watched, QEvent* event) {
    if (watched == form_ && event->type() == QEvent::Show && listener_ != nullptr &&
        !static_cast<QWidget*>(watched)->isMinimized())
        listener_->FormShown();
    return false;
}

namespace {
/// A rectangle of field pixels in the device pixels of an image of the given ratio.
QRect ToDevicePixels(const QRect& rect, double ratio) {
    if (ratio == 1.0)
        return rect;
    const auto scaled = [ratio](int value) { return static_cast<int>(std::lround(value * ratio)); };
    const int left = scaled(rect.left());
    const int top = scaled(rect.top());
    return QRect(left, top, scaled(rect.left() + rect.width()) - left,
                 scaled(rect.top() + rect.height()) - top);
}
} // namespace

void QtDrawAreaWidget::EnsurePresentedSize() {
    const double ratio = devicePixelRatioF();
    const QSize wanted = ToDevicePixels(rect(), ratio).size();
    if (presented_.size() == wanted && presented_.devicePixelRatio() == ratio)
        return;
    QImage grown(wanted, QImage::Format_RGB32);
    grown.setDevicePixelRatio(ratio);
    grown.fill(BackgroundColor);
    if (!presented_.isNull()) {
        QPainter painter(&grown);
        painter.drawImage(QPoint(0, 0), presented_);
    }
    presented_ = std::move(grown);
}

void QtDrawAreaWidget::Present(const QImage& source, const QRect& target) {
    EnsurePresentedSize();
    const QRect visible = target.intersected(rect());
    if (visible.isEmpty())
        return;
    const double ratio = presented_.devicePixelRatio();
    const QRect deviceTarget = ToDevicePixels(target, ratio);
    const QRect deviceVisible = deviceTarget.intersected(presented_.rect());
    if (source.devicePixelRatio() == ratio && deviceTarget.size() == source.size() &&
        source.format() == presented_.format()) {
        // The everyday case: same size and density, a straight row copy of the
        // visible part.
        const int bytes = deviceVisible.width() * 4;
        for (int y = deviceVisible.top(); y <= deviceVisible.bottom(); ++y) {
            const uchar* from = source.constScanLine(y - deviceTarget.top()) +
                                static_cast<size_t>(deviceVisible.left() - deviceTarget.left()) * 4;
            std::memcpy(presented_.scanLine(y) + static_cast<size_t>(deviceVisible.left()) * 4,
                        from, static_cast<size_t>(bytes));
        }
    } else {
        QPainter painter(&presented_);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
        painter.drawImage(target, source);
    }
    if (presenting_)
        return; // inside a paint request: the paint event itself shows it
    presenting_ = true;
    repaint(visible);
    presenting_ = false;
}

void QtDrawAreaWidget::paintEvent(QPaintEvent* event) {
    if (!presenting_ && listener_ != nullptr) {
        // A paint request from the window system: the control presents its last
        // frame again, straight into presented_.
        presenting_ = true;
        listener_->PaintRequested();
        presenting_ = false;
    }
    EnsurePresentedSize();
    QPainter painter(this);
    // The source rectangle of drawImage is in the image's own (device) pixels.
    painter.drawImage(event->rect(), presented_,
                      ToDevicePixels(event->rect(), presented_.devicePixelRatio()));
}

void QtDrawAreaWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    EnsurePresentedSize();
    if (listener_ != nullptr)
        listener_->Resized(width(), height());
}

void QtDrawAreaWidget::mousePressEvent(QMouseEvent* event) {
    QWidget::mousePressEvent(event);
    if (listener_ == nullptr)
        return;
    TMouseButton button;
    switch (event->button()) {
    case Qt::LeftButton:
        button = TMouseButton::mbLeft;
        break;
    case Qt::RightButton:
        button = TMouseButton::mbRight;
        break;
    case Qt::MiddleButton:
        button = TMouseButton::mbMiddle;
        break;
    default:
        return;
    }
    const QPoint at = event->position().toPoint();
    listener_->MouseDown(button, at.x(), at.y());
}

} // namespace fenu
