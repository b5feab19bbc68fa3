#pragma once

#include <QString>
#include <QUrl>

namespace fenu {

/// Hands a link (a web address or a "mailto:" address) to the desktop's default
/// handler for its scheme. The caller does not learn whether a handler ran.
class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    virtual void Open(const QString& target) = 0;
};

/// Opens links through QDesktopServices; never through a shell, so no text of the
/// link can be taken for a command.
class DesktopUrlOpener final : public UrlOpener {
public:
    void Open(const QString& target) override;

    /// The URL that Open hands on: one pair of enclosing double quotes is removed,
    /// as the Windows shell does with a quoted file name, and the rest is parsed
    /// leniently (blanks become %20). Anything but http, https and mailto is refused
    /// with an invalid URL, so a link cannot start a local program.
    static QUrl ToUrl(const QString& target);
};

} // namespace fenu
