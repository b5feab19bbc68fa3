#pragma once

#include "platform/Exception.h"

namespace fenu {

/// Failures of the presentation layer's platform objects.
class EDirectXError : public Exception {
public:
    using Exception::Exception;
};

class EDirectDrawError : public EDirectXError {
public:
    using EDirectXError::EDirectXError;
};

class EDirectDrawPaletteError : public EDirectDrawError {
public:
    using EDirectDrawError::EDirectDrawError;
};

class EDirectDrawClipperError : public EDirectDrawError {
public:
    using EDirectDrawError::EDirectDrawError;
};

class EDirectDrawSurfaceError : public EDirectDrawError {
public:
    using EDirectDrawError::EDirectDrawError;
};

/// Failures of the drawing area itself.
class EDXDrawError : public Exception {
public:
    using Exception::Exception;
};

/// The message texts, shared so that tests and code cannot drift apart.
struct DXMessages {
    static QString CannotBeMade(const char* what) {
        return QStringLiteral("%1 cannot be made").arg(QLatin1String(what));
    }
    static QString CannotBeInitialized(const char* what) {
        return QStringLiteral("%1 cannot be initialized").arg(QLatin1String(what));
    }
    static QString NotMade(const char* what) {
        return QStringLiteral("%1 not made").arg(QLatin1String(what));
    }
    static QString NotLoaded(const QString& library) {
        return QStringLiteral("%1 not loaded").arg(library);
    }
    static constexpr const char* FormNotFound = "Form not found";
    static constexpr const char* NecessaryDirectX7 = "Necessary since DirectX 7";
    static constexpr const char* NecessaryDirectX6 = "Necessary since DirectX 6";
    /// The framework's canvas error: drawing on a canvas without a device context.
    static constexpr const char* CanvasDoesNotAllowDrawing = "Leinwand/Bild erlaubt kein Zeichnen";
};

} // namespace fenu
