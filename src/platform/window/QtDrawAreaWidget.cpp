#include "platform/window/QtDrawAreaWidget.h"

#include "platform/raster/RasterOps.h"
#include "platform/window/SharedMapping.h"

#include <cmath>
#include <cstring>
#include <optional>

#include <QBackingStore>
#include <QEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QWindow>
#include <qpa/qplatformbackingstore.h>

namespace fenu {

namespace {

/// Whether the backing store's image may be written between paints, for a flush to
/// hand on. On X11 only where the image is memory the server reads itself: without
/// it, Qt uploads only what it painted. On Wayland the compositor may hold the very
/// buffer, so there only a paint may write.
bool WritableBetweenPaints(const QImage& store) {
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("offscreen"))
        return true;
    return platform == QLatin1String("xcb") && InSharedMapping(store.constBits());
}

/// Whether an area at inWindow begins on a whole pixel of the window system. Under a
/// fractional scale (a menu bar 21 px high at 150 %) it may begin between two. Qt then
/// resamples whatever it paints there, and a part painted alone comes out a shade apart
/// from the same part painted with the rest: such frames go whole.
bool StartsOnDevicePixel(QPoint inWindow, double ratio) {
    const QPointF origin = QPointF(inWindow) * ratio;
    return origin.x() == std::floor(origin.x()) && origin.y() == std::floor(origin.y());
}

/// Rectangles of a frame (field pixels of the source) where it shows in the widget.
QRegion InWidget(std::span<const TRect> rects, const QRect& target, const QRect& visible) {
    QRegion region;
    for (const TRect& r : rects)
        region +=
            QRect(target.left() + r.Left, target.top() + r.Top, r.Right - r.Left, r.Bottom - r.Top);
    return region.intersected(visible);
}

} // namespace

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

