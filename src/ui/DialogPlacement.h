#pragma once

class QWidget;

namespace fenu {

/// Places a dialog that is about to show so that it stands centred on the window
/// its parent lies in (a dialog without a parent stays where it is), and wholly on
/// that window's screen. The dialog's frame is taken
/// to be as large as the window's, which the window system has measured by then;
/// without a window manager neither has one and the centring is exact, where the
/// toolkit's own guess at a frame would put the dialog 5 and 20 pixels off.
void CenterOnOwnerWindow(QWidget& dialog);

} // namespace fenu
