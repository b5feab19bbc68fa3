#include "ui/RecordRuns.h"

#include "game/run/RunFile.h"
#include "platform/app/VersionInfo.h"
#include "platform/profile/FileReplacement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace fenu {

namespace {
// A run file is a few ten kilobytes; anything far larger is none of ours.
constexpr qint64 MaxRunFileSize = 64 * 1024 * 1024;
} // namespace

TRecordRuns::TRecordRuns(const QString& settingsFile)
    : folder_(QFileInfo(settingsFile).absolutePath()) {}

QString TRecordRuns::Path(size_t table, TMode mode) const {
    return QDir(folder_).filePath(
        QStringLiteral("Rekordlauf-%1-%2.fenurun")
            .arg(table == 1 ? QStringLiteral("Bonus") : QStringLiteral("Normal"))
            .arg(mode));
}

QString TRecordRuns::Save(const TRunRecording& run, const TRecord& entry) const {
    const TRunEntry header{entry.Points, entry.Player, RunProgramVersion()};
    QDir().mkpath(folder_);
    return ReplaceFileContents(Path(run.Settings.Bonus ? 1 : 0, run.Settings.Mode),
                               WriteRunFile(header, run));
}

TRecordRuns::TLoaded TRecordRuns::Load(size_t table, TMode mode, const TRecord& entry) const {
    TLoaded loaded;
    QFile file(Path(table, mode));
    if (entry.Points == 0 || !file.open(QIODevice::ReadOnly))
        return loaded;
    loaded.Found = TFound::Refused;
    if (file.size() > MaxRunFileSize) {
        loaded.Reason = QStringLiteral("Die Datei ist zu groß.");
        return loaded;
    }
    const QByteArray data = file.readAll();
    TRunEntry header;
    loaded.Reason = ReadRunFile(data, RunProgramVersion(), header, loaded.Run);
    if (!loaded.Reason.isEmpty())
        return loaded;
    if (loaded.Run.Settings.Mode != mode || loaded.Run.Settings.Bonus != (table == 1)) {
        loaded.Reason = QStringLiteral("Die Datei gehört zu einem anderen Eintrag.");
        return loaded;
    }
    loaded.Found = header.Points == entry.Points && header.Player == entry.Player ? TFound::Ready
                                                                                  : TFound::None;
    return loaded;
}

void TRecordRuns::RemoveEmptied(const TRecordTable& records, const TRecordTable& loaded) const {
    for (size_t t = 0; t < records.size(); ++t) {
        for (size_t n = 0; n < records[t].size(); ++n) {
            if (records[t][n].Points == 0 && loaded[t][n].Points != 0)
                QFile::remove(Path(t, static_cast<TMode>(n)));
        }
    }
}

QString RunProgramVersion() {
    const VersionInfo& info = ProgramVersionInfo();
    if (info.Translations().empty())
        return {};
    return info.QueryString(VersionInfo::StringPath(info.Translations()[0], "FileVersion"))
        .value_or(QString());
}

} // namespace fenu
