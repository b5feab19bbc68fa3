#include "stats/StatisticsKeeper.h"

#include <utility>

#include <QDir>
#include <QFileInfo>

namespace fenu {

TStatisticsKeeper::TStatisticsKeeper(const QString& settingsFile, QStringList moduleFolders)
    : file_(QFileInfo(settingsFile).dir().filePath(QString::fromLatin1(FileName))),
      modules_(std::move(moduleFolders)) {}

TStatisticsKeeper::~TStatisticsKeeper() = default;

TStatistics* TStatisticsKeeper::Store(int lockWaitMs) {
    if (store_)
        store_->SetLockWait(lockWaitMs);
    if (!std::exchange(loaded_, true)) {
        store_ = modules_.OpenStore(file_);
        if (store_) {
            store_->SetLockWait(lockWaitMs);
            // Opened at once, so that a file put aside is told before it is used.
            store_->Unwritable();
        }
    }
    return store_.get();
}

void TStatisticsKeeper::Open(const TReport& report) {
    if (TStatistics* store = Store(GameEndLockWaitMs)) {
        store->Unwritable();
        ReportKeptAside(report);
    }
}

QString TStatisticsKeeper::WritePending() {
    while (!pending_.empty()) {
        if (QString failure = store_->Add(pending_.front()); !failure.isEmpty())
            return failure;
        pending_.pop_front();
    }
    return {};
}

void TStatisticsKeeper::Keep(const TPlayedGame& game, const TReport& report) {
    if (!Store(GameEndLockWaitMs)) {
        if (!std::exchange(failureReported_, true))
            report(QStringLiteral("Die Statistik kann nicht gespeichert werden.\n\n") +
                   modules_.Failure());
        return;
    }
    pending_.push_back(game);
    const QString failure = WritePending();
    ReportKeptAside(report);
    if (failure.isEmpty() || std::exchange(failureReported_, true))
        return;
    // Damage that stays is no passing trouble: the player is told the way out.
    if (store_->Damaged())
        report(QStringLiteral("Die Statistik kann nicht gespeichert werden: die Datei ist "
                              "beschädigt.\n\nUnter Spiel > Statistik... kann sie beiseitegelegt "
                              "und eine neue begonnen werden. Wird die Datei bis dahin "
                              "repariert, speichert feNU die Spiele dieses Laufs doch noch."));
    else
        report(QStringLiteral("Die Statistik kann gerade nicht gespeichert werden. feNU versucht "
                              "es nach jedem Spiel und beim Beenden noch einmal.\n\n") +
               failure);
}

void TStatisticsKeeper::KeepPending(const TReport& report) {
    if (pending_.empty() || !Store(ProgramEndLockWaitMs))
        return;
    const QString failure = WritePending();
    if (failure.isEmpty())
        return;
    report((pending_.size() == 1
                ? QStringLiteral("Ein Spiel fehlt in der Statistik: es kann nicht gespeichert "
                                 "werden.")
                : QStringLiteral("%1 Spiele fehlen in der Statistik: sie können nicht gespeichert "
                                 "werden.")
                      .arg(pending_.size())) +
           QStringLiteral("\n\n") + failure);
}

void TStatisticsKeeper::ShowDialog(QWidget* parent, const TRecordTable& records, bool bonus,
                                   TMode mode, const TReport& report) {
    TStatistics* store = Store(GameEndLockWaitMs);
    if (store) {
        ReportKeptAside(report);
        store->SetLockWait(DialogLockWaitMs);
    }
    // Shown with the games that could not be written at their end, written where they
    // now can be, as they can once the dialog has put a damaged file aside.
    const std::function<int()> writeWaiting = [this] {
        WritePending();
        return static_cast<int>(pending_.size());
    };
    if (!store || !modules_.ShowDialog(parent, *store, records, bonus, mode, writeWaiting))
        report(QStringLiteral("Die Statistik kann nicht angezeigt werden.\n\n") +
               modules_.Failure());
}

void TStatisticsKeeper::ReportKeptAside(const TReport& report) {
    const QString aside = store_->KeptAside();
    if (aside.isEmpty() || aside == reportedAside_)
        return;
    reportedAside_ = aside;
    const QFileInfo file(file_);
    report(QStringLiteral("Die Datei %1 im Ordner %2 war keine Datenbank der Statistik. Sie ist "
                          "unverändert als %3 aufbewahrt, und eine neue Statistik wurde begonnen.")
               .arg(file.fileName(), QDir::toNativeSeparators(file.absolutePath()),
                    QFileInfo(aside).fileName()));
}

} // namespace fenu
