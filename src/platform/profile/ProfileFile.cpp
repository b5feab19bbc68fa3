#include "platform/profile/ProfileFile.h"

#include <QFile>
#include <QFileInfo>

namespace fenu {

namespace {

bool IsBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

QStringView Trimmed(QStringView text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && IsBlank(text[first]))
        ++first;
    while (last > first && IsBlank(text[last - 1]))
        --last;
    return text.sliced(first, last - first);
}

// The line without its terminator: "\n", or "\r\n" in a CRLF file.
QStringView Content(QStringView line) {
    if (line.endsWith(u'\n'))
        line.chop(1);
    if (line.endsWith(u'\r'))
        line.chop(1);
    return line;
}

QStringView Terminator(QStringView line) {
    const QStringView content = Content(line);
    return line.sliced(content.size());
}

uint32_t NameHash(QStringView name) {
    uint32_t hash = 2166136261u;
    for (const QChar c : name) {
        hash ^= c.toCaseFolded().unicode();
        hash *= 16777619u;
    }
    return hash;
}

bool SameName(QStringView a, QStringView b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// For a line already known to be a section header: the name between the brackets.
QStringView SectionName(QStringView line) {
    const QStringView content = Trimmed(Content(line));
    const qsizetype close = content.indexOf(u']');
    return Trimmed(content.sliced(1, close - 1));
}

// For a line already known to be a key line.
QStringView KeyName(QStringView line) {
    const QStringView content = Content(line);
    return Trimmed(content.first(content.indexOf(u'=')));
}

QStringView KeyValue(QStringView line) {
    const QStringView content = Content(line);
    return Trimmed(content.sliced(content.indexOf(u'=') + 1));
}

QStringView Unquoted(QStringView value) {
    if (value.size() >= 2 && value.front() == u'"' && value.back() == u'"')
        return value.sliced(1, value.size() - 2);
    return value;
}

bool EndsWithTerminator(QStringView text) {
    return text.endsWith(u'\n');
}

// True when the last line of this text (which may hold several lines) is blank.
bool LastLineBlank(QStringView text) {
    QStringView rest = Content(text);
    const qsizetype lastBreak = rest.lastIndexOf(u'\n');
    if (lastBreak >= 0)
        rest = rest.sliced(lastBreak + 1);
    return Trimmed(Content(rest)).isEmpty();
}

// Only '\n' ends a line; a '\r' elsewhere is an ordinary character.
QString WithoutLineBreaks(QStringView text) {
    QString result = text.toString();
    for (QChar& c : result) {
        if (c == u'\n')
            c = u' ';
    }
    return result;
}

// What reads back as `value`: quotes protect outer blanks and outer quotes.
QString StoredValue(const QString& value) {
    if (value.isEmpty())
        return value;
    const bool quoted = value.size() >= 2 && value.front() == u'"' && value.back() == u'"';
    // A final '\r' would merge with the line's terminator.
    if (quoted || IsBlank(value.front()) || IsBlank(value.back()) || value.back() == u'\r')
        return u'"' + value + u'"';
    return value;
}

} // namespace

bool TProfileFile::Load() {
    Parse({});
    const QFileInfo info(path_);
    if (!info.exists())
        return true;
    // A folder, a pipe or a device by this name is nothing we may read or replace;
    // reading a pipe could block for ever.
    if (!info.isFile()) {
        replaceable_ = false;
        error_ = QStringLiteral("not a regular file");
        return false;
    }
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly)) {
        replaceable_ = false;
        error_ = file.errorString();
        return false;
    }
    const QByteArray bytes = file.read(MaxFileSize + 1);
    if (file.error() != QFileDevice::NoError) {
        replaceable_ = false;
        error_ = file.errorString();
        return false;
    }
    Parse(bytes);
    return replaceable_;
}

void TProfileFile::Parse(QByteArrayView bytes) {
    source_.clear();
    lines_.clear();
    added_.clear();
    lineEnding_ = QStringLiteral("\n");
    error_.clear();
    modified_ = false;
    replaceable_ = true;
    if (bytes.size() > MaxFileSize) {
        replaceable_ = false;
        error_ = QStringLiteral("file too large");
        return;
    }
    source_ = encoding_.Decode(bytes);
    const QStringView all(source_);
    const qsizetype firstBreak = all.indexOf(u'\n');
    if (firstBreak > 0 && all[firstBreak - 1] == u'\r')
        lineEnding_ = QStringLiteral("\r\n");

    qsizetype start = 0;
    while (start < all.size()) {
        const qsizetype lineBreak = all.indexOf(u'\n', start);
        const qsizetype end = lineBreak < 0 ? all.size() : lineBreak + 1;
        TLine line = Classify(all.sliced(start, end - start), static_cast<uint32_t>(start),
                              static_cast<uint32_t>(end - start));
        // Runs of comments and unknown lines become one entry: they are only ever
        // written back as they were.
        if (line.Kind == TKind::Other && !lines_.empty() && lines_.back().Kind == TKind::Other)
            lines_.back().Length += line.Length;
        else
            lines_.push_back(line);
        start = end;
    }
}

TProfileFile::TLine TProfileFile::Classify(QStringView text, uint32_t start, uint32_t length) {
    TLine line;
    line.Start = start;
    line.Length = length;
    const QStringView content = Trimmed(Content(text));
    if (content.isEmpty() || content.front() == u';')
        return line;
    if (content.front() == u'[') {
        // A header without its closing bracket is no header: such a line is kept
        // but opens no section.
        if (content.indexOf(u']') < 0)
            return line;
        line.Kind = TKind::Section;
        line.NameHash = NameHash(SectionName(text));
        return line;
    }
    const qsizetype equals = content.indexOf(u'=');
    if (equals <= 0 || Trimmed(content.first(equals)).isEmpty())
        return line;
    line.Kind = TKind::Key;
    line.NameHash = NameHash(KeyName(text));
    return line;
}

