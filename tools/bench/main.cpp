// orvane-bench: where the console stands. It drives the real console window against a
// headless virtual controller on a pseudo-terminal and prints a table. It measures, it does
// not judge: nothing here fails.

#include "app/dialogs.h"
#include "asoperator.h"
#include "console/environment.h"
#include "console/features.h"
#include "console/form1.h"
#include "fitbench.h"
#include "link/packet.h"
#include "mqtt/stationbus.h"
#include "rig/following.h"
#include "settings/conflayout.h"
#include "sim/loadmodel.h"
#include "tune/matchsearch.h"
#include "tunes/computedtunes.h"
#include "tunes/frequencymemory.h"
#include "tunes/trainer.h"
#include "tunes/tunestore.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QUdpSocket>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

struct Quiet : ConsoleDialogs
{
    void message(QWidget *, const QString &, const QString &, const QString &) override {}
    QString input(QWidget *, const QString &, const QString &, const QString &) override
    {
        return {};
    }
    bool question(QWidget *, const QString &, const QString &, const QString &) override
    {
        return false;
    }
    void exec(QDialog &) override {}
    QString saveFileName(QWidget *, const QString &, const QString &, const QString &) override
    {
        return {};
    }
    QString openFileName(QWidget *, const QString &, const QString &) override { return {}; }
};

// A headless virtual controller whose log arrives line by line through a FIFO.
class Controller
{
public:
    Controller(const QString &program, const QString &folder, const QString &name)
        : m_link(folder + QLatin1Char('/') + name)
    {
        const QString fifo = folder + QLatin1Char('/') + name + QStringLiteral(".log");
        ::mkfifo(QFile::encodeName(fifo).constData(), 0600);
        m_process.start(program, {QStringLiteral("--headless"), QStringLiteral("--link"), m_link,
                                  QStringLiteral("--log"), fifo});
        m_log = ::open(QFile::encodeName(fifo).constData(), O_RDONLY);
        m_process.waitForReadyRead(10000);
    }
    ~Controller()
    {
        m_process.terminate();
        m_process.waitForFinished(5000);
        ::close(m_log);
    }
    QString link() const { return m_link; }
    qint64 pid() const { return m_process.processId(); }

    // Waits for n more log lines; false when they did not come within the time. With events,
    // the console's own timers and sockets run meanwhile.
    bool awaitLines(int n, int timeoutMs = 5000, bool events = false)
    {
        QElapsedTimer clock;
        clock.start();
        while (n > 0 && clock.elapsed() < timeoutMs) {
            if (events)
                QCoreApplication::processEvents();
            const qsizetype newline = m_pending.indexOf('\n');
            if (newline >= 0) {
                m_pending.remove(0, newline + 1);
                --n;
                continue;
            }
            pollfd fd{m_log, POLLIN, 0};
            if (::poll(&fd, 1, events ? 1 : 100) > 0) {
                char buffer[65536];
                const ssize_t got = ::read(m_log, buffer, sizeof buffer);
                if (got > 0)
                    m_pending.append(buffer, got);
            }
        }
        return n == 0;
    }

    // Counts the lines that arrived, waiting up to waitMs for some.
    int drain(int waitMs)
    {
        pollfd fd{m_log, POLLIN, 0};
        if (::poll(&fd, 1, waitMs) > 0) {
            char buffer[65536];
            const ssize_t got = ::read(m_log, buffer, sizeof buffer);
            if (got > 0)
                m_pending.append(buffer, got);
        }
        const int lines = static_cast<int>(m_pending.count('\n'));
        m_pending.remove(0, m_pending.lastIndexOf('\n') + 1);
        return lines;
    }

private:
    QString m_link;
    QProcess m_process;
    int m_log = -1;
    QByteArray m_pending;
};

struct Series
{
    QList<double> ms;
    double percentile(double p) const
    {
        if (ms.isEmpty())
            return 0;
        QList<double> sorted = ms;
        std::sort(sorted.begin(), sorted.end());
        const qsizetype i = std::min<qsizetype>(sorted.size() - 1, qsizetype(p * sorted.size()));
        return sorted[i];
    }
};

void row(const char *what, const Series &s)
{
    std::printf("%-42s %9.3f ms %9.3f ms %6lld\n", what, s.percentile(0.5), s.percentile(0.95),
                static_cast<long long>(s.ms.size()));
}

