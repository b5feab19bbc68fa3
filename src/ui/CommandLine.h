#pragma once

#include <optional>

#include <QString>

namespace fenu {

/// What the command line asks of the program. Where it is answered without the game
/// (--help, --version, --verify) or is a mistake (an unknown option, a missing value,
/// more than one file), the answer is printed and the program ends with Exit.
/// Otherwise RunFile is the run to play (Race: to race against), if any.
struct TCommandLine {
    std::optional<int> Exit;
    QString RunFile;
    bool Race = false;
};

/// Reads argv before any application object exists, so that an answer needs no
/// display; only for one does it make an application object without windows, for Qt's
/// own texts in German. Qt's own options (-platform, -session, ...) are left to the
/// application object. A file is taken as the system names it, whatever its bytes
/// (FromUtf8KeepingBytes), or as a local file: URL, as file managers pass one.
TCommandLine ReadCommandLine(int argc, char** argv);

} // namespace fenu