QStringView TProfileFile::Text(const TLine& line) const {
    if (line.Added)
        return added_[line.Start];
    return QStringView(source_).sliced(line.Start, line.Length);
}

TProfileFile::TFound TProfileFile::Find(QStringView section, QStringView key) const {
    TFound found;
    const uint32_t sectionHash = NameHash(section);
    const uint32_t keyHash = NameHash(key);
    for (qsizetype i = 0; i < static_cast<qsizetype>(lines_.size()); ++i) {
        const TLine& line = lines_[i];
        if (line.Kind == TKind::Section) {
            if (found.Section >= 0)
                break;
            if (line.NameHash == sectionHash && SameName(SectionName(Text(line)), section)) {
                found.Section = i;
                found.SectionEnd = i + 1;
            }
        } else if (line.Kind == TKind::Key && found.Section >= 0) {
            found.SectionEnd = i + 1;
            if (line.NameHash == keyHash && SameName(KeyName(Text(line)), key)) {
                found.Key = i;
                break;
            }
        }
    }
    return found;
}

QString TProfileFile::ReadString(QStringView section, QStringView key,
                                 const QString& defaultValue) const {
    const TFound found = Find(section, key);
    if (found.Key < 0)
        return defaultValue;
    const QStringView value = Unquoted(KeyValue(Text(lines_[found.Key])));
    qsizetype length = std::min(value.size(), MaxValueLength);
    // A cut between the two halves of a character would leave half of it.
    if (length < value.size() && value[length - 1].isHighSurrogate() &&
        value[length].isLowSurrogate())
        --length;
    return value.first(length).toString();
}

void TProfileFile::WriteString(QStringView section, QStringView key, QStringView value) {
    const QString sectionName = WithoutLineBreaks(section);
    const QString keyName = WithoutLineBreaks(key);
    const QString stored = StoredValue(WithoutLineBreaks(value));
    const TFound found = Find(sectionName, keyName);

    if (found.Key >= 0) {
        const QStringView old = Text(lines_[found.Key]);
        // A value that reads back the same leaves the line as the player wrote it.
        if (Unquoted(KeyValue(old)) == WithoutLineBreaks(value))
            return;
        // The name keeps the spelling it has in the file.
        QString line = KeyName(old).toString() + u'=' + stored + Terminator(old).toString();
        if (line != old)
            SetLine(found.Key, std::move(line));
        return;
    }
    if (found.Section >= 0) {
        const qsizetype last = found.SectionEnd - 1;
        if (!EndsWithTerminator(Text(lines_[last])))
            SetLine(last, Terminated(Text(lines_[last]).toString()));
        InsertLine(found.SectionEnd, Terminated(keyName + u'=' + stored));
        return;
    }
    if (!lines_.empty()) {
        const qsizetype last = static_cast<qsizetype>(lines_.size()) - 1;
        const QStringView lastText = Text(lines_[last]);
        if (!EndsWithTerminator(lastText))
            SetLine(last, Terminated(lastText.toString()));
        if (!LastLineBlank(Text(lines_[last])))
            InsertLine(last + 1, lineEnding_);
    }
    InsertLine(static_cast<qsizetype>(lines_.size()), Terminated(u'[' + sectionName + u']'));
    InsertLine(static_cast<qsizetype>(lines_.size()), Terminated(keyName + u'=' + stored));
}

void TProfileFile::DeleteKey(QStringView section, QStringView key) {
    const TFound found = Find(section, key);
    if (found.Key < 0)
        return;
    const uint32_t keyHash = NameHash(key);
    qsizetype i = found.Key;
    while (i < static_cast<qsizetype>(lines_.size()) && lines_[i].Kind != TKind::Section) {
        const TLine& line = lines_[i];
        if (line.Kind == TKind::Key && line.NameHash == keyHash &&
            SameName(KeyName(Text(line)), key)) {
            lines_.erase(lines_.begin() + i);
            modified_ = true;
        } else {
            ++i;
        }
    }
}

void TProfileFile::SetLine(qsizetype index, QString text) {
    TLine& line = lines_[index];
    // A run of unknown lines may hold a '=' or '[' on a later line: it stays what it was.
    const TLine classified = line.Kind == TKind::Other ? line : Classify(text, 0, 0);
    added_.push_back(std::move(text));
    line.Kind = classified.Kind;
    line.NameHash = classified.NameHash;
    line.Added = true;
    line.Start = static_cast<uint32_t>(added_.size() - 1);
    line.Length = static_cast<uint32_t>(added_.back().size());
    modified_ = true;
}

void TProfileFile::InsertLine(qsizetype index, QString text) {
    TLine line = Classify(text, 0, 0);
    added_.push_back(std::move(text));
    line.Added = true;
    line.Start = static_cast<uint32_t>(added_.size() - 1);
    line.Length = static_cast<uint32_t>(added_.back().size());
    lines_.insert(lines_.begin() + index, line);
    modified_ = true;
}

QByteArray TProfileFile::Serialize() const {
    QString text;
    qsizetype size = 0;
    for (const TLine& line : lines_)
        size += line.Length;
    text.reserve(size);
    for (const TLine& line : lines_)
        text += Text(line);
    return encoding_.Encode(text);
}

bool TProfileFile::Flush() {
    error_.clear();
    if (!replaceable_) {
        error_ = QStringLiteral("the existing file could not be read whole");
        return false;
    }
    if (!modified_)
        return true;

    error_ = ReplaceFileContents(path_, Serialize(), beforeReplace_);
    if (!error_.isEmpty())
        return false;
    modified_ = false;
    return true;
}

} // namespace fenu
