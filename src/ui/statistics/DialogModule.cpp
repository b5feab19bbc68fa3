// The entry point of the statistics dialog's module (libfenu_statistics_dialog.so):
// Qt Charts, with the OpenGL libraries it stands on, loads with it when the player
// first opens the dialog.
#include "ui/statistics/StatisticsDialog.h"

#include <QtGlobal>

extern "C" Q_DECL_EXPORT int fenu_show_statistics(QWidget* parent, fenu::TStatistics* statistics,
                                                  const fenu::TRecordTable* records, bool bonus,
                                                  int mode,
                                                  const std::function<int()>* writeWaiting) {
    fenu::TStatisticsDialog dialog(*statistics, *records, bonus, static_cast<fenu::TMode>(mode),
                                   parent, *writeWaiting);
    return dialog.exec();
}
