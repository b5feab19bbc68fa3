#include "platform/app/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace fenu {

bool InstallQtTranslations(QTranslator& translator) {
    return translator.load(QStringLiteral("qtbase_de"),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
           QCoreApplication::installTranslator(&translator);
}

} // namespace fenu
