#include "ui/Form3.h"

#include "platform/app/QtApplication.h"
#include "ui/RunFileDialogs.h"

#include <array>

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QStyleOptionTabWidgetFrame>
#include <QStylePainter>
#include <QTabBar>
#include <QTreeView>

namespace fenu {

namespace {

struct TColumn {
    const char* Caption;
    int Width;
    Qt::Alignment Alignment;
};

const std::array<TColumn, TRecordsModel::ColumnCount> columns{{
    {"Schwierigkeit", 90, Qt::AlignLeft | Qt::AlignVCenter},
    {"Punkte", 60, Qt::AlignRight | Qt::AlignVCenter},
    {"Spieler", 100, Qt::AlignLeft | Qt::AlignVCenter},
}};

} // namespace

// --- TRecordsModel ---------------------------------------------------------

TRecordsModel::TRecordsModel(TRecordTable& records, QObject* parent)
    : QAbstractTableModel(parent), records_(records) {}

void TRecordsModel::SetTable(int table) {
    if (table < 0 || table >= static_cast<int>(records_.size())) {
        return;
    }
    table_ = table;
    Refresh();
}

void TRecordsModel::Refresh() {
    emit dataChanged(index(0, 0), index(RowCount - 1, ColumnCount - 1));
}

int TRecordsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : RowCount;
}

int TRecordsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TRecordsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= RowCount || index.column() >= ColumnCount) {
        return {};
    }
    if (role == Qt::TextAlignmentRole) {
        return static_cast<int>(columns[static_cast<size_t>(index.column())].Alignment);
    }
    const auto table = static_cast<size_t>(table_);
    const auto row = static_cast<size_t>(index.row());
    const TRecord& entry = records_[table][row];
    if (role == Qt::ToolTipRole && RunOffered(index.row())) {
        return QStringLiteral("Doppelklick: Rekordlauf ansehen");
    }
    if (role != Qt::DisplayRole) {
        return {};
    }
    switch (index.column()) {
    case 0:
        return DifficultyName(index.row());
    case 1:
        return entry.Points != 0 ? QString::number(entry.Points) : QStringLiteral("-");
    default:
        // A name without points (possible after editing the file by hand) is no record.
        return entry.Points != 0 ? entry.Player : QString();
    }
}

QVariant TRecordsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount) {
        return {};
    }
    const TColumn& column = columns[static_cast<size_t>(section)];
    if (role == Qt::DisplayRole) {
        return QString::fromUtf8(column.Caption);
    }
    if (role == Qt::TextAlignmentRole) {
        return static_cast<int>(column.Alignment);
    }
    return {};
}

bool TRecordsModel::RunOffered(int row) const {
    if (row < 0 || row >= RowCount)
        return false;
    const auto table = static_cast<size_t>(table_);
    const auto n = static_cast<size_t>(row);
    return records_[table][n].Points != 0 && runsOffered_[table][n];
}

Qt::ItemFlags TRecordsModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren
                           : Qt::NoItemFlags;
}

// --- TTabControl -----------------------------------------------------------

TTabControl::TTabControl(QWidget* parent) : QWidget(parent), tabs_(new QTabBar(this)) {
    tabs_->setDrawBase(false);
    tabs_->setExpanding(false);
    // A click on a tab takes the focus, as a tab control does: otherwise it stays on
    // "Rekorde löschen", and the Enter meant for "OK" would empty the newly shown
    // table too.
    tabs_->setFocusPolicy(Qt::StrongFocus);
    connect(tabs_, &QTabBar::currentChanged, this, &TTabControl::Change);
}

int TTabControl::TabIndex() const {
    return tabs_->currentIndex();
}

void TTabControl::SetTabIndex(int index) {
    tabs_->setCurrentIndex(index);
}

void TTabControl::resizeEvent(QResizeEvent* event) {
    tabs_->setGeometry(0, 0, width(), tabs_->sizeHint().height());
    QWidget::resizeEvent(event);
}

void TTabControl::paintEvent(QPaintEvent* /*event*/) {
    QStylePainter painter(this);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    const int top = tabs_->sizeHint().height() - 2;
    frame.rect = QRect(0, top, width(), height() - top);
    frame.shape = QTabBar::RoundedNorth;
    frame.tabBarSize = tabs_->sizeHint();
    frame.tabBarRect = QRect(QPoint(0, 0), tabs_->sizeHint());
    frame.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    painter.drawPrimitive(QStyle::PE_FrameTabWidget, frame);
}

// --- TForm3 ----------------------------------------------------------------

