#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>

class QWindow;

namespace fenu {

/// Keeps clicks meant for the game out of a dialog that has just appeared under the
/// pointer: the player who fires bullets as a game ends goes on clicking into the
/// name prompt and the records dialog its end opens, where one click on "Rekorde
/// löschen" empties every record. A dialog takes mouse presses only once it has been
/// shown for a moment (settleMs), and only once the clicking that went on as it
/// appeared has paused as long; a press it ignores neither presses a button (the
/// release alone does not) nor moves the focus.
class TFreshDialogClicks : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 DefaultSettleMs = 500;

    /// Watches every window of the application while it exists.
    explicit TFreshDialogClicks(QObject* parent = nullptr, qint64 settleMs = DefaultSettleMs);
    ~TFreshDialogClicks() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool Settling(const QWindow& window) const;

    qint64 settleMs_;
    QElapsedTimer clock_;
    QPointer<QWidget> newest_; ///< the dialog shown last
    qint64 shownAt_ = 0;
    qint64 lastPressAt_ = -1; ///< any press, in any window
    bool lastPressIgnored_ = false;
};

} // namespace fenu
