#include "console/features.h"
#include "console/form1.h"
#include "mqtt/stationbus.h"
#include "net/credentials.h"
#include "panel/panel.h"
#include "rig/following.h"
#include "support/broker.h"
#include "support/consolefixture.h"
#include "support/fakebroker.h"
#include "support/programs.h"
#include "support/station.h"

#include <QDir>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>
#include <QTcpSocket>
#include <QTest>

#include <csignal>

namespace {

// The packets on the line within the wait, once count of them have come.
QList<QByteArray> packetsWithin(PseudoTerminal &line, int count, int waitMs = 3000)
{
    QByteArray bytes;
    QElapsedTimer clock;
    clock.start();
    while (bytes.size() < count * 9 && clock.elapsed() < waitMs) {
        QTest::qWait(5);
        bytes += line.read(0);
    }
    return packetsOf(bytes + line.read(100));
}

// What the console said in its line log's notes (the strip says the same, for a while).
QString notes(Form1 &form)
{
    QString out;
    for (const LineLog::Entry &entry : form.panel().lineLog().entries())
        if (entry.kind == LineLog::Entry::Note)
            out += entry.text + QLatin1Char('\n');
    return out;
}

QJsonObject payloadOf(const QJsonObject &message)
{
    return QJsonDocument::fromJson(message["payload"].toString().toUtf8()).object();
}

} // namespace

// The console on a real broker, with mosquitto's own clients as the station's other devices.
class TestMqtt : public QObject
{
    Q_OBJECT

    Form1 &start(ConsoleFixture &f, const Broker &broker, const QString &prefix,
                 const QString &rig = {}, bool discovery = false)
    {
        ConsoleEnvironment env = f.environment();
        env.mqttUrl = broker.url(prefix);
        env.mqttDiscovery = discovery;
        env.rigAddress = rig;
        f.writeSettings(
            SettingsImage().steps(12, 50).slot(at(1, "40 м", 2), 7, 8, 0).port(1).bytes());
        Form1 &form = f.start(env);
        f.pty.drain();
        return form;
    }

