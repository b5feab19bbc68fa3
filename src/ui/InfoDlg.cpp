#include "ui/InfoDlg.h"

#include "platform/raster/QtCanvas.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

namespace fenu {

const QString TInfo::CreditLine = QStringLiteral("feNU – ein kleines Arcade-Spiel");
const QString TInfo::EMailAddress = QStringLiteral("fenu@example.org");
const QString TInfo::WebAddress = QStringLiteral("fenu.example.org");

namespace {

constexpr QRgb OpaqueBits = 0xFF000000u;
constexpr QRgb ColorBits = 0x00FFFFFFu;

int32_t Channel(TColor color, int shift) {
    return static_cast<int32_t>((color >> shift) & 0xFF);
}

/// The paint box that shows the logo area.
class TLogoPaintBox : public QWidget {
public:
    explicit TLogoPaintBox(TInfo* owner) : QWidget(owner), owner_(owner) {}

protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter painter(this);
        painter.drawImage(0, 0, owner_->RenderLogoArea());
    }

private:
    TInfo* owner_;
};

} // namespace

TColor BlendColor(TColor from, TColor to, int32_t step, int32_t steps) {
    if (steps == 0) {
        return to & ColorBits;
    }
    TColor result = 0;
    for (int shift : {16, 8, 0}) {
        const int32_t a = Channel(from, shift);
        const int32_t b = Channel(to, shift);
        const int32_t channel = a + (b - a) * step / steps;
        result |= static_cast<TColor>(channel & 0xFF) << shift;
    }
    return result;
}

QString SystemMessageFontFace() {
    const QFont system = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    return QFontInfo(system).family();
}

void UseSystemMessageFont() {
    const QString face = SystemMessageFontFace();
    if (face.isEmpty()) {
        return;
    }
    for (QWidget* window : QApplication::topLevelWidgets()) {
        QFont font = window->font();
        if (font.pointSize() == 8 && font.family() != face) {
            font.setFamily(face);
            window->setFont(font);
        }
    }
}

QIcon ProgramIcon() {
    // Only the 32-pixel picture: an X11 window carries every size of its icon in a
    // property, and the 256-pixel one alone cost the program most of a megabyte at
    // its peak. Desktops take their large icons from the icon theme, where the
    // package installs the 256-pixel picture.
    return QIcon(QStringLiteral(":/images/icon32.png"));
}

QString GetFileVersionText(const VersionInfo* info) {
    if (info == nullptr || !ProgramFileIsExecutable()) {
        return QString();
    }
    const auto translations = info->Translations();
    if (translations.empty()) {
        return QString();
    }
    return info->QueryString(VersionInfo::StringPath(translations.front(), "FileVersion"))
        .value_or(QString());
}

QString GetFileVersionText() {
    return GetFileVersionText(&ProgramVersionInfo());
}

// --- TInfo -----------------------------------------------------------------

TInfo::TInfo(QWidget* parent, UrlOpener* opener)
    : TCentredDialog(TCentre::Screen, parent,
                     Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                         Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint),
      versionInfo_(&ProgramVersionInfo()), opener_(opener) {
    if (opener_ == nullptr) {
        ownOpener_ = std::make_unique<DesktopUrlOpener>();
        opener_ = ownOpener_.get();
    }
    setObjectName(QStringLiteral("Info"));
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    setFixedSize(ClientWidth, ClientHeight);

    LogoPB = new TLogoPaintBox(this);
    LogoPB->setObjectName(QStringLiteral("LogoPB"));
    LogoPB->setGeometry(0, 0, ClientWidth, LogoHeight);

    auto makeLabel = [this](const char* name) {
        auto* label = new QLabel(this);
        label->setObjectName(QString::fromLatin1(name));
        label->setTextFormat(Qt::PlainText);
        label->installEventFilter(this);
        return label;
    };
    InfoLbl = makeLabel("InfoLbl");
    EMailLbl = makeLabel("EMailLbl");
    URLLbl = makeLabel("URLLbl");
    EMailLbl->setCursor(Qt::PointingHandCursor);
    URLLbl->setCursor(Qt::PointingHandCursor);

    OK = new QPushButton(QStringLiteral("OK"), this);
    OK->setObjectName(QStringLiteral("OK"));
    OK->setGeometry(8, 101, 81, 25);
    OK->setDefault(true);
    connect(OK, &QPushButton::clicked, this, &QDialog::accept);

    UseSystemMessageFont();

    logo_ = QImage(QStringLiteral(":/images/logo.bmp")).convertToFormat(QImage::Format_RGB32);
    // Pure black is the logo's opaque colour: the mask is white there and black
    // everywhere else, so OR then AND leaves black where the logo is black and
    // lets the background through the logo's white.
    logoMask_ = logo_;
    for (int y = 0; y < logoMask_.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(logoMask_.scanLine(y));
        for (int x = 0; x < logoMask_.width(); ++x) {
            line[x] = OpaqueBits | ((line[x] & ColorBits) == 0 ? ColorBits : 0u);
        }
    }

    InfoLbl->setText(CreditLine);
    SetLinkColor(EMailLbl, LinkBlue);
    EMailLbl->setText(EMailAddress);
    SetLinkColor(URLLbl, LinkBlue);
    URLLbl->setText(WebAddress);
    PlaceLabel(InfoLbl, 69);
    PlaceLabel(EMailLbl, 100);
    PlaceLabel(URLLbl, 113);
}