TForm3::TForm3(TRecordTable& records, const TOptionMarks& options, QWidget* parent)
    : TCentredDialog(TCentre::OwnerWindow, parent,
                     Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                         Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint),
      records_(records), options_(options), model_(new TRecordsModel(records, this)) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Rekorde"));
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    setFixedSize(ClientWidth, ClientHeight);

    TabControl1 = new TTabControl(this);
    TabControl1->setObjectName(QStringLiteral("TabControl1"));
    TabControl1->Tabs()->addTab(QStringLiteral("Ohne Bonus-Punkte"));
    TabControl1->Tabs()->addTab(QStringLiteral("Mit Bonus-Punkten"));
    TabControl1->setGeometry(8, 8, 289, 169);

    ListView1 = new QTreeView(TabControl1);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setGeometry(8, 32, 265, 97);
    ListView1->setModel(model_);
    ListView1->setRootIsDecorated(false);
    ListView1->setItemsExpandable(false);
    ListView1->setUniformRowHeights(true);
    ListView1->setAllColumnsShowFocus(true);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setSortingEnabled(false);
    QHeaderView* header = ListView1->header();
    header->setSectionsClickable(false);
    header->setSectionsMovable(false);
    header->setStretchLastSection(false);
    header->setSectionResizeMode(QHeaderView::Interactive);
    for (int column = 0; column < TRecordsModel::ColumnCount; ++column) {
        ListView1->setColumnWidth(column, columns[static_cast<size_t>(column)].Width);
    }

    Button1 = new QPushButton(QStringLiteral("Rekorde löschen"), TabControl1);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(168, 136, 105, 25);

    Button2 = new QPushButton(QStringLiteral("OK"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(114, 184, 75, 25);
    Button2->setDefault(true);

    connect(TabControl1, &TTabControl::Change, this, &TForm3::TabControl1Change);
    connect(Button1, &QPushButton::clicked, this, &TForm3::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &QDialog::accept);
    connect(ListView1, &QTreeView::doubleClicked, this, [this](const QModelIndex& index) {
        emit RecordRunRequested(model_->Table(), index.row());
    });
    ListView1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ListView1, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        const QModelIndex index = ListView1->indexAt(pos);
        if (const std::unique_ptr<QMenu> menu = RecordRunMenu(index.row())) {
            ListView1->setCurrentIndex(index);
            menu->exec(ListView1->viewport()->mapToGlobal(pos));
        }
    });
    ChooseRunFile = [this](const QString& suggestedPath) {
        return ChooseRunFileToSave(this, suggestedPath);
    };
}

std::unique_ptr<QMenu> TForm3::RecordRunMenu(int row) {
    if (!runs_ || !model_->RunOffered(row))
        return nullptr;
    auto menu = std::make_unique<QMenu>(this);
    const int table = model_->Table();
    menu->addAction(QStringLiteral("Rekordlauf ansehen"), this,
                    [this, table, row] { emit RecordRunRequested(table, row); });
    menu->addAction(QStringLiteral("Gegen diesen Rekordlauf spielen"), this,
                    [this, table, row] { emit RecordRaceRequested(table, row); });
    menu->addAction(QStringLiteral("Rekordlauf speichern unter..."), this,
                    [this, row] { SaveRecordRunAs(row); });
    return menu;
}

void TForm3::SaveRecordRunAs(int row) {
    if (!runs_ || row < 0 || row >= TRecordsModel::RowCount)
        return;
    const auto table = static_cast<size_t>(model_->Table());
    const auto mode = static_cast<TMode>(row);
    const TRecord entry = records_[table][mode];
    const QString folder = lastRunFolder_.isEmpty() ? QDir::homePath() : lastRunFolder_;
    const QString target =
        ChooseRunFile(QDir(folder).filePath(SharedRunFileName(table, mode, entry)));
    if (target.isEmpty())
        return;
    lastRunFolder_ = QFileInfo(target).absolutePath();
    const QString failure = runs_->SaveCopy(table, mode, entry, target);
    if (!failure.isEmpty())
        QtApplication::ShowErrorBox(
            QStringLiteral("Der Rekordlauf kann nicht gespeichert werden: ") + failure);
}

void TForm3::Button1Click() {
    for (TRecord& entry : records_[static_cast<size_t>(model_->Table())]) {
        entry.Points = 0;
        entry.Player.clear();
    }
    model_->Refresh();
}

void TForm3::TabControl1Change() {
    model_->SetTable(TabControl1->TabIndex());
}

void TForm3::showEvent(QShowEvent* event) {
    // Asked once per showing, not per mouse move: a few bytes of at most six files.
    TRecordsModel::TRunsOffered offered{};
    for (size_t t = 0; runs_ && t < offered.size(); ++t) {
        for (size_t n = 0; n < offered[t].size(); ++n)
            offered[t][n] = runs_->Offers(t, static_cast<TMode>(n), records_[t][n]);
    }
    model_->SetRunsOffered(offered);
    TabControl1->SetTabIndex(options_.BonusPointsChecked() ? 1 : 0);
    // Setting the same tab again emits no change, yet the table may have changed
    // since the last showing (a record just entered).
    TabControl1Change();
    QDialog::showEvent(event);
}

void TForm3::keyPressEvent(QKeyEvent* event) {
    // No cancel button: Escape must not close the dialog.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace fenu
