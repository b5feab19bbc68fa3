#pragma once

#include "game/run/RunRecording.h"

#include <QByteArray>
#include <QString>

namespace fenu {

/// The record entry a run file belongs to, besides its difficulty and bonus option
/// (those of the run's settings).
struct TRunEntry {
    uint32_t Points = 0;
    QString Player;
    QString ProgramVersion;
    friend bool operator==(const TRunEntry&, const TRunEntry&) = default;
};

/// The longest text a run file holds (program version, player), in UTF-8 bytes.
constexpr qsizetype RunFileMaxTextBytes = 1024;
/// The longest player's name a run file is read with, in characters: as long as the
/// game takes one.
constexpr qsizetype RunFileMaxPlayerLength = 255;
/// The most bytes of a run file's beginning that PeekRunEntry reads.
constexpr qsizetype RunEntryMaxBytes = 2 * RunFileMaxTextBytes + 20;

/// The file of a record's run, all numbers little-endian: magic word, format
/// version, length, program version, the entry, the kind of machine it was recorded
/// on (RunMachine), the settings, the generator's state,
/// the frames (elapsed time and cursor as differences to the frame before, in
/// variable-length numbers), the shots, the checksums of the state, and a CRC-32
/// of everything before it.
QByteArray WriteRunFile(const TRunEntry& entry, const TRunRecording& run);

/// Reads a run file written by this program version, in this format or the one before
/// it (without the machine: Machine stays empty); on success an empty string,
/// otherwise why the file cannot be used, in German. Any bytes are safe to read.
/// The entry's player comes back as it may be shown: without control and
/// bidirectional formatting characters. Frame times no game plays (FrameTimes.h) are
/// refused.
QString ReadRunFile(QByteArrayView data, const QString& programVersion, TRunEntry& entry,
                    TRunRecording& run);

/// The entry a run file names at its beginning, of any program version, nothing else
/// checked: false where the bytes do not begin like a run file of a format read here.
bool PeekRunEntry(QByteArrayView data, TRunEntry& entry);

} // namespace fenu