    static bool online(Form1 &form)
    {
        const MqttClient *client = form.features().bus().client();
        return client && client->state() == MqttClient::State::Connected;
    }

private slots:
    void commandsOnTheBusWorkTheConsoleAndTheStateIsKept()
    {
        Broker broker;
        QVERIFY(broker.start());
        ConsoleFixture f;
        Form1 &form = start(f, broker, "station/tuner1");
        QTRY_VERIFY_WITH_TIMEOUT(online(form), 5000);

        // A recall on PREFIX/cmd: the slot's three packets, and the kept state says so.
        QVERIFY(broker.publish("station/tuner1/cmd", "\\recall 1 40m 2"));
        QCOMPARE(packetsWithin(f.pty, 3),
                 (QList<QByteArray>{packet(1, 7, 0), packet(2, 8, 0), packet(3, 0, 0)}));
        QTRY_VERIFY_WITH_TIMEOUT(
            payloadOf(broker.read("station/tuner1/state", 1, 1000).value(0))["band"] ==
                QJsonValue("40m"),
            5000);
        const QJsonObject state = payloadOf(broker.read("station/tuner1/state", 1, 1000)[0]);
        QCOMPARE(state["subband"], QJsonValue(2));
        QCOMPARE(state["c"], QJsonValue(7));
        QCOMPARE(broker.read("station/tuner1/c", 1, 1000).value(0)["payload"], QJsonValue("7"));
        QCOMPARE(broker.read("station/tuner1/status", 1, 1000).value(0)["payload"],
                 QJsonValue("online"));

        // An answer goes to the sender's response topic with its correlation data, else to
        // PREFIX/reply.
        const auto answers = broker.listen("answers/#");
        const auto replies = broker.listen("station/tuner1/reply");
        QVERIFY(broker.publish("station/tuner1/cmd", "\\set_c 37",
                               {"-D", "publish", "response-topic", "answers/me", "-D", "publish",
                                "correlation-data", "ask-17"}));
        QVERIFY(broker.publish("station/tuner1/cmd", "\\get_slot 1 40m 2"));
        QTest::qWait(500);
        const QList<QJsonObject> answered = Broker::heard(*answers);
        QCOMPARE(answered.size(), 1);
        QCOMPARE(answered[0]["payload"].toString().trimmed(), QStringLiteral("RPRT 0"));
        QCOMPARE(answered[0]["properties"]["correlation-data"], QJsonValue("ask-17"));
        QCOMPARE(Broker::heard(*replies).value(0)["payload"].toString(),
                 QStringLiteral("7\n8\nAnt\n"));
        QCOMPARE(packetsWithin(f.pty, 1), QList<QByteArray>{packet(1, 37, 0)});

        // A burst of 10,000: at most 20 a second run, the rest are refused, an over-long one is
        // dropped, the queue stays bounded, and the console answers at once after.
        QByteArray burst;
        for (int i = 0; i < 10000; ++i)
            burst += "\\get_state\n";
        QVERIFY(broker.publishLines("station/tuner1/cmd", burst));
        QVERIFY(broker.publish("station/tuner1/cmd", QByteArray(2000, 'x')));
        QElapsedTimer clock;
        clock.start();
        MqttBridge &bridge = *form.features().bus().bridge();
        while (bridge.counts().commands + bridge.counts().refused < 10000 &&
               clock.elapsed() < 20000) {
            QTest::qWait(20);
            QVERIFY(form.features().bus().client()->pending() <= MqttClient::MaxPending + 50);
        }
        QVERIFY2(bridge.counts().refused >= 9900,
                 qPrintable(QString::number(bridge.counts().refused)));
        QTRY_COMPARE(bridge.counts().dropped, quint64(1));
        QTest::qWait(1100);
        QVERIFY(broker.publish("station/tuner1/cmd", "\\set_c 38"));
        QCOMPARE(packetsWithin(f.pty, 1), QList<QByteArray>{packet(1, 38, 0)});

        // Stopped and started again, the broker has the state again without being asked.
        broker.restart();
        QTRY_VERIFY_WITH_TIMEOUT(online(form), 10000);
        QCOMPARE(payloadOf(broker.read("station/tuner1/state", 1, 2000).value(0))["c"],
                 QJsonValue(38));
        QVERIFY2(notes(form).contains(QStringLiteral("MQTT: связь с сервером потеряна")),
                 qPrintable(notes(form)));
    }

    void whileTheRadioTransmitsACommandIsRefusedWithAnAnswer()
    {
        Broker broker;
        QVERIFY(broker.start());
        Rigctld rig;
        QVERIFY(rig.start());
        QVERIFY(rig.tell("T 1"));
        ConsoleFixture f;
        f.userSettings.setValue("rig/poll_ms", 100);
        Form1 &form = start(f, broker, "held", QStringLiteral("127.0.0.1:%1").arg(rig.port));
        QTRY_VERIFY_WITH_TIMEOUT(online(form) && form.panel().state().held, 5000);
        f.pty.drain();
        const auto replies = broker.listen("held/#");
        QVERIFY(broker.publish("held/cmd", "\\set_c 5"));
        QTest::qWait(500);
        const QList<QJsonObject> heard = Broker::heard(*replies);
        const auto reply = std::find_if(heard.begin(), heard.end(), [](const QJsonObject &m) {
            return m["topic"] == QJsonValue("held/reply");
        });
        QVERIFY2(reply != heard.end(), qPrintable(QString::number(heard.size())));
        QCOMPARE(reply->value("payload").toString().trimmed(), QStringLiteral("RPRT -9"));
        QVERIFY(f.pty.read(200).isEmpty());
    }

