// The entry point of the statistics store's module (libfenu_statistics.so): Qt SQL,
// its SQLite driver and SQLite itself load with it, after the program's first
// frames, never before the window shows.
#include "stats/sqlite/StatisticsStore.h"

#include <QtGlobal>

extern "C" Q_DECL_EXPORT fenu::TStatistics* fenu_open_statistics(const QString* file) {
    return new fenu::TStatisticsStore(*file);
}
