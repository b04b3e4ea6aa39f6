#include "commands.h"

#include "model/bandnames.h"
#include "model/valuetext.h"
#include "panel/relaypacer.h"
#include "station/station.h"
#include "tune/tunerparts.h"
#include "tune/tuning.h"
#include "tunes/computedtunes.h"
#include "tunes/frequencymemory.h"
#include "tunes/sweeper.h"
#include "tunes/trainer.h"

#include <QCoreApplication>
#include <QDateTime>

#include <QLocale>
#include <QUrl>

namespace {

QByteArray text(const QString &s)
{
    return s.toUtf8();
}

} // namespace

QByteArray ControlCommands::interlock(const Panel::Radio &radio)
{
    if (!radio.following || !radio.connected)
        return "none";
    return radio.transmitting ? "on" : "off";
}

QByteArray ControlCommands::portState(const Panel::Port &port)
{
    switch (port.state) {
    case Panel::Port::State::Open:
        return "open";
    case Panel::Port::State::Opening:
        return "opening";
    case Panel::Port::State::Failed:
        return "failed";
    case Panel::Port::State::Closed:
        break;
    }
    return "closed";
}

namespace {

QByteArray transmitting(const Panel::Radio &radio)
{
    return radio.transmitting ? (*radio.transmitting ? "1" : "0") : "unknown";
}

QByteArray frequency(const Panel::Radio &radio)
{
    return radio.hz ? QByteArray::number(*radio.hz) : QByteArray("unknown");
}

// A slot named as a client would: antenna 1–3, the band by any of its names ("40m", "40",
// "40 м", "ext") or its place, the sub-band 1–5.
std::optional<Slots::Selection> slotOf(const QList<QByteArray> &words)
{
    if (words.size() != 4 && words.size() != 5)
        return std::nullopt;
    bool okA = false;
    bool okS = false;
    const int antenna = words[1].toInt(&okA);
    const int subBand = words.last().toInt(&okS);
    const std::optional<int> band =
        BandNames::find(QString::fromUtf8(words.mid(2, words.size() - 3).join(' ')), true);
    if (!okA || !okS || !band || antenna < 1 || antenna > Slots::Antennas || subBand < 1 ||
        subBand > Slots::SubBands)
        return std::nullopt;
    return Slots::Selection{antenna - 1, *band, subBand - 1};
}

// "7073500 C=37 L=12 Side=Tx SWR=1.12 Source=training Pinned=0 Stored=2026-12-08T08:00:00Z
// Bin=7070000-7077000".
QByteArray tuneText(const StoredTune &t, const std::optional<BandPlan::Bin> &bin)
{
    return QByteArray::number(t.hz) + " C=" + QByteArray::number(t.relays.codeC) +
           " L=" + QByteArray::number(t.relays.codeL) + " Side=" + text(sideText(t.relays.side)) +
           " SWR=" + (t.swr ? QByteArray::number(*t.swr, 'f', 2) : QByteArray("unknown")) +
           " Source=" + text(StoredTune::sourceName(t.source)) +
           " Pinned=" + (t.pinned ? "1" : "0") + " Stored=" +
           QDateTime::fromMSecsSinceEpoch(t.stored, Qt::UTC).toString(Qt::ISODate).toLatin1() +
           (bin ? " Bin=" + QByteArray::number(bin->low) + '-' + QByteArray::number(bin->high)
                : QByteArray());
}

QByteArray uh(int stepL, int code)
{
    return text(generalNumberText(stepL / 1000.0 * code, QLocale::c()));
}

} // namespace

ControlCommands::ControlCommands(Station &station, Panel::Cause cause)
    : m_panel(station.panel())
    , m_station(station)
    , m_tuning(&station.tuning())
    , m_cause(cause)
{}