    // Two consoles on one broker, each under its prefix; one killed leaves offline behind.
    void consolesKeepApartAndAKilledOneIsOffline()
    {
        Broker broker;
        QVERIFY(broker.start());
        ConsoleFixture f;
        Form1 &form = start(f, broker, "shack/one");
        QTRY_VERIFY_WITH_TIMEOUT(online(form), 5000);

        ProgramFolder folder;
        QVERIFY(folder.isValid());
        QProcess other;
        QProcessEnvironment env = folder.environment();
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        other.setProcessEnvironment(env);
        other.start(folder.program("orvane"),
                    {"--headless", "--control", "off", "--mqtt", broker.url("shack/two")});
        QTRY_VERIFY_WITH_TIMEOUT(broker.read("shack/two/status", 1, 500).value(0)["payload"] ==
                                     QJsonValue("online"),
                                 10000);
        QVERIFY(broker.publish("shack/two/cmd", "\\set_c 99"));
        QTRY_VERIFY_WITH_TIMEOUT(
            broker.read("shack/two/c", 1, 500).value(0)["payload"] == QJsonValue("99"), 5000);
        QCOMPARE(form.panel().state().relays.codeC, quint8(0));
        QVERIFY(f.pty.read(200).isEmpty());

        ::kill(pid_t(other.processId()), SIGKILL);
        QVERIFY(other.waitForFinished(5000));
        QTRY_VERIFY_WITH_TIMEOUT(broker.read("shack/two/status", 1, 500).value(0)["payload"] ==
                                     QJsonValue("offline"),
                                 5000);
        QCOMPARE(broker.read("shack/one/status", 1, 1000).value(0)["payload"],
                 QJsonValue("online"));

        // One that ends as asked is offline too.
        other.start(folder.program("orvane"),
                    {"--headless", "--control", "off", "--mqtt", broker.url("shack/two")});
        QTRY_VERIFY_WITH_TIMEOUT(broker.read("shack/two/status", 1, 500).value(0)["payload"] ==
                                     QJsonValue("online"),
                                 10000);
        ::kill(pid_t(other.processId()), SIGTERM);
        QVERIFY(other.waitForFinished(5000));
        QCOMPARE(broker.read("shack/two/status", 1, 1000).value(0)["payload"],
                 QJsonValue("offline"));
    }

    // A broker with users, an access list and TLS: the wrong password is said and retried
    // without harm; the right one over TLS with the test's CA works.
    void aRefusingBrokerIsSaidAndTlsWithItsCaWorks()
    {
        Broker broker;
        QVERIFY(broker.start({true, true}));
        ConsoleFixture f;
        ConsoleEnvironment env = f.environment();
        QDir().mkpath(env.dataDir);
        const QString secret = QDir(env.dataDir).filePath(QStringLiteral("mqtt-password"));
        QVERIFY(Credentials::keepSecret(secret, QStringLiteral("wrong")));
        env.mqttUrl = broker.url("orvane/t", "orvane");
        f.writeSettings(SettingsImage().port(1).bytes());
        Form1 &form = f.start(env);
        QTRY_VERIFY_WITH_TIMEOUT(notes(form).contains(QStringLiteral("отказал")), 5000);
        QVERIFY(!online(form));
        QVERIFY(!notes(form).contains(QStringLiteral("wrong")));

        QVERIFY(Credentials::keepSecret(secret, QStringLiteral("orvane-secret")));
        QString error;
        StationBus::Choice tls;
        tls.url = QStringLiteral("mqtts://orvane@127.0.0.1:%1/orvane/t").arg(broker.tlsPort);
        tls.caFile = broker.caFile();
        QVERIFY2(form.features().bus().start(tls, secret, &error), qPrintable(error));
        QTRY_VERIFY_WITH_TIMEOUT(online(form), 5000);
        QCOMPARE(broker.read("orvane/t/status", 1, 1000).value(0)["payload"], QJsonValue("online"));
    }

