#include "platform/Exception.h"

namespace fenu {

Exception::Exception(QString message) : message_(std::move(message)), utf8_(message_.toUtf8()) {}

QString ErrorBoxText(const QString& message) {
    if (message.endsWith(QLatin1Char('.')))
        return message;
    return message + QLatin1Char('.');
}

} // namespace fenu
