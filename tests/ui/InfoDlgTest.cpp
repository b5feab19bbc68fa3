#include "ui/InfoDlg.h"

#include "support/RecordingUrlOpener.h"
#include "ui/DialogTestHelpers.h"

#include <array>

#include <QEnterEvent>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace fenu {
namespace {

using test::RecordingUrlOpener;
using test::TModalRun;

TColor Pixel(const QImage& image, int x, int y) {
    return image.pixel(x, y) & 0xFFFFFFu;
}

TColor Rgb(int r, int g, int b) {
    return static_cast<TColor>(r << 16 | g << 8 | b);
}

// --- BlendColor ------------------------------------------------------------------

TEST(BlendColorTest, RunsFromTheFirstColourToTheSecondTruncatingEachChannelTowardZero) {
    EXPECT_EQ(BlendColor(TInfo::LightBlue, TInfo::White, 0, 326), TInfo::LightBlue);
    EXPECT_EQ(BlendColor(TInfo::LightBlue, TInfo::White, 326, 326), TInfo::White);
    EXPECT_EQ(BlendColor(TInfo::LightBlue, TInfo::White, 163, 326), Rgb(164, 207, 255));
    // Falling channels: -181 * 54 / 109 is -89.67, truncated to -89, not floored to -90.
    EXPECT_EQ(BlendColor(TInfo::White, TInfo::LightBlue, 54, 109), Rgb(166, 208, 255));
    EXPECT_EQ(BlendColor(TInfo::White, TInfo::LightBlue, 108, 109), Rgb(76, 161, 255));
    EXPECT_EQ(BlendColor(0x000000, 0xFFFFFF, 1, 2), Rgb(127, 127, 127));
}

TEST(BlendColorTest, WithoutStepsGivesTheTargetInsteadOfDividingByZero) {
    EXPECT_EQ(BlendColor(TInfo::LightBlue, TInfo::White, 0, 0), TInfo::White);
}

// --- version information ---------------------------------------------------------

TEST(FileVersionTextTest, ReadsTheEmbeddedFileVersionUnderTheGermanTranslation) {
    const auto translations = ProgramVersionInfo().Translations();
    ASSERT_EQ(translations.size(), 1u);
    EXPECT_EQ(translations[0].Language, 0x0407);
    EXPECT_EQ(translations[0].CodePage, 1252);
    EXPECT_EQ(VersionInfo::StringPath(translations[0], "FileVersion"),
              QStringLiteral("\\StringFileInfo\\040704e4\\FileVersion"));
    EXPECT_EQ(GetFileVersionText(), QStringLiteral("1.0.0.0"));
}

TEST(FileVersionTextTest, LooksUpPathsWithoutRegardToCase) {
    EXPECT_EQ(
        ProgramVersionInfo().QueryString(QStringLiteral("\\StringFileInfo\\040704E4\\fileversion")),
        QStringLiteral("1.0.0.0"));
    EXPECT_FALSE(
        ProgramVersionInfo().QueryString(QStringLiteral("\\StringFileInfo\\040704e4\\Comments")));
}

TEST(FileVersionTextTest, IsEmptyWithoutVersionInformationTranslationOrString) {
    EXPECT_EQ(GetFileVersionText(nullptr), QString());

    const VersionInfo none({}, {});
    EXPECT_EQ(GetFileVersionText(&none), QString());

    // Only the first translation is looked at.
    static constexpr std::array<TVersionTranslation, 2> english{{{0x0409, 1252}, {0x0407, 1252}}};
    static constexpr std::array<TVersionString, 1> german{{{{0x0407, 1252}, "FileVersion", "2.0"}}};
    const VersionInfo other(english, german);
    EXPECT_EQ(GetFileVersionText(&other), QString());

    static constexpr std::array<TVersionString, 1> noVersion{
        {{{0x0409, 1252}, "ProductName", "x"}}};
    const VersionInfo nameOnly(english, noVersion);
    EXPECT_EQ(GetFileVersionText(&nameOnly), QString());
}

// --- the dialog ------------------------------------------------------------------

class InfoDlgTest : public ::testing::Test {
protected:
    RecordingUrlOpener opener;
    TInfo info{nullptr, &opener};
    QIcon icon{QStringLiteral(":/images/icon32.png")};
    TModalRun run;

