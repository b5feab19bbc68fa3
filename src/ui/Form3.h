#pragma once

#include "game/OptionMarks.h"
#include "game/Records.h"
#include "ui/DialogPlacement.h"
#include "ui/RecordRuns.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>

#include <QAbstractTableModel>
#include <QWidget>

class QMenu;
class QPushButton;
class QTabBar;
class QTreeView;

namespace fenu {

/// The rows of the records list: three rows, one per preset difficulty, built from
/// the game's records table each time the view asks, so the list never holds a copy.
class TRecordsModel : public QAbstractTableModel {
    Q_OBJECT

public:
    static constexpr int RowCount = PresetCount;
    static constexpr int ColumnCount = 3;

    explicit TRecordsModel(TRecordTable& records, QObject* parent = nullptr);

    /// 0: the table without bonus points, 1: with them.
    int Table() const { return table_; }
    void SetTable(int table);

    /// Tells the view that the shown table has changed underneath it.
    void Refresh();

    /// Which entries a double-click shows a run of (or the reason it cannot): only
    /// their rows promise one in their tooltip.
    using TRunsOffered = std::array<std::array<bool, RowCount>, 2>;
    void SetRunsOffered(const TRunsOffered& offered) { runsOffered_ = offered; }
    bool RunOffered(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    TRecordTable& records_;
    int table_ = 0;
    TRunsOffered runsOffered_{};
};

/// A strip of tabs over a framed area that holds the same controls for every
/// tab: choosing a tab changes what they show, not which controls are there.
class TTabControl : public QWidget {
    Q_OBJECT

public:
    explicit TTabControl(QWidget* parent = nullptr);

    QTabBar* Tabs() const { return tabs_; }
    int TabIndex() const;
    void SetTabIndex(int index);

signals:
    void Change(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QTabBar* tabs_;
};

/// The records dialog ("Rekorde"): the best score and player of each preset
/// difficulty, in the table for games without or with bonus points.
///
/// It works on the game's own records table, which must outlive it. Each showing
/// selects the table that the bonus option, read from the option marks at that
/// moment, writes to. "OK", Enter and the close box close it; Escape does not.
class TForm3 : public TCentredDialog {
    Q_OBJECT

public:
    static constexpr int ClientWidth = 303;
    static constexpr int ClientHeight = 214;

    TForm3(TRecordTable& records, const TOptionMarks& options, QWidget* parent = nullptr);

    /// Where the records' runs are kept: each showing asks which rows have one.
    void SetRecordRuns(const TRecordRuns& runs) { runs_ = runs; }

    /// "Rekorde löschen": empties the three entries of the shown table only.
    void Button1Click();
    void TabControl1Change();

    /// What a right-click on row of the shown table offers: "Rekordlauf ansehen",
    /// "Gegen diesen Rekordlauf spielen" and "Rekordlauf speichern unter...", only on
    /// a row whose run is offered.
    std::unique_ptr<QMenu> RecordRunMenu(int row);
    /// Copies the run of row of the shown table to a file the player chooses.
    void SaveRecordRunAs(int row);

    /// Asks where to save a run, starting with suggestedPath; empty when cancelled.
    /// A file dialog, which tests replace.
    std::function<QString(const QString& suggestedPath)> ChooseRunFile;

signals:
    /// A row of the shown table was double-clicked: its entry's run is wanted.
    void RecordRunRequested(int table, int mode);
    /// "Gegen diesen Rekordlauf spielen" on a row: a race against its entry's run.
    void RecordRaceRequested(int table, int mode);

public:
    TTabControl* TabControl1;
    QTreeView* ListView1;
    QPushButton* Button1;
    QPushButton* Button2;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    TRecordTable& records_;
    const TOptionMarks& options_;
    TRecordsModel* model_;
    std::optional<TRecordRuns> runs_;
    QString lastRunFolder_; ///< where the last run was saved in this session
};

} // namespace fenu
