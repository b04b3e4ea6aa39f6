#include "console/features.h"
#include "console/form1.h"
#include "net/credentials.h"
#include "net/identity.h"
#include "net/listener.h"
#include "panel/panel.h"
#include "support/browser.h"
#include "support/consolefixture.h"
#include "support/programs.h"
#include "support/station.h"
#include "tunes/frequencymemory.h"
#include "tunes/measurement.h"
#include "web/access.h"
#include "web/webserver.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QWebSocket>

#include <csignal>

namespace {

// What the page believes: its last state from the console, as JSON text.
QJsonValue pageState(Browser &b, const char *field)
{
    return b.eval(QStringLiteral("state && state.%1").arg(QLatin1String(field)));
}

// Nothing runs past the right edge, and no control's text overflows its box.
QStringList cutOff(Browser &b)
{
    const QJsonValue found = b.eval(QStringLiteral(R"((() => {
        const out = [];
        const w = document.documentElement.clientWidth;
        if (document.documentElement.scrollWidth > w) out.push('page scrolls sideways');
        for (const e of document.querySelectorAll('body *')) {
            const r = e.getBoundingClientRect();
            if (r.width === 0 || getComputedStyle(e).visibility === 'hidden') continue;
            if (r.right > w + 0.5 || r.left < -0.5) out.push(`${e.tagName}#${e.id} at ${r.left}..${r.right}`);
            if (e.matches('button, output, h2') && e.scrollWidth > e.clientWidth + 1)
                out.push(`${e.tagName}#${e.id} text overflows: ${e.textContent}`);
        }
        return out;
    })())"));
    QStringList out;
    for (const QJsonValue &v : found.toArray())
        out << v.toString();
    return out;
}

// The controls a screen reader would find without a name.
QStringList unnamed(Browser &b)
{
    const QJsonObject tree = b.call(QStringLiteral("Accessibility.getFullAXTree"));
    QStringList out;
    for (const QJsonValue &node : tree[QStringLiteral("nodes")].toArray()) {
        const QString role = node["role"]["value"].toString();
        if (node["ignored"].toBool() ||
            !QStringList{"button", "radio", "slider", "textbox", "checkbox"}.contains(role))
            continue;
        if (node["name"]["value"].toString().trimmed().isEmpty())
            out << role + QLatin1Char(' ') + node["nodeId"].toString();
    }
    return out;
}

// An HTTPS client of the console's page that takes its self-signed certificate.
struct Https
{
    QNetworkAccessManager network;
    QNetworkReply *send(const QByteArray &verb, const QString &url, const QByteArray &body = {},
                        const QList<std::pair<QByteArray, QByteArray>> &headers = {})
    {
        QNetworkRequest request{QUrl(url)};
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                             QNetworkRequest::ManualRedirectPolicy);
        QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
        tls.setPeerVerifyMode(QSslSocket::VerifyNone);
        request.setSslConfiguration(tls);
        request.setHeader(QNetworkRequest::ContentTypeHeader, "application/x-www-form-urlencoded");
        for (const auto &[name, value] : headers)
            request.setRawHeader(name, value);
        QNetworkReply *reply = network.sendCustomRequest(request, verb, body);
        QElapsedTimer clock;
        clock.start();
        while (!reply->isFinished() && clock.elapsed() < 10000)
            QTest::qWait(5);
        reply->deleteLater();
        return reply;
    }
    static int status(QNetworkReply *reply)
    {
        return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    }
};

