#include "carrier.h"

#include "rig/rigctldclient.h"

#include <QPointer>
#include <QSettings>

#include <memory>

Carrier::Carrier(RigctldClient &rig, QSettings *settings, QObject *parent)
    : QObject(parent)
    , m_rig(rig)
    , m_watts(wattsIn(settings))
    , m_mode(settings
                 ? settings->value(QString::fromLatin1(ModeKey), QString::fromLatin1(DefaultMode))
                       .toString()
                       .toLatin1()
                 : QByteArray(DefaultMode))
{}

double Carrier::wattsIn(QSettings *settings)
{
    const double watts =
        settings ? settings->value(QString::fromLatin1(WattsKey), DefaultWatts).toDouble()
                 : DefaultWatts;
    return watts > 0 && watts <= 1000 ? watts : DefaultWatts;
}

void Carrier::run(QList<QByteArray> commands, Done done)
{
    if (commands.isEmpty())
        return done({});
    const QByteArray command = commands.takeFirst();
    m_rig.command(command, [self = QPointer<Carrier>(this), command, commands,
                            done](int code, const QStringList &) {
        if (!self)
            return;
        if (code != 0)
            return done(tr("трансивер отказал в «%1» (RPRT %2)")
                            .arg(QString::fromLatin1(command))
                            .arg(code));
        self->run(commands, done);
    });
}

void Carrier::prepare(Done done)
{
    auto saved = std::make_shared<Saved>();
    const auto refused = [done](const QString &what, int code) {
        done(tr("трансивер не сообщил %1 (RPRT %2)").arg(what).arg(code));
    };
    QPointer<Carrier> self(this);
    m_rig.command("\\get_freq", [=, this](int code, const QStringList &values) {
        bool ok = false;
        saved->hz = qRound64(values.value(0).toDouble(&ok));
        if (!self || code != 0 || !ok)
            return refused(tr("частоту"), code);
        m_rig.command("\\get_mode", [=, this](int code, const QStringList &values) {
            if (!self || code != 0 || values.isEmpty())
                return refused(tr("вид излучения"), code);
            saved->mode = values.value(0).toLatin1();
            saved->passband = values.value(1, QStringLiteral("0")).toLatin1();
            m_rig.command("\\get_level RFPOWER", [=, this](int code, const QStringList &values) {
                if (!self || code != 0 || values.isEmpty())
                    return refused(tr("мощность"), code);
                saved->power = values.value(0).toLatin1();
                // The fraction of the radio's power that gives the limit at this frequency.
                const QByteArray limit = QByteArray::number(qRound64(m_watts * 1000)) + ' ' +
                                         QByteArray::number(saved->hz) + ' ' + m_mode;
                m_rig.command("\\mW2power " + limit, [=, this](int code,
                                                               const QStringList &values) {
                    bool ok = false;
                    const double fraction = values.value(0).toDouble(&ok);
                    if (!self || code != 0 || !ok || !(fraction > 0) || fraction > 1)
                        return done(tr("трансивер не переводит ватты в свою шкалу мощности "
                                       "(RPRT %1): мощность не задать")
                                        .arg(code));
                    const QByteArray power = QByteArray::number(fraction, 'f', 3);
                    m_rig.command(
                        "\\power2mW " + power + ' ' + QByteArray::number(saved->hz) + ' ' + m_mode,
                        [=, this](int code, const QStringList &values) {
                            bool ok = false;
                            const double mw = values.value(0).toDouble(&ok);
                            if (!self)
                                return;
                            if (code != 0 || !ok || mw > m_watts * 1000 * 1.001)
                                return done(tr("мощность была бы выше предела %1 Вт").arg(m_watts));
                            m_power = power;
                            m_saved = *saved;
                            done({});
                        });
                });
            });
        });
    });
}

void Carrier::tuneTo(qint64 hz, Done done)
{
    run({"\\set_freq " + QByteArray::number(hz), "\\set_mode " + m_mode + " 0",
         "\\set_level RFPOWER " + m_power},
        std::move(done));
}

void Carrier::moveTo(qint64 hz, Done done)
{
    run({"\\set_freq " + QByteArray::number(hz)}, std::move(done));
}

void Carrier::key(bool on, Done done)
{
    run({on ? QByteArray("\\set_ptt 1") : QByteArray("\\set_ptt 0")}, std::move(done));
}

void Carrier::unkeyNow()
{
    m_rig.command(
        "\\set_ptt 0", [](int, const QStringList &) {}, true);
}

void Carrier::restore(Done done)
{
    if (!m_saved)
        return run({"\\set_ptt 0"}, std::move(done));
    const Saved s = *std::exchange(m_saved, std::nullopt);
    run({"\\set_ptt 0", "\\set_freq " + QByteArray::number(s.hz),
         "\\set_mode " + s.mode + ' ' + s.passband, "\\set_level RFPOWER " + s.power},
        std::move(done));
}
