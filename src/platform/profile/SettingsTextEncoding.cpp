#include "platform/profile/SettingsTextEncoding.h"

#include "platform/profile/Utf8KeepingBytes.h"
#include "platform/profile/Windows1252.h"

#include <cstdint>

namespace fenu {

namespace {

constexpr QByteArrayView Utf8Mark = "\xEF\xBB\xBF";
constexpr QByteArrayView Utf16LittleEndianMark = "\xFF\xFE";

} // namespace

QString TSettingsTextEncoding::Decode(QByteArrayView bytes) {
    kind_ = TKind::Windows1252;
    oddLastByte_.reset();
    if (bytes.startsWith(Utf8Mark)) {
        kind_ = TKind::Utf8;
        return FromUtf8KeepingBytes(bytes.sliced(Utf8Mark.size()));
    }
    if (bytes.startsWith(Utf16LittleEndianMark)) {
        kind_ = TKind::Utf16LittleEndian;
        QByteArrayView units = bytes.sliced(Utf16LittleEndianMark.size());
        // Half a unit at the end stays the last byte of the file, whatever is added.
        if (units.size() % 2 != 0) {
            oddLastByte_ = units.back();
            units.chop(1);
        }
        QString text(units.size() / 2, Qt::Uninitialized);
        for (qsizetype i = 0; i < text.size(); ++i)
            text[i] = QChar(static_cast<char16_t>(static_cast<uint8_t>(units[2 * i]) |
                                                  static_cast<uint8_t>(units[2 * i + 1]) << 8));
        return text;
    }
    return FromWindows1252(bytes);
}

QByteArray TSettingsTextEncoding::Encode(QStringView text) const {
    switch (kind_) {
    case TKind::Utf8:
        return Utf8Mark.toByteArray() + ToUtf8KeepingBytes(text);
    case TKind::Utf16LittleEndian: {
        QByteArray bytes = Utf16LittleEndianMark.toByteArray();
        bytes.reserve(bytes.size() + 2 * text.size() + 1);
        for (const QChar c : text) {
            bytes.append(static_cast<char>(c.unicode() & 0xff));
            bytes.append(static_cast<char>(c.unicode() >> 8));
        }
        if (oddLastByte_)
            bytes.append(*oddLastByte_);
        return bytes;
    }
    case TKind::Windows1252:
        break;
    }
    return ToWindows1252(text);
}

} // namespace fenu
