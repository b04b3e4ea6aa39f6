#include "carrierjob.h"

#include "panel/panel.h"
#include "rig/carrierguard.h"
#include "rig/following.h"
#include "rig/rigctldclient.h"
#include "rig/rigrescue.h"
#include "tune/tuning.h"

#include <QDateTime>
#include <QSettings>

#include <memory>

CarrierJob::CarrierJob(Panel &panel, Following &following, Tuning &tuning, QSettings *settings,
                       const Places &places, QObject *parent)
    : QObject(parent)
    , m_panel(panel)
    , m_following(following)
    , m_tuning(tuning)
    , m_places(places)
    , m_watts(wattsIn(settings))
    , m_mode(settings
                 ? settings->value(QString::fromLatin1(ModeKey), QString::fromLatin1(DefaultMode))
                       .toString()
                       .toLatin1()
                 : QByteArray(DefaultMode))
{
    recoverJournal();
}

CarrierJob::~CarrierJob()
{
    // Nothing of the event loop will answer any more: the radio is unkeyed and put back now,
    // on a connection of this job's own, and only then does the guard stand down.
    if (m_active && m_saved) {
        RigRescue last(m_rigAddress, m_saved, m_keyed || m_rescue);
        m_rescue.reset();
        if (last.runFor(2 * StepMs + RigRescue::AttemptMs)) {
            CarrierJournal::clear(m_places.journalFolder, m_journalJob);
            releaseGuard();
        }
    } else if (m_active) {
        releaseGuard();
    }
    // What is not done by now the guard does: its pipe closes with this.
    if (m_recovery && m_recovery->running() && m_recovery->runFor(2 * StepMs) && m_recovered)
        CarrierJournal::clear(m_places.journalFolder, m_recovered->job);
}

double CarrierJob::wattsIn(QSettings *settings)
{
    bool ok = false;
    const double watts =
        settings ? settings->value(QString::fromLatin1(WattsKey)).toDouble(&ok) : 0;
    return ok && watts > 0 && watts <= 1000 ? watts : DefaultWatts;
}

RigctldClient &CarrierJob::rig() const
{
    return *qobject_cast<RigctldClient *>(&m_following.rig());
}

bool CarrierJob::recovering() const
{
    return m_recovery && m_recovery->running();
}

QString CarrierJob::busy() const
{
    return m_active ? tr("идёт %1").arg(m_name) : QString();
}

QString CarrierJob::unavailable() const
{
    if (m_active)
        return busy();
    if (recovering())
        return tr("трансивер, оставленный передающим прошлым запуском, ещё возвращается");
    if (!qobject_cast<RigctldClient *>(&m_following.rig()))
        return tr("передачу ведёт трансивер через rigctld: включите слежение за ним");
    // Following on, the radio answering with SWR and its transmit state, no search.
    if (const QString why = m_tuning.unavailable(); !why.isEmpty())
        return why;
    if (!m_following.rig().pttReliable())
        return tr("трансивер не сообщает, передаёт ли он");
    if (m_following.rig().ptt() == RigControl::Ptt::Transmitting)
        return tr("трансивер передаёт: задание начнётся, когда передача кончится");
    if (m_places.guardProgram.isEmpty())
        return tr("нет стража передачи (orvane-guard)");
    return {};
}

void CarrierJob::report(const QString &text, bool warning)
{
    m_panel.report(text, warning ? Panel::Tone::Warning : Panel::Tone::Info);
}

void CarrierJob::ask(const QByteArray &line, std::function<void(const QStringList &)> then,
                     std::function<void(const QString &)> failed, bool urgent)
{
    // One answer counts: the reply, or the deadline, whichever comes first.
    auto settled = std::make_shared<bool>(false);
    auto *deadline = new QTimer(this);
    deadline->setSingleShot(true);
    const QString command = QString::fromLatin1(line);
    connect(deadline, &QTimer::timeout, this, [this, settled, deadline, failed, command] {
        deadline->deleteLater();
        if (*settled)
            return;
        *settled = true;
        const QString why =
            tr("трансивер не ответил за %1 с на «%2»").arg(StepMs / 1000).arg(command);
        radioLost(why);
        failed(why);
    });
    deadline->start(StepMs);
    rig().command(
        line,
        [self = QPointer<CarrierJob>(this), settled, deadline, then, failed,
         command](int code, const QStringList &values) {
            if (!self || *settled)
                return;
            *settled = true;
            deadline->stop();
            deadline->deleteLater();
            if (code == 0)
                return then(values);
            // -6: the connection went, with the command in it.
            const QString why = tr("трансивер отказал в «%1» (RPRT %2)").arg(command).arg(code);
            if (code == -6)
                self->radioLost(why);
            failed(why);
        },
        urgent);
}