// A page's WebSocket as a script would open it, with the Origin and cookie it chooses.
struct Socket
{
    QWebSocket socket;
    QStringList messages;
    Socket(const QString &origin, const QByteArray &cookie, const QString &url)
        : socket(origin)
    {
        QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
        tls.setPeerVerifyMode(QSslSocket::VerifyNone);
        socket.setSslConfiguration(tls);
        QObject::connect(&socket, &QWebSocket::textMessageReceived, &socket,
                         [this](const QString &m) { messages << m; });
        QNetworkRequest request{QUrl(url)};
        if (!cookie.isEmpty())
            request.setRawHeader("Cookie", cookie);
        socket.open(request);
    }
    // The console's first word: its state, or nothing when it turned the socket away.
    QString first()
    {
        QElapsedTimer clock;
        clock.start();
        while (messages.isEmpty() && clock.elapsed() < 3000 &&
               socket.state() != QAbstractSocket::UnconnectedState)
            QTest::qWait(5);
        QTest::qWait(100);
        return messages.value(0);
    }
};

// The packets on the line once the console, in this event loop, has acted on what the page
// sent: count of them, or what came within the wait.
QList<QByteArray> packetsAfter(PseudoTerminal &line, int count = 1, int waitMs = 3000)
{
    QByteArray bytes;
    QElapsedTimer clock;
    clock.start();
    while (bytes.size() < count * 9 && clock.elapsed() < waitMs) {
        QTest::qWait(5);
        bytes += line.read(0);
    }
    return packetsOf(bytes + line.read(50));
}

} // namespace

// The tuner from a browser: a real Chromium works the real console and sees what it does.
class TestWeb : public QObject
{
    Q_OBJECT

    quint16 port = 0;

    Form1 &start(ConsoleFixture &f, SettingsImage image,
                 const QString &host = QStringLiteral("127.0.0.1"), const QString &rig = {})
    {
        port = freeLocalPort();
        ConsoleEnvironment env = f.environment();
        env.webAddress = QStringLiteral("%1:%2").arg(host).arg(port);
        env.rigAddress = rig;
        f.writeSettings(image.port(1).bytes());
        Form1 &form = f.start(env);
        form.show();
        f.pty.drain();
        return form;
    }

