#pragma once

#include "tunesession.h"

#include <QObject>

#include <functional>
#include <memory>

class Following;
class Panel;
class QSettings;

// The matching search as the console offers it: whether it can run now, one session at a
// time on the selected slot, and at the end the best setting stored as Save does or the
// relays put back as they were.
class Tuning : public QObject
{
    Q_OBJECT
public:
    // A match this good needs nothing better; above it the search found only its best.
    static constexpr double GoodSwr = 1.5;
    static constexpr const char *SettleKey = "tune/settle_ms";

    Tuning(Panel &panel, Following &following, QSettings *settings, QObject *parent = nullptr);
    ~Tuning() override;

    // Why a search cannot start now, apart from the steps; empty when it can.
    QString unavailable() const;
    // Another of the console's own uses of the carrier (training, a sweep), while it runs:
    // its reason, or empty. Nothing else keys the radio meanwhile.
    void setBusy(std::function<QString()> busy) { m_busy = std::move(busy); }
    // The selected antenna as measured at a frequency, where it was: a search starts at its
    // computed tune and ends there when the radio reads what the model says.
    using Measured = std::function<std::optional<LNetwork::Impedance>(double hz)>;
    void setMeasured(Measured measured) { m_measured = std::move(measured); }
    // The search needs the relay steps too; false while either is 0.
    bool stepsKnown() const;
    // A search at hz as the console runs one: its steps, its model of the tuner's parts, the
    // antenna's measurement there.
    MatchSearch::Config searchConfig(double hz) const;
    // How long the relays settle before a reading, as the user set it.
    int settleMs() const;
    static QString stepsMissing();

    // A new session, waiting for the carrier; none when a search cannot start. Any stop but
    // success puts the relays back at once, with the three packets of a recall.
    TuneSession *begin();
    TuneSession *session() { return m_session.get(); }
    // Ends the session: the setting found stored in the slot, or the relays as before.
    void end(bool store);

    // "SWR 1.02 at C 63, L 2, Ant: a good match" or "… the best reachable", for the operator.
    static QString resultText(const TuneSession &session);

signals:
    void begun(TuneSession *session);
    void ended(const QString &result);
    // The setting found was stored in the slot, with the SWR it gave.
    void stored(const RelaySetting &relays, double swr);

private:
    // A search that ends without its match stored leaves the relays as following would.
    void putBack();

    Panel &m_panel;
    Following &m_following;
    QSettings *m_settings;
    std::unique_ptr<TuneSession> m_session;
    RelaySetting m_before;
    std::function<QString()> m_busy;
    Measured m_measured;
};
