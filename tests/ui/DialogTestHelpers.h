#pragma once

#include <algorithm>
#include <functional>
#include <ostream>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QTest>
#include <QTimer>

/// Readable QStrings in test failures.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace fenu::test {

/// Runs dialog.exec() and, once its modal loop runs, the given input. If the input
/// does not close the dialog, the dialog is rejected after it so the test cannot
/// hang; StillOpen() tells whether that was needed.
class TModalRun {
public:
    int Exec(QDialog& dialog, const std::function<void()>& input) {
        stillOpen_ = false;
        QTimer::singleShot(0, &dialog, [&dialog, input, this] {
            input();
            // A mnemonic or shortcut clicks its button after a short animation.
            for (int waited = 0; dialog.isVisible() && waited < 400; waited += 20) {
                QTest::qWait(20);
            }
            if (dialog.isVisible()) {
                stillOpen_ = true;
                dialog.done(StillOpenResult);
            }
        });
        return dialog.exec();
    }

    bool StillOpen() const { return stillOpen_; }
    static constexpr int StillOpenResult = 77;

private:
    bool stillOpen_ = false;
};

/// The texts of a window's labels, buttons and group boxes that do not fit the
/// room their control gives them with the font in force, with the sizes.
inline QStringList ClippedTexts(const QWidget& window) {
    QStringList clipped;
    auto check = [&clipped](const QWidget& control, QString text, QSize room) {
        text.remove(QLatin1Char('&'));
        const QFontMetrics metrics(control.font());
        const QStringList lines = text.split(QLatin1Char('\n'));
        int width = 0;
        for (const QString& line : lines) {
            width = std::max(width, metrics.horizontalAdvance(line));
        }
        const int height = static_cast<int>(lines.size()) * metrics.height();
        if (width > room.width() || height > room.height()) {
            clipped.append(QStringLiteral("%1 (%2x%3 > %4x%5)")
                               .arg(text)
                               .arg(width)
                               .arg(height)
                               .arg(room.width())
                               .arg(room.height()));
        }
    };
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        check(*label, label->text(), label->contentsRect().size());
    }
    for (const QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        // Room inside the button's bevel.
        check(*button, button->text(), button->size() - QSize(8, 4));
    }
    for (const QGroupBox* group : window.findChildren<QGroupBox*>()) {
        check(*group, group->title(), QSize(group->width() - 16, group->height()));
    }
    return clipped;
}

/// Whether two sibling widgets overlap.
inline bool Overlap(const QWidget& a, const QWidget& b) {
    return a.geometry().intersects(b.geometry());
}

} // namespace fenu::test
