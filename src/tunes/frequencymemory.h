#pragma once

#include "rig/tunelookup.h"
#include "tune/lnetwork.h"
#include "tunestore.h"

#include <QObject>
#include <QPointer>
#include <QSet>
#include <QThread>

#include <functional>

#include <memory>

class Following;
class Panel;
class TuneSession;
class Tuning;

// The tuner that learns every frequency: a tune kept per antenna for every bin of every band,
// stored by the operator's Save and by the matching search while the radio's frequency is
// known, and recalled the moment the radio moves into a bin (or next to one). The store
// beside conf.cfg opens when following begins; with following off, nothing of this runs.
class FrequencyMemory : public QObject, public TuneLookup
{
    Q_OBJECT
public:
    // A neighbour this many bins away still serves a bin with none of its own.
    static constexpr int NeighbourBins = 2;

    FrequencyMemory(Panel &panel, Following &following, Tuning *tuning, QObject *parent = nullptr);
    ~FrequencyMemory() override;

    // TuneLookup: the bin's own entry, else the nearest within NeighbourBins (the lower SWR
    // where two are as near).
    std::optional<Found> find(int antenna, qint64 hz) override;
    void following(bool on) override;

    // The store, opened if it is not yet; none, said, when it cannot be had.
    TuneStore *store();
    const BandPlan &plan() const;

    // Stores relays for the bin of hz on the antenna. A pinned entry stands against all but
    // the operator's own Save (overPinned), which keeps the pin. False, with the reason, when
    // nothing was stored.
    bool keep(int antenna, qint64 hz, const RelaySetting &relays, std::optional<double> swr,
              StoredTune::Source source, bool overPinned, QString *why = nullptr);
    // Forgets, or pins, the entries of the antenna's bin around hz.
    bool forget(int antenna, qint64 hz);
    bool pin(int antenna, qint64 hz, bool pinned);
    // The antenna's entries in a band, by frequency.
    QList<StoredTune> ofBand(int antenna, int band);
    // How many times a tune could not be kept: a Save's or a command's answer tells it.
    quint64 failures() const { return m_failures; }
    // After a write to the store: a failure, or a notice, is said where the operator sees it
    // until seen, and in the line log. ok: how the write went.
    bool wrote(bool ok);
    // Every entry, as a CSV table, and a table's entries stored (all or none).
    QByteArray table();
    bool importTable(const QByteArray &csv, QString *error, int *count = nullptr);
    // A table file, read and checked off the window's thread, then stored (all or none);
    // done(error, count) on the window's thread, the error empty when it went well.
    static constexpr qint64 MaxImportBytes = 16 * 1024 * 1024;
    using Imported = std::function<void(const QString &error, int count)>;
    void importFile(const QString &path, Imported done);
    bool importing() const { return m_import != nullptr; }

    // The antenna's measurement: a file read in (its previous one kept for an undo), undone,
    // or the tunes computed from it again (new parts). The reading and the computing run off
    // the window's thread; done(error, each band's line) comes on it.
    using Computed = std::function<void(const QString &error, const QStringList &bands)>;
    void importMeasurement(int antenna, const QString &path, const LNetwork::Parts &parts,
                           Computed done);
    void undoMeasurement(int antenna, const LNetwork::Parts &parts, Computed done);
    void recompute(int antenna, const LNetwork::Parts &parts, Computed done);
    // The antenna's impedance at hz from its measurement; none without one or outside it.
    std::optional<LNetwork::Impedance> measuredLoad(int antenna, qint64 hz);

    // What the radio read while a search or training moved the relays, kept for the parts' fit.
    void logProbes(TuneSession &session);
    void logProbe(int antenna, qint64 hz, const RelaySetting &relays, double swr);

signals:
    // Entries were stored, forgotten or pinned.
    void changed();

private:
    // Reads (off the window's thread), computes every bin, keeps the measurement when asked
    // and the computed tunes.
    void compute(int antenna, const LNetwork::Parts &parts, Computed done,
                 std::function<std::optional<AntennaMeasurement>(QString *)> read,
                 bool keepMeasurement = true);

    void learnSaved(int cause);

    Panel &m_panel;
    Following &m_following;
    std::unique_ptr<TuneStore> m_store;
    // The store could not be had this time following is on: said once.
    bool m_failed = false;
    quint64 m_failures = 0;
    QPointer<QThread> m_import;
    // The computed tunes whose SWR the radio was asked for under the operator's carrier.
    static constexpr double ComputedCheckSwr = 1.5;
    QSet<qint64> m_checked;
    bool m_wasKeyed = false;
};
