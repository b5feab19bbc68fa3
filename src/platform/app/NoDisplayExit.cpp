#include "platform/app/NoDisplayExit.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include <QString>

namespace fenu {

namespace {

struct HeldMessage {
    QtMsgType type;
    QString text;
};

std::vector<HeldMessage> heldMessages;

// Qt's connection to the display fails with a fatal message that says nothing of the
// display but that reinstalling may help, and aborts.
void HoldOrExit(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type != QtFatalMsg) {
        heldMessages.push_back({type, context.category ? QString::fromUtf8(context.category) +
                                                             QStringLiteral(": ") + text
                                                       : text});
        return;
    }
    std::fprintf(stderr, "%s\n", qPrintable(NoDisplayExit::Message()));
    std::fflush(stderr);
    std::_Exit(1);
}

QString Shown(const char* variable) {
    const QByteArray value = qgetenv(variable);
    return value.isEmpty() ? QStringLiteral("nicht gesetzt") : QString::fromLocal8Bit(value);
}

} // namespace

NoDisplayExit::NoDisplayExit() : previous_(qInstallMessageHandler(HoldOrExit)) {}

NoDisplayExit::~NoDisplayExit() {
    qInstallMessageHandler(previous_);
    for (const HeldMessage& held : heldMessages) {
        const QByteArray text = held.text.toLocal8Bit();
        if (held.type == QtDebugMsg)
            qDebug("%s", text.constData());
        else if (held.type == QtInfoMsg)
            qInfo("%s", text.constData());
        else
            qWarning("%s", text.constData());
    }
    heldMessages.clear();
}

QString NoDisplayExit::Message() {
    return QStringLiteral("feNU kann keine Anzeige erreichen (DISPLAY: %1, WAYLAND_DISPLAY: %2). "
                          "feNU braucht eine grafische Sitzung unter X11 oder Wayland.")
        .arg(Shown("DISPLAY"), Shown("WAYLAND_DISPLAY"));
}

} // namespace fenu
