#include "ui/InputQuery.h"

#include "ui/NameValidator.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace fenu {

TInputQuery::TInputQuery(const QString& caption, const QString& prompt, const QString& value,
                         QWidget* parent)
    : TCentredDialog(TCentre::OwnerWindow, parent) {
    setWindowTitle(caption);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    auto* layout = new QVBoxLayout(this);
    // The prompt's lines are separated by CR LF; a label wants plain line feeds.
    QString lines = prompt;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    prompt_ = new QLabel(lines, this);
    prompt_->setTextFormat(Qt::PlainText);
    layout->addWidget(prompt_);
    edit_ = new QLineEdit(this);
    edit_->setMaxLength(MaxLength);
    edit_->setValidator(new TNameValidator(value, edit_));
    edit_->setText(value);
    edit_->selectAll();
    edit_->setMinimumWidth(280);
    layout->addWidget(edit_);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString TInputQuery::Value() const {
    return edit_->text();
}

bool InputQuery(QWidget* parent, const QString& caption, const QString& prompt, QString& value) {
    TInputQuery dialog(caption, prompt, value, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    value = dialog.Value();
    return true;
}

} // namespace fenu
