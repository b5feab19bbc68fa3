#include "ui/statistics/FiguresText.h"

#include <cmath>

namespace fenu {

namespace {
const QString Dash = QStringLiteral("–");
}

TFiguresText::TFiguresText() : locale_(QLocale::German, QLocale::Germany) {}

QString TFiguresText::Count(int count) const {
    return locale_.toString(count);
}

QString TFiguresText::PlayTime(double seconds) const {
    const auto total = static_cast<qint64>(std::floor(seconds));
    return QStringLiteral("%1:%2:%3")
        .arg(total / 3600)
        .arg(total / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(total % 60, 2, 10, QLatin1Char('0'));
}

QString TFiguresText::Points(double points, int games) const {
    if (games == 0)
        return Dash;
    return locale_.toString(points, 'f', 1) + QStringLiteral(" Punkte");
}

QString TFiguresText::Best(const TStatisticsSummary& summary, const QString& player) const {
    if (summary.Games == 0)
        return Dash;
    QString text = locale_.toString(summary.BestPoints) + QStringLiteral(" Punkte");
    if (!player.isEmpty())
        text += QStringLiteral(", ") + player;
    return text + QStringLiteral(", ") +
           locale_.toString(summary.BestStartedUtc.toLocalTime().date(),
                            QStringLiteral("dd.MM.yyyy"));
}

} // namespace fenu