void CarrierJob::runAll(QList<QByteArray> commands, Done done)
{
    if (commands.isEmpty())
        return done({});
    const QByteArray first = commands.takeFirst();
    ask(
        first,
        [self = QPointer<CarrierJob>(this), commands, done](const QStringList &) {
            if (self)
                self->runAll(commands, done);
        },
        done);
}

bool CarrierJob::begin(const QString &name, std::function<void(const QString &)> stop, Done ready,
                       QString *why)
{
    if (const QString problem = unavailable(); !problem.isEmpty()) {
        *why = problem;
        return false;
    }
    m_active = true;
    m_name = name;
    m_stop = std::move(stop);
    m_saved.reset();
    m_putBackHz.reset();
    m_keyed = false;
    m_ending = false;
    m_problem.clear();
    m_rigAddress = rig().server();
    // The radio's moves are the job's own: following holds still meanwhile.
    m_following.setPaused(true);
    const auto refused = [self = QPointer<CarrierJob>(this), ready](const QString &problem) {
        if (!self)
            return;
        self->finish(problem);
        ready(problem);
    };
    // The operator's carrier is never taken over: the radio must say now that it is not
    // transmitting.
    ask(
        "\\get_ptt",
        [this, ready, refused](const QStringList &values) {
            if (values.value(0).trimmed() != QLatin1String("0"))
                return refused(tr("трансивер передаёт: задание не включает передачу поверх "
                                  "оператора"));
            prepare([this, ready, refused](const QString &problem) {
                if (!problem.isEmpty())
                    return refused(problem);
                // Before the first key-down: the journal on disk, and the guard watching.
                CarrierJournal::Record record;
                record.job = CarrierJournal::newJobName();
                record.rig = m_rigAddress;
                record.putBack = *m_saved;
                record.since = QDateTime::currentMSecsSinceEpoch();
                QString error;
                if (!CarrierJournal::write(m_places.journalFolder, record, &error))
                    return refused(tr("журнал передачи не записан: %1").arg(error));
                m_journalJob = record.job;
                m_guard = std::make_unique<CarrierGuard>();
                connect(m_guard.get(), &CarrierGuard::lost, this, [this] {
                    if (m_active && !m_ending && m_stop)
                        m_stop(tr("страж передачи пропал"));
                });
                if (!m_guard->start(
                        m_places.guardProgram,
                        {QStringLiteral("--rig"), m_rigAddress.text(), QStringLiteral("--put-back"),
                         QString::fromLatin1(m_saved->text()), QStringLiteral("--journal"),
                         m_places.journalFolder, QStringLiteral("--job"), record.job},
                        &error)) {
                    m_guard.reset();
                    return refused(tr("страж передачи не запустился: %1").arg(error));
                }
                ready({});
            });
        },
        refused);
    return true;
}

void CarrierJob::prepare(Done done)
{
    auto saved = std::make_shared<RadioSnapshot>();
    QPointer<CarrierJob> self(this);
    const auto missing = [done](const QString &what) {
        return [done, what](const QString &problem) {
            done(tr("трансивер не сообщил %1: %2").arg(what, problem));
        };
    };
    ask(
        "\\get_freq",
        [=, this](const QStringList &values) {
            bool ok = false;
            saved->hz = qRound64(values.value(0).toDouble(&ok));
            if (!ok || saved->hz <= 0)
                return missing(tr("частоту"))(values.value(0));
            ask(
                "\\get_mode",
                [=, this](const QStringList &values) {
                    saved->mode = values.value(0).toLatin1();
                    saved->passband = values.value(1, QStringLiteral("0")).toLatin1();
                    ask(
                        "\\get_level RFPOWER",
                        [=, this](const QStringList &values) {
                            bool ok = false;
                            saved->power = values.value(0).toLatin1();
                            saved->power.toDouble(&ok);
                            if (!ok)
                                return missing(tr("мощность"))(values.value(0));
                            // What the radio said must be what goes back to it, word for word.
                            if (!RadioSnapshot::parse(saved->text()))
                                return done(tr("трансивер ответил непонятно: %1")
                                                .arg(QString::fromLatin1(saved->text())));
                            // The fraction of the radio's power that gives the limit there.
                            const QByteArray limit = QByteArray::number(qRound64(m_watts * 1000)) +
                                                     ' ' + QByteArray::number(saved->hz) + ' ' +
                                                     m_mode;
                            ask(
                                "\\mW2power " + limit,
                                [=, this](const QStringList &values) {
                                    bool ok = false;
                                    const double fraction = values.value(0).toDouble(&ok);
                                    if (!ok || !(fraction > 0) || fraction > 1)
                                        return done(tr("трансивер не переводит ватты в свою "
                                                       "шкалу мощности: мощность не задать"));
                                    m_power = QByteArray::number(fraction, 'f', 3);
                                    m_saved = *saved;
                                    done({});
                                },
                                done);
                        },
                        missing(tr("мощность")));
                },
                missing(tr("вид излучения")));
        },
        missing(tr("частоту")));
}

