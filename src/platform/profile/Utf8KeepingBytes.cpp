#include "platform/profile/Utf8KeepingBytes.h"

#include <cstdint>

namespace fenu {

namespace {

constexpr char16_t KeptByteBase = 0xDC00;
constexpr char16_t FirstKeptByte = KeptByteBase + 0x80;
constexpr char16_t LastKeptByte = KeptByteBase + 0xFF;
constexpr char Unmappable = '?';

struct TSequence {
    char32_t CodePoint = 0;
    int Length = 0; ///< 0 when the bytes at that place are no well-formed sequence
};

// The well-formed sequence starting at bytes[at]: shortest form, no surrogates,
// nothing beyond U+10FFFF.
TSequence SequenceAt(QByteArrayView bytes, qsizetype at) {
    const auto lead = static_cast<uint8_t>(bytes[at]);
    TSequence sequence;
    char32_t smallest = 0;
    if ((lead & 0xE0) == 0xC0) {
        sequence = {lead & 0x1Fu, 2};
        smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        sequence = {lead & 0x0Fu, 3};
        smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        sequence = {lead & 0x07u, 4};
        smallest = 0x10000;
    } else {
        return {};
    }
    if (at + sequence.Length > bytes.size())
        return {};
    for (int k = 1; k < sequence.Length; ++k) {
        const auto next = static_cast<uint8_t>(bytes[at + k]);
        if ((next & 0xC0) != 0x80)
            return {};
        sequence.CodePoint = (sequence.CodePoint << 6) | (next & 0x3Fu);
    }
    const char32_t c = sequence.CodePoint;
    if (c < smallest || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return {};
    return sequence;
}

void AppendUtf8(QByteArray& out, char32_t c) {
    if (c < 0x80) {
        out.append(static_cast<char>(c));
    } else if (c < 0x800) {
        out.append(static_cast<char>(0xC0 | (c >> 6)));
        out.append(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.append(static_cast<char>(0xE0 | (c >> 12)));
        out.append(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.append(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.append(static_cast<char>(0xF0 | (c >> 18)));
        out.append(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.append(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.append(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

} // namespace

QString FromUtf8KeepingBytes(QByteArrayView bytes) {
    QString text;
    text.reserve(bytes.size());
    qsizetype at = 0;
    while (at < bytes.size()) {
        const auto lead = static_cast<uint8_t>(bytes[at]);
        if (lead < 0x80) {
            text.append(QChar(lead));
            ++at;
            continue;
        }
        const TSequence sequence = SequenceAt(bytes, at);
        if (sequence.Length == 0) {
            text.append(QChar(static_cast<char16_t>(KeptByteBase + lead)));
            ++at;
            continue;
        }
        if (sequence.CodePoint >= 0x10000) {
            text.append(QChar(QChar::highSurrogate(sequence.CodePoint)));
            text.append(QChar(QChar::lowSurrogate(sequence.CodePoint)));
        } else {
            text.append(QChar(static_cast<char16_t>(sequence.CodePoint)));
        }
        at += sequence.Length;
    }
    return text;
}

QByteArray ToUtf8KeepingBytes(QStringView text) {
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c >= FirstKeptByte && c <= LastKeptByte) {
            out.append(static_cast<char>(c - KeptByteBase));
        } else if (QChar::isHighSurrogate(c) && i + 1 < text.size() &&
                   QChar::isLowSurrogate(text[i + 1].unicode())) {
            AppendUtf8(out, QChar::surrogateToUcs4(c, text[i + 1].unicode()));
            ++i;
        } else if (QChar::isSurrogate(c)) {
            out.append(Unmappable);
        } else {
            AppendUtf8(out, c);
        }
    }
    return out;
}

} // namespace fenu
