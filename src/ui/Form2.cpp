#include "ui/Form2.h"

#include "game/Configuration.h"

#include <algorithm>

#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace fenu {

const QString TForm2::MaxSpeedCaption =
    QStringLiteral("Maximale Anfangsgeschwindigkeit (X- bzw. Y-Richtung):");

namespace {

// Room kept between a label and its group box's left edge.
constexpr int GroupMargin = 4;

QRect Design(const QLabel* label) {
    return label->property("designBox").toRect();
}

/// The text split at the blank that makes the longer of its two lines shortest,
/// or nothing when no split lets both lines fit.
QString BalancedTwoLines(const QString& text, const QFontMetrics& metrics, int room) {
    QString best;
    int bestWidth = room + 1;
    for (qsizetype i = text.indexOf(QLatin1Char(' ')); i >= 0;
         i = text.indexOf(QLatin1Char(' '), i + 1)) {
        const int width = std::max(metrics.horizontalAdvance(text.left(i)),
                                   metrics.horizontalAdvance(text.mid(i + 1)));
        if (width < bestWidth) {
            bestWidth = width;
            best = text.left(i) + QLatin1Char('\n') + text.mid(i + 1);
        }
    }
    return best;
}

QLabel* MakeLabel(const QString& text, QWidget* parent, int left, int top) {
    auto* label = new QLabel(text, parent);
    label->move(left, top);
    label->adjustSize();
    return label;
}

QLabel* MakeRightLabel(const QString& text, QWidget* parent, int left, int top, int width,
                       int height) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setGeometry(left, top, width, height);
    label->setProperty("designBox", QRect(left, top, width, height));
    label->setProperty("caption", text);
    return label;
}

TSpinEdit* MakeSpin(QWidget* parent, const char* name, TRange range, int32_t value, int left,
                    int top, int width) {
    auto* spin = new TSpinEdit(range.Min, range.Max, value, parent);
    spin->setObjectName(QString::fromLatin1(name));
    spin->setGeometry(left, top, width, 22);
    return spin;
}

QGroupBox* MakeGroup(const QString& title, QWidget* parent, int left, int top, int width,
                     int height) {
    auto* group = new QGroupBox(title, parent);
    group->setGeometry(left, top, width, height);
    return group;
}

QPushButton* MakeButton(const QString& text, QWidget* parent, const char* name, int left, int top) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(left, top, 75, 25);
    return button;
}

} // namespace

TForm2::TForm2(QWidget* parent)
    : TCentredDialog(TCentre::OwnerWindow, parent,
                     Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                         Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Benutzerdefinierte Einstellungen"));
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    setFixedSize(ClientWidth, ClientHeight);

    GroupBox_Balls = MakeGroup(QStringLiteral("Zu meidende Bälle"), this, 8, 8, 193, 89);
    Label_Count = MakeLabel(QStringLiteral("Anzahl:"), GroupBox_Balls, 16, 24);
    SpinEdit_Balls = MakeSpin(GroupBox_Balls, "SpinEdit_Balls", CustomBallCount, 2, 64, 20, 121);
    Label_BallsRadius = MakeRightLabel(QStringLiteral("Radius:"), GroupBox_Balls, 15, 56, 36, 13);
    SpinEdit_BallsRadius =
        MakeSpin(GroupBox_Balls, "SpinEdit_BallsRadius", CustomRadius, 20, 64, 52, 121);

    GroupBox_Player = MakeGroup(QStringLiteral("Zu steuernder Ball"), this, 216, 8, 193, 89);
    Label_Radius = MakeRightLabel(QStringLiteral("Radius:"), GroupBox_Player, 15, 56, 36, 13);
    SpinEdit_Radius = MakeSpin(GroupBox_Player, "SpinEdit_Radius", CustomRadius, 20, 64, 52, 121);

    GroupBox_Other = MakeGroup(QStringLiteral("Sonstiges"), this, 8, 104, 401, 57);
    Label_MaxSpeed = MakeRightLabel(MaxSpeedCaption, GroupBox_Other, 16, 24, 265, 13);
    SpinEdit_MaxSpeed =
        MakeSpin(GroupBox_Other, "SpinEdit_MaxSpeed", CustomMaxStartSpeed, 5, 288, 20, 105);

    Button_Cancel = MakeButton(QStringLiteral("Ab&brechen"), this, "Button_Cancel", 127, 168);
    Button_Start = MakeButton(QStringLiteral("Start"), this, "Button_Start", 215, 168);
    Button_Start->setDefault(true);
    connect(Button_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(Button_Start, &QPushButton::clicked, this, &QDialog::accept);

    Label_Count->setBuddy(SpinEdit_Balls);
    Label_BallsRadius->setBuddy(SpinEdit_BallsRadius);
    Label_Radius->setBuddy(SpinEdit_Radius);
    Label_MaxSpeed->setBuddy(SpinEdit_MaxSpeed);

    for (QLabel* label : {Label_Count, Label_BallsRadius, Label_Radius, Label_MaxSpeed}) {
        label->installEventFilter(this);
        FitLabel(label);
    }

    setTabOrder(SpinEdit_Balls, SpinEdit_BallsRadius);
    setTabOrder(SpinEdit_BallsRadius, SpinEdit_Radius);
    setTabOrder(SpinEdit_Radius, SpinEdit_MaxSpeed);
    setTabOrder(SpinEdit_MaxSpeed, Button_Cancel);
    setTabOrder(Button_Cancel, Button_Start);
}

// The layout was drawn for a narrow face; the system's face may be wider. A
// right-aligned label that does not fit keeps its right edge and grows to the left
// up to the group box's margin; if that is not enough, it takes two lines, centred
// on its field. Other controls stay where they are.
void TForm2::FitLabel(QLabel* label) {
    if (label == Label_Count) {
        // Left-aligned and sized to its text. Measured from the font directly: when
        // the font has just changed, the label's own size hint may not know it yet.
        label->resize(QFontMetrics(label->font()).size(Qt::TextSingleLine, label->text()));
        return;
    }
    const QRect design = Design(label);
    const QString caption = label->property("caption").toString();
    const QFontMetrics metrics(label->font());
    const int right = design.left() + design.width();
    const int room = right - GroupMargin;
    const int needed = metrics.horizontalAdvance(caption);
    const int fieldCentre = design.top() + design.height() / 2;
    if (needed <= design.width() && metrics.height() <= design.height()) {
        label->setText(caption);
        label->setGeometry(design);
        return;
    }
    if (needed <= room) {
        const int width = std::max(needed, design.width());
        const int height = std::max(metrics.height(), design.height());
        label->setText(caption);
        label->setGeometry(right - width, fieldCentre - height / 2, width, height);
        return;
    }
    const QString twoLines = BalancedTwoLines(caption, metrics, room);
    label->setText(twoLines.isEmpty() ? caption : twoLines);
    const int height = 2 * metrics.height();
    label->setGeometry(GroupMargin, std::max(0, fieldCentre - height / 2), room, height);
}

bool TForm2::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        if (auto* label = qobject_cast<QLabel*>(watched)) {
            FitLabel(label);
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TForm2::done(int result) {
    // The dialog may close by Enter while a field still holds "35": the caller
    // reads 20, so the next showing shows 20 as well.
    for (TSpinEdit* spin :
         {SpinEdit_Balls, SpinEdit_BallsRadius, SpinEdit_Radius, SpinEdit_MaxSpeed}) {
        spin->Normalize();
    }
    QDialog::done(result);
}

} // namespace fenu