    QString local() const { return QStringLiteral("http://127.0.0.1:%1/").arg(port); }

private slots:
    void thePageWorksTheConsoleAsTheWindowDoes()
    {
        ConsoleFixture f;
        start(f, SettingsImage().steps(12, 50).slot(at(1, "40 м", 1), 37, 12, 1));
        Browser b;
        QVERIFY2(b.start(), qPrintable(b.error()));
        QVERIFY2(b.open(local()), qPrintable(b.error()));
        QTRY_COMPARE(b.eval("document.getElementById('link').textContent"),
                     QJsonValue("connected"));
        QTRY_COMPARE(pageState(b, "c"), QJsonValue(0));
        // Nothing has reached the controller yet: the start-up's recall went before the port
        // was open. The page says so until a recall has gone out whole.
        QCOMPARE(b.eval("document.getElementById('undelivered').hidden"), QJsonValue(false));
        QVERIFY(b.eval("document.getElementById('undelivered').textContent")
                    .toString()
                    .contains("Refresh"));

        // A tap on C bit 3 is the window's click on it: the same packet.
        QVERIFY2(b.tap("#C3"), qPrintable(b.error()));
        const QList<QByteArray> tapped = packetsAfter(f.pty);
        clickCentre(f.relayBit('C', 3)); // back to 0
        QCOMPARE(packetsOf(f.pty.read()), QList<QByteArray>{packet(1, 0, 0)});
        clickCentre(f.relayBit('C', 3));
        QCOMPARE(tapped, packetsOf(f.pty.read()));
        QCOMPARE(tapped, QList<QByteArray>{packet(1, 8, 0)});
        QTRY_COMPARE(b.eval("document.getElementById('C3').getAttribute('aria-pressed')"),
                     QJsonValue("true"));
        QCOMPARE(b.eval("document.getElementById('cValue').textContent"), QJsonValue("96 pF (8)"));

        // A band's frequency memories are listed on the page.
        Form1 &console = f.form();
        QVERIFY(console.features().memory().keep(0, 7074000, {33, 44, 1}, 1.25,
                                                 StoredTune::Source::Training, false));
        // A kept sweep of 40 m, its minimum at 7.100 MHz.
        StoredSweep swept;
        swept.band = 2;
        swept.started = QDateTime::currentMSecsSinceEpoch();
        swept.step = 10000;
        const std::optional<qint64> sweepId =
            console.features().memory().store()->beginSweep(swept);
        QVERIFY(sweepId);
        for (qint64 hz = 7000000; hz <= 7200000; hz += 10000)
            QVERIFY(console.features().memory().store()->addSweepPoint(
                *sweepId, {hz, 1.0 + std::abs(double(hz - 7100000)) / 25000.0, {}}));
        // The antenna's measurement across 40 m: the page draws it as a curve of its own kind.
        AntennaMeasurement measured;
        for (qint64 hz = 6900000; hz <= 7300000; hz += 50000)
            measured.points << AntennaMeasurement::Point{
                hz, {50, 120 * (double(hz) / 7.05e6 - 7.05e6 / double(hz)) * 10}};
        QVERIFY(console.features().memory().store()->putMeasurement(0, measured));
        // A recall in the window shows in the page at once.
        QElapsedTimer clock;
        clock.start();
        clickCentre(f.band("40 м"));
        while (pageState(b, "band") != QJsonValue(3) && clock.elapsed() < 2000)
            QTest::qWait(1);
        QVERIFY2(clock.elapsed() < 200, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(pageState(b, "c"), QJsonValue(37));
        QTRY_COMPARE(b.eval("document.getElementById('undelivered').hidden"), QJsonValue(true));
        QTRY_VERIFY(b.eval("document.querySelector('#tunes tbody').textContent")
                        .toString()
                        .contains("3344Tx1.25training"));
        f.pty.drain();

        // The page draws the sweep itself: the curve in its colour, and the minimum's mark
        // above the plot at 7.100 MHz's column.
        QTRY_VERIFY(b.eval("document.getElementById('sweepLegend').textContent")
                        .toString()
                        .contains("7.100"));
        const QJsonObject drawn = b.eval(QStringLiteral(R"((() => {
            const canvas = document.getElementById('sweep');
            const g = canvas.getContext('2d');
            const image = g.getImageData(0, 0, canvas.width, canvas.height).data;
            const ratio = canvas.width / canvas.clientWidth;
            const { plot, x } = sweepGeometry(canvas);
            const bare = (i) => Math.abs(image[i] - 214) < 30 && Math.abs(image[i + 1] - 96) < 30
                && image[i + 2] < 40 && image[i + 3] > 200;
            let curve = 0, sum = 0, marks = 0;
            for (let py = 0; py < canvas.height; ++py)
                for (let px = 0; px < canvas.width; ++px) {
                    if (!bare((py * canvas.width + px) * 4)) continue;
                    if (py > plot.top * ratio) ++curve;
                    else if (py > (plot.top - 11) * ratio) { sum += px; ++marks; }
                }
            return { curve, marks, at: sum / marks / ratio, expected: x(7100000) };
        })())"))
                                      .toObject();
        QVERIFY2(drawn["curve"].toInt() > 200, qPrintable(QJsonDocument(drawn).toJson()));
        QVERIFY(b.eval("document.getElementById('sweepLegend').textContent")
                    .toString()
                    .contains("measured"));
        const QJsonValue green = b.eval(QStringLiteral(R"((() => {
            const canvas = document.getElementById('sweep');
            const image = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
            let n = 0;
            for (let i = 0; i < image.length; i += 4)
                if (Math.abs(image[i] - 40) < 30 && Math.abs(image[i + 1] - 140) < 30
                    && Math.abs(image[i + 2] - 60) < 30 && image[i + 3] > 200) ++n;
            return n;
        })())"));
        QVERIFY2(green.toInt() > 200, qPrintable(QString::number(green.toInt())));
        QVERIFY2(qAbs(drawn["at"].toDouble() - drawn["expected"].toDouble()) <= 1.0,
                 qPrintable(QJsonDocument(drawn).toJson()));

