#pragma once

#include <QDialog>

namespace fenu {

/// A dialog that stands centred each time it shows, on the window its parent lies in
/// or on that window's screen, and wholly on that screen (a dialog to be centred on
/// a window it does not have stays where it is).
///
/// It is placed before its window is shown. A window manager puts the frame of a new
/// window where it is asked to only when the position is given before the window
/// is mapped; a position given later (as in showEvent) is taken for the window
/// inside the frame, and the first showing stood off by the frame's left and top (4
/// and 27 pixels with jwm). Until the dialog has a frame of its own, its frame is
/// taken to be as large as the owner window's, which the same window manager drew;
/// without a window manager neither has one and the centring is exact, where the
/// toolkit's own guess at a frame would put the dialog 5 and 20 pixels off.
class TCentredDialog : public QDialog {
    Q_OBJECT
public:
    enum class TCentre { OwnerWindow, Screen };

    TCentredDialog(TCentre centre, QWidget* parent, Qt::WindowFlags flags = {});

    void setVisible(bool visible) override;

private:
    void Place();

    TCentre centre_;
};

} // namespace fenu