    // Home Assistant's discovery: one document for each entity, each valid against the
    // schema its documentation gives; switched off, they are removed.
    void homeAssistantFindsTheDeviceAndLosesItWhenSwitchedOff()
    {
        Broker broker;
        QVERIFY(broker.start());
        ConsoleFixture f;
        Form1 &form = start(f, broker, "ha/tuner", {}, true);
        QTRY_VERIFY_WITH_TIMEOUT(online(form), 5000);
        // A console still starting may be caught clearing the other kind of an entity (an
        // empty payload): only documents count, the last of each topic.
        QMap<QString, QJsonObject> latest;
        for (const QJsonObject &d : broker.read("homeassistant/#", 40, 3000)) {
            if (!d["payload"].toString().isEmpty())
                latest.insert(d["topic"].toString(), d);
        }
        const QList<QJsonObject> documents = latest.values();
        QCOMPARE(documents.size(), 10);
        for (const QJsonObject &d : documents)
            QVERIFY2(!d["topic"].toString().contains(QLatin1Char('.')),
                     qPrintable(d["topic"].toString()));
        QTemporaryDir dir;
        const QString schema = QFINDTESTDATA("homeassistant.schema.json");
        QVERIFY(!schema.isEmpty());
        QMap<QString, int> components;
        for (const QJsonObject &d : documents) {
            const QString component = d["topic"].toString().section(QLatin1Char('/'), 1, 1);
            ++components[component];
            const QString file = dir.filePath(d["topic"].toString().replace('/', '_'));
            QFile out(file);
            QVERIFY(out.open(QIODevice::WriteOnly));
            // The component beside the document, for the schema to choose its rules by.
            QJsonObject body = payloadOf(d);
            body.insert(QStringLiteral("_component"), component);
            out.write(QJsonDocument(body).toJson());
            out.close();
            QProcess check;
            check.start(QStringLiteral("/usr/bin/python3"),
                        {"-m", "jsonschema", "-i", file, schema});
            QVERIFY(check.waitForFinished(20000));
            QVERIFY2(check.exitCode() == 0,
                     qPrintable(d["topic"].toString() + ": " + check.readAllStandardError()));
        }
        QCOMPARE(
            components,
            (QMap<QString, int>{
                {"select", 4}, {"number", 2}, {"sensor", 1}, {"binary_sensor", 1}, {"button", 2}}));
        // A press of Store in Home Assistant stores.
        QVERIFY(broker.publish("ha/tuner/set/c", "12"));
        QTRY_COMPARE(form.panel().state().relays.codeC, quint8(12));

        // Read-only: what it shows, as sensors; nothing to choose or press.
        StationBus::Choice watching = form.features().bus().choice();
        watching.readOnly = true;
        QString error;
        QVERIFY(form.features().bus().start(watching, {}, &error));
        QTRY_VERIFY_WITH_TIMEOUT(online(form), 5000);
        QTest::qWait(300);
        QMap<QString, int> shown;
        for (const QJsonObject &d : broker.read("homeassistant/#", 20, 1500))
            ++shown[d["topic"].toString().section(QLatin1Char('/'), 1, 1)];
        QCOMPARE(shown, (QMap<QString, int>{{"sensor", 7}, {"binary_sensor", 1}}));

        StationBus::Choice off = form.features().bus().choice();
        off.discovery = false;
        QVERIFY(form.features().bus().start(off, {}, &error));
        QTRY_VERIFY_WITH_TIMEOUT(online(form), 5000);
        QTest::qWait(300);
        QCOMPARE(broker.read("homeassistant/#", 10, 1000).size(), 0);
    }

    // Home Assistant's node id: only what it takes, and never one for two prefixes; the
    // human name stays in the device's name.
    void everyPrefixHasANodeIdOfItsOwn()
    {
        const QStringList prefixes{QStringLiteral("станция/тюнер"), QStringLiteral("a/b"),
                                   QStringLiteral("a_b"),           QStringLiteral("A/B"),
                                   QStringLiteral("a-b"),           QStringLiteral("a b"),
                                   QStringLiteral("orvane/shack")};
        QSet<QString> ids;
        const QRegularExpression allowed(QStringLiteral("^[a-zA-Z0-9_-]+$"));
        for (const QString &prefix : prefixes) {
            const QString id = MqttBridge::nodeId(prefix);
            QVERIFY2(allowed.match(id).hasMatch(), qPrintable(id));
            ids << id;
        }
        QCOMPARE(ids.size(), prefixes.size());
        QCOMPARE(MqttBridge::nodeId(QStringLiteral("orvane/shack")),
                 QStringLiteral("orvane_shack"));
    }

