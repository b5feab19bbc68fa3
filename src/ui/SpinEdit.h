#pragma once

#include <cstdint>

#include <QAbstractSpinBox>

namespace fenu {

/// A one-line integer field with up and down buttons.
///
/// Unlike QSpinBox it lets the user type any number, also one beyond the range,
/// and decides what the text means only when the value is read: a number beyond
/// a bound counts as that bound, a text that is not an integer (an empty field,
/// "1.5", "-") counts as the minimum. Keys other than digits, "+", "-" and the
/// decimal separator are refused with a beep. The buttons, the arrow keys and the
/// wheel never take the value past the range, and leaving the field shows the
/// value it stands for.
class TSpinEdit : public QAbstractSpinBox {
    Q_OBJECT

public:
    TSpinEdit(int32_t minValue, int32_t maxValue, int32_t value, QWidget* parent = nullptr);

    int32_t MinValue() const { return minValue_; }
    int32_t MaxValue() const { return maxValue_; }

    /// The field's integer within the range, read from the text as it stands.
    int32_t Value() const;
    void SetValue(int32_t value);

    /// Replaces the text by the value it stands for.
    void Normalize();

    /// The text as typed, before any interpretation.
    QString Text() const;

    /// Whether a typed character is one the field accepts (control characters,
    /// such as those of Backspace and the editing shortcuts, always are).
    static bool IsValidChar(QChar c);

    void stepBy(int steps) override;
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;

    /// Which of the buttons and arrow keys can still change the value.
    StepEnabled stepEnabled() const override;

signals:
    /// A typed key was refused (and the system beep sounded).
    void KeyRefused();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    int32_t Clamp(int64_t value) const;

    int32_t minValue_;
    int32_t maxValue_;
};

} // namespace fenu
