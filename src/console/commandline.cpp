#include "commandline.h"

#include "app/startup.h"
#include "backup/csv.h"
#include "control/controlport.h"
#include "mqtt/mqttclient.h"
#include "rig/followsource.h"
#include "rig/rigctldclient.h"
#include "web/webserver.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace {
// Usage errors end with status 2, as command-line tools do.
constexpr int UsageError = 2;
} // namespace

std::optional<Language> languageAsked(const QStringList &arguments)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &word = arguments[i];
        if (word == QLatin1String("--lang") || word == QLatin1String("-lang"))
            return languageNamed(arguments.value(i + 1));
        if (word.startsWith(QLatin1String("--lang=")))
            return languageNamed(word.mid(7));
    }
    return std::nullopt;
}

CommandLine parseCommandLine(const QStringList &arguments, const PortMap &ports)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Control console for the relay block of an antenna tuner."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption port(
        QStringLiteral("port"),
        QStringLiteral("Use DEVICE for port number N (1-16); may be given more than once. "
                       "Overrides the ports/N keys of the user's settings."),
        QStringLiteral("N=DEVICE"));
    parser.addOption(port);
    const QCommandLineOption comport(
        QStringLiteral("comport"),
        QStringLiteral("Choose port number N (1-16) in the Comport list, as the list does: the "
                       "port opens and the number is kept in conf.cfg. Without it, a console "
                       "whose conf.cfg has no port chosen (a first start) takes the one --port "
                       "given, when exactly one is."),
        QStringLiteral("N"));
    parser.addOption(comport);
    const QCommandLineOption rig(
        QStringLiteral("rig"),
        QStringLiteral("Follow the band of the radio behind rigctld at HOST (port 4532 unless "
                       "given). Overrides rig/address of the user's settings."),
        QStringLiteral("HOST[:PORT]"));
    parser.addOption(rig);
    const QCommandLineOption follow(
        QStringLiteral("follow"),
        QStringLiteral("Follow the radio's band from SOURCE: rigctld:HOST[:PORT], "
                       "udp-radioinfo[:[GROUP:]PORT] (a logger's RadioInfo, port 12060), "
                       "wsjtx[:[GROUP:]PORT] (WSJT-X, port 2237), "
                       "hamlib-multicast[:GROUP:PORT] (224.0.1.1:4532). Without GROUP only "
                       "programs on this computer are heard. Overrides rig/address."),
        QStringLiteral("SOURCE"));
    parser.addOption(follow);
    const QCommandLineOption exportOption(
        QStringLiteral("export"),
        QStringLiteral("Write the 150 memory slots and the relay steps to FILE as CSV (- for "
                       "standard output) and exit. Needs no display."),
        QStringLiteral("FILE"));
    const QCommandLineOption importOption(
        QStringLiteral("import"),
        QStringLiteral("Read memory slots and relay steps from a CSV FILE into conf.cfg (kept "
                       "as conf.cfg.bak) and exit. Refused while a console runs."),
        QStringLiteral("FILE"));
    const QCommandLineOption antennaOption(
        QStringLiteral("import-antenna"),
        QStringLiteral("Read antenna ANT's (1-3) measurement from FILE, given after the option "
                       "(Touchstone .s1p, or CSV of frequency Hz,R,X), into the frequency "
                       "memory, compute every band's tunes from it, print a line a band and "
                       "exit. The previous measurement is kept for an undo. Refused while a "
                       "console runs."),
        QStringLiteral("ANT"));
    parser.addOptions({exportOption, importOption, antennaOption});
    const QCommandLineOption lang(QStringLiteral("lang"),
                                  QStringLiteral("The language of the window: ru or en. By "
                                                 "default Russian on Russian and C locales, "
                                                 "English elsewhere."),
                                  QStringLiteral("ru|en"));
    parser.addOption(lang);
    const QCommandLineOption control(
        QStringLiteral("control"),
        QStringLiteral(
            "Open the control port at [HOST:]PORT (default: 127.0.0.1:4534; a port "
            "alone is on 127.0.0.1; off: none). Beyond this computer it needs the password "
            "and speaks TLS. Overrides control/address of the user's settings."),
        QStringLiteral("[HOST:]PORT|default|off"));
    const QCommandLineOption headless(
        QStringLiteral("headless"),
        QStringLiteral("Run the console without a window or a display: band following and the "
                       "control port work as with one. SIGTERM ends it."));
    const QCommandLineOption password(
        QStringLiteral("set-control-password"),
        QStringLiteral("Ask for the control port's password (empty: none) and keep it, hashed, "
                       "in the user's settings; then exit."));
    const QCommandLineOption viewerPassword(
        QStringLiteral("set-web-viewer-password"),
        QStringLiteral("Ask for the web page's second password (empty: none), which sees "
                       "everything and changes nothing, and keep it hashed; then exit."));
    const QCommandLineOption fingerprint(
        QStringLiteral("control-fingerprint"),
        QStringLiteral("Print the SHA-256 fingerprint of the control port's TLS certificate "
                       "(made at first use) and exit."));
    const QCommandLineOption web(
        QStringLiteral("web"),
        QStringLiteral(
            "Serve the web page at [HOST:]PORT (default: 127.0.0.1:8434; a port "
            "alone is on 127.0.0.1; off: none). Beyond this computer it needs the "
            "control password and speaks HTTPS. Overrides web/address of the user's settings."),
        QStringLiteral("[HOST:]PORT|default|off"));
    parser.addOptions({control, web, headless, password, viewerPassword, fingerprint});
    const QCommandLineOption mqtt(
        QStringLiteral("mqtt"),
        QStringLiteral("Join the station's MQTT broker: mqtt://[USER@]HOST[:PORT]/PREFIX, or "
                       "mqtts:// for TLS (off: none). The prefix defaults to orvane/<hostname>. "
                       "Overrides mqtt/url of the user's settings."),
        QStringLiteral("URL|off"));
    const QCommandLineOption mqttCa(QStringLiteral("mqtt-ca"),
                                    QStringLiteral("The CA certificates for mqtts:// (PEM); "
                                                   "the system's otherwise."),
                                    QStringLiteral("FILE"));
    const QCommandLineOption mqttReadOnly(
        QStringLiteral("mqtt-read-only"),
        QStringLiteral("Publish the state on the broker and take no command from it."));
    const QCommandLineOption mqttDiscovery(
        QStringLiteral("mqtt-discovery"),
        QStringLiteral("Publish Home Assistant's discovery documents (prefix homeassistant)."));
    const QCommandLineOption mqttPassword(
        QStringLiteral("set-mqtt-password"),
        QStringLiteral("Ask for the broker's password (empty: none) and keep it in a file only "
                       "this user can read; then exit."));
    parser.addOptions({mqtt, mqttCa, mqttReadOnly, mqttDiscovery, mqttPassword});

    CommandLine result;
    result.ports = ports;
    if (!parser.parse(withoutQtOptions(arguments))) {
        result.run = false;
        result.exitCode = UsageError;
        result.error = parser.errorText();
        return result;
    }
    const bool helpAll = parser.isSet(QStringLiteral("help-all"));
    if (parser.isSet(help) || helpAll) {
        result.run = false;
        result.output = parser.helpText();
        if (helpAll)
            result.output += QLatin1Char('\n') + qtOptionsHelp();
        return result;
    }
    if (parser.isSet(version)) {
        result.run = false;
        result.output = QCoreApplication::applicationName() + QLatin1Char(' ') +
                        QCoreApplication::applicationVersion() + QLatin1Char('\n');
        return result;
    }
    for (const QString &value : parser.values(port)) {
        QString error;
        const auto assignment = PortMap::parseAssignment(value, &error);
        if (!assignment) {
            result.run = false;
            result.exitCode = UsageError;
            result.error = error;
            return result;
        }
        result.ports.map(assignment->port, assignment->device);
        result.givenPorts << *assignment;
    }
    if (parser.isSet(comport)) {
        bool ok = false;
        result.comport = parser.value(comport).toInt(&ok);
        if (!ok || !PortMap::isPortNumber(result.comport)) {
            result.run = false;
            result.exitCode = UsageError;
            result.error = QCoreApplication::translate("CommandLine",
                                                       "неверный --comport «%1»: нужно от 1 до 16")
                               .arg(parser.value(comport));
            return result;
        }
    }
    if (parser.isSet(lang)) {
        result.language = languageNamed(parser.value(lang));
        if (!result.language) {
            result.run = false;
            result.exitCode = UsageError;
            result.error =
                QCoreApplication::translate("CommandLine", "неверный --lang «%1»: нужно ru или en")
                    .arg(parser.value(lang));
            return result;
        }
    }
    if (parser.isSet(exportOption) && parser.isSet(importOption)) {
        result.run = false;
        result.exitCode = UsageError;
        result.error =
            QCoreApplication::translate("CommandLine", "--export и --import не даются вместе");
        return result;
    }
    for (const QCommandLineOption *option : {&exportOption, &importOption}) {
        if (!parser.isSet(*option))
            continue;
        const QString path = parser.value(*option);
        if (path.isEmpty()) {
            result.run = false;
            result.exitCode = UsageError;
            result.error = QCoreApplication::translate(
                               "CommandLine", "--%1: нужно имя файла (- для стандартного %2)")
                               .arg(option->names().constFirst(),
                                    option == &exportOption
                                        ? QCoreApplication::translate("CommandLine", "вывода")
                                        : QCoreApplication::translate("CommandLine", "ввода"));
            return result;
        }
        (option == &exportOption ? result.exportPath : result.importPath) = path;
    }
    result.headless = parser.isSet(headless);
    result.setControlPassword = parser.isSet(password);
    result.setViewerPassword = parser.isSet(viewerPassword);
    result.controlFingerprint = parser.isSet(fingerprint);
    result.setMqttPassword = parser.isSet(mqttPassword);
    result.mqttReadOnly = parser.isSet(mqttReadOnly);
    result.mqttDiscovery = parser.isSet(mqttDiscovery);
    result.mqttCa = parser.value(mqttCa);
    if (parser.isSet(mqtt)) {
        result.mqttUrl = parser.value(mqtt);
        QString why;
        if (result.mqttUrl != QLatin1String("off") && !MqttUrl::parse(result.mqttUrl, &why)) {
            result.run = false;
            result.exitCode = UsageError;
            result.error = QCoreApplication::translate("CommandLine", "неверный --mqtt «%1»: %2")
                               .arg(result.mqttUrl, why);
            return result;
        }
    }
    // "default" names the usual address, for the option that must have a value.
    const auto address = [&](const QCommandLineOption &option, quint16 port) {
        const QString value = parser.value(option);
        return value == QLatin1String("default") ? QStringLiteral("127.0.0.1:%1").arg(port) : value;
    };
    if (parser.isSet(control)) {
        result.controlAddress = address(control, ControlPort::DefaultPort);
        if (result.controlAddress != QLatin1String("off") &&
            !ControlPort::parseAddress(result.controlAddress)) {
            result.run = false;
            result.exitCode = UsageError;
            result.error = QCoreApplication::translate(
                               "CommandLine", "неверный --control «%1»: нужно [УЗЕЛ:]ПОРТ или off")
                               .arg(result.controlAddress);
            return result;
        }
    }
    if (parser.isSet(web)) {
        result.webAddress = address(web, WebServer::DefaultPort);
        if (result.webAddress != QLatin1String("off") &&
            !WebServer::parseAddress(result.webAddress)) {
            result.run = false;
            result.exitCode = UsageError;
            result.error = QCoreApplication::translate(
                               "CommandLine", "неверный --web «%1»: нужно [УЗЕЛ:]ПОРТ или off")
                               .arg(result.webAddress);
            return result;
        }
    }
    if (parser.isSet(rig) && parser.isSet(follow)) {
        result.run = false;
        result.exitCode = UsageError;
        result.error =
            QCoreApplication::translate("CommandLine", "--rig и --follow не даются вместе");
        return result;
    }
    if (parser.isSet(follow)) {
        result.rigAddress = parser.value(follow);
        if (!FollowSource::parse(result.rigAddress)) {
            result.run = false;
            result.exitCode = UsageError;
            result.error =
                QCoreApplication::translate("CommandLine", "неверный --follow «%1»: см. --help")
                    .arg(result.rigAddress);
            return result;
        }
    }
    if (parser.isSet(rig)) {
        result.rigAddress = parser.value(rig);
        if (!RigctldClient::parseAddress(result.rigAddress)) {
            result.run = false;
            result.exitCode = UsageError;
            result.error = QCoreApplication::translate(
                               "CommandLine", "неверный --rig «%1»: нужно УЗЕЛ или УЗЕЛ:ПОРТ")
                               .arg(result.rigAddress);
            return result;
        }
        // A host may be called like a source.
        result.rigAddress = QStringLiteral("rigctld:") + result.rigAddress;
    }
    QStringList positional = parser.positionalArguments();
    if (parser.isSet(antennaOption)) {
        const std::optional<int> antenna = Csv::number(parser.value(antennaOption), 1, 3);
        if (!antenna || positional.isEmpty()) {
            result.run = false;
            result.exitCode = UsageError;
            result.error = QStringLiteral("--import-antenna: expected ANT (1-3) and FILE");
            return result;
        }
        result.antennaImport = std::pair(*antenna, positional.takeFirst());
    }
    if (!positional.isEmpty()) {
        result.run = false;
        result.exitCode = UsageError;
        result.error = QCoreApplication::translate("CommandLine", "лишний аргумент «%1»")
                           .arg(positional.constFirst());
    }
    return result;
}
