#include "stats/StatisticsModules.h"

#include <utility>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLibrary>

namespace fenu {

namespace {
using OpenStatistics = TStatistics* (*)(const QString* file);
using ShowStatistics = int (*)(QWidget* parent, TStatistics* statistics,
                               const TRecordTable* records, bool bonus, int mode);
} // namespace

TStatisticsModules::TStatisticsModules(QStringList folders) : folders_(std::move(folders)) {}

QStringList TStatisticsModules::DefaultFolders() {
    const QString programFolder = QCoreApplication::applicationDirPath();
    return {programFolder, QDir(programFolder).filePath(QStringLiteral(FENU_MODULE_FROM_BIN)),
            QStringLiteral(FENU_MODULE_BUILD_DIR)};
}

// A loaded module stays loaded to the end of the program (a QLibrary does not
// unload when it goes away), so the objects it made keep their code.
void* TStatisticsModules::Resolve(const char* module, const char* function) {
    const QString file = QStringLiteral("lib%1.so").arg(QString::fromLatin1(module));
    QString reason;
    for (const QString& folder : folders_) {
        QLibrary library(QDir(folder).filePath(file));
        if (!library.load()) {
            if (QFile::exists(library.fileName()))
                reason = library.errorString();
            continue;
        }
        if (void* entry = reinterpret_cast<void*>(library.resolve(function)))
            return entry;
        reason = library.errorString();
    }
    failure_ = QStringLiteral("Das Modul %1 fehlt oder kann nicht geladen werden.").arg(file);
    if (!reason.isEmpty())
        failure_ += QStringLiteral(" (%1)").arg(reason);
    return nullptr;
}

std::unique_ptr<TStatistics> TStatisticsModules::OpenStore(const QString& file) {
    auto open = reinterpret_cast<OpenStatistics>(Resolve(StoreModule, "fenu_open_statistics"));
    return std::unique_ptr<TStatistics>(open ? open(&file) : nullptr);
}

bool TStatisticsModules::ShowDialog(QWidget* parent, TStatistics& statistics,
                                    const TRecordTable& records, bool bonus, TMode mode) {
    auto show = reinterpret_cast<ShowStatistics>(Resolve(DialogModule, "fenu_show_statistics"));
    if (!show)
        return false;
    show(parent, &statistics, &records, bonus, mode);
    return true;
}

} // namespace fenu