    // Retained messages are state, never commands: not at once, not at a reconnect.
    void retainedCommandsAreNeverRunAndSaidOnce()
    {
        Broker broker;
        QVERIFY(broker.start());
        ConsoleFixture f;
        Form1 &form = start(f, broker, "kept");
        QTRY_VERIFY_WITH_TIMEOUT(online(form), 5000);
        QVERIFY(broker.publish("kept/cmd", "\\set_c 99", {"-r"}));
        QVERIFY(broker.publish("kept/set/l", "77", {"-r"}));
        QVERIFY(broker.publish("kept/cmd", "\\set_c 37"));
        QCOMPARE(packetsWithin(f.pty, 1), QList<QByteArray>{packet(1, 37, 0)});
        broker.restart();
        QTRY_VERIFY_WITH_TIMEOUT(online(form), 10000);
        QTest::qWait(500);
        QVERIFY(f.pty.read(300).isEmpty());
        QCOMPARE(form.panel().state().relays.codeC, quint8(37));
        QCOMPARE(form.panel().state().relays.codeL, quint8(0));
        QVERIFY(form.features().bus().bridge()->counts().retained >= 2);
        QCOMPARE(notes(form).count(QStringLiteral("retain")), 1);
    }

    // An answer never goes where the console takes commands, nor to a pattern; junk on a
    // set/ topic is refused with its reason, as the control port refuses it.
    void answersAndValuesAreCheckedAsTheControlPortChecksThem()
    {
        Broker broker;
        QVERIFY(broker.start());
        ConsoleFixture f;
        Form1 &form = start(f, broker, "chk");
        QTRY_VERIFY_WITH_TIMEOUT(online(form), 5000);
        const auto replies = broker.listen("chk/reply");
        for (const char *where : {"chk/set/c", "a/+/b", "chk"})
            QVERIFY(broker.publish("chk/cmd", "\\get_state",
                                   {"-D", "publish", "response-topic", where}));
        for (const QByteArray &junk :
             {QByteArray("abc"), QByteArray("NaN"), QByteArray(R"({"c":5})"), QByteArray("0x20"),
              QByteArray(""), QByteArray("12.5"), QByteArray("256")})
            QVERIFY(broker.publish("chk/set/c", junk));
        QVERIFY(broker.publish("chk/set/c", "12.0"));
        QCOMPARE(packetsWithin(f.pty, 1), QList<QByteArray>{packet(1, 12, 0)});
        QTest::qWait(500);
        QVERIFY(f.pty.read(200).isEmpty());
        QCOMPARE(form.features().bus().bridge()->counts().answerRefused, quint64(3));
        QList<QString> answered;
        for (const QJsonObject &m : Broker::heard(*replies))
            answered << m["payload"].toString().trimmed();
        QCOMPARE(answered.size(), 8);
        for (int i = 0; i < 7; ++i)
            QVERIFY2(answered[i].startsWith(QStringLiteral("RPRT -1 not a relay code")),
                     qPrintable(answered[i]));
        QCOMPARE(answered[7], QStringLiteral("RPRT 0"));
    }

