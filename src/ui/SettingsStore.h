#pragma once

#include "game/Records.h"
#include "platform/Exception.h"
#include "platform/profile/ProfileFile.h"

#include <QString>

namespace fenu {

class TGameState;

/// "In <path> kann nicht geschrieben werden": the settings file could not be saved.
class ESettingsWriteError : public Exception {
public:
    using Exception::Exception;
};

/// Why a file of the game could not be saved, as the error boxes say it.
QString CannotWriteIn(const QString& path);

/// The values of the settings file in a profile document: Mode and its radio item,
/// CurrentConfig, the two option check marks and the records. A Mode beyond the
/// presets (its low byte kept) is custom; out-of-range numbers are clamped to what the custom dialog
/// allows (count 1..20, radii 1..100, speed 1..30); text that is no 32-bit integer
/// gives the key's default.
void ReadSettings(const TProfileFile& file, TGameState& game);
/// The records as the file holds them.
TRecordTable ReadRecords(const TProfileFile& file);
/// With loadedRecords (the records as this copy of the program last read or wrote
/// them), the records are merged with the file's (MergeRecords): two copies on one
/// file then keep each other's new records. Returns the records written.
TRecordTable WriteSettings(TProfileFile& file, const TGameState& game,
                           const TRecordTable* loadedRecords = nullptr);

/// Loads and saves Settings.ini at one path. A save replaces the file as a whole or
/// not at all, so a failure never leaves a half-written file behind.
class TSettingsStore {
public:
    explicit TSettingsStore(QString settingsFile) : settingsFile_(std::move(settingsFile)) {}

    const QString& SettingsFile() const { return settingsFile_; }

    /// A missing or unreadable file is no error: the defaults apply.
    void Load(TGameState& game) const;

    /// The records as the file holds them now (another copy may have saved since).
    TRecordTable LoadRecords() const;

    /// Throws ESettingsWriteError, and leaves the old file as it was, when the file
    /// cannot be written. loadedRecords and the result: see WriteSettings.
    TRecordTable Save(const TGameState& game, const TRecordTable* loadedRecords = nullptr) const;

    /// For fault tests: runs between writing the temporary file and renaming it.
    void SetBeforeReplaceHook(TProfileFile::TReplaceHook hook) { beforeReplace_ = std::move(hook); }

private:
    QString settingsFile_;
    TProfileFile::TReplaceHook beforeReplace_;
};

} // namespace fenu
