#pragma once

#include "ui/DialogPlacement.h"

#include <QString>

class QLabel;
class QLineEdit;

namespace fenu {

/// The modal text input of the new-record prompt: a prompt of several lines, one
/// edit field, "OK" (default, Enter) and "Abbrechen" (Escape, close box). The field
/// takes only what the settings file keeps as typed (TNameValidator).
class TInputQuery : public TCentredDialog {
    Q_OBJECT
public:
    static constexpr int MaxLength = 255;

    TInputQuery(const QString& caption, const QString& prompt, const QString& value,
                QWidget* parent = nullptr);
    QString Value() const;
    QLineEdit* Edit() const { return edit_; }

private:
    QLabel* prompt_;
    QLineEdit* edit_;
};

/// Shows the input modally; on OK stores the edited text in value and returns true.
bool InputQuery(QWidget* parent, const QString& caption, const QString& prompt, QString& value);

} // namespace fenu
