#pragma once

#include <cstdint>
#include <vector>

#include <QChartView>

class QLineSeries;
class QValueAxis;

namespace fenu {

/// The points of every game in the order played ("Spiel", "Punkte") and the best
/// so far as a second, stepped line. Whole-number ticks at round steps keep the
/// axes readable with one game and with thousands; the points are marked while
/// there are few of them.
class TPointsChart : public QChartView {
    Q_OBJECT

public:
    static constexpr size_t MarkedGamesAtMost = 50;
    static constexpr size_t ThinLineGamesFrom = 200;

    explicit TPointsChart(QWidget* parent = nullptr);

    void Show(const std::vector<uint32_t>& points);

    QLineSeries* PointsSeries() const { return points_; }
    QLineSeries* BestSeries() const { return best_; }

private:
    QLineSeries* points_;
    QLineSeries* best_;
    QValueAxis* games_;
    QValueAxis* values_;
};

} // namespace fenu
