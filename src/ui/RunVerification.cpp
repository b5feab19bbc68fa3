#include "ui/RunVerification.h"

#include "game/run/RunVerdict.h"
#include "ui/RecordRuns.h"

#include <cstdio>
#include <cstdlib>

namespace fenu {

int VerifyRunFile(const QString& path) {
    TRunEntry entry;
    const TRecordRuns::TLoaded loaded = TRecordRuns::LoadFile(path, entry);
    if (loaded.Found != TRecordRuns::TFound::Ready) {
        std::fprintf(stderr, "feNU: %s: %s\n", qPrintable(path), qPrintable(loaded.Reason));
        return EXIT_FAILURE;
    }
    const TRunPlayback replay = PlayRunHeadless(loaded.Run);
    std::printf("%s\n", qPrintable(VerdictLine(entry, loaded.Run.Settings, replay)));
    return Proves(entry, replay) ? EXIT_SUCCESS : EXIT_FAILURE;
}

} // namespace fenu
