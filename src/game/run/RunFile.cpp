#include "game/run/RunFile.h"

#include "game/run/Crc32.h"
#include "game/run/FrameTimes.h"

#include <algorithm>

#include <QList>

namespace fenu {

namespace {

constexpr char Magic[4] = {'f', 'e', 'N', 'R'};
// Version 2 added the kind of machine after the player; files of version 1 are still
// read, of unknown kind.
constexpr uint16_t FormatVersion = 2;
constexpr uint16_t FormatWithoutMachine = 1;
constexpr qsizetype HeaderSize = sizeof Magic + 2 + 4; // magic, format version, length
constexpr qsizetype CrcSize = 4;
constexpr qsizetype MaxTextBytes = RunFileMaxTextBytes;
// Two texts with their lengths, difficulty, bonus option and points.
static_assert(RunEntryMaxBytes == HeaderSize + 2 * (2 + MaxTextBytes) + 1 + 1 + 4);
// The smallest encodings: a frame is three numbers, a checksum four bytes.
constexpr qsizetype MinFrameBytes = 3;
constexpr qsizetype ChecksumBytes = 4;

class TWriter {
public:
    void Bytes(const char* data, qsizetype size) { out_.append(data, size); }
    void U8(uint32_t value) { out_.append(static_cast<char>(value & 0xFF)); }
    void U16(uint32_t value) {
        U8(value);
        U8(value >> 8);
    }
    void U32(uint32_t value) {
        U16(value);
        U16(value >> 16);
    }
    void Varint(uint32_t value) {
        for (; value >= 0x80; value >>= 7)
            U8(value | 0x80);
        U8(value);
    }
    // Zigzag: small differences of either sign take one byte.
    void Signed(int32_t v) {
        Varint((static_cast<uint32_t>(v) << 1) ^ static_cast<uint32_t>(v >> 31));
    }
    void Text(const QString& text) {
        const QByteArray utf8 = text.toUtf8().left(MaxTextBytes);
        U16(static_cast<uint32_t>(utf8.size()));
        out_.append(utf8);
    }
    QByteArray& Out() { return out_; }

private:
    QByteArray out_;
};

// Every read past the end gives 0 and marks the reader failed.
class TReader {
public:
    explicit TReader(QByteArrayView data) : data_(data) {}
    bool Failed() const { return failed_; }
    qsizetype Left() const { return data_.size() - pos_; }
    uint32_t U8() {
        if (pos_ >= data_.size()) {
            failed_ = true;
            return 0;
        }
        return static_cast<uint8_t>(data_[pos_++]);
    }
    uint32_t U16() {
        const uint32_t low = U8();
        return low | U8() << 8;
    }
    uint32_t U32() {
        const uint32_t low = U16();
        return low | U16() << 16;
    }
    uint32_t Varint() {
        uint32_t value = 0;
        for (int shift = 0; shift < 35; shift += 7) {
            const uint32_t byte = U8();
            if (shift == 28 && byte > 0x0F)
                break; // more than 32 bits
            value |= (byte & 0x7F) << shift;
            if ((byte & 0x80) == 0)
                return value;
        }
        failed_ = true;
        return 0;
    }
    int32_t Signed() {
        const uint32_t v = Varint();
        return static_cast<int32_t>((v >> 1) ^ (0u - (v & 1)));
    }
    QString Text() {
        const qsizetype size = U16();
        if (size > MaxTextBytes || size > Left()) {
            failed_ = true;
            return {};
        }
        const QString text = QString::fromUtf8(data_.sliced(pos_, size));
        pos_ += size;
        return text;
    }
    /// A count of items taking at least itemBytes each: never more than fit.
    size_t Count(qsizetype itemBytes) {
        const uint32_t count = Varint();
        if (static_cast<qsizetype>(count) > Left() / itemBytes)
            failed_ = true;
        return failed_ ? 0 : count;
    }
    void Check(bool condition) { failed_ = failed_ || !condition; }

private:
    QByteArrayView data_;
    qsizetype pos_ = 0;
    bool failed_ = false;
};

// Differences in 32-bit two's complement: any two values have one, and adding it
// back gives the value again.
int32_t Difference(int32_t value, int32_t last) {
    return static_cast<int32_t>(static_cast<uint32_t>(value) - static_cast<uint32_t>(last));
}

int32_t Sum(int32_t last, int32_t difference) {
    return static_cast<int32_t>(static_cast<uint32_t>(last) + static_cast<uint32_t>(difference));
}

bool KnownFormat(uint32_t format) {
    return format == FormatVersion || format == FormatWithoutMachine;
}

// Text from a file is shown in a box only short and printable, never a kilobyte of
// whatever the file holds.
bool Showable(const QString& text) {
    constexpr qsizetype MaxShownLength = 24;
    return text.size() <= MaxShownLength &&
           std::all_of(text.begin(), text.end(), [](QChar c) { return c.isPrint(); });
}

// A name is shown in the replay's caption beside the points: without the characters
// that reorder or hide what follows them (U+202E would make "Rita [2 Punkte]" read
// "Rita]etknuP 2["), nor control characters and line breaks.
QString ShownName(const QString& name) {
    QString shown;
    for (const uint c : name.toUcs4()) {
        switch (QChar::category(static_cast<char32_t>(c))) {
        case QChar::Other_Control:
        case QChar::Other_Format:
        case QChar::Separator_Line:
        case QChar::Separator_Paragraph:
            break;
        default:
            shown += QChar::fromUcs4(c);
        }
    }
    return shown;
}

bool InRange(int64_t value, TRange range) {
    return value >= range.Min && value <= range.Max;
}

void ReadSettings(TReader& in, TRunSettings& settings) {
    settings.FieldWidth = static_cast<int32_t>(in.U16());
    settings.FieldHeight = static_cast<int32_t>(in.U16());
    const uint32_t count = in.U8();
    in.Check(InRange(count, CustomBallCount) && settings.FieldWidth > 0 &&
             settings.FieldHeight > 0);
    settings.Config.BallRadii.assign(in.Failed() ? 0 : count, 0);
    for (int32_t& radius : settings.Config.BallRadii) {
        radius = static_cast<int32_t>(in.Varint());
        in.Check(InRange(radius, CustomRadius));
    }
    settings.Config.PlayerRadius = static_cast<int32_t>(in.Varint());
    settings.Config.MaxStartSpeed = static_cast<int32_t>(in.Varint());
    in.Check(InRange(settings.Config.PlayerRadius, CustomRadius) &&
             InRange(settings.Config.MaxStartSpeed, CustomMaxStartSpeed));
    settings.Seed = in.U32();
}

// The entry's part of the header: program version, difficulty (a custom one too: every
// game is recorded, and its settings follow), bonus option, points and player.
void ReadEntry(TReader& in, TRunEntry& entry, TRunSettings& settings) {
    entry.ProgramVersion = in.Text();
    settings.Mode = static_cast<TMode>(in.U8());
    const uint32_t bonus = in.U8();
    settings.Bonus = bonus == 1;
    in.Check(settings.Mode <= CustomMode && bonus <= 1);
    entry.Points = in.U32();
    entry.Player = in.Text();
}

QString OtherVersionReason(const QString& version) {
    if (version.isEmpty() || !Showable(version))
        return QStringLiteral("Die Datei stammt von einer anderen Programmversion.");
    return QStringLiteral("Die Datei stammt von einer anderen Programmversion (%1).").arg(version);
}

void ReadFrames(TReader& in, TRunRecording& run) {
    const size_t count = in.Count(MinFrameBytes);
    // None where the game was left before it ended (the last game, aborted): its shots
    // may then reach to the frame after the last one.
    run.GameFrames = in.Varint();
    in.Check(run.GameFrames <= count);
    const uint32_t shotsBefore = run.GameFrames != 0 ? run.GameFrames : count + 1;
    run.Frames.resize(count);
    TRunFrame last;
    for (TRunFrame& frame : run.Frames) {
        frame.Elapsed = last.Elapsed + static_cast<uint32_t>(in.Signed());
        frame.Cursor.X = Sum(last.Cursor.X, in.Signed());
        frame.Cursor.Y = Sum(last.Cursor.Y, in.Signed());
        last = frame;
    }
    run.Shots.resize(in.Count(MinFrameBytes));
    TRunShot lastShot;
    for (TRunShot& shot : run.Shots) {
        const uint32_t later = in.Varint();
        in.Check(later < shotsBefore - lastShot.Frame);
        shot.Frame = lastShot.Frame + later;
        shot.Player.X = Sum(lastShot.Player.X, in.Signed());
        shot.Player.Y = Sum(lastShot.Player.Y, in.Signed());
        lastShot = shot;
    }
    run.Checksums.resize(in.Count(ChecksumBytes));
    for (uint32_t& checksum : run.Checksums)
        checksum = in.U32();
}

} // namespace

QByteArray WriteRunFile(const TRunEntry& entry, const TRunRecording& run) {
    TWriter out;
    out.Bytes(Magic, sizeof Magic);
    out.U16(FormatVersion);
    out.U32(0); // the length, filled in below
    out.Text(entry.ProgramVersion);
    const TRunSettings& settings = run.Settings;
    out.U8(settings.Mode);
    out.U8(settings.Bonus ? 1 : 0);
    out.U32(entry.Points);
    out.Text(entry.Player);
    out.Text(run.Machine);
    out.U16(static_cast<uint32_t>(settings.FieldWidth));
    out.U16(static_cast<uint32_t>(settings.FieldHeight));
    out.U8(static_cast<uint32_t>(settings.Config.BallRadii.size()));
    for (const int32_t radius : settings.Config.BallRadii)
        out.Varint(static_cast<uint32_t>(radius));
    out.Varint(static_cast<uint32_t>(settings.Config.PlayerRadius));
    out.Varint(static_cast<uint32_t>(settings.Config.MaxStartSpeed));
    out.U32(settings.Seed);

    out.Varint(static_cast<uint32_t>(run.Frames.size()));
    out.Varint(run.GameFrames);
    TRunFrame last;
    for (const TRunFrame& frame : run.Frames) {
        out.Signed(static_cast<int32_t>(frame.Elapsed - last.Elapsed));
        out.Signed(Difference(frame.Cursor.X, last.Cursor.X));
        out.Signed(Difference(frame.Cursor.Y, last.Cursor.Y));
        last = frame;
    }
    out.Varint(static_cast<uint32_t>(run.Shots.size()));
    TRunShot lastShot;
    for (const TRunShot& shot : run.Shots) {
        out.Varint(shot.Frame - lastShot.Frame);
        out.Signed(Difference(shot.Player.X, lastShot.Player.X));
        out.Signed(Difference(shot.Player.Y, lastShot.Player.Y));
        lastShot = shot;
    }
    out.Varint(static_cast<uint32_t>(run.Checksums.size()));
    for (const uint32_t checksum : run.Checksums)
        out.U32(checksum);

    QByteArray& bytes = out.Out();
    const auto length = static_cast<uint32_t>(bytes.size() + CrcSize);
    for (int i = 0; i < 4; ++i)
        bytes[HeaderSize - 4 + i] = static_cast<char>(length >> (8 * i) & 0xFF);
    out.U32(Crc32(bytes.constData(), static_cast<size_t>(bytes.size())));
    return bytes;
}

QString ReadRunFile(QByteArrayView data, const QString& programVersion, TRunEntry& entry,
                    TRunRecording& run) {
    if (!data.startsWith(QByteArrayView(Magic, sizeof Magic)))
        return QStringLiteral("Die Datei ist kein Rekordlauf von feNU.");
    TReader header(data.sliced(sizeof Magic));
    const uint32_t format = header.U16();
    const uint32_t length = header.U32();
    if (header.Failed() || data.size() < HeaderSize + CrcSize)
        return QStringLiteral("Die Datei ist unvollständig.");
    if (!KnownFormat(format))
        return QStringLiteral("Die Datei hat ein anderes Format (Version %1).").arg(format);
    if (length > static_cast<uint64_t>(data.size()))
        return QStringLiteral("Die Datei ist unvollständig.");
    const qsizetype bodyEnd = data.size() - CrcSize;
    TReader crc(data.sliced(bodyEnd));
    if (length != static_cast<uint64_t>(data.size()) ||
        crc.U32() != Crc32(data.data(), static_cast<size_t>(bodyEnd)))
        return QStringLiteral("Die Prüfsumme der Datei stimmt nicht.");

    TReader in(data.sliced(HeaderSize, bodyEnd - HeaderSize));
    run = TRunRecording();
    ReadEntry(in, entry, run.Settings);
    if (entry.ProgramVersion != programVersion)
        return OtherVersionReason(entry.ProgramVersion);
    if (entry.Player.size() > RunFileMaxPlayerLength)
        return QStringLiteral("Der Name des Spielers in der Datei ist zu lang.");
    entry.Player = ShownName(entry.Player);
    if (format != FormatWithoutMachine) {
        run.Machine = in.Text();
        in.Check(Showable(run.Machine)); // it may be shown when the replay drifts
    }
    ReadSettings(in, run.Settings);
    ReadFrames(in, run);
    in.Check(in.Left() == 0);
    if (in.Failed())
        return QStringLiteral("Die Datei enthält ungültige Werte.");
    if (!FrameTimesPlayable(run))
        return QStringLiteral("Die Datei passt nicht zu ihrer eigenen Aufnahme: Die Zeiten ihrer "
                              "Bilder passen nicht zu den gespielten Schritten.");
    return {};
}

bool PeekRunEntry(QByteArrayView data, TRunEntry& entry) {
    if (!data.startsWith(QByteArrayView(Magic, sizeof Magic)))
        return false;
    TReader in(data.sliced(sizeof Magic));
    const uint32_t format = in.U16();
    in.U32(); // the length: what follows is not checked here
    TRunSettings settings;
    ReadEntry(in, entry, settings);
    return !in.Failed() && KnownFormat(format);
}

} // namespace fenu