void QtDrawAreaWidget::EnsurePresentedSize() {
    const double ratio = devicePixelRatioF();
    const QSize wanted = ScaledPixels(rect(), ratio).size();
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

/// Marks the widget as presenting for its lifetime and, however the scope is left,
/// lets go of a directly presented frame at the end, so that no reference to a frame
/// outlives the paint it was meant for.
class QtDrawAreaWidget::TPresentingScope {
public:
    explicit TPresentingScope(QtDrawAreaWidget& widget) : widget_(widget) {
        widget_.presenting_ = true;
    }
    ~TPresentingScope() {
        widget_.presenting_ = false;
        widget_.direct_ = TDirectFrame{};
    }
    TPresentingScope(const TPresentingScope&) = delete;
    TPresentingScope& operator=(const TPresentingScope&) = delete;

private:
    QtDrawAreaWidget& widget_;
};

void QtDrawAreaWidget::CopyIntoPresented(const QImage& source, const QRect& target) {
    EnsurePresentedSize();
    presentedShared_ = false;
    const QRect deviceTarget = ScaledPixels(target, presented_.devicePixelRatio());
    if (source.devicePixelRatio() == presented_.devicePixelRatio() &&
        deviceTarget.size() == source.size() && source.format() == presented_.format()) {
        // Same size and density: a straight row copy of the visible part.
        const QRect deviceVisible = deviceTarget.intersected(presented_.rect());
        const auto bytes = static_cast<size_t>(deviceVisible.width()) * 4;
        for (int y = deviceVisible.top(); y <= deviceVisible.bottom(); ++y) {
            const uchar* from = source.constScanLine(y - deviceTarget.top()) +
                                static_cast<size_t>(deviceVisible.left() - deviceTarget.left()) * 4;
            std::memcpy(presented_.scanLine(y) + static_cast<size_t>(deviceVisible.left()) * 4,
                        from, bytes);
        }
        return;
    }
    QPainter painter(&presented_);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(target, source);
}

void QtDrawAreaWidget::Present(const QImage& source, const QRect& target,
                               const TChangedArea& changed) {
    const QRect visible = target.intersected(rect());
    if (visible.isEmpty())
        return;
    const double ratio = devicePixelRatioF();
    const QRect deviceTarget = ScaledPixels(target, ratio);
    // Painting straight from the source needs someone who can present it again when
    // the window system asks for a paint later: the listener.
    const bool direct = listener_ != nullptr && source.devicePixelRatio() == ratio &&
                        deviceTarget.size() == source.size() &&
                        source.format() == QImage::Format_RGB32;
    if (direct)
        direct_ = TDirectFrame{&source, target, deviceTarget, false};
    else
        CopyIntoPresented(source, target);
    if (presenting_)
        return; // inside a paint request: the paint event itself shows the frame
    const QPoint inWindow = mapTo(window(), QPoint(0, 0));
    const QRegion region =
        direct ? RepaintRegion(source, target, visible, changed, inWindow) : visible;
    repaintedPixels_ = 0;
    for (const QRect& area : region) {
        const QRect device = ScaledPixels(area, ratio);
        repaintedPixels_ += qint64{device.width()} * device.height();
    }
    bool painted = true; // with nothing to repaint, the window shows the frame already
    if (region.isEmpty()) {
        direct_ = TDirectFrame{};
    } else if (direct && changed.Whole && changed.Fill &&
               FlushFilled(source, deviceTarget, visible, InWidget(changed.Rects, target, visible),
                           *changed.Fill, inWindow)) {
        direct_ = TDirectFrame{};
    } else if (direct && FlushChanges(source, deviceTarget, region, inWindow)) {
        direct_ = TDirectFrame{};
    } else {
        TPresentingScope presenting(*this);
        repaint(region);
        painted = direct_.Painted;
    }
    if (direct && painted)
        shown_ = TShownFrame{target, source.size(), ratio, inWindow};
    else
        shown_ = TShownFrame{};
    if (!direct || painted)
        return;
    // The window could not paint now; keep the frame. At first a reference does: the
    // paint that shows the window has the listener present the frame again and then
    // lets the reference go, so a window's first frame is never copied.
    if (presented_.isNull() && target == rect()) {
        presented_ = source;
        presentedShared_ = true;
    } else {
        CopyIntoPresented(source, target);
    }
}

QImage* QtDrawAreaWidget::WritableStore(QPoint inWindow) {
    QBackingStore* store = backingStore();
    QWindow* handle = window()->windowHandle();
    const double ratio = devicePixelRatioF();
    if (store == nullptr || handle == nullptr || !handle->isExposed() ||
        ratio != std::floor(ratio) || store->handle() == nullptr)
        return nullptr;
    QPaintDevice* device = store->handle()->paintDevice();
    if (device == nullptr || device->devType() != QInternal::Image)
        return nullptr;
    auto* image = static_cast<QImage*>(device);
    if (image->format() != QImage::Format_RGB32 &&
        image->format() != QImage::Format_ARGB32_Premultiplied)
        return nullptr;
    if (image->constBits() != storeChecked_.Bits) // a new image: asked once
        storeChecked_ = {image->constBits(), WritableBetweenPaints(*image)};
    if (!storeChecked_.Writable)
        return nullptr;
    const QRect deviceWidget = ScaledPixels(QRect(inWindow, size()), ratio);
    return image->rect().contains(deviceWidget) ? image : nullptr;
}

void QtDrawAreaWidget::CopyToStore(QImage& store, const QImage& source, const QRect& deviceTarget,
                                   const QRegion& region, QPoint inWindow) {
    const double ratio = devicePixelRatioF();
    const QPoint deviceWidget = ScaledPixels(QRect(inWindow, size()), ratio).topLeft();
    // Asked for once: a frame's rectangles are short rows, and each scanLine() of
    // the store checks whether it must be detached.
    uchar* storeBits = store.bits();
    const qsizetype storeStride = store.bytesPerLine();
    const uchar* sourceBits = source.constBits();
    const qsizetype sourceStride = source.bytesPerLine();
    for (const QRect& area : region) {
        const QRect device = ScaledPixels(area, ratio);
        const auto bytes = static_cast<size_t>(device.width()) * 4;
        uchar* to = storeBits + (device.top() + deviceWidget.y()) * storeStride +
                    static_cast<qsizetype>(device.left() + deviceWidget.x()) * 4;
        const uchar* from = sourceBits + (device.top() - deviceTarget.top()) * sourceStride +
                            static_cast<qsizetype>(device.left() - deviceTarget.left()) * 4;
        for (int y = device.top(); y <= device.bottom();
             ++y, to += storeStride, from += sourceStride)
            std::memcpy(to, from, bytes);
    }
}

bool QtDrawAreaWidget::FlushChanges(const QImage& source, const QRect& deviceTarget,
                                    const QRegion& region, QPoint inWindow) {
    // A repaint costs a round trip to the X server (Qt waits until the server has read
    // the last flush before it paints over it) and the widget machinery a paint event;
    // a frame needs neither. Its rectangles go straight into the backing store, which
    // holds the frame before everywhere else, and are flushed from there. Should the
    // server still be reading a rectangle of the flush before, it reads the newer
    // frame's pixels, which this flush sends again: the picture is the same once both
    // are done.
    QImage* store = WritableStore(inWindow);
    if (store == nullptr)
        return false;
    CopyToStore(*store, source, deviceTarget, region, inWindow);
    backingStore()->flush(region.translated(inWindow), window()->windowHandle());
    return true;
}

bool QtDrawAreaWidget::FlushFilled(const QImage& source, const QRect& deviceTarget,
                                   const QRect& visible, const QRegion& drawn, uint32_t fill,
                                   QPoint inWindow) {
    if (windowFill_ == nullptr)
        return false;
    QImage* store = WritableStore(inWindow);
    if (store == nullptr)
        return false;
    const double ratio = devicePixelRatioF();
    const QRect deviceVisible = ScaledPixels(visible.translated(inWindow), ratio);
    const uint32_t opaque = 0xFF000000u | (fill & 0xFFFFFFu);
    const uint32_t pixel = store->format() == QImage::Format_RGB32 ? opaque & 0xFFFFFFu : opaque;
    if (!windowFill_->Fill(*window()->windowHandle(), deviceVisible, pixel))
        return false;
    // The store holds the whole frame as well: later frames flush only their changes
    // from it, and a paint request may show any of it.
    FillDeviceRect(*store, deviceVisible.left(), deviceVisible.top(), deviceVisible.width(),
                   deviceVisible.height(), opaque);
    CopyToStore(*store, source, deviceTarget, drawn, inWindow);
    repaintedPixels_ = 0;
    for (const QRect& area : drawn) {
        const QRect device = ScaledPixels(area, ratio);
        repaintedPixels_ += qint64{device.width()} * device.height();
    }
    if (!drawn.isEmpty())
        backingStore()->flush(drawn.translated(inWindow), window()->windowHandle());
    return true;
}

QRegion QtDrawAreaWidget::RepaintRegion(const QImage& source, const QRect& target,
                                        const QRect& visible, const TChangedArea& changed,
                                        QPoint inWindow) const {
    // Moved in its window, the area holds what Qt left there, not the frame shown.
    const bool followsShown =
        !changed.Whole && !shown_.Target.isEmpty() && shown_.Target == target &&
        shown_.Size == source.size() && shown_.Ratio == source.devicePixelRatio() &&
        shown_.InWindow == inWindow && StartsOnDevicePixel(inWindow, devicePixelRatioF());
    if (!followsShown)
        return visible;
    return InWidget(changed.Rects, target, visible);
}

QImage QtDrawAreaWidget::Presented() {
    return grab().toImage().convertToFormat(QImage::Format_RGB32);
}

void QtDrawAreaWidget::PaintFromPresented(QPainter& painter, const QRect& area) {
    if (area.isEmpty())
        return;
    EnsurePresentedSize();
    // The source rectangle of drawImage is in the image's own (device) pixels.
    painter.drawImage(area, presented_, ScaledPixels(area, presented_.devicePixelRatio()));
}

void QtDrawAreaWidget::paintEvent(QPaintEvent* event) {
    std::optional<TPresentingScope> request;
    if (!presenting_) {
        // A paint request from the window system. What it leaves outside its area
        // need not be the frame shown last (a frame may have been drawn since), so
        // the next frame goes whole.
        shown_ = TShownFrame{};
        if (listener_ != nullptr) {
            // The control presents its last frame again, straight into this paint
            // (or into presented_).
            request.emplace(*this);
            listener_->PaintRequested();
        }
    }
    QPainter painter(this);
    for (const QRect& area : event->region())
        PaintArea(painter, area);
}

void QtDrawAreaWidget::PaintArea(QPainter& painter, const QRect& area) {
    const QRect shown = direct_.Source != nullptr ? area.intersected(direct_.Target) : QRect();
    if (shown.isEmpty()) {
        PaintFromPresented(painter, area);
        return;
    }
    const QRect from = ScaledPixels(shown, direct_.Source->devicePixelRatio())
                           .translated(-direct_.DeviceTarget.topLeft());
    painter.drawImage(shown, *direct_.Source, from);
    direct_.Painted = true;
    if (presentedShared_ && shown == rect()) {
        presented_ = QImage();
        presentedShared_ = false;
    }
    // Around a frame smaller than the window stays what was there: the bands above,
    // below, left and right of it.
    PaintFromPresented(painter,
                       QRect(area.left(), area.top(), area.width(), shown.top() - area.top()));
    PaintFromPresented(painter, QRect(area.left(), shown.bottom() + 1, area.width(),
                                      area.bottom() - shown.bottom()));
    PaintFromPresented(painter,
                       QRect(area.left(), shown.top(), shown.left() - area.left(), shown.height()));
    PaintFromPresented(painter, QRect(shown.right() + 1, shown.top(), area.right() - shown.right(),
                                      shown.height()));
}

void QtDrawAreaWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    shown_ = TShownFrame{};
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
