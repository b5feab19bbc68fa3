#pragma once

#include "game/Records.h"
#include "game/run/RunFile.h"
#include "game/run/RunRecording.h"

#include <QString>

namespace fenu {

/// The runs that set the records, one file per entry of the records table beside
/// the settings file, each replacing that entry's older one.
class TRecordRuns {
public:
    explicit TRecordRuns(const QString& settingsFile);

    /// The file of records[table][mode].
    QString Path(size_t table, TMode mode) const;

    /// Keeps the run that set entry; empty on success, otherwise why not, in German.
    QString Save(const TRunRecording& run, const TRecord& entry) const;

    /// Whether a double-click on records[table][mode] does something: a run kept for
    /// it, or a file in its place that Load refuses with the reason. Reads no more
    /// than the file's beginning.
    bool Offers(size_t table, TMode mode, const TRecord& entry) const;

    enum class TFound { None, Ready, Refused };
    struct TLoaded {
        TFound Found = TFound::None;
        TRunRecording Run;
        QString Reason; ///< why a Refused run cannot be shown
    };
    /// The run kept for records[table][mode], None where there is none or where it
    /// set another record than entry (other points or name, e.g. one set by another
    /// copy of the program): such a run is never offered.
    TLoaded Load(size_t table, TMode mode, const TRecord& entry) const;

    /// A run from any file (one the player opens, the last game): read with the same
    /// refusals as a record's, whatever entry it names; header gets the file's entry.
    static TLoaded LoadFile(const QString& path, TRunEntry& header);
    /// A run from a file's contents, as LoadFile reads them.
    static TLoaded Read(QByteArrayView data, TRunEntry& header);

    /// Writes run as a file at target, naming entry, whole or not at all; empty on
    /// success, otherwise why not, in German.
    static QString SaveRun(const QString& target, const TRunEntry& entry, const TRunRecording& run);

    /// The last game played, kept for "Letztes Spiel ansehen" across restarts.
    QString LastGamePath() const;
    /// contents: a run file's. Empty on success, otherwise why not, in German.
    QString SaveLastGame(const QByteArray& contents) const;

    /// Copies the file of the run Load would find for entry, its bytes unchanged and
    /// whatever its version, to target, replacing that file whole or not at all; empty
    /// on success, otherwise why not, in German.
    QString SaveCopy(size_t table, TMode mode, const TRecord& entry, const QString& target) const;

    /// Removes the runs of the entries this session emptied (empty now, set when
    /// loaded): they go when the emptied entries are written.
    void RemoveEmptied(const TRecordTable& records, const TRecordTable& loaded) const;

private:
    /// The bytes of the run kept for entry, not yet read as a run: None as Load has it,
    /// Refused with the reason where the file cannot be read.
    TFound ReadKept(size_t table, TMode mode, const TRecord& entry, QByteArray& data,
                    QString& reason) const;

    QString folder_;
};

/// The name a run is offered to be saved under, e.g.
/// feNU-Einfach-Rita-420-Punkte.fenurun, safe as a file name whatever the player's name.
QString SharedRunFileName(size_t table, TMode mode, const TRecord& entry);

/// The program's version as a run file records it.
QString RunProgramVersion();

} // namespace fenu
