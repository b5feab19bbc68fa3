#include "ui/statistics/StatisticsDialog.h"

#include "ui/statistics/FiguresText.h"
#include "ui/statistics/PointsChart.h"

#include <algorithm>
#include <utility>

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStyleOptionTabWidgetFrame>
#include <QStylePainter>
#include <QTabBar>
#include <QVBoxLayout>

namespace fenu {

namespace {

// The framed area under the tabs, drawn as a tab widget's page: the same controls
// serve both tabs.
class TTabPage : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QStylePainter painter(this);
        QStyleOptionTabWidgetFrame frame;
        frame.initFrom(this);
        frame.shape = QTabBar::RoundedNorth;
        frame.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
        painter.drawPrimitive(QStyle::PE_FrameTabWidget, frame);
    }
};

const char* const DifficultyNames[] = {"Einfach", "Mittel", "Schwierig", "Benutzerdefiniert"};

} // namespace

TStatisticsDialog::TStatisticsDialog(TStatistics& statistics, const TRecordTable& records,
                                     bool bonus, TMode mode, QWidget* parent,
                                     std::function<int()> writeWaiting)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      statistics_(statistics), writeWaiting_(std::move(writeWaiting)), records_(records) {
    setObjectName(QStringLiteral("Statistik"));
    setWindowTitle(QStringLiteral("Statistik"));
    if (parent != nullptr)
        setFont(parent->font());

    Tabs = new QTabBar;
    Tabs->setDrawBase(false);
    Tabs->setExpanding(false);
    Tabs->setFocusPolicy(Qt::StrongFocus);
    Tabs->addTab(QStringLiteral("Ohne Bonus-Punkte"));
    Tabs->addTab(QStringLiteral("Mit Bonus-Punkten"));
    Tabs->setCurrentIndex(bonus ? 1 : 0);

    auto* page = new TTabPage;
    auto* pageLayout = new QHBoxLayout(page);
    pageLayout->setContentsMargins(10, 10, 10, 10);
    auto* left = new QVBoxLayout;
    pageLayout->addLayout(left);
    Difficulty = new QComboBox;
    for (const char* name : DifficultyNames)
        Difficulty->addItem(QString::fromUtf8(name));
    Difficulty->setCurrentIndex(std::min<int>(mode, TStatistics::CustomKind));
    left->addWidget(Difficulty);
    figures_ = new QWidget;
    auto* figures = new QFormLayout(figures_);
    figures->setContentsMargins(0, 0, 0, 0);
    figures->setLabelAlignment(Qt::AlignLeft);
    left->addWidget(figures_);
    games_ = AddFigure(*figures, QStringLiteral("Spiele:"), "Games");
    playTime_ = AddFigure(*figures, QStringLiteral("Spielzeit:"), "PlayTime");
    average_ = AddFigure(*figures, QStringLiteral("Durchschnitt:"), "Average");
    median_ = AddFigure(*figures, QStringLiteral("Median:"), "Median");
    best_ = AddFigure(*figures, QStringLiteral("Bestes Spiel:"), "Best");
    lastTen_ = AddFigure(*figures, QStringLiteral("Letzte 10 Spiele:"), "LastTen");
    notice_ = new QLabel;
    notice_->setObjectName(QStringLiteral("Notice"));
    notice_->setWordWrap(true);
    notice_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // About as wide as the figures usually are, whose width it may take alone.
    notice_->setFixedWidth(notice_->fontMetrics().averageCharWidth() * 36);
    left->addWidget(notice_);
    WithRaces = new QCheckBox(QStringLiteral("Spiele gegen Rekordläufe einbeziehen"));
    WithRaces->setObjectName(QStringLiteral("WithRaces"));
    left->addWidget(WithRaces);
    left->addStretch();
    ClearButton = new QPushButton(QStringLiteral("Statistik löschen"));
    ClearButton->setObjectName(QStringLiteral("ClearButton"));
    left->addWidget(ClearButton, 0, Qt::AlignLeft);
    PutAsideButton = new QPushButton(QStringLiteral("Beiseitelegen und neu beginnen"));
    PutAsideButton->setObjectName(QStringLiteral("PutAsideButton"));
    left->addWidget(PutAsideButton, 0, Qt::AlignLeft);
    Chart = new TPointsChart;
    Chart->setMinimumSize(380, 260);
    pageLayout->addWidget(Chart, 1);

    OkButton = new QPushButton(QStringLiteral("OK"));
    OkButton->setDefault(true);
    OkButton->setFixedSize(75, 25);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(0);
    layout->addWidget(Tabs);
    layout->addWidget(page, 1);
    layout->addSpacing(7);
    layout->addWidget(OkButton, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(Tabs, &QTabBar::currentChanged, this, &TStatisticsDialog::Refresh);
    connect(Difficulty, &QComboBox::currentIndexChanged, this, &TStatisticsDialog::Refresh);
    connect(WithRaces, &QCheckBox::toggled, this, &TStatisticsDialog::Refresh);
    connect(ClearButton, &QPushButton::clicked, this, &TStatisticsDialog::ClearClick);
    connect(PutAsideButton, &QPushButton::clicked, this, &TStatisticsDialog::PutAsideClick);
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    if (writeWaiting_)
        waiting_ = writeWaiting_();
    Refresh();
}

QLabel* TStatisticsDialog::AddFigure(QFormLayout& figures, const QString& caption,
                                     const char* name) {
    auto* value = new QLabel;
    value->setObjectName(QString::fromLatin1(name));
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    figures.addRow(caption, value);
    return value;
}

void TStatisticsDialog::Refresh() {
    const bool bonus = Tabs->currentIndex() == 1;
    const auto mode = static_cast<TMode>(Difficulty->currentIndex());
    const TStatisticsSummary summary = statistics_.Summary(bonus, mode, WithRaces->isChecked());
    // A file that cannot be read says why, rather than show no games.
    figures_->setVisible(summary.Failure.isEmpty());
    TStatisticsCourse course;
    QString unwritable = summary.Failure;
    if (summary.Failure.isEmpty()) {
        ShowFigures(summary, bonus, mode);
        course = statistics_.Course(bonus, mode, WithRaces->isChecked());
        unwritable = course.Failure.isEmpty() ? statistics_.Unwritable() : course.Failure;
    }
    Chart->Show(course.Points);
    QString notice;
    if (!summary.Failure.isEmpty() || !course.Failure.isEmpty())
        notice = QStringLiteral("Die Statistik kann nicht gelesen werden.\n\n") + unwritable;
    else if (!unwritable.isEmpty())
        notice = QStringLiteral("Die Statistik kann nicht geändert werden.\n\n") + unwritable;
    if (waiting_ > 0)
        notice += (notice.isEmpty() ? QString() : QStringLiteral("\n\n")) +
                  (waiting_ == 1 ? QStringLiteral("Ein Spiel dieses Laufs wartet darauf, "
                                                  "gespeichert zu werden.")
                                 : QStringLiteral("%1 Spiele dieses Laufs warten darauf, "
                                                  "gespeichert zu werden.")
                                       .arg(waiting_));
    notice_->setText(notice);
    notice_->setVisible(!notice.isEmpty());
    ClearButton->setEnabled(unwritable.isEmpty());
    ClearButton->setToolTip(unwritable);
    PutAsideButton->setVisible(statistics_.Damaged());
}

void TStatisticsDialog::ShowFigures(const TStatisticsSummary& summary, bool bonus, TMode mode) {
    const TFiguresText text;
    games_->setText(text.Count(summary.Games));
    playTime_->setText(text.PlayTime(summary.Seconds));
    average_->setText(text.Points(summary.Average, summary.Games));
    median_->setText(text.Points(summary.Median, summary.Games));
    lastTen_->setText(text.Points(summary.LastTenAverage, summary.Games));
    // The records know who played a game of these points, where one still holds them.
    QString player;
    if (mode < CustomMode) {
        const TRecord& record = records_[bonus ? 1 : 0][mode];
        if (record.Points == summary.BestPoints)
            player = record.Player;
    }
    best_->setText(text.Best(summary, player));
}

void TStatisticsDialog::ClearClick() {
    QMessageBox question(QMessageBox::Question, windowTitle(),
                         QStringLiteral("Sollen alle Spiele der Statistik gelöscht werden?\n"
                                        "Die Rekorde bleiben erhalten."),
                         QMessageBox::NoButton, this);
    QPushButton* yes = question.addButton(QStringLiteral("Ja"), QMessageBox::YesRole);
    question.setDefaultButton(question.addButton(QStringLiteral("Nein"), QMessageBox::NoRole));
    question.exec();
    if (question.clickedButton() != yes)
        return;
    const QString failure = statistics_.Clear();
    if (!failure.isEmpty())
        QMessageBox::warning(this, windowTitle(),
                             QStringLiteral("Die Statistik kann nicht gelöscht werden.\n\n") +
                                 failure);
    Refresh();
}

void TStatisticsDialog::PutAsideClick() {
    if (QMessageBox::question(this, windowTitle(),
                              QStringLiteral("Soll die beschädigte Datei beiseitegelegt und eine "
                                             "neue Statistik begonnen werden?\nDie beschädigte "
                                             "Datei bleibt unverändert erhalten."),
                              QMessageBox::Yes | QMessageBox::No,
                              QMessageBox::No) != QMessageBox::Yes)
        return;
    QString aside;
    const QString failure = statistics_.PutDamagedAside(aside);
    if (writeWaiting_)
        waiting_ = writeWaiting_();
    if (!failure.isEmpty())
        QMessageBox::warning(this, windowTitle(),
                             QStringLiteral("Es kann keine neue Statistik begonnen werden.\n\n") +
                                 failure);
    else if (!aside.isEmpty())
        QMessageBox::information(this, windowTitle(),
                                 QStringLiteral("Die beschädigte Datei ist als %1 aufbewahrt, und "
                                                "eine neue Statistik wurde begonnen.")
                                     .arg(QFileInfo(aside).fileName()));
    Refresh();
}

} // namespace fenu
