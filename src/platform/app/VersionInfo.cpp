#include "platform/app/VersionInfo.h"

#include <array>

#include <QCoreApplication>
#include <QFileInfo>

namespace fenu {

namespace {

// German, Windows-1252: the one translation the program ships.
constexpr TVersionTranslation German1252{0x0407, 0x04E4};

constexpr std::array<TVersionTranslation, 1> programTranslations{German1252};

constexpr std::array<TVersionString, 3> programStrings{{
    {German1252, "FileDescription", "feNU"},
    {German1252, "FileVersion", "1.0.0.0"},
    {German1252, "ProductName", "feNU"},
}};

constexpr VersionInfo programVersionInfo(programTranslations, programStrings);

} // namespace

std::optional<QString> VersionInfo::QueryString(const QString& path) const {
    for (const TVersionString& entry : strings_) {
        if (path.compare(StringPath(entry.Translation, entry.Name), Qt::CaseInsensitive) == 0) {
            return QString::fromUtf8(entry.Value);
        }
    }
    return std::nullopt;
}

QString VersionInfo::StringPath(TVersionTranslation translation, const char* name) {
    return QStringLiteral("\\StringFileInfo\\%1%2\\%3")
        .arg(translation.Language, 4, 16, QLatin1Char('0'))
        .arg(translation.CodePage, 4, 16, QLatin1Char('0'))
        .arg(QString::fromUtf8(name));
}

const VersionInfo& ProgramVersionInfo() {
    return programVersionInfo;
}

bool ProgramFileIsExecutable() {
    const QString path = QCoreApplication::applicationFilePath();
    if (path.isEmpty()) {
        return false;
    }
    const QFileInfo file(path);
    return file.isFile() && file.isExecutable();
}

} // namespace fenu