TInfo::~TInfo() = default;

void TInfo::SetAbout(const QString& title, const QString& year, const QIcon& icon) {
    appTitle_ = title;
    yearText_ = year;
    appIcon_ = icon;
    setWindowTitle(QStringLiteral("Info über ") + title);
    LogoPB->update();
}

void TInfo::ShowAbout(const QString& title, const QString& year, const QIcon& icon) {
    SetAbout(title, year, icon);
    exec();
}

void TInfo::PlaceLabel(QLabel* label, int top) const {
    // The labels fit their text and keep their right edge, also when the font changes.
    // Measured from the font directly: when the font has just changed, the label's
    // own size hint may not know it yet.
    const QSize text = QFontMetrics(label->font()).size(Qt::TextSingleLine, label->text());
    const QMargins margins = label->contentsMargins();
    const int extra = 2 * label->margin();
    label->resize(text.width() + margins.left() + margins.right() + extra,
                  text.height() + margins.top() + margins.bottom() + extra);
    label->move(LabelRight - label->width(), top);
}

void TInfo::SetLinkColor(QLabel* link, TColor color) {
    QPalette palette = link->palette();
    palette.setColor(QPalette::WindowText, ToQColor(color));
    link->setPalette(palette);
}

QImage TInfo::RenderLogoArea() const {
    QImage area(LogoPB->size(), QImage::Format_RGB32);
    LogoPBPaint(area);
    return area;
}

