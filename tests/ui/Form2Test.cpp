#include "ui/Form2.h"

#include "ui/DialogTestHelpers.h"
#include "ui/InfoDlg.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace fenu {
namespace {

using test::TModalRun;

class Form2Test : public ::testing::Test {
protected:
    TForm2 form;
    TModalRun run;

    static void Type(TSpinEdit* spin, const QString& text) {
        spin->findChild<QLineEdit*>()->clear();
        QTest::keyClicks(spin, text);
    }
};

TEST_F(Form2Test, HasTheCaptionClientSizeAndControlsAsLaidOut) {
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Benutzerdefinierte Einstellungen"));
    EXPECT_EQ(form.size(), QSize(417, 200));
    EXPECT_EQ(form.minimumSize(), form.maximumSize()) << "fixed border, not resizable";
    EXPECT_EQ(form.font().pointSize(), 8);

    EXPECT_EQ(form.GroupBox_Balls->geometry(), QRect(8, 8, 193, 89));
    EXPECT_EQ(form.GroupBox_Player->geometry(), QRect(216, 8, 193, 89));
    EXPECT_EQ(form.GroupBox_Other->geometry(), QRect(8, 104, 401, 57));
    EXPECT_EQ(form.SpinEdit_Balls->parentWidget(), form.GroupBox_Balls);
    EXPECT_EQ(form.SpinEdit_Balls->geometry(), QRect(64, 20, 121, 22));
    EXPECT_EQ(form.SpinEdit_BallsRadius->geometry(), QRect(64, 52, 121, 22));
    EXPECT_EQ(form.SpinEdit_Radius->parentWidget(), form.GroupBox_Player);
    EXPECT_EQ(form.SpinEdit_Radius->geometry(), QRect(64, 52, 121, 22));
    EXPECT_EQ(form.SpinEdit_MaxSpeed->parentWidget(), form.GroupBox_Other);
    EXPECT_EQ(form.SpinEdit_MaxSpeed->geometry(), QRect(288, 20, 105, 22));
    EXPECT_EQ(form.Label_BallsRadius->geometry().right() + 1, 15 + 36);
    EXPECT_TRUE(form.Label_MaxSpeed->alignment() & Qt::AlignRight);
    EXPECT_EQ(form.Label_MaxSpeed->geometry().right() + 1, 16 + 265);
    EXPECT_EQ(form.Button_Cancel->geometry(), QRect(127, 168, 75, 25));
    EXPECT_EQ(form.Button_Start->geometry(), QRect(215, 168, 75, 25));
    EXPECT_EQ(form.Button_Cancel->text(), QStringLiteral("Ab&brechen"));
    EXPECT_TRUE(form.Button_Start->isDefault());
}

TEST_F(Form2Test, FieldsHaveTheirRangesAndInitialValues) {
    EXPECT_EQ(form.BallCount(), 2);
    EXPECT_EQ(form.BallRadius(), 20);
    EXPECT_EQ(form.PlayerRadius(), 20);
    EXPECT_EQ(form.MaxSpeed(), 5);
    const std::pair<TSpinEdit*, int> ranges[] = {{form.SpinEdit_Balls, 20},
                                                 {form.SpinEdit_BallsRadius, 100},
                                                 {form.SpinEdit_Radius, 100},
                                                 {form.SpinEdit_MaxSpeed, 30}};
    for (const auto& [spin, max] : ranges) {
        EXPECT_EQ(spin->MinValue(), 1) << spin->objectName().toStdString();
        EXPECT_EQ(spin->MaxValue(), max) << spin->objectName().toStdString();
    }
}

TEST_F(Form2Test, EnterConfirmsTheUntouchedDialog) {
    const int result =
        run.Exec(form, [this] { QTest::keyClick(form.SpinEdit_Balls, Qt::Key_Return); });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(form.BallCount(), 2);
    EXPECT_EQ(form.BallRadius(), 20);
    EXPECT_EQ(form.PlayerRadius(), 20);
    EXPECT_EQ(form.MaxSpeed(), 5);
}

TEST_F(Form2Test, EnterRightAfterTypingCountsTheTextWithinTheRange) {
    const std::pair<QString, int> cases[] = {{QStringLiteral("35"), 20},
                                             {QStringLiteral("0"), 1},
                                             {QString(), 1},
                                             {QStringLiteral("7"), 7}};
    for (const auto& [typed, expected] : cases) {
        const int result = run.Exec(form, [this, typed] {
            Type(form.SpinEdit_Balls, typed);
            QTest::keyClick(form.SpinEdit_Balls, Qt::Key_Enter);
        });
        EXPECT_EQ(result, QDialog::Accepted) << typed.toStdString();
        EXPECT_EQ(form.BallCount(), expected) << typed.toStdString();
        EXPECT_EQ(form.SpinEdit_Balls->Text(), QString::number(expected))
            << "the next showing shows what the game got";
    }
}

TEST_F(Form2Test, StartButtonAcceptsAndEveryWayOfCancellingRejects) {
    EXPECT_EQ(run.Exec(form, [this] { form.Button_Start->click(); }), QDialog::Accepted);
    EXPECT_EQ(run.Exec(form, [this] { form.Button_Cancel->click(); }), QDialog::Rejected);
    EXPECT_EQ(run.Exec(form, [this] { QTest::keyClick(form.SpinEdit_Radius, Qt::Key_Escape); }),
              QDialog::Rejected);
    EXPECT_EQ(run.Exec(form, [this] { form.close(); }), QDialog::Rejected) << "close box";
    EXPECT_EQ(run.Exec(form,
                       [this] {
                           form.activateWindow();
                           ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
                           QTest::keyClick(&form, Qt::Key_B, Qt::AltModifier);
                       }),
              QDialog::Rejected)
        << "Alt+B presses \"Abbrechen\"";
    EXPECT_FALSE(run.StillOpen());
}

TEST_F(Form2Test, ShowsTheValuesOfTheLastShowingAgainWhetherConfirmedOrCancelled) {
    run.Exec(form, [this] {
        Type(form.SpinEdit_Balls, QStringLiteral("9"));
        Type(form.SpinEdit_BallsRadius, QStringLiteral("33"));
        form.Button_Cancel->click();
    });
    EXPECT_EQ(form.SpinEdit_Balls->Text(), QStringLiteral("9"));
    EXPECT_EQ(form.SpinEdit_BallsRadius->Text(), QStringLiteral("33"));

    run.Exec(form, [this] {
        EXPECT_EQ(form.SpinEdit_Balls->Text(), QStringLiteral("9"));
        Type(form.SpinEdit_Radius, QStringLiteral("150"));
        Type(form.SpinEdit_MaxSpeed, QStringLiteral("12"));
        form.Button_Start->click();
    });
    QString shown[4];
    run.Exec(form, [this, &shown] {
        shown[0] = form.SpinEdit_Balls->Text();
        shown[1] = form.SpinEdit_BallsRadius->Text();
        shown[2] = form.SpinEdit_Radius->Text();
        shown[3] = form.SpinEdit_MaxSpeed->Text();
        form.reject();
    });
    EXPECT_EQ(shown[0], QStringLiteral("9"));
    EXPECT_EQ(shown[1], QStringLiteral("33"));
    EXPECT_EQ(shown[2], QStringLiteral("100"));
    EXPECT_EQ(shown[3], QStringLiteral("12"));
}

TEST_F(Form2Test, EveryTextFitsItsControlWithTheSystemMessageFont) {
    UseSystemMessageFont();
    EXPECT_EQ(form.font().family(), SystemMessageFontFace());
    EXPECT_EQ(test::ClippedTexts(form), QStringList());
    // Labels that had to grow keep clear of their fields and inside their group box.
    const std::pair<QLabel*, TSpinEdit*> pairs[] = {
        {form.Label_Count, form.SpinEdit_Balls},
        {form.Label_BallsRadius, form.SpinEdit_BallsRadius},
        {form.Label_Radius, form.SpinEdit_Radius},
        {form.Label_MaxSpeed, form.SpinEdit_MaxSpeed}};
    for (const auto& [label, spin] : pairs) {
        EXPECT_FALSE(test::Overlap(*label, *spin)) << label->text().toStdString();
        EXPECT_GE(label->x(), 4);
        EXPECT_TRUE(label->parentWidget()->rect().contains(label->geometry()));
    }
    EXPECT_EQ(form.Label_MaxSpeed->text().remove(QLatin1Char('\n')).size() + 1,
              TForm2::MaxSpeedCaption.size())
        << "a caption that must break keeps every word";
}

TEST_F(Form2Test, LabelsFollowAWiderFontAndKeepTheirRightEdge) {
    QFont wide = form.font();
    wide.setPointSize(9);
    form.setFont(wide);
    EXPECT_EQ(form.Label_Count->pos(), QPoint(16, 24));
    EXPECT_GE(form.Label_Count->width(),
              QFontMetrics(wide).horizontalAdvance(QStringLiteral("Anzahl:")));
    EXPECT_EQ(form.Label_Radius->geometry().right() + 1, 15 + 36);
    EXPECT_EQ(form.Label_MaxSpeed->geometry().right() + 1, 16 + 265);
    EXPECT_EQ(test::ClippedTexts(form), QStringList());
}

TEST_F(Form2Test, ALabelKeepsItsLaidOutBoxWhenItsTextFitsIt) {
    QFont narrow = form.font();
    narrow.setPixelSize(6);
    form.setFont(narrow);
    EXPECT_EQ(form.Label_BallsRadius->geometry(), QRect(15, 56, 36, 13));
    EXPECT_EQ(form.Label_MaxSpeed->geometry(), QRect(16, 24, 265, 13));
    EXPECT_EQ(form.Label_MaxSpeed->text(), TForm2::MaxSpeedCaption);
}

} // namespace
} // namespace fenu
