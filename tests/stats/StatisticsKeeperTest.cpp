// The program's side of the statistics: the file beside Settings.ini, the store
// from its module, one report per run.
#include "stats/StatisticsKeeper.h"

#include "stats/sqlite/StatisticsStore.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace fenu {
namespace {

TEST(StatisticsKeeper, ADamagedFileStaysAsItIsAndIsReportedOncePerRun) {
    QTemporaryDir folder;
    const QString settings = folder.filePath(QStringLiteral("Settings.ini"));
    TPlayedGame game;
    game.StartedUtc = QDateTime::currentDateTimeUtc();
    {
        TStatisticsStore store(folder.filePath(QStringLiteral("Statistik.sqlite")));
        for (int i = 0; i < 200; ++i)
            ASSERT_EQ(store.Add(game), QString());
    }
    // The tables' pages, after the first (the file's header and schema), are garbage.
    QFile file(folder.filePath(QStringLiteral("Statistik.sqlite")));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite) && file.seek(4096));
    file.write(QByteArray(static_cast<int>(file.size()) - 4096, '\x5a'));
    file.seek(0);
    const QByteArray damaged = file.readAll();

    QStringList reports;
    const auto report = [&reports](const QString& text) { reports << text; };
    TStatisticsKeeper keeper(settings);
    keeper.Keep(game, report);
    keeper.Keep(game, report);
    EXPECT_EQ(reports, QStringList{"Die Statistik kann nicht gespeichert werden.\n\n"
                                   "Die Datei ist beschädigt."});
    file.seek(0);
    EXPECT_EQ(file.readAll(), damaged);

    TStatisticsKeeper withoutModule(settings, {folder.path()});
    withoutModule.Keep(game, report);
    ASSERT_EQ(reports.size(), 2);
    EXPECT_TRUE(reports[1].contains("Das Modul libfenu_statistics.so fehlt"))
        << reports[1].toStdString();
}

} // namespace
} // namespace fenu
