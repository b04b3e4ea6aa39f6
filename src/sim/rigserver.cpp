#include "rigserver.h"

#include "dumpstate.h"
#include "net/linereader.h"
#include "rig/bandplan.h"
#include "virtualcontroller.h"

#include <QTcpSocket>

#include <cmath>

RigServer::RigServer(const VirtualController &controller, const LoadModel &model, double hz,
                     QObject *parent)
    : QObject(parent)
    , m_controller(controller)
    , m_model(model)
    , m_hz(hz)
{
    connect(&m_listener, &Listener::connected, this, &RigServer::serve);
}

bool RigServer::listen(const HostPort &where, QString *error)
{
    return m_listener.listen(where, error);
}

void RigServer::serve(QTcpSocket *socket)
{
    socket->setParent(this);
    socket->setReadBufferSize(MaxBacklog);
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QIODevice::readyRead, socket, [this, socket] {
        QByteArray line;
        for (;;) {
            const LineReader::Status status = LineReader::next(*socket, &line);
            // A line no client writes, or replies piling up unread: that client goes.
            if (status == LineReader::Status::TooLong || socket->bytesToWrite() > MaxBacklog) {
                socket->abort();
                return;
            }
            if (status == LineReader::Status::NoLine) {
                // A client that has said all it will still hears every answer.
                socket->flush();
                return;
            }
            // A browser's request carries a page's lines to any port: none of them runs.
            if (LineReader::isHttp(line)) {
                socket->abort();
                return;
            }
            line = line.trimmed();
            const bool quit =
                line == "q" || line == "Q" || line == "\\quit" || line == "+q" || line == "+\\quit";
            socket->write(quit ? QByteArray("RPRT 0\n") : answer(line));
            if (quit) {
                socket->disconnectFromHost();
                return;
            }
        }
    });
}

double RigServer::swr() const
{
    if (!m_transmitting)
        return 1.0;
    return m_model.swr(m_hz, m_controller.steps(), m_controller.state());
}

QByteArray RigServer::answer(const QByteArray &received)
{
    QByteArray line = received;
    const bool extended = line.startsWith('+');
    if (extended)
        line.remove(0, 1);
    const QList<QByteArray> words = line.simplified().split(' ');
    const QByteArray command = words.value(0);
    const QByteArray argument = words.value(1);
    const auto is = [&](const char *letter, const char *name) {
        return (letter && command == letter) || command == QByteArray("\\") + name;
    };
    // One value a line; in the extended protocol each with its key, after the command's
    // name ("get_freq:", or with its argument "get_vfo_info: VFOA") and before RPRT 0.
    const auto reply = [&](const QByteArray &name,
                           const QList<std::pair<QByteArray, QByteArray>> &values) {
        const QByteArray header = argument.isEmpty() ? name + ':' : name + ": " + argument;
        QByteArray out = extended ? header + '\n' : QByteArray();
        for (const auto &[key, value] : values)
            out += (extended && !key.isEmpty() ? key + ": " : QByteArray()) + value + '\n';
        return extended ? out + "RPRT 0\n" : out;
    };
    const auto done = [&](const QByteArray &name) {
        return extended ? name + ": " + argument + "\nRPRT 0\n" : QByteArray("RPRT 0\n");
    };
    const auto refused = [&](int code) {
        return "RPRT " + QByteArray::number(code) + '\n';
    };
    const QByteArray hz = QByteArray::number(std::llround(m_hz));

    if (is("f", "get_freq"))
        return reply("get_freq", {{"Frequency", hz}});
    if (is("t", "get_ptt"))
        return reply("get_ptt", {{"PTT", m_transmitting ? "1" : "0"}});
    if (is("v", "get_vfo"))
        return reply("get_vfo", {{"VFO", "VFOA"}});
    if (is("m", "get_mode"))
        return reply("get_mode", {{"Mode", m_mode}, {"Passband", QByteArray::number(m_passband)}});
    if (is("M", "set_mode")) {
        static const QList<QByteArray> modes{"USB", "LSB", "CW",   "CWR",
                                             "AM",  "FM",  "RTTY", "PKTUSB"};
        bool ok = false;
        const int passband = words.value(2).toInt(&ok);
        if (!modes.contains(argument) || (!words.value(2).isEmpty() && (!ok || passband < 0)))
            return refused(-1);
        m_mode = argument;
        if (ok && passband > 0)
            m_passband = passband;
        emit commanded(QStringLiteral("M %1").arg(QString::fromLatin1(m_mode)));
        return done("set_mode");
    }
    if (is("L", "set_level")) {
        bool ok = false;
        const double value = words.value(2).toDouble(&ok);
        if (argument != "RFPOWER")
            return refused(-11);
        if (!ok || !(value >= 0) || value > 1)
            return refused(-1);
        m_power = std::max(value, m_minimumPower);
        emit commanded(QStringLiteral("L RFPOWER %1").arg(m_power));
        return done("set_level");
    }
    if (is(nullptr, "power2mW")) {
        bool ok = false;
        const double power = argument.toDouble(&ok);
        if (!ok || !(power >= 0) || power > 1)
            return refused(-1);
        return reply("power2mW",
                     {{"Power mW", QByteArray::number(qRound(power * MaxWatts * 1000))}});
    }
    if (is(nullptr, "mW2power")) {
        bool ok = false;
        const double mw = argument.toDouble(&ok);
        if (!ok || !(mw >= 0))
            return refused(-1);
        return reply("mW2power",
                     {{"Power [0.0..1.0]",
                       QByteArray::number(std::min(1.0, mw / (MaxWatts * 1000)), 'f', 6)}});
    }
    if (is("s", "get_split_vfo"))
        return reply("get_split_vfo", {{"Split", "0"}, {"TX VFO", "VFOA"}});
    if (is(nullptr, "get_powerstat"))
        return reply("get_powerstat", {{"Power Status", "1"}});
    if (is(nullptr, "chk_vfo"))
        return extended ? QByteArray("ChkVFO: 0\n") : QByteArray("0\n");
    if (is(nullptr, "dump_state"))
        return extended ? "dump_state:\n" + QByteArray(DumpState) + "RPRT 0\n"
                        : QByteArray(DumpState);
    if (is(nullptr, "get_vfo_info"))
        return reply(
            "get_vfo_info",
            {{"Freq", hz}, {"Mode", "USB"}, {"Width", "2400"}, {"Split", "0"}, {"SatMode", "0"}});
    if (is("F", "set_freq")) {
        bool ok = false;
        const std::optional<qint64> set = BandPlan::hertzOf(argument.toDouble(&ok));
        if (!ok || !set)
            return refused(-1);
        m_hz = double(*set);
        emit commanded(QStringLiteral("F %1").arg(*set));
        emit changed();
        return done("set_freq");
    }
    if (is("T", "set_ptt")) {
        bool ok = false;
        const int ptt = argument.toInt(&ok);
        if (!ok)
            return refused(-1);
        m_transmitting = ptt != 0;
        emit commanded(QStringLiteral("T %1").arg(m_transmitting ? 1 : 0));
        emit changed();
        return done("set_ptt");
    }
    if (is("l", "get_level")) {
        if (argument == "RFPOWER")
            return reply("get_level", {{{}, QByteArray::number(m_power, 'f', 6)}});
        if (argument != "SWR")
            return refused(-11); // this radio reports no other level
        return reply("get_level", {{{}, QByteArray::number(swr(), 'f', 6)}});
    }
    return refused(-4);
}
