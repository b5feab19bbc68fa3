#pragma once

#include "platform/Geometry.h"
#include "platform/app/UrlOpener.h"
#include "platform/app/VersionInfo.h"
#include "ui/DialogPlacement.h"

#include <cstdint>
#include <memory>

#include <QIcon>
#include <QImage>

class QLabel;
class QPushButton;

namespace fenu {

/// Each 8-bit channel from + (to - from) * step / steps, in signed 32-bit
/// arithmetic, the division truncating toward zero. Step 0 gives from, step ==
/// steps gives to. With no steps at all there is nothing to blend: the result is to.
TColor BlendColor(TColor from, TColor to, int32_t step, int32_t steps);

/// The face of the font the system uses for message boxes, resolved to a face that
/// is installed (a family name the system reports may be an alias).
QString SystemMessageFontFace();

/// Gives every top-level window whose font is 8 points the face of the system's
/// message-box font; size, style and colour stay, and the controls follow their
/// window. Reaches the windows that exist when it is called.
void UseSystemMessageFont();

/// The program's icon (32 pixels), decoded anew on each call.
QIcon ProgramIcon();

/// The "FileVersion" string of the program, looked up under the first translation
/// of its version information, or the empty string when the program's file is not
/// an executable, has no version information, no translation or no such string.
QString GetFileVersionText(const VersionInfo* info);
QString GetFileVersionText();

/// The about dialog ("Info über feNU"): a painted logo area with the program's
/// icon, title, version and development time, the maker's credit line and two
/// links, the maker's e-mail and web addresses.
///
/// Constructing it adapts the fonts of all windows that exist at that moment to
/// the system's message-box face (UseSystemMessageFont), so create it last.
class TInfo : public TCentredDialog {
    Q_OBJECT

public:
    static constexpr int ClientWidth = 435;
    static constexpr int ClientHeight = 132;
    static constexpr int LogoHeight = 65;
    static constexpr int IconSize = 32;
    static constexpr TColor LightBlue = 0x4AA0FF;
    static constexpr TColor White = 0xFFFFFF;
    static constexpr TColor LinkBlue = 0x0000FF;
    static constexpr TColor LinkRed = 0xFF0000;
    static constexpr int LabelRight = 430;

    static const QString CreditLine;
    static const QString EMailAddress;
    static const QString WebAddress;

    /// Links go to the given opener, or to the desktop's handlers when none is given.
    explicit TInfo(QWidget* parent = nullptr, UrlOpener* opener = nullptr);
    ~TInfo() override;

    /// Takes the title, the development-time text and the icon, sets the caption
    /// and shows the dialog modally.
    void ShowAbout(const QString& title, const QString& year, const QIcon& icon);
    /// What ShowAbout does before it shows the dialog.
    void SetAbout(const QString& title, const QString& year, const QIcon& icon);

    const QString& AppTitle() const { return appTitle_; }
    const QString& YearText() const { return yearText_; }
    const QImage& Logo() const { return logo_; }
    const QImage& LogoMask() const { return logoMask_; }

    /// Where the version text comes from; nullptr: the program has none.
    void SetVersionInfo(const VersionInfo* info) { versionInfo_ = info; }

    /// Paints the whole logo area into area, whose size is the paint box's.
    void LogoPBPaint(QImage& area) const;
    /// The logo area as the paint box shows it now.
    QImage RenderLogoArea() const;

    void EMailLblClick();
    void URLLblClick();
    void HyperLinkMouseEnter(QLabel* link);
    void HyperLinkMouseLeave(QLabel* link);
    void HyperLinkMouseDown(QLabel* link);
    void HyperLinkMouseUp(QLabel* link);

    QWidget* LogoPB;
    QLabel* InfoLbl;
    QLabel* EMailLbl;
    QLabel* URLLbl;
    QPushButton* OK;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void PlaceLabel(QLabel* label, int top) const;
    static void SetLinkColor(QLabel* link, TColor color);

    QImage logoMask_;
    QString appTitle_;
    QString yearText_;
    QIcon appIcon_;
    QImage logo_;
    const VersionInfo* versionInfo_;
    std::unique_ptr<UrlOpener> ownOpener_;
    UrlOpener* opener_;
};

} // namespace fenu
