#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace fenu {

/// The single-byte code page that players' settings files are written in.
///
/// Decoding maps every byte to one character, including the five bytes the code
/// page leaves undefined (they become the C1 controls of the same number, as
/// Windows does), so decoding and encoding again gives back the same bytes. A
/// character the code page cannot hold is encoded as '?'.
QString FromWindows1252(QByteArrayView bytes);
QByteArray ToWindows1252(QStringView text);

} // namespace fenu
