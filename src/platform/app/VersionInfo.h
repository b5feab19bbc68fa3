#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include <QString>

namespace fenu {

/// One language/code-page pair under which version strings are stored.
struct TVersionTranslation {
    uint16_t Language = 0;
    uint16_t CodePage = 0;
};

/// One named string of one translation, e.g. "FileVersion" = "1.0.0.0".
struct TVersionString {
    TVersionTranslation Translation;
    const char* Name = "";
    const char* Value = "";
};

/// The program's version information: a list of translations and the strings
/// stored under each of them, queried by path as a version resource is:
///   "\VarFileInfo\Translation"                   -> Translations()
///   "\StringFileInfo\<lang><codepage>\<Name>"    -> QueryString()
/// with language and code page as four hexadecimal digits each.
class VersionInfo {
public:
    constexpr VersionInfo(std::span<const TVersionTranslation> translations,
                          std::span<const TVersionString> strings)
        : translations_(translations), strings_(strings) {}

    std::span<const TVersionTranslation> Translations() const { return translations_; }

    /// The string stored under a "\StringFileInfo\..." path. Paths compare without
    /// regard to case; a path that names no string gives nothing.
    std::optional<QString> QueryString(const QString& path) const;

    /// The path of a string value, "\StringFileInfo\040704e4\FileVersion" style.
    static QString StringPath(TVersionTranslation translation, const char* name);

private:
    std::span<const TVersionTranslation> translations_;
    std::span<const TVersionString> strings_;
};

/// The version information embedded in this program at build time.
const VersionInfo& ProgramVersionInfo();

/// Whether the running program's own file is an executable, the precondition for
/// looking at its version information at all.
bool ProgramFileIsExecutable();

} // namespace fenu
