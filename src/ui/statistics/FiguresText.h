#pragma once

#include "stats/Statistics.h"

#include <QLocale>
#include <QString>

namespace fenu {

/// The statistics' figures as the dialog writes them, in German: "1.234", "12,5",
/// "1:02:03", "08.12.2026".
class TFiguresText {
public:
    TFiguresText();

    const QLocale& Locale() const { return locale_; }
    QString Count(int count) const;
    /// Hours without limit, then minutes and seconds: h:mm:ss.
    QString PlayTime(double seconds) const;
    /// One decimal and "Punkte"; a dash without games.
    QString Points(double points, int games) const;
    /// "123 Punkte, Anna, 08.12.2026" (the date in local time); the name only
    /// where one is known.
    QString Best(const TStatisticsSummary& summary, const QString& player) const;

private:
    QLocale locale_;
};

} // namespace fenu
