#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace fenu {

/// UTF-8 for a settings file an editor saved with a byte-order mark, and for the
/// file names the system gives, decoded so that every byte survives: a byte that does not belong to
/// a well-formed sequence becomes the lone low surrogate U+DC80..U+DCFF of its number, and encoding
/// turns such a surrogate back into that byte. So decoding and encoding again gives back the same
/// bytes, whatever they are, and a save never garbles what it did not change. A surrogate that is
/// neither paired nor such a byte is encoded as '?'.
QString FromUtf8KeepingBytes(QByteArrayView bytes);
QByteArray ToUtf8KeepingBytes(QStringView text);

} // namespace fenu
