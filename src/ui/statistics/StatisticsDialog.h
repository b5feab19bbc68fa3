#pragma once

#include "game/Records.h"
#include "stats/Statistics.h"

#include <functional>

#include <QDialog>

class QCheckBox;
class QComboBox;
class QFormLayout;
class QLabel;
class QPushButton;
class QTabBar;

namespace fenu {

class TPointsChart;

/// The statistics dialog ("Statistik"), in the look of the records: a tab for
/// games without and one for games with bonus points, a choice of difficulty, the
/// figures of that kind of game and the chart of its points beside them.
///
/// The figures come from the database's own queries each time the choice
/// changes; only the chart reads the points of every game. A file that cannot be
/// read shows why in their place, one that cannot be written says so beneath
/// them, and neither offers "Statistik löschen", which otherwise asks first and
/// empties the statistics, never the records (the records table gives the best
/// game its player's name where it holds that game's points). A damaged file
/// offers instead to be put aside for a new one. Games of the run that wait to be
/// written are counted beneath. "OK", Enter, Escape and the close box close it,
/// wherever the focus is.
class TStatisticsDialog : public QDialog {
    Q_OBJECT

public:
    /// writeWaiting writes the run's games that wait to be written where it can and
    /// says how many still wait.
    TStatisticsDialog(TStatistics& statistics, const TRecordTable& records, bool bonus, TMode mode,
                      QWidget* parent = nullptr, std::function<int()> writeWaiting = {});

    QTabBar* Tabs;
    QComboBox* Difficulty;
    /// Races against a run count in the figures only while checked: their course
    /// was known.
    QCheckBox* WithRaces;
    QPushButton* ClearButton;
    /// Shown for a damaged file only.
    QPushButton* PutAsideButton;
    QPushButton* OkButton;
    TPointsChart* Chart;

    /// "Statistik löschen": asks, then empties the statistics.
    void ClearClick();
    /// "Beiseitelegen und neu beginnen": asks, then puts the damaged file aside and
    /// starts a new one, and writes the games that wait into it.
    void PutAsideClick();
    /// The figures and the chart of the chosen tab and difficulty, read anew.
    void Refresh();

private:
    QLabel* AddFigure(QFormLayout& figures, const QString& caption, const char* name);
    void ShowFigures(const TStatisticsSummary& summary, bool bonus, TMode mode);

    TStatistics& statistics_;
    std::function<int()> writeWaiting_;
    int waiting_ = 0;
    TRecordTable records_;
    QLabel* games_;
    QLabel* playTime_;
    QLabel* average_;
    QLabel* median_;
    QLabel* best_;
    QLabel* lastTen_;
    QWidget* figures_;
    QLabel* notice_;
};

} // namespace fenu