void CarrierJob::tuneTo(qint64 hz, Done done)
{
    m_hz = hz;
    runAll({"\\set_freq " + QByteArray::number(hz), "\\set_mode " + m_mode + " 0",
            "\\set_level RFPOWER " + m_power},
           std::move(done));
}

void CarrierJob::readBackPower(qint64 hz, Done done)
{
    // The radio may round the power, or not take it: what it holds now is what keys.
    ask(
        "\\get_level RFPOWER",
        [this, hz, done](const QStringList &values) {
            bool ok = false;
            const double power = values.value(0).toDouble(&ok);
            if (!ok || !(power >= 0) || power > 1)
                return done(tr("трансивер не сообщил мощность"));
            ask(
                "\\power2mW " + QByteArray::number(power, 'f', 6) + ' ' + QByteArray::number(hz) +
                    ' ' + m_mode,
                [this, done](const QStringList &values) {
                    bool ok = false;
                    const double mw = values.value(0).toDouble(&ok);
                    if (!ok || !(mw >= 0) || mw > m_watts * 1000 * 1.001)
                        return done(tr("мощность была бы выше предела %1 Вт").arg(m_watts));
                    done({});
                },
                done);
        },
        done);
}

void CarrierJob::moveTo(qint64 hz, Done done)
{
    m_hz = hz;
    runAll({"\\set_freq " + QByteArray::number(hz)}, std::move(done));
}

void CarrierJob::keyDown(Done done)
{
    ask(
        "\\get_ptt",
        [this, done](const QStringList &values) {
            if (m_ending)
                return done(tr("остановлено"));
            // Someone else keyed between two steps: the operator's carrier is left alone.
            if (values.value(0).trimmed() != QLatin1String("0"))
                return done(tr("трансивер передаёт без задания: оно не включает передачу "
                               "поверх оператора"));
            // What the radio holds now is what keys: read back before every key-down.
            readBackPower(m_hz, [this, done](const QString &problem) {
                if (!problem.isEmpty())
                    return done(problem);
                // An answer lost with the connection may still have keyed it.
                m_keyed = true;
                ask(
                    "\\set_ptt 1", [done](const QStringList &) { done({}); }, done);
            });
        },
        done);
}

void CarrierJob::keyUp(Done done)
{
    ask(
        "\\set_ptt 0",
        [this, done](const QStringList &) {
            m_keyed = false;
            done({});
        },
        done);
}

void CarrierJob::unkeyNow()
{
    if (!m_active || m_rescue)
        return;
    ask(
        "\\set_ptt 0", [this](const QStringList &) { m_keyed = false; }, [](const QString &) {},
        true);
}

void CarrierJob::radioLost(const QString &why)
{
    // Before the radio's state was kept nothing was keyed or changed: the job just ends.
    if (!m_active || m_rescue || !m_saved)
        return;
    m_rescue = std::make_unique<RigRescue>(m_rigAddress, m_saved, true);
    report(tr("Трансивер не отвечает (%1): передача выключается по новому соединению, пока он "
              "не ответит")
               .arg(why),
           true);
    connect(m_rescue.get(), &RigRescue::finished, this, [this] {
        m_keyed = false;
        m_putBackHz = m_saved->hz;
        report(tr("Трансивер ответил: передача выключена, трансивер возвращён"), false);
        if (m_ending)
            finish(tr("трансивер не отвечал"));
    });
    m_rescue->start();
}