    // A followed radio's message that does not mention transmitting keeps the last word.
    void aFollowedMessageWithoutTxKeepsTheHold()
    {
        Broker broker;
        QVERIFY(broker.start());
        ConsoleFixture f;
        Form1 &form = start(f, broker, "hold", QStringLiteral("mqtt:radio/hold"));
        QTRY_VERIFY_WITH_TIMEOUT(online(form), 5000);
        QVERIFY(broker.publish("radio/hold", R"({"freq":7074000,"tx":true})"));
        QTRY_VERIFY(form.panel().state().held);
        f.pty.drain();
        QVERIFY(broker.publish("radio/hold", R"({"freq":14074000})"));
        QTest::qWait(500);
        QVERIFY(form.panel().state().held);
        QCOMPARE(form.panel().state().radio.transmitting, std::optional<bool>(true));
        QVERIFY(f.pty.read(200).isEmpty());
        QVERIFY(broker.publish("radio/hold", R"({"freq":14074000,"tx":false})"));
        QCOMPARE(packetsWithin(f.pty, 3).size(), 3);
    }

    // No packet from a broker ends the console: the client's own process may die, and is
    // started again.
    void noPacketFromABrokerEndsTheConsole_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        // Those that end the library's process: it must come back.
        QTest::addColumn<bool>("fatal");
        QTest::newRow("SUBACK with a property of no kind") << QByteArray::fromHex("2003000000"
                                                                                  "900400010500")
                                                           << true;
        QTest::newRow("UNSUBACK with a property of no kind")
            << QByteArray::fromHex("2003000000"
                                   "b0050001050000")
            << true;
        QRandomGenerator random(20261209);
        for (int i = 0; i < 12; ++i) {
            QByteArray noise(4096, Qt::Uninitialized);
            for (char &c : noise)
                c = char(random.bounded(256));
            QTest::newRow(qPrintable(QStringLiteral("random stream %1").arg(i)))
                << FakeBroker::connack() + noise << false;
        }
    }
    void noPacketFromABrokerEndsTheConsole()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, fatal);
        FakeBroker fake([&bytes](QTcpSocket &client) { client.write(bytes); });
        ConsoleFixture f;
        ConsoleEnvironment env = f.environment();
        env.mqttUrl = fake.url(QStringLiteral("fuzz"));
        f.writeSettings(SettingsImage().port(1).bytes());
        Form1 &form = f.start(env);
        QTRY_VERIFY_WITH_TIMEOUT(fake.connections() >= 1, 5000);
        const MqttClient &client = *form.features().bus().client();
        if (fatal) {
            // The library's process died of it; the console said so, and tries again.
            QTRY_VERIFY_WITH_TIMEOUT(client.counts().helperEnded >= 1, 5000);
            QTRY_VERIFY_WITH_TIMEOUT(fake.connections() >= 2, 5000);
        } else {
            QTest::qWait(1000);
        }
        // The console is still here, and its window works.
        QVERIFY(form.panel().enterCode(Panel::Bank::C, 5, Panel::Cause::Operator) ==
                Panel::Outcome::Done);
        QCOMPARE(form.panel().state().relays.codeC, quint8(5));
    }

    // What a broker may make the console hold is capped: answers it never acknowledges, and a
    // packet too large, which is refused as its length arrives.
    void whatABrokerMayMakeTheConsoleHoldIsCapped()
    {
        FakeBroker silent([](QTcpSocket &client) { client.write(FakeBroker::connack()); });
        MqttClient client;
        MqttClient::Options options;
        options.url = *MqttUrl::parse(silent.url(QStringLiteral("caps")));
        options.helper = QStringLiteral(ORVANE_PROGRAM_DIR "/orvane-mqtt");
        QString error;
        QVERIFY2(client.start(options, &error), qPrintable(error));
        QTRY_VERIFY_WITH_TIMEOUT(client.state() == MqttClient::State::Connected, 5000);
        for (int i = 0; i < 1000; ++i)
            QVERIFY(client.publish("caps/reply", "RPRT 0\n", false, 1, MqttClient::Priority::Keep));
        QCOMPARE(client.pending(), MqttClient::MaxPending);
        QCOMPARE(client.held(), MqttClient::MaxHeld);
        QCOMPARE(client.counts().answersDropped,
                 quint64(1000 - MqttClient::MaxPending - MqttClient::MaxHeld));

        // A PUBLISH that says it is 256 MB long: the helper refuses it, the console never
        // sees it, and nothing of it is held here.
        const qint64 before = residentKb();
        FakeBroker huge([](QTcpSocket &client) {
            client.write(FakeBroker::connack() + QByteArray::fromHex("30ffffff7f") +
                         QByteArray(64 * 1024, 'x'));
        });
        ConsoleFixture f;
        ConsoleEnvironment env = f.environment();
        env.mqttUrl = huge.url(QStringLiteral("huge"));
        f.writeSettings(SettingsImage().port(1).bytes());
        Form1 &form = f.start(env);
        QTRY_VERIFY_WITH_TIMEOUT(notes(form).contains(QStringLiteral("больше")), 5000);
        QVERIFY2(residentKb() - before < 30 * 1024,
                 qPrintable(QString::number(residentKb() - before)));
    }

    // A broker that takes the console and drops it at once, again and again: said once, and
    // tried ever less often.
    void aFlappingBrokerIsSaidOnce()
    {
        FakeBroker flapping([](QTcpSocket &client) {
            client.write(FakeBroker::connack());
            client.flush();
            client.disconnectFromHost();
        });
        ConsoleFixture f;
        ConsoleEnvironment env = f.environment();
        env.mqttUrl = flapping.url(QStringLiteral("flap"));
        f.writeSettings(SettingsImage().port(1).bytes());
        Form1 &form = f.start(env);
        QTest::qWait(6500);
        QVERIFY2(flapping.connections() <= 4, qPrintable(QString::number(flapping.connections())));
        QVERIFY2(notes(form).count(QStringLiteral("MQTT")) <= 3, qPrintable(notes(form)));
    }

    // The broker is told the largest packet the console takes, and keeps larger ones back.
    void aMessageLargerThanTheConsoleTakesNeverArrives()
    {
        Broker broker;
        QVERIFY(broker.start());
        ConsoleFixture f;
        Form1 &form = start(f, broker, "big");
        QTRY_VERIFY_WITH_TIMEOUT(online(form), 5000);
        QVERIFY(broker.publish("big/cmd", "\\set_c " + QByteArray(100 * 1024, '1')));
        QVERIFY(broker.publish("big/cmd", "\\set_c 21"));
        QCOMPARE(packetsWithin(f.pty, 1), QList<QByteArray>{packet(1, 21, 0)});
        QCOMPARE(form.features().bus().bridge()->counts().dropped, quint64(0));
        QCOMPARE(form.features().bus().client()->counts().receivedDropped, quint64(0));
    }

    // --follow mqtt:TOPIC: a radio's state another program publishes recalls its band.
    void theRadioIsFollowedFromATopic()
    {
        Broker broker;
        QVERIFY(broker.start());
        ConsoleFixture f;
        Form1 &form = start(f, broker, "follow", QStringLiteral("mqtt:radio/state"));
        QTRY_VERIFY_WITH_TIMEOUT(online(form), 5000);
        QVERIFY(broker.publish("radio/state", R"({"frequency": 7050000, "ptt": false})", {"-r"}));
        QCOMPARE(packetsWithin(f.pty, 3),
                 (QList<QByteArray>{packet(1, 7, 0), packet(2, 8, 0), packet(3, 0, 0)}));
        QVERIFY(broker.publish("radio/state", R"({"freq": "14074000", "tx": "ON"})"));
        QTRY_VERIFY(form.panel().state().held);
        QVERIFY(f.pty.read(300).isEmpty()); // nothing under RF

        // Turned to another radio's topic while connected, the console follows that one.
        QVERIFY(form.features().following().follow(QStringLiteral("mqtt:radio/second")));
        QTest::qWait(200);
        QVERIFY(broker.publish("radio/second", R"({"freq": 14200000})"));
        QCOMPARE(packetsWithin(f.pty, 3).size(), 3);
        QTRY_COMPARE(form.panel().state().selection.band, 4); // 20 m
    }
};

QTEST_MAIN(TestMqtt)
#include "tst_mqtt.moc"