QList<std::pair<QByteArray, QByteArray>> ControlCommands::stateFields(const Panel::State &s)
{
    QList<std::pair<QByteArray, QByteArray>> fields{
        {"Antenna", QByteArray::number(s.selection.antenna + 1)},
        {"Band", text(BandNames::key(s.selection.band))},
        {"Subband", QByteArray::number(s.selection.subBand + 1)},
        {"C", QByteArray::number(s.relays.codeC)},
        {"L", QByteArray::number(s.relays.codeL)},
        {"C_pF", QByteArray::number(s.stepC * s.relays.codeC)},
        {"L_uH", uh(s.stepL, s.relays.codeL)},
        {"Side", text(sideText(s.relays.side))},
        {"Port", portState(s.port)},
        {"PortNumber", QByteArray::number(s.port.number)},
        {"Device", s.port.device.isEmpty() ? QByteArray("-") : text(s.port.device)}};
    if (s.port.state == Panel::Port::State::Failed)
        fields.append({"Problem", text(s.port.problem)});
    fields << std::pair<QByteArray, QByteArray>{"Transmitting", transmitting(s.radio)}
           << std::pair<QByteArray, QByteArray>{"Interlock", interlock(s.radio)}
           << std::pair<QByteArray, QByteArray>{"Frequency", frequency(s.radio)}
           // The frequency memory's bin the relays came from, or "none".
           << std::pair<QByteArray, QByteArray>{"Memory",
                                                s.memory ? QByteArray::number(s.memory->low) + '-' +
                                                               QByteArray::number(s.memory->high)
                                                         : QByteArray("none")}
           << std::pair<QByteArray, QByteArray>{"Saved", s.saved ? "1" : "0"}
           << std::pair<QByteArray, QByteArray>{"Delivered", s.delivered ? "1" : "0"};
    return fields;
}

QByteArray ControlCommands::stateLine(const Panel::State &s)
{
    // One line: a value's spaces (a device's path, a reason) are written %20.
    QByteArray line = "!state";
    for (const auto &[key, value] : stateFields(s))
        line += ' ' + key + '=' + value.toPercentEncoding("/:.,-_+()[]");
    return line + '\n';
}

std::optional<quint8> ControlCommands::codeOf(const QByteArray &word)
{
    bool ok = false;
    const int code = word.toInt(&ok);
    if (!ok || code < 0 || code > 255)
        return std::nullopt;
    return static_cast<quint8>(code);
}

bool ControlCommands::readsOnly(const QByteArray &line)
{
    QByteArray command = line.trimmed();
    if (command.startsWith('+'))
        command.remove(0, 1);
    command = command.split(' ').value(0);
    for (const char *reading :
         {"s", "\\get_state", "\\get_slot", "\\get_tunes", "\\get_sweep", "\\get_measurement",
          "\\dump_caps", "\\subscribe", "\\unsubscribe", "q", "\\quit"}) {
        if (command == reading)
            return true;
    }
    return false;
}

QByteArray ControlCommands::logLine(const LineLog::Entry &entry)
{
    return "!log " + text(LineLog::line(entry)) + '\n';
}

QByteArray ControlCommands::sweepLine(StoredSweep::Kind kind, const StoredSweep::Point &point)
{
    return "!sweep F=" + QByteArray::number(point.hz) +
           " SWR=" + QByteArray::number(point.swr, 'f', 3) +
           " Kind=" + text(StoredSweep::kindName(kind)) + '\n';
}

QByteArray ControlCommands::sweepEnd(int points, const QString &stopped)
{
    if (stopped.isEmpty())
        return "!sweep Done=" + QByteArray::number(points) + '\n';
    return "!sweep Stopped=" + text(stopped).toPercentEncoding("/:.,-_+()[]") + '\n';
}

QByteArray ControlCommands::tuneLine(const TuneSession &session)
{
    using State = TuneSession::State;
    static const char *const names[] = {"waiting", "searching", "found", "stopped"};
    QByteArray line = QByteArray("!tune state=") + names[int(session.state())] +
                      " probes=" + QByteArray::number(session.probes());
    if (const auto best = session.best())
        line += " SWR=" + QByteArray::number(session.bestSwr(), 'f', 2) +
                " C=" + QByteArray::number(best->codeC) + " L=" + QByteArray::number(best->codeL) +
                " Side=" + text(sideText(best->side));
    if (session.state() == State::Found)
        line += session.bestSwr() <= Tuning::GoodSwr ? " match=good" : " match=poor";
    return line + '\n';
}

