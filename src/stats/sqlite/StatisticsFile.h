#pragma once

#include <functional>
#include <memory>
#include <utility>

#include <QLockFile>
#include <QString>

class QSqlQuery;

namespace fenu {

/// The statistics' file as the file system sees it, apart from the store's
/// connection: whether it can be written where it is, how to open it without
/// leaving files beside it or making it, the lock for changing it under another
/// copy's eyes, and putting aside a file that is no database.
class TStatisticsFile {
public:
    static constexpr const char* AsideSuffix = ".keine-Datenbank";
    static constexpr const char* DamagedSuffix = ".beschädigt";

    explicit TStatisticsFile(QString path) : path_(std::move(path)) {}

    const QString& Path() const { return path_; }
    /// Why the file, where it is, cannot be written (its own permissions or its
    /// folder's); empty when it can or is not there yet.
    QString ReadOnlyReason() const;
    /// The name under which SQLite reads the file and nothing else: no lock, no
    /// journal files beside it.
    QString ReadOnlyUri() const;
    /// The name under which SQLite writes the file but never makes it.
    QString ReadWriteUri() const;
    /// Gives the journal files beside the file its permissions where they are
    /// read-only.
    void MendJournals() const;
    /// Whether the file is there, not empty, and SQLite finds no database in it.
    bool IsNoDatabase() const;
    /// Whether the file is there, not empty, and its database is damaged.
    bool IsDamaged() const;
    /// Held while a copy of the game opens the file, puts it aside or renames a new
    /// one into its place, so that another copy starting at the same time sees it
    /// before or after, never between. Taken when it can be within a short wait;
    /// where it cannot be made (a folder closed to us), neither can the steps.
    std::unique_ptr<QLockFile> Lock() const;
    /// Renames a file that still is so (IsNoDatabase, IsDamaged) to the first free
    /// name of <file><suffix>, -2, ...: aside is that name, or stays empty when the
    /// file turned out otherwise or gone. Returns the name that could not be given,
    /// empty on success.
    QString PutAside(const char* suffix, bool (TStatisticsFile::*stillSo)() const,
                     QString& aside) const;

private:
    /// What finds says of the file, read through SQLite and nothing else; false
    /// where it is not there or empty.
    bool Finds(const std::function<bool(QSqlQuery&)>& finds) const;

    QString path_;
};

} // namespace fenu
