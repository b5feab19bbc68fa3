#pragma once

#include <functional>

#include <QObject>

namespace fenu {

/// Tells whenever the player steps aside from the field: a dialog, a box or a menu
/// of the program shows. The main window pauses a running game then, so that it
/// does not run on and end behind the window with the pointer still held.
class TSteppingAside : public QObject {
    Q_OBJECT
public:
    /// byMenu: a menu opened (as opposed to a dialog or box shown).
    using TShown = std::function<void(bool byMenu)>;

    /// Watches every window of the application while it exists.
    TSteppingAside(TShown shown, std::function<void()> menuClosed, QObject* parent);
    ~TSteppingAside() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TShown shown_;
    std::function<void()> menuClosed_;
};

} // namespace fenu
