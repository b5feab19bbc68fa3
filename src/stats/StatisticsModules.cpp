#include "stats/StatisticsModules.h"

#include <utility>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>

namespace fenu {

namespace {
using OpenStatistics = TStatistics* (*)(const QString* file);
using ShowStatistics = int (*)(QWidget* parent, TStatistics* statistics,
                               const TRecordTable* records, bool bonus, int mode,
                               const std::function<int()>* writeWaiting);
} // namespace

TStatisticsModules::TStatisticsModules(QStringList folders) : folders_(std::move(folders)) {}

QStringList TStatisticsModules::DefaultFolders() {
    const QString programFolder = QCoreApplication::applicationDirPath();
    return {QDir::cleanPath(QDir(programFolder).filePath(QStringLiteral(FENU_MODULE_FROM_BIN))),
            programFolder, QStringLiteral(FENU_MODULE_BUILD_DIR)};
}

QString TStatisticsModules::HomeFolder() const {
    for (const QString& folder : folders_) {
        if (QFileInfo(folder).isDir())
            return QDir::toNativeSeparators(folder);
    }
    return folders_.isEmpty() ? QString() : QDir::toNativeSeparators(folders_.front());
}

// A loaded module stays loaded to the end of the program (a QLibrary does not
// unload when it goes away), so the objects it made keep their code.
void* TStatisticsModules::Resolve(const char* module, const char* function) {
    const QString file = QStringLiteral("lib%1.so").arg(QString::fromLatin1(module));
    QString found;
    QString detail;
    for (const QString& folder : folders_) {
        QLibrary library(QDir(folder).filePath(file));
        if (library.load()) {
            if (void* entry = reinterpret_cast<void*>(library.resolve(function)))
                return entry;
        }
        if (found.isEmpty() && QFile::exists(library.fileName())) {
            found = library.fileName();
            detail = library.errorString();
        }
    }
    if (found.isEmpty()) {
        failure_ = QStringLiteral("Das Modul %1 fehlt im Ordner %2.").arg(file, HomeFolder());
        return nullptr;
    }
    // The loader's own words, in English, come last, for whoever mends it.
    failure_ = QStringLiteral("Das Modul %1 kann nicht geladen werden: es gehört zu einer anderen "
                              "Version von feNU, ist beschädigt, oder eine Bibliothek, die es "
                              "braucht, fehlt.\n\nMeldung des Systems: %2")
                   .arg(QDir::toNativeSeparators(found), detail);
    return nullptr;
}

std::unique_ptr<TStatistics> TStatisticsModules::OpenStore(const QString& file) {
    auto open = reinterpret_cast<OpenStatistics>(Resolve(StoreModule, "fenu_open_statistics"));
    return std::unique_ptr<TStatistics>(open ? open(&file) : nullptr);
}

bool TStatisticsModules::ShowDialog(QWidget* parent, TStatistics& statistics,
                                    const TRecordTable& records, bool bonus, TMode mode,
                                    const std::function<int()>& writeWaiting) {
    auto show = reinterpret_cast<ShowStatistics>(Resolve(DialogModule, "fenu_show_statistics"));
    if (!show)
        return false;
    show(parent, &statistics, &records, bonus, mode, &writeWaiting);
    return true;
}

} // namespace fenu
