#include "ui/RunFileDialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

namespace fenu {

QString ChooseRunFileToSave(QWidget* parent, const QString& suggestedPath) {
    QFileDialog dialog(parent, QStringLiteral("Rekordlauf speichern unter"),
                       QFileInfo(suggestedPath).absolutePath(),
                       QStringLiteral("feNU-Rekordläufe (*.fenurun)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("fenurun"));
    dialog.selectFile(QFileInfo(suggestedPath).fileName());
    return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()
               ? dialog.selectedFiles().constFirst()
               : QString();
}

TRunUse AskRunUse(QWidget* parent, const QString& player) {
    QMessageBox question(
        QMessageBox::Question, QStringLiteral("Rekordlauf öffnen"),
        QStringLiteral("Den Rekordlauf von %1 ansehen oder gegen ihn spielen?").arg(player),
        QMessageBox::NoButton, parent);
    QPushButton* watch = question.addButton(QStringLiteral("Ansehen"), QMessageBox::AcceptRole);
    QPushButton* race =
        question.addButton(QStringLiteral("Dagegen spielen"), QMessageBox::AcceptRole);
    question.addButton(QStringLiteral("Abbrechen"), QMessageBox::RejectRole);
    question.setDefaultButton(watch);
    question.exec();
    if (question.clickedButton() == watch)
        return TRunUse::Watch;
    return question.clickedButton() == race ? TRunUse::Race : TRunUse::Nothing;
}

bool ShowRaceResult(QWidget* parent, const QString& result) {
    QMessageBox box(QMessageBox::Information, QStringLiteral("feNU"), result, QMessageBox::NoButton,
                    parent);
    box.setObjectName(QStringLiteral("RaceResult"));
    QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    QPushButton* save =
        box.addButton(QStringLiteral("Lauf speichern unter..."), QMessageBox::ActionRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
    return box.clickedButton() == save;
}

} // namespace fenu
