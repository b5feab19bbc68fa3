#include "platform/profile/Windows1252.h"

#include <array>

namespace fenu {

namespace {

// Bytes 0x80..0x9F; every other byte stands for the Unicode character of its number.
constexpr std::array<char16_t, 32> HighControlBlock = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr char Unmappable = '?';

char EncodeOne(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (size_t i = 0; i < HighControlBlock.size(); ++i) {
        if (HighControlBlock[i] == c)
            return static_cast<char>(0x80 + i);
    }
    return Unmappable;
}

} // namespace

QString FromWindows1252(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        out[i] = (b >= 0x80 && b < 0xA0) ? QChar(HighControlBlock[b - 0x80]) : QChar(b);
    }
    return text;
}

QByteArray ToWindows1252(QStringView text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() &&
            QChar::isLowSurrogate(text[i + 1].unicode())) {
            // One character outside the basic plane, one replacement.
            ++i;
            bytes.append(Unmappable);
            continue;
        }
        bytes.append(EncodeOne(c));
    }
    return bytes;
}

} // namespace fenu
