#pragma once

#include <optional>

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace fenu {

/// How the text of a settings file is stored: Windows-1252, unless the file begins
/// with a byte-order mark, as an editor writes one before UTF-8 or UTF-16
/// (little-endian). Decoding notes which, and encoding writes the text back the
/// same way, mark included; every byte of a file decodes and encodes back to
/// itself (bytes that are no UTF-8 survive as themselves, see Utf8KeepingBytes.h).
class TSettingsTextEncoding {
public:
    /// The text of a whole file; remembers its encoding for Encode.
    QString Decode(QByteArrayView bytes);
    QByteArray Encode(QStringView text) const;

private:
    enum class TKind : uint8_t { Windows1252, Utf8, Utf16LittleEndian };

    TKind kind_ = TKind::Windows1252;
    std::optional<char> oddLastByte_; ///< of a UTF-16 file of odd length
};

} // namespace fenu