class BareWindow : public QWidget
{
protected:
    void mouseMoveEvent(QMouseEvent *event) override
    {
        m_level = int(event->position().x());
        update(QRect(88, 56, 329, 25));
    }
    void paintEvent(QPaintEvent *) override
    {
        QPainter(this).fillRect(QRect(88, 58, m_level, 22), QColor(0, 0, 127));
    }

private:
    int m_level = 0;
};

// The share of one core this process spends while the pointer drags along a widget at 1,000
// moves a second, painting included, as a fast mouse delivers them.
double dragShare(QWidget *target, int ms)
{
    const int y = target->height() / 2;
    const auto send = [&](QEvent::Type type, int x, Qt::MouseButtons buttons) {
        QMouseEvent event(type, QPointF(x, y), target->mapToGlobal(QPointF(x, y)), Qt::LeftButton,
                          buttons, Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    };
    QCoreApplication::processEvents();
    send(QEvent::MouseButtonPress, 1, Qt::LeftButton);
    rusage before{};
    ::getrusage(RUSAGE_SELF, &before);
    QElapsedTimer clock;
    clock.start();
    for (int move = 0; clock.elapsed() < ms; ++move) {
        // Back and forth over the whole width, a few pixels a move.
        const int span = 2 * (target->width() - 2);
        const int step = (move * 3) % span;
        send(QEvent::MouseMove, 1 + (step < span / 2 ? step : span - step), Qt::LeftButton);
        QCoreApplication::processEvents();
        const qint64 next = (move + 1) * 1000000LL;
        if (clock.nsecsElapsed() < next)
            QThread::usleep(static_cast<unsigned long>((next - clock.nsecsElapsed()) / 1000));
    }
    rusage after{};
    ::getrusage(RUSAGE_SELF, &after);
    const double wall = clock.nsecsElapsed() / 1e9;
    send(QEvent::MouseButtonRelease, 1, Qt::NoButton);
    const auto seconds = [](const timeval &t) {
        return double(t.tv_sec) + t.tv_usec / 1e6;
    };
    const double cpu = seconds(after.ru_utime) - seconds(before.ru_utime) +
                       seconds(after.ru_stime) - seconds(before.ru_stime);
    return 100.0 * cpu / wall;
}

} // namespace

