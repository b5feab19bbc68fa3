#include "platform/app/UrlOpener.h"

#include <QDesktopServices>
#include <QUrl>

namespace fenu {

QUrl DesktopUrlOpener::ToUrl(const QString& target) {
    QString text = target.trimmed();
    if (text.size() >= 2 && text.startsWith(QLatin1Char('"')) && text.endsWith(QLatin1Char('"'))) {
        text = text.mid(1, text.size() - 2);
    }
    const QUrl url(text, QUrl::TolerantMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https") &&
                           scheme != QLatin1String("mailto"))) {
        return QUrl();
    }
    return url;
}

void DesktopUrlOpener::Open(const QString& target) {
    const QUrl url = ToUrl(target);
    if (url.isValid()) {
        QDesktopServices::openUrl(url);
    }
}

} // namespace fenu
