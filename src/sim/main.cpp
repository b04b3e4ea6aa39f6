// orvane-sim: a virtual tuner controller. It listens where the real one would, decodes every
// packet into relay states and shows them, for trying the console without a tuner, for the
// tests, and as a monitor of a real line.

#include "app/language.h"
#include "app/signals.h"
#include "app/startup.h"
#include "endpoint.h"
#include "loadmodel.h"
#include "relaystate.h"
#include "rigserver.h"
#include "simwindow.h"
#include "tune/tunerparts.h"
#include "version.h"
#include "virtualcontroller.h"

#include <QApplication>
#include <QCommandLineParser>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <tuple>

namespace {

void say(const QString &line)
{
    std::fprintf(stdout, "%s\n", qPrintable(line));
    std::fflush(stdout);
}

[[noreturn]] void fail(const QString &why)
{
    std::fprintf(stderr, "orvane-sim: %s\n", qPrintable(why));
    std::exit(2);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setOrganizationName(QStringLiteral("Orvane"));
    QCoreApplication::setApplicationName(QStringLiteral("orvane-sim"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ORVANE_VERSION_STRING));
    ignoreRelativeXdgFolders();
    ignoreBrokenPipes();

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Virtual tuner controller: listens where the controller would, decodes "
                       "the console's packets and shows the relays."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption pty(QStringLiteral("pty"),
                                 QStringLiteral("Listen on a new pseudo-terminal (the default); "
                                                "its device is the first line printed."));
    const QCommandLineOption link(
        QStringLiteral("link"),
        QStringLiteral("Keep a symbolic link at PATH to the current pseudo-terminal."),
        QStringLiteral("PATH"));
    const QCommandLineOption device(
        QStringLiteral("device"),
        QStringLiteral("Read an existing serial device at 9600,n,8,1 (a line monitor)."),
        QStringLiteral("PATH"));
    const QCommandLineOption listen(
        QStringLiteral("listen"),
        QStringLiteral("Accept one TCP connection at a time and read raw bytes."),
        QStringLiteral("HOST:PORT"));
    const QCommandLineOption steps(QStringLiteral("steps"),
                                   QStringLiteral("Relay steps: picofarads per C step and "
                                                  "nanohenries per L step (default 12,50)."),
                                   QStringLiteral("C_PF,L_NH"));
    const QCommandLineOption conf(
        QStringLiteral("conf"),
        QStringLiteral("Take the steps from a console's conf.cfg, again whenever it changes."),
        QStringLiteral("PATH"));
    const QCommandLineOption headlessOption(QStringLiteral("headless"),
                                            QStringLiteral("Run without a window or display."));
    const QCommandLineOption log(
        QStringLiteral("log"),
        QStringLiteral("Append one JSON object per line for every packet and error."),
        QStringLiteral("FILE"));
    const QCommandLineOption load(
        QStringLiteral("load"),
        QStringLiteral("The antenna on the tuner's output, R,X in ohms; F:R,X for the band of F "
                       "MHz. May be given once per band."),
        QStringLiteral("[F:]R,X"));
    const QCommandLineOption resonant(
        QStringLiteral("antenna"),
        QStringLiteral("A resonant antenna on the tuner's output: Z(f) = R + jRQ(f/F0 - F0/f), "
                       "F0 in MHz; a --load for a band stands before it."),
        QStringLiteral("F0,R,Q"));
    const QCommandLineOption antennaFile(
        QStringLiteral("antenna-file"),
        QStringLiteral("A measured antenna on the tuner's output: a Touchstone one-port file "
                       "(.s1p) or a CSV of frequency Hz,R,X, linear between its points."),
        QStringLiteral("FILE"));
    const QCommandLineOption partsC(
        QStringLiteral("parts-c"),
        QStringLiteral("The tuner's eight capacitors in pF, bit 0 first, where they differ "
                       "from the steps' binary multiples."),
        QStringLiteral("PF,..."));
    const QCommandLineOption partsL(QStringLiteral("parts-l"),
                                    QStringLiteral("The tuner's eight coils in nH, bit 0 first."),
                                    QStringLiteral("NH,..."));
    const QCommandLineOption strayC(
        QStringLiteral("stray-c"),
        QStringLiteral("A stray capacitance across the capacitors, wherever the side relay "
                       "puts them, pF."),
        QStringLiteral("PF"));
    const QCommandLineOption coilQ(QStringLiteral("coil-q"),
                                   QStringLiteral("The coils' Q: a series loss of ωL/Q."),
                                   QStringLiteral("Q"));
    const QCommandLineOption rigctld(
        QStringLiteral("rigctld"),
        QStringLiteral("Answer as rigctld would for a radio on this station: frequency, "
                       "transmit state and the SWR through the relays."),
        QStringLiteral("HOST:PORT"));
    const QCommandLineOption minPower(
        QStringLiteral("min-power"),
        QStringLiteral("The radio's least power, 0–1 of its 100 W: a lower setting is taken and "
                       "this kept, as some radios do."),
        QStringLiteral("FRACTION"));
    const QCommandLineOption lang(QStringLiteral("lang"),
                                  QStringLiteral("The language of the window: ru or en."),
                                  QStringLiteral("ru|en"));
    parser.addOptions({pty, link, device, listen, steps, conf, headlessOption, log, load, resonant,
                       antennaFile, partsC, partsL, strayC, coilQ, rigctld, minPower, lang});
    // Help, the version and bad options need no display, whatever else is asked.
    {
        const QCoreApplication probe(argc, argv);
        if (!parser.parse(withoutQtOptions(QCoreApplication::arguments())))
            fail(parser.errorText());
        if (parser.isSet(help)) {
            std::fputs(qPrintable(parser.helpText()), stdout);
            return 0;
        }
        if (parser.isSet(version)) {
            say(QCoreApplication::applicationName() + QLatin1Char(' ') +
                QCoreApplication::applicationVersion());
            return 0;
        }
    }
    const bool headless = parser.isSet(headlessOption);
    std::unique_ptr<QCoreApplication> app;
    if (headless)
        app = std::make_unique<QCoreApplication>(argc, argv);
    else
        app = openDisplay(argc, argv, "orvane-sim");

    const std::optional<Language> named = languageNamed(parser.value(lang));
    if (parser.isSet(lang) && !named)
        fail(QStringLiteral("invalid --lang \"%1\": expected ru or en").arg(parser.value(lang)));
    useLanguage(named.value_or(languageFor(QLocale::system())));
    if (!parser.positionalArguments().isEmpty())
        fail(
            QStringLiteral("unexpected argument \"%1\"").arg(parser.positionalArguments().first()));
    if (int(parser.isSet(pty)) + int(parser.isSet(device)) + int(parser.isSet(listen)) > 1)
        fail(QStringLiteral("--pty, --device and --listen exclude each other"));

    VirtualController controller;
    QString error;
    if (parser.isSet(steps)) {
        const std::optional<RelaySteps> given = RelaySteps::parse(parser.value(steps));
        if (!given)
            fail(QStringLiteral("invalid --steps \"%1\": expected C_PF,L_NH")
                     .arg(parser.value(steps)));
        controller.setSteps(*given);
    }
    if (parser.isSet(conf) && !controller.followConf(parser.value(conf), &error))
        fail(error);
    if (parser.isSet(log) && !controller.openLog(parser.value(log), &error))
        fail(error);

    LoadModel antenna;
    double startHz = 7.1e6;
    for (const QString &text : parser.values(load)) {
        const std::optional<LoadModel::Entry> entry = LoadModel::parse(text);
        if (!entry)
            fail(QStringLiteral("invalid --load \"%1\": expected R,X or F:R,X").arg(text));
        antenna.add(*entry);
        if (entry->megahertz && startHz == 7.1e6)
            startHz = *entry->megahertz * 1e6;
    }
    if (parser.isSet(resonant)) {
        const std::optional<LoadModel::Resonant> model =
            LoadModel::parseResonant(parser.value(resonant));
        if (!model)
            fail(QStringLiteral("invalid --antenna \"%1\": expected F0,R,Q")
                     .arg(parser.value(resonant)));
        antenna.setResonant(*model);
        startHz = model->f0;
    }
    if (parser.isSet(antennaFile)) {
        const std::optional<AntennaMeasurement> measured =
            AntennaMeasurement::readFile(parser.value(antennaFile), &error);
        if (!measured)
            fail(QStringLiteral("invalid --antenna-file: %1").arg(error));
        antenna.setMeasurement(*measured);
    }
    LoadModel::Parts parts;
    for (const auto &[option, values, max] :
         {std::tuple(&partsC, &parts.capacitorsPf, TunerParts::MaxCapacitorPf),
          std::tuple(&partsL, &parts.coilsNh, TunerParts::MaxCoilNh)}) {
        if (!parser.isSet(*option))
            continue;
        *values = TunerParts::parseValues(parser.value(*option), max, &error);
        if (!*values)
            fail(QStringLiteral("invalid --%1: %2").arg(option->names().first(), error));
    }
    for (const auto &[option, value, max] :
         {std::tuple(&strayC, &parts.strayPf, TunerParts::MaxStrayPf),
          std::tuple(&coilQ, &parts.coilQ, TunerParts::MaxCoilQ)}) {
        if (!parser.isSet(*option))
            continue;
        bool ok = false;
        *value = parser.value(*option).toDouble(&ok);
        if (!ok || !(*value >= 0) || *value > max)
            fail(QStringLiteral("invalid --%1 \"%2\": expected 0 to %3")
                     .arg(option->names().first(), parser.value(*option))
                     .arg(max));
    }
    antenna.setParts(parts);
    std::unique_ptr<RigServer> radio;
    if (parser.isSet(rigctld)) {
        const std::optional<HostPort> where = HostPort::parse(parser.value(rigctld));
        if (!where)
            fail(QStringLiteral("invalid --rigctld \"%1\": expected HOST:PORT")
                     .arg(parser.value(rigctld)));
        radio = std::make_unique<RigServer>(controller, antenna, startHz);
        if (parser.isSet(minPower)) {
            bool ok = false;
            const double least = parser.value(minPower).toDouble(&ok);
            if (!ok || !(least >= 0) || least > 1)
                fail(QStringLiteral("invalid --min-power \"%1\": expected 0–1")
                         .arg(parser.value(minPower)));
            radio->setMinimumPower(least);
        }
        if (!radio->listen(*where, &error))
            fail(error);
        QObject::connect(radio.get(), &RigServer::commanded, &controller,
                         &VirtualController::noteRadio);
    }

    std::unique_ptr<SimEndpoint> endpoint;
    if (parser.isSet(listen)) {
        const std::optional<HostPort> where = HostPort::parse(parser.value(listen));
        if (!where)
            fail(QStringLiteral("invalid --listen \"%1\": expected HOST:PORT")
                     .arg(parser.value(listen)));
        endpoint = std::make_unique<TcpEndpoint>(*where);
    } else if (endpoint = localEndpoint(parser.value(device), parser.value(link), &error);
               !endpoint) {
        fail(error);
    }
    if (!endpoint->start(&error))
        fail(error);
    QObject::connect(endpoint.get(), &SimEndpoint::received, &controller,
                     &VirtualController::receive);
    QObject::connect(endpoint.get(), &SimEndpoint::moved, &controller, [&](const QString &where) {
        controller.endOfStream();
        say(where);
    });
    say(endpoint->where());

    // SIGUSR1 pulls the plug, as the window's button does; Ctrl+C or a script's kill ends
    // the controller cleanly, removing its link.
#ifdef Q_OS_UNIX
    handleSignals({SIGUSR1, SIGINT, SIGTERM, SIGHUP}, [&](int signal) {
        if (signal == SIGUSR1)
            endpoint->unplug();
        else
            QCoreApplication::quit();
    });
#endif

    std::unique_ptr<SimWindow> window;
    if (!headless) {
        window = std::make_unique<SimWindow>(controller, *endpoint, radio.get());
        window->show();
    }
    return app->exec();
}
