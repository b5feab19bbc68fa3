#include "ui/SpinEdit.h"

#include <QLineEdit>
#include <QLocale>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace fenu {
namespace {

class SpinEditTest : public ::testing::Test {
protected:
    // Range 1..20, starting at 2: the "Anzahl:" field.
    TSpinEdit spin{1, 20, 2};

    void Type(const QString& text) {
        spin.findChild<QLineEdit*>()->clear();
        QTest::keyClicks(&spin, text);
    }
};

TEST_F(SpinEditTest, ReadsTypedNumbersWithinTheRangeAndClampsThoseBeyondIt) {
    Type(QStringLiteral("7"));
    EXPECT_EQ(spin.Value(), 7);
    Type(QStringLiteral("35"));
    EXPECT_EQ(spin.Text(), QStringLiteral("35")) << "a number beyond the bound can be typed";
    EXPECT_EQ(spin.Value(), 20);
    Type(QStringLiteral("0"));
    EXPECT_EQ(spin.Value(), 1);
    Type(QStringLiteral("-4"));
    EXPECT_EQ(spin.Value(), 1);
    Type(QStringLiteral("+9"));
    EXPECT_EQ(spin.Value(), 9);
    Type(QStringLiteral("20"));
    EXPECT_EQ(spin.Value(), 20);
    Type(QStringLiteral("1"));
    EXPECT_EQ(spin.Value(), 1);
}

TEST_F(SpinEditTest, TextThatIsNoIntegerCountsAsTheMinimum) {
    Type(QString());
    EXPECT_EQ(spin.Value(), 1);
    Type(QStringLiteral("-"));
    EXPECT_EQ(spin.Value(), 1);
    Type(QStringLiteral("1") + QLocale().decimalPoint() + QStringLiteral("5"));
    EXPECT_EQ(spin.Value(), 1);
    Type(QStringLiteral("3+"));
    EXPECT_EQ(spin.Value(), 1);
}

TEST_F(SpinEditTest, NumbersTooLongForAnyIntegerStillCountAsBeyondTheirBound) {
    Type(QStringLiteral("99999999999999999999999"));
    EXPECT_EQ(spin.Value(), 20);
    Type(QStringLiteral("-99999999999999999999999"));
    EXPECT_EQ(spin.Value(), 1);
}

TEST_F(SpinEditTest, RefusesCharactersOtherThanDigitsSignsAndTheDecimalSeparatorWithABeep) {
    QSignalSpy refused(&spin, &TSpinEdit::KeyRefused);
    Type(QStringLiteral("1a2 x"));
    EXPECT_EQ(spin.Text(), QStringLiteral("12"));
    EXPECT_EQ(refused.count(), 3);

    refused.clear();
    Type(QStringLiteral("+-") + QLocale().decimalPoint() + QStringLiteral("0123456789"));
    EXPECT_EQ(refused.count(), 0);
    EXPECT_EQ(spin.Text().size(), 13);
}

TEST_F(SpinEditTest, PastedTextWithOtherCharactersIsRefusedToo) {
    auto* edit = spin.findChild<QLineEdit*>();
    edit->clear();
    edit->insert(QStringLiteral("12abc"));
    EXPECT_EQ(spin.Text(), QString());
    edit->insert(QStringLiteral("12"));
    EXPECT_EQ(spin.Text(), QStringLiteral("12"));
}

TEST_F(SpinEditTest, ArrowKeysAndStepsChangeByOneAndNeverPassTheRange) {
    QTest::keyClick(&spin, Qt::Key_Up);
    EXPECT_EQ(spin.Value(), 3);
    QTest::keyClick(&spin, Qt::Key_Down);
    QTest::keyClick(&spin, Qt::Key_Down);
    EXPECT_EQ(spin.Value(), 1);
    QTest::keyClick(&spin, Qt::Key_Down);
    EXPECT_EQ(spin.Text(), QStringLiteral("1"));

    spin.SetValue(20);
    QTest::keyClick(&spin, Qt::Key_Up);
    EXPECT_EQ(spin.Text(), QStringLiteral("20"));
    spin.stepBy(100);
    EXPECT_EQ(spin.Text(), QStringLiteral("20"));
    spin.stepBy(-100);
    EXPECT_EQ(spin.Text(), QStringLiteral("1"));
}

TEST_F(SpinEditTest, StepsStartFromTheValueTheTextStandsFor) {
    Type(QStringLiteral("35"));
    QTest::keyClick(&spin, Qt::Key_Up);
    EXPECT_EQ(spin.Text(), QStringLiteral("20"));
    Type(QStringLiteral("35"));
    QTest::keyClick(&spin, Qt::Key_Down);
    EXPECT_EQ(spin.Text(), QStringLiteral("19"));
    Type(QString());
    QTest::keyClick(&spin, Qt::Key_Up);
    EXPECT_EQ(spin.Text(), QStringLiteral("2"));
}

TEST_F(SpinEditTest, TheButtonsAreEnabledOnlyTowardsTheRangeThatIsLeft) {
    spin.SetValue(1);
    EXPECT_EQ(spin.stepEnabled(), QAbstractSpinBox::StepUpEnabled);
    spin.SetValue(20);
    EXPECT_EQ(spin.stepEnabled(), QAbstractSpinBox::StepDownEnabled);
    Type(QStringLiteral("35"));
    EXPECT_EQ(spin.stepEnabled(),
              QAbstractSpinBox::StepUpEnabled | QAbstractSpinBox::StepDownEnabled)
        << "stepping shows a number within the range";
    spin.SetValue(10);
    EXPECT_EQ(spin.stepEnabled(),
              QAbstractSpinBox::StepUpEnabled | QAbstractSpinBox::StepDownEnabled);
}

TEST_F(SpinEditTest, LeavingTheFieldShowsTheValueTheTextStandsFor) {
    Type(QStringLiteral("35"));
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(&spin, &out);
    EXPECT_EQ(spin.Text(), QStringLiteral("20"));
    Type(QString());
    QCoreApplication::sendEvent(&spin, &out);
    EXPECT_EQ(spin.Text(), QStringLiteral("1"));
}

TEST_F(SpinEditTest, SetValueKeepsToTheRange) {
    spin.SetValue(50);
    EXPECT_EQ(spin.Text(), QStringLiteral("20"));
    spin.SetValue(-50);
    EXPECT_EQ(spin.Text(), QStringLiteral("1"));
}

} // namespace
} // namespace fenu