void ControlCommands::run(const QByteArray &received, const Answer &answer)
{
    QByteArray line = received.trimmed();
    const bool extended = line.startsWith('+');
    if (extended)
        line.remove(0, 1);
    const QList<QByteArray> words = line.simplified().split(' ');
    const QByteArray command = words.value(0);
    const QByteArray arguments = words.mid(1).join(' ');
    const auto is = [&](const char *letter, const char *name) {
        return (letter && command == letter) || command == QByteArray("\\") + name;
    };
    // A set's answer; the extended form repeats the command. Copied into answers that come
    // later.
    const auto status = [extended, arguments](const char *name, int code) {
        const QByteArray rprt = "RPRT " + QByteArray::number(code) + '\n';
        return Reply{extended ? name + QByteArray(": ") + arguments + '\n' + rprt : rprt};
    };
    // A get: its values one a line, or with their keys in the extended form.
    const auto values = [extended,
                         arguments](const char *name,
                                    const QList<std::pair<QByteArray, QByteArray>> &pairs) {
        const QByteArray header =
            arguments.isEmpty() ? name + QByteArray(":") : name + QByteArray(": ") + arguments;
        QByteArray out = extended ? header + '\n' : QByteArray();
        for (const auto &[key, value] : pairs)
            out += (extended ? key + ": " : QByteArray()) + value + '\n';
        return Reply{extended ? out + "RPRT 0\n" : out};
    };
    // What a relay request answers once it has had its turn.
    const auto outcome = [answer, status](const char *name) -> RelayPacer::Done {
        return [answer, status, name](Panel::Outcome o) {
            answer(status(name, o == Panel::Outcome::Done   ? Ok
                                : o == Panel::Outcome::Held ? Refused
                                                            : Io));
        };
    };
    RelayPacer &paced = m_panel.paced();

    if (is("s", "get_state")) {
        return answer(values("get_state", stateFields(m_panel.state())));
    }
    if (is(nullptr, "recall")) {
        const std::optional<Slots::Selection> slot = slotOf(words);
        if (!slot)
            return answer(status("recall", Invalid));
        return paced.recall(*slot, m_cause, outcome("recall"));
    }
    if (is(nullptr, "set_c") || is(nullptr, "set_l")) {
        const bool c = command == "\\set_c";
        const std::optional<quint8> code = words.size() == 2 ? codeOf(words[1]) : std::nullopt;
        if (!code)
            return answer(status(c ? "set_c" : "set_l", Invalid));
        return paced.enterCode(c ? Panel::Bank::C : Panel::Bank::L, *code, m_cause,
                               outcome(c ? "set_c" : "set_l"));
    }
    if (is(nullptr, "toggle")) {
        const QByteArray bank = words.value(1).toUpper();
        bool ok = false;
        const int bit = words.value(2).toInt(&ok);
        if (words.size() != 3 || (bank != "C" && bank != "L") || !ok || bit < 0 || bit > 7)
            return answer(status("toggle", Invalid));
        return paced.toggleBit(bank == "C" ? Panel::Bank::C : Panel::Bank::L, bit, m_cause,
                               outcome("toggle"));
    }
    if (is(nullptr, "set_side")) {
        const QByteArray side = words.value(1).toLower();
        if (words.size() != 2 || (side != "tx" && side != "ant"))
            return answer(status("set_side", Invalid));
        return paced.chooseSide(side == "tx" ? 1 : 0, m_cause, outcome("set_side"));
    }
    if (is(nullptr, "store")) {
        // A search that found its match ends in the slot.
        if (m_tuning && m_tuning->session() &&
            m_tuning->session()->state() == TuneSession::State::Found) {
            m_tuning->end(true);
            return answer(status("store", Ok));
        }
        // The slot and the frequency memory are both the store: either failing fails it.
        FrequencyMemory *memory = &m_station.memory();
        const quint64 failures = memory->failures();
        return paced.store(m_cause, [answer, status, memory, failures](Panel::Outcome o) {
            const bool kept = memory->failures() == failures;
            answer(status("store", o == Panel::Outcome::Done && kept ? Ok
                                   : o == Panel::Outcome::Held       ? Refused
                                                                     : Io));
        });
    }
    if (is(nullptr, "get_slot")) {
        const std::optional<Slots::Selection> slot = slotOf(words);
        if (!slot)
            return answer(status("get_slot", Invalid));
        const RelaySetting stored = m_panel.stored(*slot);
        return answer(values("get_slot", {{"C", QByteArray::number(stored.codeC)},
                                          {"L", QByteArray::number(stored.codeL)},
                                          {"Side", text(sideText(stored.side))}}));
    }
    if (is(nullptr, "tune")) {
        if (!m_tuning)
            return answer(status("tune", NotImplemented));
        TuneSession *session = m_tuning->begin();
        if (!session)
            return answer(status("tune", NotAvailable));
        session->start();
        return answer(status("tune", Ok));
    }
    if (is(nullptr, "tune_stop")) {
        if (!m_tuning || !m_tuning->session())
            return answer(status("tune_stop", NotAvailable));
        m_tuning->end(false);
        return answer(status("tune_stop", Ok));
    }
    if (is(nullptr, "get_tunes")) {
        // \get_tunes ANT [BAND]: the antenna's frequency memories, one a line.
        bool ok = false;
        const int antenna = words.value(1).toInt(&ok) - 1;
        const std::optional<int> band =
            words.size() > 2 ? BandNames::find(QString::fromUtf8(words.mid(2).join(' ')), true)
                             : std::nullopt;
        if (!ok || antenna < 0 || antenna >= Slots::Antennas || (words.size() > 2 && !band))
            return answer(status("get_tunes", Invalid));
        QList<std::pair<QByteArray, QByteArray>> tunes;
        for (int b = 0; b < Slots::Bands; ++b) {
            if (band && b != *band)
                continue;
            for (const StoredTune &t : m_station.memory().ofBand(antenna, b))
                tunes.append({"Tune", tuneText(t, m_station.memory().plan().binOf(t.hz))});
        }
        if (!m_station.memory().store())
            return answer(status("get_tunes", NotAvailable));
        return answer(values("get_tunes", tunes));
    }
    if (is(nullptr, "forget") || is(nullptr, "pin")) {
        // \forget ANT HZ, \pin ANT HZ 0|1: the entry of the bin around HZ.
        const bool pin = command == "\\pin";
        const char *name = pin ? "pin" : "forget";
        bool okA = false;
        bool okHz = false;
        const int antenna = words.value(1).toInt(&okA) - 1;
        const qint64 hz = words.value(2).toLongLong(&okHz);
        const QByteArray flag = words.value(3);
        if (!okA || !okHz || antenna < 0 || antenna >= Slots::Antennas ||
            words.size() != (pin ? 4 : 3) || (pin && flag != "0" && flag != "1"))
            return answer(status(name, Invalid));
        const bool done = pin ? m_station.memory().pin(antenna, hz, flag == "1")
                              : m_station.memory().forget(antenna, hz);
        return answer(status(name, done ? Ok : NotAvailable));
    }
    if (is(nullptr, "train")) {
        // \train BAND [FROM TO]: FROM and TO in Hz.
        const std::optional<int> band = BandNames::find(QString::fromUtf8(words.value(1)), true);
        bool okFrom = words.size() < 3;
        bool okTo = words.size() < 3;
        const qint64 from = words.size() > 2 ? words.value(2).toLongLong(&okFrom) : 0;
        const qint64 to = words.size() > 2 ? words.value(3).toLongLong(&okTo) : 0;
        if (!band || !okFrom || !okTo || (words.size() != 2 && words.size() != 4))
            return answer(status("train", Invalid));
        QString why;
        if (!m_station.trainer().start(*band, from, to, false, &why)) {
            m_panel.say(QCoreApplication::translate("ControlCommands", "Обучение: %1").arg(why),
                        Panel::Tone::Warning);
            return answer(status("train", NotAvailable));
        }
        return answer(status("train", Ok));
    }
    if (is(nullptr, "train_stop")) {
        if (!m_station.trainer().running())
            return answer(status("train_stop", NotAvailable));
        m_station.trainer().stop();
        return answer(status("train_stop", Ok));
    }
    if (is(nullptr, "sweep")) {
        // \sweep BAND [FROM TO STEP DWELL] bare|tuned|both: Hz, Hz, Hz, ms.
        const std::optional<Sweeper::What> what =
            words.size() > 2 ? Sweeper::whatNamed(QString::fromLatin1(words.last())) : std::nullopt;
        QList<QByteArray> rest = words.mid(1, words.size() - 2);
        Sweeper::Request request;
        // The four numbers, when given, end the words before the kind; the band is the rest.
        bool ranged = rest.size() >= 5;
        QList<qint64> numbers;
        for (qsizetype i = rest.size() - 4; ranged && i < rest.size(); ++i) {
            bool ok = false;
            numbers << rest[i].toLongLong(&ok);
            ranged = ok;
        }
        if (ranged) {
            rest.resize(rest.size() - 4);
            request.from = numbers[0];
            request.to = numbers[1];
            request.step = numbers[2];
            request.dwellMs = int(std::clamp<qint64>(numbers[3], 0, Sweeper::MaxDwellMs + 1));
        }
        const std::optional<int> band = BandNames::find(QString::fromUtf8(rest.join(' ')), true);
        if (!what || !band)
            return answer(status("sweep", Invalid));
        request.band = *band;
        request.what = *what;
        request.side = m_panel.state().relays.side;
        QString why;
        if (!m_station.sweeper().start(request, &why)) {
            m_panel.say(QCoreApplication::translate("ControlCommands", "Обзор КСВ: %1").arg(why),
                        Panel::Tone::Warning);
            return answer(status("sweep", NotAvailable));
        }
        Reply reply = status("sweep", Ok);
        reply.effect = Reply::Effect::WatchSweep;
        return answer(reply);
    }
    if (is(nullptr, "sweep_stop")) {
        if (!m_station.sweeper().running())
            return answer(status("sweep_stop", NotAvailable));
        m_station.sweeper().stop();
        return answer(status("sweep_stop", Ok));
    }
    if (is(nullptr, "get_parts")) {
        // \get_parts: the tuner's parts as the console models them.
        if (words.size() != 1)
            return answer(status("get_parts", Invalid));
        const LNetwork::Parts parts = m_station.parts();
        return answer(values("get_parts",
                             {{"Capacitors_pF", text(TunerParts::valuesText(parts.capacitorsPf))},
                              {"Coils_nH", text(TunerParts::valuesText(parts.coilsNh))},
                              {"Stray_pF", QByteArray::number(parts.strayPf, 'g', 8)},
                              {"CoilQ", QByteArray::number(parts.coilQ, 'g', 8)}}));
    }
    if (is(nullptr, "fit_parts")) {
        // \fit_parts [apply]: the parts fitted to the readings kept; kept on "apply".
        const bool apply = words.value(1) == "apply";
        if (words.size() > 2 || (words.size() == 2 && !apply))
            return answer(status("fit_parts", Invalid));
        // Thousands of readings take a while: the answer comes when the fit is done.
        m_station.fitParts(&m_answers,
                           [this, answer, status, values, apply](const PartsFit::Result &fit) {
                               QList<std::pair<QByteArray, QByteArray>> lines;
                               for (const QString &line : PartsFit::report(fit))
                                   lines.append({"Fit", text(line)});
                               if (!fit.error.isEmpty()) {
                                   // Why, then the refusal.
                                   Reply refused = status("fit_parts", NotAvailable);
                                   refused.text.prepend(text(fit.error) + '\n');
                                   return answer(refused);
                               }
                               if (apply)
                                   m_station.setParts(fit.parts);
                               answer(values("fit_parts", lines));
                           });
        return;
    }
    if (is(nullptr, "get_measurement")) {
        // \get_measurement ANT: the antenna's measurement, and what it gives each band.
        bool ok = false;
        const int antenna = words.value(1).toInt(&ok) - 1;
        if (!ok || antenna < 0 || antenna >= Slots::Antennas || words.size() != 2)
            return answer(status("get_measurement", Invalid));
        TuneStore *store = m_station.memory().store();
        const std::optional<AntennaMeasurement> measured =
            store ? store->measurement(antenna) : std::nullopt;
        if (!measured || measured->points.isEmpty())
            return answer(status("get_measurement", NotAvailable));
        const BandPlan &plan = m_station.memory().plan();
        QList<std::pair<QByteArray, QByteArray>> lines{
            {"Measurement", "File=" + QUrl::toPercentEncoding(measured->file) +
                                " Points=" + QByteArray::number(measured->points.size()) +
                                " From=" + QByteArray::number(measured->points.first().hz) +
                                " To=" + QByteArray::number(measured->points.last().hz) +
                                " Imported=" +
                                QDateTime::fromMSecsSinceEpoch(measured->imported, Qt::UTC)
                                    .toString(Qt::ISODate)
                                    .toLatin1()}};
        const LNetwork::Parts parts = *m_station.tuning().searchConfig(0).parts;
        QList<StoredTune> stored;
        for (int b = 0; b < Slots::Bands; ++b)
            stored += m_station.memory().ofBand(antenna, b);
        for (const ComputedTunes::Band &band :
             ComputedTunes::fromStored(*measured, plan, parts, stored))
            lines.append({"Band", text(ComputedTunes::summary(band))});
        return answer(values("get_measurement", lines));
    }
    if (is(nullptr, "get_sweep")) {
        // \get_sweep ANT BAND: the antenna's last sweep of the band, its passes and points.
        bool ok = false;
        const int antenna = words.value(1).toInt(&ok) - 1;
        const std::optional<int> band =
            BandNames::find(QString::fromUtf8(words.mid(2).join(' ')), true);
        if (!ok || antenna < 0 || antenna >= Slots::Antennas || !band)
            return answer(status("get_sweep", Invalid));
        TuneStore *store = m_station.memory().store();
        if (!store)
            return answer(status("get_sweep", NotAvailable));
        QList<std::pair<QByteArray, QByteArray>> lines;
        for (const StoredSweep &head : store->lastSweeps(antenna, *band)) {
            const std::optional<StoredSweep> sweep = store->sweep(head.id);
            if (!sweep)
                continue;
            const QByteArray kind = text(StoredSweep::kindName(sweep->kind));
            lines.append({"Sweep", "Kind=" + kind + " Started=" +
                                       QDateTime::fromMSecsSinceEpoch(sweep->started, Qt::UTC)
                                           .toString(Qt::ISODate)
                                           .toLatin1() +
                                       " Step=" + QByteArray::number(sweep->step) +
                                       " Dwell=" + QByteArray::number(sweep->dwellMs) +
                                       " Points=" + QByteArray::number(sweep->points.size()) +
                                       " Complete=" + (sweep->complete ? "1" : "0")});
            for (const StoredSweep::Point &p : sweep->points)
                lines.append({"Point", kind + ' ' + QByteArray::number(p.hz) + ' ' +
                                           QByteArray::number(p.swr, 'f', 3)});
        }
        // The antenna's measurement across the band, as a curve of its own.
        if (const auto measured = store->measurement(antenna)) {
            const BandPlan::Band &edges = m_station.memory().plan().band(*band);
            const StoredSweep curve =
                ComputedTunes::measuredCurve(*measured, edges.low, edges.high);
            if (curve.points.size() > 1) {
                lines.append(
                    {"Sweep", "Kind=measured File=" + QUrl::toPercentEncoding(measured->file) +
                                  " Points=" + QByteArray::number(curve.points.size()) +
                                  " Complete=1"});
                for (const StoredSweep::Point &p : curve.points)
                    lines.append({"Point", "measured " + QByteArray::number(p.hz) + ' ' +
                                               QByteArray::number(p.swr, 'f', 3)});
            }
        }
        return answer(values("get_sweep", lines));
    }
    if (is(nullptr, "subscribe")) {
        Reply reply = status("subscribe", Ok);
        reply.effect = Reply::Effect::Subscribe;
        return answer(reply);
    }
    if (is(nullptr, "unsubscribe")) {
        Reply reply = status("unsubscribe", Ok);
        reply.effect = Reply::Effect::Unsubscribe;
        return answer(reply);
    }
    if (is(nullptr, "dump_caps")) {
        QList<std::pair<QByteArray, QByteArray>> caps{{"Protocol", QByteArray::number(Protocol)}};
        for (const char *name : {"\\get_state s",
                                 "\\recall ANT BAND SUB",
                                 "\\set_c CODE",
                                 "\\set_l CODE",
                                 "\\toggle C|L BIT",
                                 "\\set_side Tx|Ant",
                                 "\\store",
                                 "\\get_slot ANT BAND SUB",
                                 "\\tune",
                                 "\\tune_stop",
                                 "\\get_tunes ANT [BAND]",
                                 "\\forget ANT HZ",
                                 "\\pin ANT HZ 0|1",
                                 "\\train BAND [FROM TO]",
                                 "\\train_stop",
                                 "\\sweep BAND [FROM TO STEP DWELL] bare|tuned|both",
                                 "\\sweep_stop",
                                 "\\get_sweep ANT BAND",
                                 "\\get_measurement ANT",
                                 "\\get_parts",
                                 "\\fit_parts [apply]",
                                 "\\subscribe",
                                 "\\unsubscribe",
                                 "\\auth PASSWORD",
                                 "\\dump_caps",
                                 "q"})
            caps.append(std::pair<QByteArray, QByteArray>("Command", name));
        return answer(values("dump_caps", caps));
    }
    if (is("q", "quit")) {
        Reply reply = status("quit", Ok);
        reply.effect = Reply::Effect::Quit;
        return answer(reply);
    }
    if (command.isEmpty())
        return answer({});
    answer(status(command.mid(command.startsWith('\\') ? 1 : 0).constData(), NotImplemented));
}
