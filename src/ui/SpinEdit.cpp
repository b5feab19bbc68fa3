#include "ui/SpinEdit.h"

#include <algorithm>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QRegularExpression>

namespace fenu {

TSpinEdit::TSpinEdit(int32_t minValue, int32_t maxValue, int32_t value, QWidget* parent)
    : QAbstractSpinBox(parent), minValue_(minValue), maxValue_(std::max(minValue, maxValue)) {
    // The text stays as typed until it is read or the field is left; the base
    // class must neither reject it nor correct it behind the user's back.
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    setKeyboardTracking(true);
    SetValue(value);
}

int32_t TSpinEdit::Clamp(int64_t value) const {
    return static_cast<int32_t>(std::clamp<int64_t>(value, minValue_, maxValue_));
}

QString TSpinEdit::Text() const {
    return lineEdit()->text();
}

int32_t TSpinEdit::Value() const {
    const QString text = Text();
    bool ok = false;
    const qlonglong number = text.toLongLong(&ok);
    if (ok) {
        return Clamp(number);
    }
    // A run of digits too long for any integer is still a number beyond a bound.
    static const QRegularExpression digits(QStringLiteral("^[+-]?[0-9]+$"));
    if (digits.match(text).hasMatch()) {
        return text.startsWith(QLatin1Char('-')) ? minValue_ : maxValue_;
    }
    return minValue_;
}

void TSpinEdit::SetValue(int32_t value) {
    lineEdit()->setText(QString::number(Clamp(value)));
}

void TSpinEdit::Normalize() {
    const QString normal = QString::number(Value());
    if (Text() != normal) {
        lineEdit()->setText(normal);
    }
}

bool TSpinEdit::IsValidChar(QChar c) {
    if (c.unicode() < 0x20) {
        return true;
    }
    if (c.isDigit() && c.unicode() < 0x80) {
        return true;
    }
    if (c == QLatin1Char('+') || c == QLatin1Char('-')) {
        return true;
    }
    return QString(c) == QLocale().decimalPoint();
}

void TSpinEdit::stepBy(int steps) {
    const int32_t before = Value();
    SetValue(Clamp(static_cast<int64_t>(before) + steps));
    lineEdit()->selectAll();
}

QAbstractSpinBox::StepEnabled TSpinEdit::stepEnabled() const {
    if (isReadOnly()) {
        return StepNone;
    }
    // A text beyond the range, or no number at all, can always be stepped: the
    // step starts from the value it stands for and shows a number within the range.
    const int32_t value = Value();
    if (Text() != QString::number(value)) {
        return StepUpEnabled | StepDownEnabled;
    }
    StepEnabled enabled = StepNone;
    if (value < maxValue_) {
        enabled |= StepUpEnabled;
    }
    if (value > minValue_) {
        enabled |= StepDownEnabled;
    }
    return enabled;
}

QValidator::State TSpinEdit::validate(QString& input, int& /*pos*/) const {
    // Typed keys are filtered in keyPressEvent; this keeps pasted text to the
    // same characters.
    for (const QChar c : input) {
        if (!IsValidChar(c) || c.unicode() < 0x20) {
            return QValidator::Invalid;
        }
    }
    return QValidator::Acceptable;
}

void TSpinEdit::fixup(QString& input) const {
    bool ok = false;
    const qlonglong number = input.toLongLong(&ok);
    input = QString::number(ok ? Clamp(number) : minValue_);
}

void TSpinEdit::keyPressEvent(QKeyEvent* event) {
    const QString text = event->text();
    const bool command =
        event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (!command && !text.isEmpty() && !std::all_of(text.begin(), text.end(), IsValidChar)) {
        QApplication::beep();
        event->accept();
        emit KeyRefused();
        return;
    }
    QAbstractSpinBox::keyPressEvent(event);
}

void TSpinEdit::focusOutEvent(QFocusEvent* event) {
    Normalize();
    QAbstractSpinBox::focusOutEvent(event);
}

} // namespace fenu
