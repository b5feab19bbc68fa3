#pragma once

#include <exception>

#include <QString>

namespace fenu {

/// Root of every exception the game raises. Carries a user-visible message; the
/// application object shows it in the "feNU" error box when it escapes a handler.
class Exception : public std::exception {
public:
    explicit Exception(QString message);
    const QString& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return utf8_.constData(); }

private:
    QString message_;
    QByteArray utf8_;
};

/// The framework's canvas error: drawing on a canvas without a device context.
class EInvalidOperation : public Exception {
public:
    using Exception::Exception;
};

/// The text of the error box: the message with a full stop added when it lacks one.
QString ErrorBoxText(const QString& message);

} // namespace fenu
