#include "ui/SettingsStore.h"

#include "game/GameState.h"
#include "game/OptionMarks.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

#include <QDir>
#include <QFileInfo>

namespace fenu {

namespace {

const QString SettingsSection = QStringLiteral("Settings");
const std::array<QString, 2> RecordSections = {QStringLiteral("Records"),
                                               QStringLiteral("Bonus Records")};

constexpr int64_t MinInteger = INT32_MIN;
constexpr int64_t MaxInteger = UINT32_MAX;

// Decimal, or hexadecimal after "0x"/"0X", with an optional sign. Anything that is
// no 32-bit number (signed or unsigned) is not an integer.
std::optional<int64_t> ParseInteger(QStringView text) {
    bool negative = false;
    if (!text.isEmpty() && (text.front() == u'-' || text.front() == u'+')) {
        negative = text.front() == u'-';
        text = text.sliced(1);
    }
    int base = 10;
    if (text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X')) {
        base = 16;
        text = text.sliced(2);
    }
    if (text.isEmpty())
        return std::nullopt;
    int64_t value = 0;
    for (const QChar c : text) {
        const int digit =
            c.isDigit() && c.unicode() < 0x80                          ? c.unicode() - u'0'
            : base == 16 && c.unicode() >= u'a' && c.unicode() <= u'f' ? c.unicode() - u'a' + 10
            : base == 16 && c.unicode() >= u'A' && c.unicode() <= u'F' ? c.unicode() - u'A' + 10
                                                                       : -1;
        if (digit < 0)
            return std::nullopt;
        value = value * base + digit;
        if (value > MaxInteger)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value < MinInteger)
        return std::nullopt;
    return value;
}

int64_t ReadInteger(const TProfileFile& file, const QString& section, const QString& key,
                    int64_t defaultValue) {
    const QString text = file.ReadString(section, key, QString());
    return ParseInteger(text).value_or(defaultValue);
}

// A file may hold anything; the custom dialog's ranges hold after reading.
int32_t ReadClamped(const TProfileFile& file, const QString& key, int64_t defaultValue,
                    TRange range) {
    return static_cast<int32_t>(std::clamp<int64_t>(
        ReadInteger(file, SettingsSection, key, defaultValue), range.Min, range.Max));
}

bool ReadBoolean(const TProfileFile& file, const QString& key, bool defaultValue) {
    return ReadInteger(file, SettingsSection, key, defaultValue ? 1 : 0) != 0;
}

QString IntegerText(int64_t value) {
    return QString::number(static_cast<int32_t>(value));
}

QString BooleanText(bool value) {
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

QString PointsKey(int n) {
    return QStringLiteral("Points") + QString::number(n);
}

QString PlayerKey(int n) {
    return QStringLiteral("Player") + QString::number(n);
}

TRecord ReadRecord(const TProfileFile& file, size_t table, int n) {
    TRecord record;
    record.Points =
        static_cast<uint32_t>(ReadInteger(file, RecordSections[table], PointsKey(n), 0));
    record.Player = file.ReadString(RecordSections[table], PlayerKey(n), QString());
    return record;
}

} // namespace

void ReadSettings(const TProfileFile& file, TGameState& game) {
    const TConfiguration& first = game.Presets[0];
    // The difficulty is a byte, and any byte beyond the presets' means the custom
    // difficulty. The byte is kept as it stands and written back so; what the game
    // hands on (run files, statistics) names the custom difficulty by CustomMode.
    const int64_t mode = ReadInteger(file, SettingsSection, QStringLiteral("Mode"), 0);
    game.Mode = static_cast<TMode>(static_cast<uint32_t>(mode) & 0xFF);
    if (game.Options)
        game.Options->CheckDifficulty(game.Mode);

    const int32_t count =
        ReadClamped(file, QStringLiteral("CountBalls"),
                    static_cast<int64_t>(first.BallRadii.size()), CustomBallCount);
    const int32_t radius =
        ReadClamped(file, QStringLiteral("Radius1"),
                    first.BallRadii.empty() ? 0 : first.BallRadii[0], CustomRadius);
    game.CurrentConfig.BallRadii.assign(static_cast<size_t>(count), radius);
    game.CurrentConfig.PlayerRadius =
        ReadClamped(file, QStringLiteral("Radius2"), first.PlayerRadius, CustomRadius);
    game.CurrentConfig.MaxStartSpeed = ReadClamped(file, QStringLiteral("MaxStartSpeed"),
                                                   first.MaxStartSpeed, CustomMaxStartSpeed);

    const bool bonus = ReadBoolean(file, QStringLiteral("Bonus Points"), true);
    const bool sounds = ReadBoolean(file, QStringLiteral("PlaySounds"), true);
    if (game.Options) {
        game.Options->SetBonusPointsChecked(bonus);
        game.Options->SetSoundsChecked(sounds);
    }

    game.Records = ReadRecords(file);
}

TRecordTable ReadRecords(const TProfileFile& file) {
    TRecordTable records;
    for (size_t t = 0; t < RecordSections.size(); ++t) {
        for (int n = 0; n < PresetCount; ++n)
            records[t][static_cast<size_t>(n)] = ReadRecord(file, t, n);
    }
    return records;
}

TRecordTable WriteSettings(TProfileFile& file, const TGameState& game,
                           const TRecordTable* loadedRecords) {
    const TConfiguration& config = game.CurrentConfig;
    // Without a menu there is nothing to save but the options' defaults.
    const bool bonus = game.Options ? game.Options->BonusPointsChecked() : true;
    const bool sounds = game.Options ? game.Options->SoundsChecked() : true;
    file.WriteString(SettingsSection, u"Mode", IntegerText(game.Mode));
    file.WriteString(SettingsSection, u"CountBalls",
                     IntegerText(static_cast<int64_t>(config.BallRadii.size())));
    file.WriteString(SettingsSection, u"Radius1",
                     IntegerText(config.BallRadii.empty() ? 0 : config.BallRadii[0]));
    file.WriteString(SettingsSection, u"Radius2", IntegerText(config.PlayerRadius));
    file.WriteString(SettingsSection, u"MaxStartSpeed", IntegerText(config.MaxStartSpeed));
    file.WriteString(SettingsSection, u"Bonus Points", BooleanText(bonus));
    file.WriteString(SettingsSection, u"PlaySounds", BooleanText(sounds));

    const TRecordTable records = loadedRecords
                                     ? MergeRecords(*loadedRecords, game.Records, ReadRecords(file))
                                     : game.Records;
    for (size_t t = 0; t < RecordSections.size(); ++t) {
        for (int n = 0; n < PresetCount; ++n) {
            const TRecord& record = records[t][static_cast<size_t>(n)];
            file.WriteString(RecordSections[t], PointsKey(n), IntegerText(record.Points));
            if (record.Points != 0)
                file.WriteString(RecordSections[t], PlayerKey(n), record.Player);
            else
                file.DeleteKey(RecordSections[t], PlayerKey(n));
        }
    }
    return records;
}

void TSettingsStore::Load(TGameState& game) const {
    TProfileFile file(settingsFile_);
    file.Load();
    ReadSettings(file, game);
}

TRecordTable TSettingsStore::LoadRecords() const {
    TProfileFile file(settingsFile_);
    file.Load();
    return ReadRecords(file);
}

TRecordTable TSettingsStore::Save(const TGameState& game, const TRecordTable* loadedRecords) const {
    TProfileFile file(settingsFile_);
    file.Load();
    file.SetBeforeReplaceHook(beforeReplace_);
    TRecordTable written = WriteSettings(file, game, loadedRecords);
    const QFileInfo info(settingsFile_);
    // The per-user configuration folder may not exist yet.
    QDir().mkpath(info.absolutePath());
    if (!file.Flush()) {
        throw ESettingsWriteError(CannotWriteIn(info.absoluteFilePath()));
    }
    return written;
}

QString CannotWriteIn(const QString& path) {
    return QStringLiteral("In %1 kann nicht geschrieben werden").arg(path);
}

} // namespace fenu
