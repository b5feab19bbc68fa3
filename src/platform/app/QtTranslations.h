#pragma once

#include <QTranslator>

namespace fenu {

/// Qt's own texts in German, the game's language: the file dialogs, the standard
/// buttons and the command line's messages. Loads Qt's German translations of the
/// system into translator (a memory map of one file) and installs it in the
/// application object, which must exist; false where they are not installed, and Qt
/// then speaks English.
bool InstallQtTranslations(QTranslator& translator);

} // namespace fenu
