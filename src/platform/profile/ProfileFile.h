#pragma once

#include "platform/profile/FileReplacement.h"
#include "platform/profile/SettingsTextEncoding.h"

#include <cstdint>
#include <vector>

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace fenu {

/// A Windows-style profile (ini) file, read and rewritten the way players' existing
/// files expect:
/// - "[Section]" lines open sections, "Key=Value" lines hold values; names match
///   without regard to case and the first matching section and key win;
/// - blanks around names and values are ignored, and a value wrapped in one pair of
///   double quotes is read without them (WriteString adds such quotes when a value
///   would not read back as written otherwise);
/// - comments, blank lines and lines that are neither are kept byte for byte, and so
///   is every line that a write does not change;
/// - CRLF and LF files both read; new lines use the ending the file already has
///   (LF for a new file);
/// - the text is Windows-1252 on disk, or UTF-8 or UTF-16 after a byte-order mark,
///   and is written back the way it was read (SettingsTextEncoding.h);
/// - a new key goes at the end of its section, a new section at the end of the file.
///
/// The whole file lives in memory; Flush replaces it atomically. A file larger than
/// MaxFileSize is no settings file of ours: it reads as empty and is never replaced,
/// so that neither the memory nor the time spent on it can grow without bound and no
/// foreign data is overwritten.
class TProfileFile {
public:
    static constexpr qsizetype MaxValueLength = 2047;
    static constexpr qint64 MaxFileSize = 4 * 1024 * 1024;

    /// See FileReplacement.h; for fault tests.
    using TReplaceHook = TBeforeReplaceHook;

    TProfileFile() = default;
    explicit TProfileFile(QString path) : path_(std::move(path)) {}

    const QString& Path() const { return path_; }

    /// Reads the file at Path(). A missing file is an empty document and no error.
    /// Returns false when a file exists but cannot be read whole; the document is
    /// then empty and Flush refuses to replace that file.
    bool Load();

    /// Replaces the document by the given file contents.
    void Parse(QByteArrayView bytes);

    /// The value of the first key named `key` in the first section named `section`,
    /// or `defaultValue` when there is none. At most MaxValueLength characters.
    QString ReadString(QStringView section, QStringView key, const QString& defaultValue) const;

    /// Sets the key's value, adding the section and the key when they are missing.
    /// A '\n' in names or value becomes a blank: it would split the line.
    void WriteString(QStringView section, QStringView key, QStringView value);

    /// Removes every line of that key from the first section of that name.
    void DeleteKey(QStringView section, QStringView key);

    /// The document as the bytes of the file.
    QByteArray Serialize() const;

    /// Writes the document to Path() when it differs from what was loaded, never
    /// leaving half of it (ReplaceFileContents). On failure ErrorString() says why
    /// and the result is false.
    bool Flush();
    const QString& ErrorString() const { return error_; }

    void SetBeforeReplaceHook(TReplaceHook hook) { beforeReplace_ = std::move(hook); }

private:
    enum class TKind : uint8_t { Other, Section, Key };

    // One line of the document (or a run of lines that are neither sections nor
    // keys), terminator included. Its text is a slice of the loaded file, or one of
    // the strings a write added; slices keep big files cheap.
    struct TLine {
        uint32_t Start = 0; ///< offset in source_, or index in added_ when Added
        uint32_t Length = 0;
        uint32_t NameHash = 0; ///< case-folded hash of the section or key name
        TKind Kind = TKind::Other;
        bool Added = false;
    };

    struct TFound {
        qsizetype Section = -1;    ///< line of the section header, -1 when missing
        qsizetype Key = -1;        ///< line of the first matching key, -1 when missing
        qsizetype SectionEnd = -1; ///< line after the section's last section or key line
    };

    QStringView Text(const TLine& line) const;
    static TLine Classify(QStringView text, uint32_t start, uint32_t length);
    TFound Find(QStringView section, QStringView key) const;
    void SetLine(qsizetype index, QString text);
    void InsertLine(qsizetype index, QString text);
    QString Terminated(QString text) const {
        // An unterminated last line may end in a lone carriage return, which reading
        // takes as its line ending: completing it to CR LF keeps what the line reads
        // as, where another line ending would turn the CR into part of the value.
        return text.endsWith(u'\r') ? text + u'\n' : text + lineEnding_;
    }

    QString path_;
    QString source_;
    std::vector<TLine> lines_;
    std::vector<QString> added_;
    QString lineEnding_ = QStringLiteral("\n");
    TSettingsTextEncoding encoding_;
    QString error_;
    bool modified_ = false;
    bool replaceable_ = true;
    TReplaceHook beforeReplace_;
};

} // namespace fenu
