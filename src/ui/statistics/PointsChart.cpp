#include "ui/statistics/PointsChart.h"

#include <algorithm>
#include <cmath>

#include <QChart>
#include <QLineSeries>
#include <QLocale>
#include <QPen>
#include <QValueAxis>

namespace fenu {

namespace {

// A tick step of 1, 2 or 5 times a power of ten giving at most about five ticks.
double NiceStep(double top) {
    const double rough = std::max(1.0, top / 5);
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (const double factor : {1.0, 2.0, 5.0}) {
        if (factor * power >= rough)
            return factor * power;
    }
    return 10 * power;
}

// From 0 to a step at least two steps long, so that a single game stands in the
// middle: the step at or, with headroom, above top.
void SetWholeNumberRange(QValueAxis& axis, double top, bool headroom) {
    const double step = NiceStep(top);
    const double steps = headroom ? std::floor(top / step) + 1 : std::ceil(top / step);
    const int whole = std::max(2, static_cast<int>(steps));
    axis.setRange(0, whole * step);
    axis.setTickCount(whole + 1);
}

QValueAxis* MakeAxis(const QString& title) {
    auto* axis = new QValueAxis;
    axis->setTitleText(title);
    // "%d" would drop the labels where numbers are localized (Qt 6.4).
    axis->setLabelFormat(QStringLiteral("%.0f"));
    axis->setMinorTickCount(0);
    return axis;
}

} // namespace

TPointsChart::TPointsChart(QWidget* parent)
    : QChartView(parent), points_(new QLineSeries), best_(new QLineSeries),
      games_(MakeAxis(QStringLiteral("Spiel"))), values_(MakeAxis(QStringLiteral("Punkte"))) {
    auto* chart = new QChart;
    chart->setLocale(QLocale(QLocale::German, QLocale::Germany));
    chart->setLocalizeNumbers(true);
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setMargins(QMargins(2, 2, 2, 2));
    chart->legend()->setAlignment(Qt::AlignBottom);
    points_->setName(QStringLiteral("Punkte"));
    best_->setName(QStringLiteral("Bestes Spiel bisher"));
    chart->addSeries(points_);
    chart->addSeries(best_);
    chart->addAxis(games_, Qt::AlignBottom);
    chart->addAxis(values_, Qt::AlignLeft);
    for (QLineSeries* series : {points_, best_}) {
        series->attachAxis(games_);
        series->attachAxis(values_);
    }
    setChart(chart);
    setRenderHint(QPainter::Antialiasing);
}

void TPointsChart::Show(const std::vector<uint32_t>& points) {
    QList<QPointF> course;
    QList<QPointF> best;
    course.reserve(static_cast<qsizetype>(points.size()));
    uint32_t bestSoFar = 0;
    for (size_t i = 0; i < points.size(); ++i) {
        const auto game = static_cast<double>(i + 1);
        course.append({game, static_cast<double>(points[i])});
        // A step up where a game beat the best, the best level between.
        if (i == 0 || points[i] > bestSoFar) {
            if (i > 0)
                best.append({game, static_cast<double>(bestSoFar)});
            bestSoFar = points[i];
            best.append({game, static_cast<double>(bestSoFar)});
        }
    }
    if (!best.isEmpty() && best.last().x() < static_cast<double>(points.size()))
        best.append({static_cast<double>(points.size()), static_cast<double>(bestSoFar)});
    points_->replace(course);
    best_->replace(best);
    // Few games are points on a line, many a thin line of their own.
    points_->setPointsVisible(points.size() <= MarkedGamesAtMost);
    QPen pen = points_->pen();
    pen.setWidthF(points.size() > ThinLineGamesFrom ? 1 : 2);
    points_->setPen(pen);
    SetWholeNumberRange(*games_, static_cast<double>(points.size()), false);
    // The best game's point below the top line, not cut by it.
    SetWholeNumberRange(*values_, static_cast<double>(bestSoFar), true);
}

} // namespace fenu
