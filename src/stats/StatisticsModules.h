#pragma once

#include "game/Records.h"
#include "stats/Statistics.h"

#include <functional>
#include <memory>

#include <QStringList>

class QWidget;

namespace fenu {

/// The two modules of the statistics, loaded at run time like the sound module:
/// the store (Qt SQL and SQLite) once the first frames are shown, the dialog (Qt
/// Charts and the OpenGL libraries beneath it) when the player first opens it.
/// Linked into the program, they would all load before the window shows.
class TStatisticsModules {
public:
    /// The modules' base names; the files are lib<name>.so.
    static constexpr const char* StoreModule = "fenu_statistics";
    static constexpr const char* DialogModule = "fenu_statistics_dialog";

    /// Looks for the modules in these folders, in order; a module that is in none
    /// of them is missed in the first that is there.
    explicit TStatisticsModules(QStringList folders = DefaultFolders());

    /// The store of the given file, made by its module; null, with the reason in
    /// Failure(), without the module.
    std::unique_ptr<TStatistics> OpenStore(const QString& file);
    /// Shows the dialog modally, with writeWaiting to write the games waiting and
    /// count those that still wait; false, with the reason in Failure(), without its
    /// module.
    bool ShowDialog(QWidget* parent, TStatistics& statistics, const TRecordTable& records,
                    bool bonus, TMode mode, const std::function<int()>& writeWaiting);
    const QString& Failure() const { return failure_; }

    /// The installed module folder relative to the program, beside the program (a
    /// build tree, a portable copy), and the build tree the program was built in.
    static QStringList DefaultFolders();

private:
    /// Where the modules belong: the first of the folders that is there (the
    /// installed module folder, else the program's own).
    QString HomeFolder() const;
    /// The named function of the named module, loaded on first use.
    void* Resolve(const char* module, const char* function);

    QStringList folders_;
    QString failure_;
};

} // namespace fenu
