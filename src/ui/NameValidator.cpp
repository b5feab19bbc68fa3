#include "ui/NameValidator.h"

#include "platform/profile/Windows1252.h"

namespace fenu {

namespace {

bool InCodePage(QChar c) {
    const QStringView one(&c, 1);
    return FromWindows1252(ToWindows1252(one)) == one;
}

} // namespace

TNameValidator::TNameValidator(const QString& offered, QObject* parent)
    : QValidator(parent), offered_(offered) {}

QValidator::State TNameValidator::validate(QString& input, int& /*position*/) const {
    for (const QChar c : std::as_const(input)) {
        if (c == u'\n' || c == u'\r')
            return Invalid;
        if (!InCodePage(c) && !offered_.contains(c))
            return Invalid;
    }
    return Acceptable;
}

} // namespace fenu
