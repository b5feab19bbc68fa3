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
/// CurrentConfig, the two option check marks and the records. Out-of-range numbers
/// are clamped to what the custom dialog allows (count 1..20, radii 1..100, speed
/// 1..30); text that is no 32-bit integer gives the key's default.
void ReadSettings(const TProfileFile& file, TGameState& game);
/// With loadedRecords (the records as this run read them), every entry still equal
/// to its loaded value is written as the file holds it now, not as this run read
/// it: two copies of the program on one file then keep each other's new records.
void WriteSettings(TProfileFile& file, const TGameState& game,
                   const TRecordTable* loadedRecords = nullptr);

/// Loads and saves Settings.ini at one path. A save replaces the file as a whole or
/// not at all, so a failure never leaves a half-written file behind.
class TSettingsStore {
public:
    explicit TSettingsStore(QString settingsFile) : settingsFile_(std::move(settingsFile)) {}

    const QString& SettingsFile() const { return settingsFile_; }

    /// A missing or unreadable file is no error: the defaults apply.
    void Load(TGameState& game) const;

    /// Throws ESettingsWriteError, and leaves the old file as it was, when the file
    /// cannot be written. loadedRecords: see WriteSettings.
    void Save(const TGameState& game, const TRecordTable* loadedRecords = nullptr) const;

    /// For fault tests: runs between writing the temporary file and renaming it.
    void SetBeforeReplaceHook(TProfileFile::TReplaceHook hook) { beforeReplace_ = std::move(hook); }

private:
    QString settingsFile_;
    TProfileFile::TReplaceHook beforeReplace_;
};

/// The store of this program's Settings.ini; the path is formed anew each time.
void LoadSettings(TGameState& game);
void SaveSettings(const TGameState& game);

} // namespace fenu
