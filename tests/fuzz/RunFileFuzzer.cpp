// libFuzzer target: any bytes as a run file. Reading never crashes, hangs or allocates
// without bound; an accepted run writes back to a file that reads as the same run. Inputs
// that start like a run file are read again with length and checksum made right.
#include "game/run/Crc32.h"
#include "game/run/RunFile.h"

#include <cstdio>
#include <cstdlib>

namespace {

const QString Version = QStringLiteral("1.0.0.0");

void Check(const QByteArray& bytes) {
    fenu::TRunEntry entry;
    fenu::TRunRecording run;
    if (!fenu::ReadRunFile(bytes, Version, entry, run).isEmpty())
        return;
    if (run.Frames.size() > static_cast<size_t>(bytes.size()) || run.GameFrames > run.Frames.size())
        std::abort();
    fenu::TRunEntry entryAgain;
    fenu::TRunRecording runAgain;
    if (!fenu::ReadRunFile(fenu::WriteRunFile(entry, run), Version, entryAgain, runAgain)
             .isEmpty() ||
        !(entryAgain == entry) || !(runAgain == run)) {
        std::fprintf(stderr, "an accepted run does not survive writing it again\n");
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    Check(bytes);
    constexpr qsizetype header = 10; // magic, format version, length
    if (bytes.size() < header || !bytes.startsWith("feNR"))
        return 0;
    const auto length = static_cast<uint32_t>(bytes.size() + 4);
    for (int i = 0; i < 4; ++i)
        bytes[6 + i] = static_cast<char>(length >> (8 * i) & 0xFF);
    const uint32_t crc = fenu::Crc32(bytes.constData(), static_cast<size_t>(bytes.size()));
    for (int i = 0; i < 4; ++i)
        bytes.append(static_cast<char>(crc >> (8 * i) & 0xFF));
    Check(bytes);
    return 0;
}
