#include "stats/StatisticsKeeper.h"

#include <utility>

#include <QDir>
#include <QFileInfo>

namespace fenu {

TStatisticsKeeper::TStatisticsKeeper(const QString& settingsFile, QStringList moduleFolders)
    : file_(QFileInfo(settingsFile).dir().filePath(QString::fromLatin1(FileName))),
      modules_(std::move(moduleFolders)) {}

TStatisticsKeeper::~TStatisticsKeeper() = default;

void TStatisticsKeeper::Open() {
    if (opened_)
        return;
    opened_ = true;
    store_ = modules_.OpenStore(file_);
    if (store_)
        store_->Unwritable();
}

void TStatisticsKeeper::Keep(const TPlayedGame& game, const TReport& report) {
    Open();
    const QString failure = store_ ? store_->Add(game) : modules_.Failure();
    if (failure.isEmpty() || std::exchange(failureReported_, true))
        return;
    report(QStringLiteral("Die Statistik kann nicht gespeichert werden.\n\n") + failure);
}

void TStatisticsKeeper::ShowDialog(QWidget* parent, const TRecordTable& records, bool bonus,
                                   TMode mode, const TReport& report) {
    Open();
    if (!store_ || !modules_.ShowDialog(parent, *store_, records, bonus, mode))
        report(QStringLiteral("Die Statistik kann nicht angezeigt werden.\n\n") +
               modules_.Failure());
}

} // namespace fenu
