#include "ui/DialogPlacement.h"

#include <algorithm>

#include <QLayout>
#include <QScreen>

namespace fenu {

TCentredDialog::TCentredDialog(TCentre centre, QWidget* parent, Qt::WindowFlags flags)
    : QDialog(parent, flags), centre_(centre) {}

void TCentredDialog::setVisible(bool visible) {
    if (visible && !isVisible())
        Place();
    QDialog::setVisible(visible);
}

void TCentredDialog::Place() {
    if (parentWidget() == nullptr && centre_ == TCentre::OwnerWindow)
        return;
    const QWidget& window = parentWidget() != nullptr ? *parentWidget()->window() : *this;
    const QScreen* screen = window.screen();
    if (screen == nullptr)
        return;
    // A dialog sized by its layout has its size only once the layout has run.
    if (layout() != nullptr)
        layout()->activate();
    QSize frameExtra = frameGeometry().size() - geometry().size();
    if (frameExtra.isNull())
        frameExtra = window.frameGeometry().size() - window.geometry().size();
    const QRect available = screen->availableGeometry();
    QRect frame(QPoint(0, 0), size() + frameExtra);
    frame.moveCenter(centre_ == TCentre::Screen ? available.center()
                                                : window.frameGeometry().center());
    frame.moveRight(std::min(frame.right(), available.right()));
    frame.moveBottom(std::min(frame.bottom(), available.bottom()));
    frame.moveLeft(std::max(frame.left(), available.left()));
    frame.moveTop(std::max(frame.top(), available.top()));
    move(frame.topLeft());
}

} // namespace fenu