        // A selector tapped in the page recalls: three packets, the slot's.
        QVERIFY(b.tap("#antennas button[data-value='2']"));
        QCOMPARE(packetsAfter(f.pty, 3).size(), 3);
        QVERIFY(b.tap("#antennas button[data-value='1']"));
        QCOMPARE(packetsAfter(f.pty, 3),
                 (QList<QByteArray>{packet(1, 37, 0), packet(2, 12, 0), packet(3, 1, 0)}));
        QTRY_VERIFY(f.antenna(1)->isChecked());

        // Everything came from the console itself.
        for (const QString &url : b.requested())
            QVERIFY2(url.startsWith(local()), qPrintable(url));
        QVERIFY(b.requested().size() >= 3);

        // A phone in portrait and a desktop window: nothing cut off; the shots are for a person.
        for (const auto &[w, h, mobile] : {std::tuple{360, 640, true}, {1280, 800, false}}) {
            QVERIFY(b.resize(w, h, mobile));
            QTest::qWait(100);
            QCOMPARE(cutOff(b), QStringList());
            // The sweep's words: drawn one by one, none covers another or a line of the
            // picture; the legend stands under the picture.
            const QJsonObject words = b.eval(QStringLiteral(R"((() => {
                const canvas = document.getElementById('sweep');
                const g = canvas.getContext('2d');
                const pixels = () => g.getImageData(0, 0, canvas.width, canvas.height).data;
                const count = drawSweep('drawing');
                const drawing = pixels();
                const layers = [];
                for (let i = 0; i < count; ++i) { drawSweep(i); layers.push(pixels()); }
                drawSweep();
                let overlaps = 0, onDrawing = 0;
                for (let p = 3; p < drawing.length; p += 4) {
                    let here = 0;
                    for (const layer of layers) if (layer[p] > 0) ++here;
                    if (here > 1) ++overlaps;
                    if (here && drawing[p] > 0) ++onDrawing;
                }
                const legend = document.getElementById('sweepLegend').getBoundingClientRect();
                const picture = canvas.getBoundingClientRect();
                return { count, overlaps, onDrawing,
                         below: legend.top >= picture.bottom && legend.height > 0 };
            })())"))
                                          .toObject();
            QVERIFY2(words["count"].toInt() >= 4 && words["overlaps"].toInt() == 0 &&
                         words["onDrawing"].toInt() == 0 && words["below"].toBool(),
                     qPrintable(QJsonDocument(words).toJson()));
            for (const bool whole : {false, true}) {
                QFile shot(QStringLiteral("%1/web-%2x%3%4.png")
                               .arg(screenFolder())
                               .arg(w)
                               .arg(h)
                               .arg(whole ? "-whole" : ""));
                QVERIFY(shot.open(QIODevice::WriteOnly));
                QVERIFY(shot.write(b.screenshot(whole)) > 1000);
            }
        }
        QCOMPARE(unnamed(b), QStringList());

        // English for an English browser; the switch speaks Russian and stays chosen.
        QCOMPARE(b.eval("document.getElementById('hAntenna').textContent"), QJsonValue("Antenna"));
        QVERIFY(b.tap("#lang"));
        QCOMPARE(b.eval("document.getElementById('hAntenna').textContent"), QJsonValue("Антенна"));
        QVERIFY(b.open(local()));
        QTRY_COMPARE(b.eval("document.documentElement.lang"), QJsonValue("ru"));
    }

    // A page on another site that points a name of its own at this computer (DNS
    // rebinding) reaches the loopback page with that name: it is turned away.
    void aForeignNameOrPageIsRefusedOnLoopbackToo()
    {
        ConsoleFixture f;
        start(f, SettingsImage());
        Https http;
        const QString api = local() + QStringLiteral("api/state");
        QCOMPARE(Https::status(http.send("GET", api, {}, {{"Host", "evil.example:18434"}})), 403);
        QCOMPARE(Https::status(http.send("GET", api)), 200);
        QCOMPARE(Https::status(http.send("GET", api, {}, {{"Host", "localhost"}})), 200);
        // A change asked for from another site's page.
        QCOMPARE(Https::status(http.send(
                     "POST", local() + "logout", {},
                     {{"Origin", "http://evil.example"}, {"Sec-Fetch-Site", "cross-site"}})),
                 403);
        const QString ws = QStringLiteral("ws://127.0.0.1:%1/ws").arg(port);
        for (const auto &[host, origin] : QList<std::pair<QByteArray, QString>>{
                 {"evil.example", "http://evil.example"},
                 {"127.0.0.1:" + QByteArray::number(port), "http://evil.example"}}) {
            QWebSocket socket(origin);
            QNetworkRequest request{QUrl(ws)};
            request.setRawHeader("Host", host);
            socket.open(request);
            QTest::qWait(300);
            socket.sendTextMessage(QStringLiteral("\\set_c 201"));
            QTest::qWait(200);
            QVERIFY(socket.state() != QAbstractSocket::ConnectedState);
        }
        QVERIFY(f.pty.read(200).isEmpty());
        Socket ours(local().chopped(1), {}, ws);
        QVERIFY(ours.first().contains("\"type\":\"state\""));
    }

    void dribbledRequestsKeepNoOneOutAndEndInTime()
    {
        ConsoleFixture f;
        start(f, SettingsImage());
        // Sixty-four connections that send a request a byte at a time.
        std::vector<std::unique_ptr<QTcpSocket>> slow;
        for (int i = 0; i < WebServer::MaxPeers; ++i) {
            slow.push_back(std::make_unique<QTcpSocket>());
            slow.back()->connectToHost(QHostAddress::LocalHost, port);
            QTRY_VERIFY(slow.back()->state() != QAbstractSocket::ConnectingState);
            slow.back()->write("G");
        }
        Https http;
        for (int i = 0; i < 5; ++i) {
            QElapsedTimer clock;
            clock.start();
            QCOMPARE(Https::status(http.send("GET", local() + "login")), 200);
            QVERIFY(clock.elapsed() < 2000);
            for (auto &s : slow) {
                if (s->state() == QAbstractSocket::ConnectedState)
                    s->write("E");
            }
        }
        // However they dribble, a request has so long to arrive whole.
        QTcpSocket dribbler;
        dribbler.connectToHost(QHostAddress::LocalHost, port);
        QTRY_COMPARE(dribbler.state(), QAbstractSocket::ConnectedState);
        QElapsedTimer clock;
        clock.start();
        for (const char c : QByteArray("GET /login HTTP/1.1\r\nHost: 127.0.0.1\r\nX-Pad: ")) {
            dribbler.write(&c, 1);
            QTest::qWait(200);
        }
        while (dribbler.state() == QAbstractSocket::ConnectedState && clock.elapsed() < 20000) {
            dribbler.write("x");
            QTest::qWait(200);
        }
        QCOMPARE(dribbler.state(), QAbstractSocket::UnconnectedState);
        QVERIFY2(clock.elapsed() < WebServer::RequestMs + 2000,
                 qPrintable(QString::number(clock.elapsed())));
    }

    void whileTheRadioTransmitsATapSwitchesNothing()
    {
        Rigctld rig;
        QVERIFY(rig.start());
        ConsoleFixture f;
        f.userSettings.setValue("rig/poll_ms", 100);
        Form1 &form = start(f, SettingsImage(), QStringLiteral("127.0.0.1"),
                            QStringLiteral("127.0.0.1:%1").arg(rig.port));
        Browser b;
        QVERIFY2(b.start(), qPrintable(b.error()));
        QVERIFY(b.open(local()));
        QTRY_VERIFY(form.panel().state().radio.connected);
        QVERIFY(rig.tell("T 1"));
        QTRY_COMPARE(pageState(b, "held"), QJsonValue(true));
        f.pty.drain();
        QVERIFY(b.tap("#C3"));
        QCOMPARE(b.eval("document.getElementById('C3').disabled"), QJsonValue(true));
        // Sent anyway, by a script that ignores the page's own lock: the console refuses.
        b.eval("socket.send('\\\\toggle C 3')");
        QTRY_VERIFY(b.eval("document.getElementById('tuneState').textContent")
                        .toString()
                        .endsWith("RPRT -9"));
        QVERIFY(packetsAfter(f.pty, 1, 300).isEmpty());
        QVERIFY(rig.tell("T 0"));
        QTRY_COMPARE(pageState(b, "held"), QJsonValue(false));
        QVERIFY(b.tap("#C3"));
        QCOMPARE(packetsAfter(f.pty), QList<QByteArray>{packet(1, 8, 0)});
    }

    void aLostConsoleIsShownAndFoundAgain()
    {
        ProgramFolder folder;
        PseudoTerminal line;
        const QByteArray conf = SettingsImage().port(1).bytes();
        QFile file(folder.settingsPath());
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(conf) == conf.size());
        file.close();
        port = freeLocalPort();
        const auto run = [&](QProcess &console) {
            QProcessEnvironment env = folder.environment();
            env.remove(QStringLiteral("DISPLAY"));
            console.setProcessEnvironment(env);
            console.start(folder.program("orvane"),
                          {"--headless", "--control", "off", "--web", QString::number(port),
                           "--port", QStringLiteral("1=%1").arg(line.device())});
            // It says so once it listens.
            QByteArray said;
            QElapsedTimer clock;
            clock.start();
            while (!said.contains("web page on") && clock.elapsed() < 10000) {
                QTest::qWait(20);
                said += console.readAllStandardError();
            }
        };
        QProcess first;
        run(first);

        Browser b;
        QVERIFY2(b.start(), qPrintable(b.error()));
        QVERIFY(b.open(local()));
        QTRY_VERIFY(pageState(b, "port").isObject());
        ::kill(pid_t(first.processId()), SIGTERM);
        QVERIFY(first.waitForFinished(10000));
        QTRY_COMPARE(b.eval("document.getElementById('link').textContent"),
                     QJsonValue("connection lost, reconnecting…"));
        QVERIFY(b.eval("document.querySelector('main').inert").toBool());
        QProcess second;
        run(second);
        QTRY_COMPARE_WITH_TIMEOUT(b.eval("document.getElementById('link').textContent"),
                                  QJsonValue("connected"), 15000);
        QVERIFY(b.tap("#L0"));
        QCOMPARE(packetsAfter(line), QList<QByteArray>{packet(2, 1, 0)});
        ::kill(pid_t(second.processId()), SIGTERM);
        QVERIFY(second.waitForFinished(10000));
    }

    void floodsAndIdleConnectionsAreCapped()
    {
        ConsoleFixture f;
        start(f, SettingsImage());
        // More connections from one address than it takes: those that have said nothing make
        // room for the newer ones, so the newest stay.
        std::vector<std::unique_ptr<QTcpSocket>> idle;
        for (int i = 0; i < WebServer::MaxPeers + 6; ++i) {
            idle.push_back(std::make_unique<QTcpSocket>());
            idle.back()->connectToHost(QHostAddress::LocalHost, port);
            // The console accepts in this same event loop.
            QTRY_VERIFY(idle.back()->state() != QAbstractSocket::ConnectingState);
        }
        const auto closed = [&] {
            return std::count_if(idle.begin(), idle.end(), [](const auto &s) {
                return s->state() == QAbstractSocket::UnconnectedState;
            });
        };
        QTRY_COMPARE(closed(), qsizetype(idle.size()) - WebServer::MaxPeersPerAddress);
        QCOMPARE(idle.back()->state(), QAbstractSocket::ConnectedState);
        idle.clear();
        // A request that never ends is cut off, not kept.
        QTcpSocket flood;
        flood.connectToHost(QHostAddress::LocalHost, port);
        QTRY_COMPARE(flood.state(), QAbstractSocket::ConnectedState);
        flood.write("POST /login HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Length: 100000000\r\n\r\n");
        for (int i = 0; i < 64 && flood.state() == QAbstractSocket::ConnectedState; ++i) {
            flood.write(QByteArray(16 * 1024, 'x'));
            QTest::qWait(5);
        }
        QTRY_COMPARE(flood.state(), QAbstractSocket::UnconnectedState);
        Browser b;
        QVERIFY2(b.start(), qPrintable(b.error()));
        QVERIFY(b.open(local()));
        QTRY_COMPARE(pageState(b, "c"), QJsonValue(0));

        // A connection that says nothing is let go after a while.
        Listener listener;
        Listener::Limits limits;
        limits.maxPeers = 4;
        limits.maxUnanswered = 1024;
        limits.idleMs = 200;
        listener.limitPeers(limits);
        QString error;
        QVERIFY(listener.listen({QStringLiteral("127.0.0.1"), 0}, &error, false));
        QTcpSocket quiet;
        quiet.connectToHost(QHostAddress::LocalHost, listener.address().port);
        QTRY_VERIFY(listener.servers().first()->hasPendingConnections());
        std::unique_ptr<QTcpSocket> taken(listener.servers().first()->nextPendingConnection());
        QVERIFY(taken);
        QTRY_COMPARE(quiet.state(), QAbstractSocket::UnconnectedState);
    }

    void beyondThisComputerOnlyWithAPasswordAndHttps()
    {
        // 0.0.0.0 is every address; the test reaches it through 127.0.0.1.
        {
            ConsoleFixture f;
            Form1 &form = start(f, SettingsImage(), QStringLiteral("0.0.0.0"));
            QVERIFY(!form.features().webServer());
        }
        ConsoleFixture f;
        Credentials::store(f.userSettings, QStringLiteral("control/password"),
                           QStringLiteral("s3cret"));
        Credentials::store(f.userSettings, QStringLiteral("web/viewer_password"),
                           QStringLiteral("look"));
        Form1 &form = start(f, SettingsImage(), QStringLiteral("0.0.0.0"));
        QVERIFY(form.features().webServer() && form.features().webServer()->secure());
        const QString site = QStringLiteral("https://127.0.0.1:%1").arg(port);
        const QByteArray origin = site.toLatin1();
        Https https;

        // Plain HTTP gets no page.
        QNetworkReply *plain = https.send("GET", local());
        QVERIFY(plain->error() != QNetworkReply::NoError);
        QVERIFY(plain->readAll().isEmpty());

        // A browser that trusts exactly this certificate: the login, then the page.
        Identity identity;
        QString error;
        QVERIFY2(identity.loadOrCreate(f.environment().dataDir, &error), qPrintable(error));
        const QByteArray spki = QCryptographicHash::hash(identity.certificate().publicKey().toDer(),
                                                         QCryptographicHash::Sha256)
                                    .toBase64();
        Browser b;
        QVERIFY2(b.start({QStringLiteral("--ignore-certificate-errors-spki-list=") + spki}),
                 qPrintable(b.error()));
        QVERIFY2(b.open(site + "/"), qPrintable(b.error()));
        QTRY_COMPARE(b.eval("location.pathname"), QJsonValue("/login"));
        b.eval("document.querySelector('input[name=password]').value = 'wrong'; "
               "document.querySelector('form').submit()");
        QTRY_COMPARE(b.eval("document.readyState"), QJsonValue("complete"));
        QTRY_VERIFY(b.eval("document.querySelector('.said') && "
                           "document.querySelector('.said').textContent")
                        .toString()
                        .contains("Wrong password"));
        b.eval("document.querySelector('input[name=password]').value = 's3cret'; "
               "document.querySelector('form').submit()");
        QTRY_COMPARE(b.eval("location.pathname"), QJsonValue("/"));
        QTRY_COMPARE(pageState(b, "role"), QJsonValue("operator"));
        QVERIFY(b.tap("#C3"));
        QCOMPARE(packetsAfter(f.pty), QList<QByteArray>{packet(1, 8, 0)});

        // The session's cookie: random, and nowhere a script or plain HTTP could read it.
        QNetworkReply *login = https.send("POST", site + "/login", "password=s3cret");
        QCOMPARE(Https::status(login), 303);
        const QByteArray cookie = login->rawHeader("Set-Cookie");
        QVERIFY2(QRegularExpression("^orvane_session=[0-9a-f]{32}; Path=/; HttpOnly; Secure; "
                                    "SameSite=Strict$")
                     .match(QString::fromLatin1(cookie))
                     .hasMatch(),
                 cookie.constData());
        const QByteArray session = cookie.left(cookie.indexOf(';'));

        // A request through a name the console does not answer to is another site's.
        QCOMPARE(
            Https::status(https.send("GET", site + "/", {},
                                     {{"Host", "tuner.attacker.example"}, {"Cookie", session}})),
            403);
        // The WebSocket: only with the session, and only from the page itself.
        const QString ws = QStringLiteral("wss://127.0.0.1:%1/ws").arg(port);
        QVERIFY(Socket(site, {}, ws).first().isEmpty());
        QVERIFY(Socket(QStringLiteral("https://attacker.example"), session, ws).first().isEmpty());
        Socket operatorSocket(site, session, ws);
        QVERIFY(operatorSocket.first().contains("\"role\":\"operator\""));

        // The watching password sees everything and changes nothing.
        QNetworkReply *viewerLogin = https.send("POST", site + "/login", "password=look");
        const QByteArray viewerCookie = viewerLogin->rawHeader("Set-Cookie");
        Socket viewer(site, viewerCookie.left(viewerCookie.indexOf(';')), ws);
        QVERIFY(viewer.first().contains("\"role\":\"viewer\""));
        viewer.socket.sendTextMessage(QStringLiteral("\\set_c 5"));
        QTRY_VERIFY(viewer.messages.join('\n').contains("\"text\":\"RPRT -19\""));
        QVERIFY(packetsAfter(f.pty, 1, 200).isEmpty());

        // A crowd of viewers never ends the operator's session or closes the operator's page.
        QList<std::shared_ptr<Socket>> crowd;
        for (int i = 0; i < WebAccess::MaxSessionsPerRole + 4; ++i) {
            QNetworkReply *seen = https.send("POST", site + "/login", "password=look");
            QCOMPARE(Https::status(seen), 303);
            if (i < WebServer::MaxClientsPerRole + 4) {
                const QByteArray c = seen->rawHeader("Set-Cookie");
                crowd << std::make_shared<Socket>(site, c.left(c.indexOf(';')), ws);
                QVERIFY(crowd.last()->first().contains("\"role\":\"viewer\""));
            }
        }
        QCOMPARE(Https::status(https.send("GET", site + "/api/state", {}, {{"Cookie", session}})),
                 200);
        QCOMPARE(operatorSocket.socket.state(), QAbstractSocket::ConnectedState);
        operatorSocket.socket.sendTextMessage(QStringLiteral("\\set_c 6"));
        QCOMPARE(packetsAfter(f.pty), QList<QByteArray>{packet(1, 6, 0)});

        // Five wrong passwords and this address waits, even with the right one.
        for (int i = 0; i < 5; ++i)
            QCOMPARE(Https::status(https.send("POST", site + "/login", "password=guess")), 401);
        QCOMPARE(Https::status(https.send("POST", site + "/login", "password=s3cret")), 429);
        QVERIFY(!f.userSettings.value("control/password").toString().contains("s3cret"));
    }
};

QTEST_MAIN(TestWeb)
#include "tst_web.moc"