void CarrierJob::end(Done done)
{
    if (!m_active) {
        done({});
        return;
    }
    const bool again = m_ending;
    m_ending = true;
    m_endDone = std::move(done);
    if (again)
        return;
    if (m_rescue) {
        // It unkeys and puts back; the job ends with it.
        if (!m_rescue->running())
            finish(tr("трансивер не отвечал"));
        return;
    }
    if (!m_saved)
        return finish({});
    if (!m_keyed)
        return putBack();
    ask(
        "\\set_ptt 0",
        [this](const QStringList &) {
            m_keyed = false;
            putBack();
        },
        [this](const QString &problem) {
            // A refusal to unkey is no less dangerous than silence.
            radioLost(problem);
        },
        true);
}

void CarrierJob::putBack()
{
    if (m_rescue)
        return;
    // A carrier on now is the operator's: the radio is left as the operator has it.
    ask(
        "\\get_ptt",
        [this](const QStringList &values) {
            if (values.value(0).trimmed() != QLatin1String("0"))
                return finish(tr("трансивер не возвращён: на нём передаёт оператор"));
            runAll(m_saved->commands(), [this](const QString &problem) {
                if (m_rescue)
                    return;
                if (problem.isEmpty())
                    m_putBackHz = m_saved->hz;
                finish(problem.isEmpty() ? QString()
                                         : tr("трансивер не возвращён: %1").arg(problem));
            });
        },
        [this](const QString &problem) {
            if (!m_rescue)
                finish(tr("трансивер не возвращён: %1").arg(problem));
        });
}

void CarrierJob::releaseGuard()
{
    if (m_guard)
        m_guard->release();
    m_guard.reset();
}

void CarrierJob::finish(const QString &problem)
{
    if (!m_active)
        return;
    if (m_rescue) {
        m_rescue->disconnect(this);
        m_rescue.release()->deleteLater();
    }
    releaseGuard();
    CarrierJournal::clear(m_places.journalFolder, m_journalJob);
    m_journalJob.clear();
    m_active = false;
    m_ending = false;
    m_keyed = false;
    m_stop = nullptr;
    m_following.setPaused(false);
    // The relays are what following would have for the radio where it was put back, not
    // what the job left on them.
    if (m_saved)
        m_following.recallAt(m_putBackHz.value_or(m_saved->hz));
    if (const Done done = std::exchange(m_endDone, nullptr))
        done(problem);
    emit ended();
}

void CarrierJob::finishThen(const QString &reason, std::function<void()> then)
{
    if (!m_active)
        return then();
    // Whichever comes first: the end, or the time the console gives it.
    auto *waiting = new QObject(this);
    auto once = std::make_shared<std::function<void()>>(std::move(then));
    const auto go = [waiting, once] {
        if (const std::function<void()> run = std::exchange(*once, nullptr)) {
            waiting->deleteLater();
            run();
        }
    };
    connect(this, &CarrierJob::ended, waiting, go);
    QTimer::singleShot(EndingMs, waiting, go);
    if (!m_ending && m_stop)
        m_stop(reason);
}

void CarrierJob::recoverJournal()
{
    const std::optional<CarrierJournal::Record> record =
        CarrierJournal::read(m_places.journalFolder);
    if (!record) {
        // Nothing of use in it: nothing can be done with it either.
        CarrierJournal::clear(m_places.journalFolder);
        return;
    }
    m_recovered = record;
    m_recovery = std::make_unique<RigRescue>(record->rig, record->putBack, true);
    const QString rigText = record->rig.text();
    connect(m_recovery.get(), &RigRescue::finished, this, [this, rigText] {
        CarrierJournal::clear(m_places.journalFolder, m_recovered->job);
        report(tr("Передача, оставленная прошлым запуском, выключена; трансивер %1 возвращён")
                   .arg(rigText),
               false);
    });
    connect(m_recovery.get(), &RigRescue::attemptFailed, this, [this](int attempt) {
        if (attempt == 1)
            report(tr("Трансивер не отвечает: передача, оставленная прошлым запуском, "
                      "выключается, пока он не ответит"),
                   true);
    });
    // Before anything else; said once the window can show it.
    m_recovery->start();
    QTimer::singleShot(0, this, [this, rigText] {
        if (recovering())
            report(tr("Прошлый запуск оставил трансивер %1 передающим: передача выключается, "
                      "трансивер возвращается")
                       .arg(rigText),
                   true);
    });
}