// The peak resident size of a program run until its window has been shown a while.
double residentPeak(const QString &program, const QStringList &arguments,
                    const QProcessEnvironment &environment)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForStarted(5000))
        return 0;
    QTest::qWait(2500);
    const double peak = AsOperator::peakMegabytes(process.processId());
    process.terminate();
    if (!process.waitForFinished(5000))
        process.kill();
    return peak;
}

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("Orvane"));
    QApplication app(argc, argv);
    // One program's start-up as an operator meets it, alone: for looking into it.
    if (argc > 2 && qstrcmp(argv[1], "--startup") == 0) {
        QStringList arguments;
        for (int i = 3; i < argc; ++i)
            arguments << QString::fromLocal8Bit(argv[i]);
        const AsOperator::Figures figures = AsOperator::measure(
            {QString::fromLocal8Bit(argv[2]), arguments, {}},
            QProcessEnvironment::systemEnvironment(), 15, 0, [] { return false; });
        std::printf("%.1f ms (median of %lld)\n", Series{figures.startupMs}.percentile(0.5),
                    static_cast<long long>(figures.startupMs.size()));
        return 0;
    }
    // The parts' fit alone: a minute without the console.
    if (argc > 1 && qstrcmp(argv[1], "--fit") == 0) {
        benchPartsFit();
        return 0;
    }
    if (argc < 2) {
        std::fprintf(stderr, "usage: orvane-bench PATH-TO-ORVANE-SIM [ACTIONS]\n"
                             "       orvane-bench --startup PROGRAM [ARGUMENTS]\n"
                             "       orvane-bench --fit\n");
        return 2;
    }
    const QString sim = QString::fromLocal8Bit(argv[1]);
    const int actions = argc > 2 ? std::max(100, QString::fromLocal8Bit(argv[2]).toInt()) : 200;

    QTemporaryDir temp;
    QDir(temp.path()).mkpath(QStringLiteral("program"));
    Controller controller(sim, temp.path(), QStringLiteral("tuner"));
    {
        QFile conf(temp.filePath(QStringLiteral("program/conf.cfg")));
        conf.open(QIODevice::WriteOnly);
        conf.write(ConfLayout::Image(QByteArray(ConfLayout::Size, '\0')).setPortNumber(1).bytes());
    }
    Quiet dialogs;
    ConsoleEnvironment env;
    env.programDir = temp.filePath(QStringLiteral("program"));
    env.pictureFolders = {QFileInfo(sim).absolutePath()}; // the pictures beside the programs
    env.dataDir = temp.filePath(QStringLiteral("data"));
    env.ports.map(1, controller.link());
    env.dialogs = &dialogs;
    // The helpers beside the programs: the carrier's guard, the broker's client.
    env.guardProgram = QFileInfo(sim).absolutePath() + QStringLiteral("/orvane-guard");
    env.mqttProgram = QFileInfo(sim).absolutePath() + QStringLiteral("/orvane-mqtt");

    Series startup;
    for (int i = 0; i < 100; ++i) {
        QElapsedTimer clock;
        clock.start();
        auto form = std::make_unique<Form1>(env);
        form->show();
        if (!QTest::qWaitForWindowExposed(form.get()))
            break;
        startup.ms << clock.nsecsElapsed() / 1e6;
    }

    // The measured console also serves its control port, for the station's programs.
    ConsoleEnvironment serving = env;
    quint16 controlPort = 0;
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost);
        controlPort = probe.serverPort();
    }
    serving.controlAddress = QString::number(controlPort);
    Form1 form(serving);
    form.show();
    (void)QTest::qWaitForWindowExposed(&form);
    auto *toggle = form.findChild<QAbstractButton *>(QStringLiteral("tglC0"));
    const QList<QAbstractButton *> bands{
        form.findChild<QAbstractButton *>(QStringLiteral("Opt80")),
        form.findChild<QAbstractButton *>(QStringLiteral("Opt40"))};
    Series click;
    Series recall;
    for (int i = 0; i < actions; ++i) {
        QElapsedTimer clock;
        clock.start();
        QTest::mouseClick(toggle, Qt::LeftButton);
        if (controller.awaitLines(1))
            click.ms << clock.nsecsElapsed() / 1e6;
        clock.restart();
        QTest::mouseClick(bands[i % 2], Qt::LeftButton);
        if (controller.awaitLines(3))
            recall.ms << clock.nsecsElapsed() / 1e6;
    }

    // The same click while a program floods the followed UDP port with 10,000 malformed
    // datagrams a second: the window should not notice.
    Series underFlood;
    {
        quint16 udpPort = 0;
        {
            QUdpSocket probe;
            probe.bind(QHostAddress::LocalHost, 0);
            udpPort = probe.localPort();
        }
        form.features().following().follow(QStringLiteral("udp-radioinfo:%1").arg(udpPort));
        std::atomic<bool> flooding{true};
        std::thread flood([&] {
            QUdpSocket socket;
            const QByteArray junk = "<RadioInfo><Freq>70";
            QElapsedTimer clock;
            clock.start();
            for (qint64 sent = 0; flooding; ++sent) {
                socket.writeDatagram(junk, QHostAddress::LocalHost, udpPort);
                if (sent % 10 == 0 && clock.elapsed() < sent / 10)
                    QThread::msleep(quint64(sent / 10 - clock.elapsed()));
            }
        });
        for (int i = 0; i < actions; ++i) {
            QElapsedTimer clock;
            clock.start();
            QTest::mouseClick(toggle, Qt::LeftButton);
            if (controller.awaitLines(1, 5000, true))
                underFlood.ms << clock.nsecsElapsed() / 1e6;
        }
        flooding = false;
        flood.join();
        form.features().following().follow({});
    }

    // Through the control port: a \recall to its third packet on the line, and a click in the
    // window to the state line a subscribed program receives.
    Series remoteRecall;
    Series pushed;
    {
        QTcpSocket client;
        client.connectToHost(QHostAddress::LocalHost, controlPort);
        client.waitForConnected(3000);
        client.write("\\subscribe\n");
        const auto nextState = [&](int timeoutMs) {
            QElapsedTimer wait;
            wait.start();
            while (wait.elapsed() < timeoutMs) {
                while (client.canReadLine()) {
                    if (client.readLine().startsWith("!state"))
                        return true;
                }
                QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
            }
            return false;
        };
        nextState(2000);
        for (int i = 0; i < actions && client.state() == QAbstractSocket::ConnectedState; ++i) {
            while (client.canReadLine())
                client.readLine();
            QElapsedTimer clock;
            clock.start();
            client.write(i % 2 ? "\\recall 1 80m 1\n" : "\\recall 1 40m 1\n");
            if (controller.awaitLines(3, 5000, true))
                remoteRecall.ms << clock.nsecsElapsed() / 1e6;
            nextState(200); // what the recall pushed
            while (client.canReadLine())
                client.readLine();
            clock.restart();
            QTest::mouseClick(toggle, Qt::LeftButton);
            if (nextState(2000))
                pushed.ms << clock.nsecsElapsed() / 1e6;
            controller.awaitLines(1, 1000, true);
        }
    }

    // Through a real mosquitto on loopback: a \recall published on PREFIX/cmd to its third
    // packet, and a window click to the retained publication mosquitto_sub shows.
    Series busRecall;
    Series busPushed;
    QTemporaryDir brokerDir;
    QProcess broker;
    QTcpServer portProbe;
    portProbe.listen(QHostAddress::LocalHost);
    const quint16 brokerPort = portProbe.serverPort();
    portProbe.close();
    {
        QFile conf(brokerDir.filePath(QStringLiteral("mosquitto.conf")));
        conf.open(QIODevice::WriteOnly);
        conf.write("persistence false\nlog_dest none\nallow_anonymous true\nlistener " +
                   QByteArray::number(brokerPort) + " 127.0.0.1\n" +
                   (::geteuid() == 0 ? "user root\n" : ""));
    }
    broker.start(QStringLiteral("mosquitto"), {"-c", brokerDir.filePath("mosquitto.conf")});
    QString busError;
    if (broker.waitForStarted(3000) &&
        form.features().bus().start(
            {QStringLiteral("mqtt://127.0.0.1:%1/bench").arg(brokerPort), {}, false, false}, {},
            &busError)) {
        MqttClient sender;
        MqttClient::Options options;
        options.url = *MqttUrl::parse(QStringLiteral("mqtt://127.0.0.1:%1/x").arg(brokerPort));
        options.clientId = QStringLiteral("bench-sender");
        options.helper = QFileInfo(sim).absolutePath() + QStringLiteral("/orvane-mqtt");
        sender.start(options, &busError);
        QElapsedTimer wait;
        wait.start();
        while ((sender.state() != MqttClient::State::Connected ||
                form.features().bus().client()->state() != MqttClient::State::Connected) &&
               wait.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QProcess sub;
        sub.start(QStringLiteral("mosquitto_sub"),
                  {"-h", "127.0.0.1", "-p", QString::number(brokerPort), "-t", "bench/c"});
        sub.waitForStarted(3000);
        const auto nextLine = [&](int timeoutMs) {
            QElapsedTimer w;
            w.start();
            while (w.elapsed() < timeoutMs) {
                if (sub.canReadLine()) {
                    sub.readLine();
                    return true;
                }
                QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
                sub.waitForReadyRead(0);
            }
            return false;
        };
        nextLine(2000); // the kept one
        // Twenty a second at most: a command every 60 ms stays under the cap.
        for (int i = 0; i < actions && sender.state() == MqttClient::State::Connected; ++i) {
            QElapsedTimer clock;
            clock.start();
            sender.publish("bench/cmd", i % 2 ? "\\recall 1 80m 1" : "\\recall 1 40m 1", false, 1,
                           MqttClient::Priority::Keep);
            if (controller.awaitLines(3, 5000, true))
                busRecall.ms << clock.nsecsElapsed() / 1e6;
            while (sub.canReadLine())
                sub.readLine();
            nextLine(300);
            while (sub.canReadLine())
                sub.readLine();
            clock.restart();
            QTest::mouseClick(toggle, Qt::LeftButton);
            if (nextLine(2000))
                busPushed.ms << clock.nsecsElapsed() / 1e6;
            controller.awaitLines(1, 1000, true);
            QTest::qWait(60);
        }
        sub.kill();
        sub.waitForFinished();
        form.features().bus().stop();
    }
    broker.terminate();
    broker.waitForFinished(3000);

    // Dragging along the C bar against a bare window of the same size given the same moves:
    // the bar should cost little more than the toolkit itself.
    const double dragBar = dragShare(form.findChild<QWidget *>(QStringLiteral("lbl1")), 3000);
    double dragBare = 0;
    {
        // The toolkit's own cost: a window of the same size that repaints a bar's rectangle,
        // one plain fill, for every move.
        BareWindow bare;
        bare.setFixedSize(form.size());
        bare.show();
        (void)QTest::qWaitForWindowExposed(&bare);
        dragBare = dragShare(&bare, 3000);
    }
    std::printf("dragging a bar: %.1f %% of a core, a bare window %.1f %%\n", dragBar, dragBare);
    std::fflush(stdout);

    // The radio moves to another band: how long until the recall is on the line, with the
    // default poll. Needs rigctld (Hamlib's dummy rig).
    Series follow;
    Series memoryQsy;
    QProcess rigctld;
    form.close(); // the line is the following console's now
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost);
        const quint16 port = probe.serverPort();
        probe.close();
        rigctld.start(QStringLiteral("rigctld"),
                      {"-m", "1", "-P", "RIG", "-T", "127.0.0.1", "-t", QString::number(port)});
        QTcpSocket knob;
        for (int i = 0; i < 50 && knob.state() != QAbstractSocket::ConnectedState; ++i) {
            knob.connectToHost(QHostAddress::LocalHost, port);
            if (!knob.waitForConnected(100))
                QTest::qWait(100);
        }
        if (knob.state() == QAbstractSocket::ConnectedState) {
            ConsoleEnvironment following = env;
            following.rigAddress = QStringLiteral("127.0.0.1:%1").arg(port);
            Form1 console(following);
            console.show();
            (void)QTest::qWaitForWindowExposed(&console);
            controller.awaitLines(1000, 1500, true); // settle; drop what start-up sent
            const auto qsy = [&](Series &series, const char *a, const char *b) {
                for (int i = 0; i < 20; ++i) {
                    // The radio moves at any moment, not just after a poll; a quarter second
                    // after the last recall, so that the relays' pace does not count here.
                    QTest::qWait(250 + static_cast<int>(QRandomGenerator::global()->bounded(500)));
                    knob.write(i % 2 ? a : b);
                    knob.waitForBytesWritten(1000);
                    QElapsedTimer clock;
                    clock.start();
                    if (controller.awaitLines(3, 3000, true))
                        series.ms << clock.nsecsElapsed() / 1e6;
                    while (knob.waitForReadyRead(10))
                        knob.readAll();
                }
            };
            qsy(follow, "F 14200000\n", "F 7074000\n");
            // The same within a band, between two bins that have memories of their own.
            FrequencyMemory &memory = console.features().memory();
            memory.keep(0, 7074000, {30, 40, 1}, 1.1, StoredTune::Source::Training, false);
            memory.keep(0, 7094000, {31, 41, 0}, 1.2, StoredTune::Source::Training, false);
            qsy(memoryQsy, "F 7094000\n", "F 7074000\n");
        }
        rigctld.kill();
        rigctld.waitForFinished();
    }

    // A flood straight into a second controller's line, as fast as it takes it.
    constexpr int Flood = 100000;
    Controller flooded(sim, temp.path(), QStringLiteral("flood"));
    QByteArray bytes;
    for (int i = 0; i < Flood; ++i)
        bytes += Packet::build(Packet::Capacitance, static_cast<quint8>(i), 0);
    // Non-blocking: the controller's log must be read while its line is written.
    const int line =
        ::open(QFile::encodeName(flooded.link()).constData(), O_WRONLY | O_NOCTTY | O_NONBLOCK);
    QElapsedTimer clock;
    clock.start();
    qsizetype written = 0;
    int lines = 0;
    while (line >= 0 && lines < Flood && clock.elapsed() < 120000) {
        if (written < bytes.size()) {
            const ssize_t n = ::write(line, bytes.constData() + written,
                                      static_cast<size_t>(bytes.size() - written));
            written += std::max<ssize_t>(n, 0);
        }
        lines += flooded.drain(written < bytes.size() ? 0 : 100);
    }
    const bool decoded = lines == Flood;
    const double seconds = clock.nsecsElapsed() / 1e9;
    ::close(line);

    // The matching search against the simulated station's antenna model: a fixed table of
    // loads across the ten bands, default steps (10 pF, 500 nH).
    std::printf("\n%-8s %8s %8s %10s %10s %7s\n", "MHz", "R ohm", "X ohm", "best SWR", "found",
                "probes");
    const std::array<double, 10> bandCentres{1.9,    3.65,   7.1,   10.125, 14.175,
                                             18.118, 21.225, 24.94, 28.85,  52.0};
    // The same loads twice: with the console's steps right, and with the real components 5 %
    // off what the console believes, as a real tuner's are.
    for (const double error : {1.0, 1.05}) {
        QRandomGenerator loads(20261207);
        constexpr int Loads = 50;
        QList<int> probes;
        int eligible = 0;
        int within = 0;
        for (int i = 0; i < Loads; ++i) {
            const double hz = bandCentres[size_t(i % 10)] * 1e6;
            const double r = std::exp(std::log(5.0) + loads.generateDouble() * std::log(100.0));
            const double x = -500 + 1000 * loads.generateDouble();
            LoadModel antenna;
            antenna.add({std::nullopt, {r, x}});
            const RelaySteps steps{int(std::lround(10 * error)), int(std::lround(500 / error))};
            const auto swrAt = [&](const LNetwork::Setting &s) {
                return antenna.swr(hz, steps, s);
            };
            const double exhaustive = LNetwork::bestOf(swrAt).swr;
            MatchSearch search({hz, 10, 500});
            while (const auto s = search.next())
                search.measured(*s, swrAt(*s));
            probes << search.probes();
            if (exhaustive <= 2.0) {
                ++eligible;
                within += search.bestSwr() <= exhaustive + 0.1;
            }
            if (error == 1.0)
                std::printf("%-8.3f %8.1f %8.1f %10.3f %10.3f %7d\n", hz / 1e6, r, x, exhaustive,
                            search.bestSwr(), search.probes());
        }
        std::sort(probes.begin(), probes.end());
        std::printf("%s: within 0.1 of the best where the best is at most 2.0: %d of %d "
                    "(%.0f%%); probes: median %d, worst %d\n",
                    error == 1.0 ? "steps as the console has them" : "components 5 % off", within,
                    eligible, 100.0 * within / std::max(1, eligible), probes[Loads / 2],
                    probes.last());
    }

    benchPartsFit();

    // Every bin of every band computed from one antenna's measurement (a resonant antenna
    // sampled every 100 kHz), through parts off nominal; and the bins checked against the plain
    // exhaustive search.
    Series computeAll;
    int computedBins = 0;
    int computedSame = 0;
    {
        AntennaMeasurement measured;
        const LoadModel::Resonant resonant{7.1e6, 40, 3};
        for (qint64 hz = 1700000; hz <= 54000000; hz += 100000)
            measured.points << AntennaMeasurement::Point{hz, resonant.at(double(hz))};
        LNetwork::Parts parts = LNetwork::Parts::nominal(10, 500);
        for (int bit = 0; bit < 8; ++bit) {
            parts.capacitorsPf[bit] *= 1 + 0.02 * (bit % 3 - 1);
            parts.coilsNh[bit] *= 1 - 0.03 * (bit % 2);
        }
        parts.strayPf = 15;
        parts.coilQ = 120;
        QList<ComputedTunes::Band> bands;
        for (int i = 0; i < 5; ++i) {
            QElapsedTimer clock;
            clock.start();
            bands = ComputedTunes::compute(measured, BandPlan(), parts);
            computeAll.ms << clock.nsecsElapsed() / 1e6;
        }
        for (const ComputedTunes::Band &band : bands) {
            for (qsizetype i = 0; i < band.bins.size(); i += 8) {
                const ComputedTunes::Bin &bin = band.bins[i];
                const double hz = double(bin.bin.middle());
                const LNetwork::Best plain = LNetwork::bestOf([&](const LNetwork::Setting &set) {
                    return LNetwork::swr(*bin.load, hz, parts, set);
                });
                ++computedBins;
                computedSame += plain.setting == bin.best.setting ? 1 : 0;
            }
        }
    }

    // The frequency memory's store: a lookup among 100,000 entries as following makes one at
    // a QSY (a bin and two on either side), and one bin stored with its durable commit.
    Series lookup;
    Series storeOne;
    {
        QTemporaryDir folder;
        TuneStore store;
        QString aside, error;
        if (store.open(folder.path(), &aside, &error)) {
            QList<TuneStore::Placed> many;
            for (int i = 0; i < 100000; ++i) {
                StoredTune t;
                t.antenna = i % 3;
                t.hz = 1'800'000 + qint64(i / 3) * 1000;
                t.relays = {quint8(i), quint8(i / 256), quint8(i & 1)};
                t.swr = 1.0 + (i % 50) / 50.0;
                t.stored = 1'796'000'000'000;
                many << TuneStore::Placed{t, t.hz, t.hz + 1};
            }
            store.putAll(many);
            for (int i = 0; i < 1000; ++i) {
                const qint64 hz = 1'800'000 + QRandomGenerator::global()->bounded(33'000) * 1000;
                QElapsedTimer clock;
                clock.start();
                (void)store.between(i % 3, hz - 14000, hz + 21000);
                lookup.ms << clock.nsecsElapsed() / 1e6;
            }
            for (int i = 0; i < 50; ++i) {
                StoredTune t;
                t.hz = 50'000'000 + qint64(i) * 1000;
                t.stored = 1'796'000'000'000;
                QElapsedTimer clock;
                clock.start();
                store.put(t, t.hz - 500, t.hz + 500, false);
                storeOne.ms << clock.nsecsElapsed() / 1e6;
            }
        }
    }

    // Training a stretch of 40 m against the simulated station, a resonant antenna on it.
    double trainSeconds = 0;
    QList<int> trainProbes;
    {
        QTemporaryDir station;
        quint16 radioPort = 0;
        {
            QTcpServer probe;
            probe.listen(QHostAddress::LocalHost);
            radioPort = probe.serverPort();
        }
        QProcess simulator;
        simulator.start(sim, {"--headless", "--link", station.filePath(QStringLiteral("tuner")),
                              "--steps", "12,50", "--antenna", "7.1,50,10", "--rigctld",
                              QStringLiteral("127.0.0.1:%1").arg(radioPort)});
        if (simulator.waitForReadyRead(5000)) {
            ConsoleEnvironment trained = env;
            trained.ports.map(1, station.filePath(QStringLiteral("tuner")));
            trained.rigAddress = QStringLiteral("127.0.0.1:%1").arg(radioPort);
            {
                QFile conf(temp.filePath(QStringLiteral("program/conf.cfg")));
                conf.open(QIODevice::WriteOnly);
                conf.write(ConfLayout::Image(QByteArray(ConfLayout::Size, '\0'))
                               .setPortNumber(1)
                               .setSteps(12, 50)
                               .bytes());
            }
            Form1 console(trained);
            Trainer &trainer = console.features().trainer();
            for (int i = 0; i < 100 && !trainer.unavailable().isEmpty(); ++i)
                QTest::qWait(50);
            QObject::connect(&trainer, &Trainer::point,
                             [&](qint64, bool, double, int probes) { trainProbes << probes; });
            QString why;
            QElapsedTimer clock;
            clock.start();
            if (trainer.start(2, 7'070'000, 7'105'000, true, &why)) {
                while (trainer.running() && clock.elapsed() < 120000)
                    QTest::qWait(20);
                trainSeconds =
                    clock.elapsed() / 1000.0 / std::max<qsizetype>(1, trainProbes.size());
            }
        }
        simulator.terminate();
        simulator.waitForFinished(3000);
    }
    std::sort(trainProbes.begin(), trainProbes.end());

    // The console as an operator starts it, every addition off, on the controller's line.
    double console = 0;
    double bare = 0;
    AsOperator::Figures asConsole;
    AsOperator::Figures asBare;
    {
        const QDir built = QFileInfo(sim).absoluteDir();
        QTemporaryDir folder;
        QDir(folder.path()).mkpath(QStringLiteral("img"));
        QDir(folder.path()).mkpath(QStringLiteral("home"));
        for (const QString &file :
             built.entryList({QStringLiteral("orvane*")}, QDir::Files) +
                 QStringList{QStringLiteral("img/HotEnd.jpg"), QStringLiteral("img/ColdEnd.jpg")})
            QFile::copy(built.filePath(file), folder.filePath(file));
        QFile conf(folder.filePath(QStringLiteral("conf.cfg")));
        conf.open(QIODevice::WriteOnly);
        conf.write(ConfLayout::Image(QByteArray(ConfLayout::Size, '\0'))
                       .setPortNumber(1)
                       .setSteps(12, 50)
                       .bytes());
        conf.close();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), folder.filePath(QStringLiteral("home")));
        environment.remove(QStringLiteral("XDG_CONFIG_HOME"));
        environment.remove(QStringLiteral("XDG_DATA_HOME"));
        const AsOperator::Program consoleProgram{
            folder.filePath(QStringLiteral("orvane")),
            {QStringLiteral("--port"), QStringLiteral("1=") + controller.link()},
            toggle->mapTo(&form, toggle->rect().center())};
        // What the console is measured against: a bare window of its own program.
        const AsOperator::Program bareProgram{
            QFileInfo(QCoreApplication::applicationFilePath()).absolutePath() +
                QStringLiteral("/orvane-bare"),
            {controller.link()},
            QPoint(200, 300)};
        if (AsOperator::available()) {
            const auto awaitPacket = [&controller] {
                return controller.awaitLines(1, 1000);
            };
            // Each measured as the operator starts it: ten starts, then clicks in the last.
            asConsole = AsOperator::measure(consoleProgram, environment, 10, 100, awaitPacket);
            asBare = AsOperator::measure(bareProgram, environment, 10, 100, awaitPacket);
            console = asConsole.peakMb;
            bare = asBare.peakMb;
        } else {
            console = residentPeak(consoleProgram.path, consoleProgram.arguments, environment);
            bare = residentPeak(bareProgram.path, bareProgram.arguments, environment);
        }
    }

    rusage self{};
    ::getrusage(RUSAGE_SELF, &self);
    std::printf("\n%-42s %12s %12s %6s\n", "Orvane benchmark", "median", "p95", "n");
    row("start-up to window shown", startup);
    row("toggle click to packet decoded", click);
    row("the same under a 10,000/s datagram flood", underFlood);
    row("recall to third packet decoded", recall);
    row("\\recall on the control port to third packet", remoteRecall);
    row("window click to !state at a subscriber", pushed);
    if (busRecall.ms.isEmpty()) {
        std::printf("%-42s %s\n", "MQTT", "no mosquitto");
    } else {
        row("\\recall on MQTT PREFIX/cmd to third packet", busRecall);
        row("window click to mosquitto_sub's message", busPushed);
    }
    if (follow.ms.isEmpty())
        std::printf("%-42s %s\n", "radio band change to third packet", "no rigctld");
    else
        row("radio band change to third packet", follow);
    if (!memoryQsy.ms.isEmpty())
        row("QSY to a memory's bin, third packet", memoryQsy);
    row("memory lookup among 100,000 entries", lookup);
    row("every bin of one antenna computed", computeAll);
    std::printf("%-42s %d of %d\n", "computed tunes the exhaustive best", computedSame,
                computedBins);
    row("memory bin stored, durable commit", storeOne);
    if (trainProbes.isEmpty())
        std::printf("%-42s %s\n", "training 40 m against the station", "did not run");
    else
        std::printf("%-42s %9.1f s a bin, probes: median %d, worst %d (%lld bins)\n",
                    "training 40 m against the station", trainSeconds,
                    trainProbes[trainProbes.size() / 2], trainProbes.last(),
                    static_cast<long long>(trainProbes.size()));
    std::printf("%-42s %9.1f %% of a core (a bare window: %.1f %%)\n",
                "dragging a bar, 1000 moves/s", dragBar, dragBare);
    std::printf("%-42s %9.1f MB\n", "peak RSS, this driver with its consoles",
                self.ru_maxrss / 1024.0);
    std::printf("%-42s %9.1f MB (%.2f × a bare window, %.1f MB)\n",
                "peak RSS, console as an operator starts it", console,
                bare > 0 ? console / bare : 0.0, bare);
    const auto compared = [](const char *what, const QList<double> &console,
                             const QList<double> &bare) {
        if (console.isEmpty() || bare.isEmpty())
            return;
        Series a{console};
        Series b{bare};
        std::printf("%-42s %9.1f ms (%.2f × a bare window, %.1f ms)\n", what, a.percentile(0.5),
                    a.percentile(0.5) / b.percentile(0.5), b.percentile(0.5));
    };
    compared("start-up to a mapped window, as an operator", asConsole.startupMs, asBare.startupMs);
    compared("a click to the packet decoded, as an operator", asConsole.clickMs, asBare.clickMs);
    std::printf("%-42s %9.1f MB\n", "peak RSS, orvane-sim",
                AsOperator::peakMegabytes(controller.pid()));
    if (decoded)
        std::printf("%-42s %9.0f packets/s (%d in %.2f s)\n", "orvane-sim decoding, logged",
                    Flood / seconds, Flood, seconds);
    else
        std::printf("%-42s %s after %d packets\n", "orvane-sim decoding", "stalled", lines);
    return 0;
}
