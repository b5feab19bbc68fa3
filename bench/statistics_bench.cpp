// The statistics: the write of one game (it comes before the record prompt, so it
// must take a few milliseconds at most) into a file of 10,000 games, and the
// dialog opened on 10,000 games of one kind (its target: under 200 ms), from its
// construction to its first complete picture.
//   QT_QPA_PLATFORM=offscreen build/bench/statistics_bench
// The file lies in the system's temporary folder; the figures depend on its disk.
#include "stats/sqlite/StatisticsStore.h"
#include "ui/statistics/StatisticsDialog.h"

#include <QApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace fenu::bench {
namespace {

constexpr int GameCount = 10'000;

TPlayedGame SomeGame(int number) {
    TPlayedGame game;
    game.StartedUtc = QDateTime(QDate(2026, 1, 1), QTime(0, 0), Qt::UTC).addSecs(60LL * number);
    game.Mode = 2;
    game.TimePoints = static_cast<uint32_t>(number * 7919 % 300);
    game.Milliseconds = game.TimePoints * 1000 + 400;
    game.End = TGameEnd::Touched;
    return game;
}

// The store's own writes, but all in one transaction, which is quicker to set up.
void FillWithGames(const QString& file) {
    TStatisticsStore(file).Add(SomeGame(0));
    {
        QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "fill");
        database.setDatabaseName(file);
        database.open();
        QSqlQuery query(database);
        query.exec("BEGIN");
        query.prepare("INSERT INTO games (started, mode, bonus, time_points, bonus_points, "
                      "seconds, ending) SELECT started, mode, bonus, time_points, bonus_points, "
                      "seconds, ending FROM games WHERE id = 1");
        for (int i = 1; i < GameCount; ++i)
            query.exec();
        query.exec("UPDATE games SET started = datetime(started, '+' || id || ' minutes'), "
                   "time_points = id * 7919 % 300");
        query.exec("COMMIT");
    }
    QSqlDatabase::removeDatabase("fill");
}

void BM_WriteOneGame(benchmark::State& state) {
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("Statistik.sqlite"));
    FillWithGames(file);
    TStatisticsStore store(file);
    int number = GameCount;
    for (auto _ : state) {
        if (!store.Add(SomeGame(++number)).isEmpty())
            state.SkipWithError("the write failed");
    }
}
BENCHMARK(BM_WriteOneGame)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

void BM_OpenDialogOn10000Games(benchmark::State& state) {
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("Statistik.sqlite"));
    FillWithGames(file);
    TStatisticsStore store(file);
    store.Unwritable(); // the program opens the file after its first frames
    const TRecordTable records;
    for (auto _ : state) {
        TStatisticsDialog dialog(store, records, false, 2);
        dialog.show();
        benchmark::DoNotOptimize(dialog.grab());
    }
}
BENCHMARK(BM_OpenDialogOn10000Games)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace fenu::bench

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