void TInfo::LogoPBPaint(QImage& area) const {
    if (area.format() != QImage::Format_RGB32) {
        area = area.convertToFormat(QImage::Format_RGB32);
    }
    const int w = area.width();
    const int h = area.height();
    if (w <= 0 || h <= 0) {
        return;
    }
    auto column = [&area, h](int x, TColor color) {
        if (x < 0 || x >= area.width()) {
            return;
        }
        for (int y = 0; y < h; ++y) {
            reinterpret_cast<QRgb*>(area.scanLine(y))[x] = OpaqueBits | color;
        }
    };

    // Light blue at the left edge to white at three quarters, back to light blue.
    const int a = static_cast<int>(w * 0.75);
    for (int x = 0; x <= a; ++x) {
        column(x, BlendColor(LightBlue, White, x, a));
    }
    const int b = w - a;
    for (int i = 0; i <= b; ++i) {
        column(w - b + i, BlendColor(White, LightBlue, i, b));
    }

    // The logo, centred on the whitest column: OR with the mask, then AND with the logo.
    const int logoLeft = a - logo_.width() / 2;
    constexpr int logoTop = 4;
    for (int ly = 0; ly < logo_.height() && logoTop + ly < h; ++ly) {
        auto* target = reinterpret_cast<QRgb*>(area.scanLine(logoTop + ly));
        const auto* mask = reinterpret_cast<const QRgb*>(logoMask_.constScanLine(ly));
        const auto* logo = reinterpret_cast<const QRgb*>(logo_.constScanLine(ly));
        for (int lx = 0; lx < logo_.width(); ++lx) {
            const int x = logoLeft + lx;
            if (x < 0 || x >= w) {
                continue;
            }
            QRgb pixel = target[x] & ColorBits;
            pixel |= mask[lx] & ColorBits;
            pixel &= logo[lx] & ColorBits;
            target[x] = OpaqueBits | pixel;
        }
    }

    // Text is measured and drawn at the paint box's resolution.
    const int dotsPerMeterX = qRound(LogoPB->logicalDpiX() / 0.0254);
    const int dotsPerMeterY = qRound(LogoPB->logicalDpiY() / 0.0254);
    area.setDotsPerMeterX(dotsPerMeterX);
    area.setDotsPerMeterY(dotsPerMeterY);

    QPainter painter(&area);
    const int iconTop = h / 2 - IconSize / 2;
    if (!appIcon_.isNull()) {
        painter.drawPixmap(QRect(8, iconTop, IconSize, IconSize),
                           appIcon_.pixmap(QSize(IconSize, IconSize), 1.0));
    }
    // One-pixel outline; right and bottom are exclusive.
    const int left = 7;
    const int top = iconTop - 1;
    const int right = IconSize + 8;
    const int bottom = h / 2 + IconSize / 2;
    const QColor face = palette().color(QPalette::Button);
    painter.fillRect(left, top, right - left, 1, face);
    painter.fillRect(left, bottom - 1, right - left, 1, face);
    painter.fillRect(left, top, 1, bottom - top, face);
    painter.fillRect(right - 1, top, 1, bottom - top, face);

    const int textLeft = IconSize + 16;
    painter.setPen(palette().color(QPalette::WindowText));
    painter.setBackgroundMode(Qt::TransparentMode);
    QFont bold = font();
    bold.setBold(true);
    const QFontMetrics boldMetrics(bold, &area);
    painter.setFont(bold);
    painter.drawText(textLeft,
                     h / 2 - static_cast<int>(1.5 * boldMetrics.height()) + boldMetrics.ascent(),
                     appTitle_);
    const QFont plain = font();
    const QFontMetrics plainMetrics(plain, &area);
    const int half = static_cast<int>(0.5 * plainMetrics.height());
    painter.setFont(plain);
    painter.drawText(textLeft, h / 2 - half + plainMetrics.ascent(),
                     QStringLiteral("Version: ") + GetFileVersionText(versionInfo_));
    painter.drawText(textLeft, h / 2 + half + plainMetrics.ascent(),
                     QStringLiteral("Entwicklungszeit: ") + yearText_);
}

void TInfo::EMailLblClick() {
    // The whole text in quotes, the subject unescaped, as the link has always been sent.
    opener_->Open(QStringLiteral("\"mailto:") + EMailAddress +
                  QStringLiteral("?subject=Anwendung: ") + appTitle_ + QStringLiteral("\""));
}

void TInfo::URLLblClick() {
    opener_->Open(QStringLiteral("http://") + WebAddress);
}

// The link's own font sets only its style, so face and size keep following the window.
void TInfo::HyperLinkMouseEnter(QLabel* link) {
    QFont font;
    font.setUnderline(true);
    link->setFont(font);
}

void TInfo::HyperLinkMouseLeave(QLabel* link) {
    QFont font;
    font.setUnderline(false);
    font.setBold(false);
    font.setItalic(false);
    font.setStrikeOut(false);
    link->setFont(font);
}

void TInfo::HyperLinkMouseDown(QLabel* link) {
    SetLinkColor(link, LinkRed);
}

void TInfo::HyperLinkMouseUp(QLabel* link) {
    SetLinkColor(link, LinkBlue);
}

bool TInfo::eventFilter(QObject* watched, QEvent* event) {
    auto* label = qobject_cast<QLabel*>(watched);
    if (label == nullptr) {
        return QDialog::eventFilter(watched, event);
    }
    if (event->type() == QEvent::FontChange) {
        PlaceLabel(label, label->y());
        return false;
    }
    if (label != EMailLbl && label != URLLbl) {
        return false;
    }
    switch (event->type()) {
    case QEvent::Enter:
        HyperLinkMouseEnter(label);
        break;
    case QEvent::Leave:
        HyperLinkMouseLeave(label);
        break;
    case QEvent::MouseButtonPress:
        HyperLinkMouseDown(label);
        return true;
    case QEvent::MouseButtonRelease: {
        HyperLinkMouseUp(label);
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton &&
            label->rect().contains(mouse->position().toPoint())) {
            if (label == EMailLbl) {
                EMailLblClick();
            } else {
                URLLblClick();
            }
        }
        return true;
    }
    default:
        break;
    }
    return false;
}

void TInfo::keyPressEvent(QKeyEvent* event) {
    // OK is the cancel button as well: Escape closes with the result OK.
    if (event->key() == Qt::Key_Escape) {
        OK->click();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace fenu