    void SetUp() override { info.SetAbout(QStringLiteral("feNU"), QStringLiteral("2005"), icon); }

    /// The bounding box of the pixels in which two renderings differ.
    static QRect Difference(const QImage& a, const QImage& b) {
        QRect box;
        for (int y = 0; y < a.height(); ++y) {
            for (int x = 0; x < a.width(); ++x) {
                if (a.pixel(x, y) != b.pixel(x, y)) {
                    box |= QRect(x, y, 1, 1);
                }
            }
        }
        return box;
    }
};

TEST_F(InfoDlgTest, HasTheCaptionSizeAndControlsAsLaidOut) {
    EXPECT_EQ(info.windowTitle(), QStringLiteral("Info über feNU"));
    EXPECT_EQ(info.size(), QSize(435, 132));
    EXPECT_EQ(info.LogoPB->geometry(), QRect(0, 0, 435, 65));
    EXPECT_EQ(info.OK->geometry(), QRect(8, 101, 81, 25));
    EXPECT_TRUE(info.OK->isDefault());
    EXPECT_EQ(info.InfoLbl->text(), TInfo::CreditLine);
    EXPECT_EQ(info.EMailLbl->text(), QStringLiteral("fenu@example.org"));
    EXPECT_EQ(info.URLLbl->text(), QStringLiteral("fenu.example.org"));
    EXPECT_EQ(info.EMailLbl->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(info.URLLbl->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(info.EMailLbl->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_EQ(info.URLLbl->palette().color(QPalette::WindowText), QColor(0, 0, 255));
}

TEST_F(InfoDlgTest, LabelsFitTheirTextAndKeepTheirRightEdgeWhenTheFontChanges) {
    const std::pair<QLabel*, int> labels[] = {
        {info.InfoLbl, 69}, {info.EMailLbl, 100}, {info.URLLbl, 113}};
    for (const auto& [label, top] : labels) {
        EXPECT_EQ(label->geometry().right() + 1, 430);
        EXPECT_EQ(label->y(), top);
    }
    QFont bigger = info.font();
    bigger.setPointSize(12);
    info.setFont(bigger);
    for (const auto& [label, top] : labels) {
        EXPECT_EQ(label->geometry().right() + 1, 430) << label->objectName().toStdString();
        EXPECT_GE(label->width(), QFontMetrics(bigger).horizontalAdvance(label->text()));
    }
}

TEST_F(InfoDlgTest, ShowAboutSetsCaptionAndValuesAndEnterOrEscapeCloseWithOk) {
    const int byEnter = run.Exec(info, [this] { QTest::keyClick(info.OK, Qt::Key_Return); });
    EXPECT_EQ(byEnter, QDialog::Accepted);
    EXPECT_FALSE(run.StillOpen());
    const int byEscape = run.Exec(info, [this] { QTest::keyClick(&info, Qt::Key_Escape); });
    EXPECT_EQ(byEscape, QDialog::Accepted);
    EXPECT_FALSE(run.StillOpen());

    QTimer::singleShot(0, &info, [this] { info.OK->click(); });
    info.ShowAbout(QStringLiteral("Spiel"), QStringLiteral("2024"), QIcon());
    EXPECT_EQ(info.windowTitle(), QStringLiteral("Info über Spiel"));
    EXPECT_EQ(info.AppTitle(), QStringLiteral("Spiel"));
    EXPECT_EQ(info.YearText(), QStringLiteral("2024"));
}

TEST_F(InfoDlgTest, TheLogoIsTheBitmapResourceAndItsMaskMarksItsPureBlack) {
    const QImage& logo = info.Logo();
    ASSERT_EQ(logo.size(), QSize(142, 63));
    EXPECT_EQ(Pixel(logo, 0, 0), TInfo::White);
    int black = 0;
    for (int y = 0; y < logo.height(); ++y) {
        for (int x = 0; x < logo.width(); ++x) {
            const bool isBlack = Pixel(logo, x, y) == 0;
            black += isBlack ? 1 : 0;
            ASSERT_EQ(Pixel(info.LogoMask(), x, y), isBlack ? 0xFFFFFFu : 0u) << x << "," << y;
        }
    }
    EXPECT_GT(black, 100);
}

TEST_F(InfoDlgTest, GradientColumnsHaveTheirColoursWhereNothingCoversThem) {
    const QImage area = info.RenderLogoArea();
    ASSERT_EQ(area.size(), QSize(435, 65));
    const std::pair<int, TColor> columns[] = {{0, Rgb(74, 160, 255)},
                                              {163, Rgb(164, 207, 255)},
                                              {326, Rgb(255, 255, 255)},
                                              {380, Rgb(166, 208, 255)},
                                              {434, Rgb(76, 161, 255)}};
    for (const auto& [x, colour] : columns) {
        for (int y = 0; y < 4; ++y) {
            EXPECT_EQ(Pixel(area, x, y), colour) << "column " << x << " row " << y;
        }
    }
    // The outer columns are free from top to bottom.
    for (int y = 0; y < area.height(); ++y) {
        EXPECT_EQ(Pixel(area, 0, y), Rgb(74, 160, 255)) << y;
        EXPECT_EQ(Pixel(area, 434, y), Rgb(76, 161, 255)) << y;
    }
}

TEST_F(InfoDlgTest, LogoBlackStaysBlackAndItsOtherPixelsAreAndedWithTheGradient) {
    const QImage area = info.RenderLogoArea();
    const QImage& logo = info.Logo();
    const int left = 326 - 142 / 2;
    ASSERT_EQ(left, 255);
    int checked = 0;
    for (int ly = 0; ly + 4 < area.height(); ++ly) {
        for (int lx = 0; lx < logo.width(); ++lx) {
            const int x = left + lx;
            const TColor gradient = x <= 326
                                        ? BlendColor(TInfo::LightBlue, TInfo::White, x, 326)
                                        : BlendColor(TInfo::White, TInfo::LightBlue, x - 326, 109);
            const TColor logoPixel = Pixel(logo, lx, ly);
            const TColor expected = logoPixel == 0 ? 0 : (gradient & logoPixel);
            ASSERT_EQ(Pixel(area, x, ly + 4), expected) << lx << "," << ly;
            ++checked;
        }
    }
    EXPECT_EQ(checked, 142 * 61) << "the logo's last two rows are cut off";
    // The white background shows the gradient itself.
    EXPECT_EQ(Pixel(area, 255, 4), BlendColor(TInfo::LightBlue, TInfo::White, 255, 326));
}

TEST_F(InfoDlgTest, TheIconSitsInAButtonFaceFrameAtTheLeft) {
    const QImage area = info.RenderLogoArea();
    const TColor face = info.palette().color(QPalette::Button).rgb() & 0xFFFFFFu;
    for (int i = 0; i < 33; ++i) {
        EXPECT_EQ(Pixel(area, 7 + i, 15), face) << "top " << i;
        EXPECT_EQ(Pixel(area, 7 + i, 47), face) << "bottom " << i;
        EXPECT_EQ(Pixel(area, 7, 15 + i), face) << "left " << i;
        EXPECT_EQ(Pixel(area, 39, 15 + i), face) << "right " << i;
    }
    // Just outside the frame the gradient shows.
    EXPECT_EQ(Pixel(area, 6, 30), BlendColor(TInfo::LightBlue, TInfo::White, 6, 326));
    EXPECT_EQ(Pixel(area, 20, 14), BlendColor(TInfo::LightBlue, TInfo::White, 20, 326));
    EXPECT_EQ(Pixel(area, 20, 48), BlendColor(TInfo::LightBlue, TInfo::White, 20, 326));

    // Inside it, the icon's opaque pixels cover the gradient and its clear ones let it show.
    info.SetAbout(QStringLiteral("feNU"), QStringLiteral("2005"), QIcon());
    const QImage withoutIcon = info.RenderLogoArea();
    const QRect changed = Difference(area, withoutIcon);
    EXPECT_FALSE(changed.isEmpty());
    EXPECT_TRUE(QRect(8, 16, 32, 32).contains(changed)) << "icon drawn at 8,16";
    const QImage picture = icon.pixmap(QSize(32, 32), 1.0).toImage();
    EXPECT_EQ(qAlpha(picture.pixel(0, 0)), 0);
    EXPECT_EQ(area.pixel(8, 16), withoutIcon.pixel(8, 16));
}

TEST_F(InfoDlgTest, TheThreeTextLinesStartAtTheirComputedTops) {
    const int plainHeight = QFontMetrics(info.font()).height();
    QFont boldFont = info.font();
    boldFont.setBold(true);
    const int boldHeight = QFontMetrics(boldFont).height();
    const QImage full = info.RenderLogoArea();

    info.SetAbout(QString(), QStringLiteral("2005"), icon);
    const QRect title = Difference(full, info.RenderLogoArea());
    EXPECT_GE(title.top(), 32 - static_cast<int>(1.5 * boldHeight));
    EXPECT_LT(title.bottom(), 32 - static_cast<int>(1.5 * boldHeight) + boldHeight);
    EXPECT_GE(title.left(), 48);

    info.SetAbout(QStringLiteral("feNU"), QString(), icon);
    const QRect year = Difference(full, info.RenderLogoArea());
    EXPECT_GE(year.top(), 32 + plainHeight / 2);
    EXPECT_LT(year.bottom(), 32 + plainHeight / 2 + plainHeight);
    EXPECT_GE(
        year.left(),
        48 + QFontMetrics(info.font()).horizontalAdvance(QStringLiteral("Entwicklungszeit: ")) - 1);

    info.SetAbout(QStringLiteral("feNU"), QStringLiteral("2005"), icon);
    info.SetVersionInfo(nullptr);
    const QRect version = Difference(full, info.RenderLogoArea());
    EXPECT_GE(version.top(), 32 - plainHeight / 2);
    EXPECT_LT(version.bottom(), 32 - plainHeight / 2 + plainHeight);
    EXPECT_GE(version.left(),
              48 + QFontMetrics(info.font()).horizontalAdvance(QStringLiteral("Version: ")) - 1)
        << "only the version number goes when the program has none";
}

TEST_F(InfoDlgTest, LinksUnderlineOnHoverTurnRedWhilePressedAndOpenTheirAddress) {
    for (QLabel* link : {info.EMailLbl, info.URLLbl}) {
        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
        QCoreApplication::sendEvent(link, &enter);
        EXPECT_TRUE(link->font().underline());
        QTest::mousePress(link, Qt::LeftButton, {}, QPoint(2, 2));
        EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        QTest::mouseRelease(link, Qt::LeftButton, {}, QPoint(2, 2));
        EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(link, &leave);
        EXPECT_FALSE(link->font().underline());
        EXPECT_EQ(link->font().family(), info.font().family())
            << "the face still follows the window";
    }
    ASSERT_EQ(opener.Opened.size(), 2);
    EXPECT_EQ(opener.Opened[0],
              QStringLiteral("\"mailto:fenu@example.org?subject=Anwendung: feNU\""));
    EXPECT_EQ(opener.Opened[1], QStringLiteral("http://fenu.example.org"));
}

TEST_F(InfoDlgTest, ALinkOpensOnlyWhenTheLeftButtonIsReleasedOverIt) {
    QTest::mousePress(info.URLLbl, Qt::LeftButton, {}, QPoint(2, 2));
    QTest::mouseRelease(info.URLLbl, Qt::LeftButton, {}, QPoint(-20, 2));
    QTest::mouseClick(info.URLLbl, Qt::RightButton, {}, QPoint(2, 2));
    EXPECT_TRUE(opener.Opened.isEmpty());
    EXPECT_EQ(info.URLLbl->palette().color(QPalette::WindowText), QColor(0, 0, 255));
}

TEST_F(InfoDlgTest, TheMailSubjectCarriesTheTitleGivenToShowAbout) {
    info.SetAbout(QStringLiteral("Mein Spiel"), QStringLiteral("2005"), icon);
    info.EMailLblClick();
    ASSERT_EQ(opener.Opened.size(), 1);
    EXPECT_EQ(opener.Opened[0],
              QStringLiteral("\"mailto:fenu@example.org?subject=Anwendung: Mein Spiel\""));
}

TEST_F(InfoDlgTest, EveryTextFitsItsControl) {
    EXPECT_EQ(test::ClippedTexts(info), QStringList());
    // The title lines fit beside the logo.
    QFont boldFont = info.font();
    boldFont.setBold(true);
    EXPECT_LT(
        48 + QFontMetrics(info.font()).horizontalAdvance(QStringLiteral("Entwicklungszeit: 2005")),
        255);
}

// --- fonts and links -------------------------------------------------------------

TEST(SystemMessageFontTest, GivesEveryEightPointWindowTheInstalledSystemFace) {
    const QString face = SystemMessageFontFace();
    ASSERT_FALSE(face.isEmpty());
    EXPECT_TRUE(QFontDatabase::hasFamily(face)) << face.toStdString();

    QWidget eightPoint;
    eightPoint.setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    QFont boldTen(QStringLiteral("MS Sans Serif"), 10);
    boldTen.setBold(true);
    QWidget tenPoint;
    tenPoint.setFont(boldTen);
    QLabel child(QStringLiteral("Text"), &eightPoint);

    UseSystemMessageFont();
    EXPECT_EQ(eightPoint.font().family(), face);
    EXPECT_EQ(eightPoint.font().pointSize(), 8);
    EXPECT_EQ(QFontInfo(eightPoint.font()).family(), face);
    EXPECT_EQ(child.font().family(), face) << "controls follow their window";
    EXPECT_EQ(tenPoint.font().family(), QStringLiteral("MS Sans Serif"));
    EXPECT_TRUE(tenPoint.font().bold());
}

TEST(SystemMessageFontTest, CreatingTheAboutDialogAdaptsTheWindowsThatExist) {
    QWidget mainWindow;
    mainWindow.setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    RecordingUrlOpener opener;
    TInfo info(&mainWindow, &opener);
    EXPECT_EQ(mainWindow.font().family(), SystemMessageFontFace());
    EXPECT_EQ(info.font().family(), SystemMessageFontFace());
    EXPECT_EQ(info.font().pointSize(), 8);
}

TEST(DesktopUrlOpenerTest, UnquotesAndEncodesTheMailLinkForTheDesktop) {
    const QUrl mail = DesktopUrlOpener::ToUrl(
        QStringLiteral("\"mailto:fenu@example.org?subject=Anwendung: feNU\""));
    ASSERT_TRUE(mail.isValid());
    EXPECT_EQ(mail.scheme(), QStringLiteral("mailto"));
    EXPECT_EQ(mail.path(), QStringLiteral("fenu@example.org"));
    EXPECT_EQ(mail.toEncoded(), QByteArray("mailto:fenu@example.org?subject=Anwendung:%20feNU"));

    const QUrl web = DesktopUrlOpener::ToUrl(QStringLiteral("http://fenu.example.org"));
    EXPECT_EQ(web.host(), QStringLiteral("fenu.example.org"));
}

TEST(DesktopUrlOpenerTest, RefusesLinksThatWouldRunOrOpenLocalThings) {
    EXPECT_FALSE(DesktopUrlOpener::ToUrl(QStringLiteral("file:///bin/sh")).isValid());
    EXPECT_FALSE(DesktopUrlOpener::ToUrl(QStringLiteral("\"/usr/bin/xterm\"")).isValid());
    EXPECT_FALSE(DesktopUrlOpener::ToUrl(QStringLiteral("javascript:alert(1)")).isValid());
    EXPECT_FALSE(DesktopUrlOpener::ToUrl(QString()).isValid());
}

} // namespace
} // namespace fenu
