// orvane-guard: started by the console before a job of its own keys the radio. It reads the
// console's heartbeat on its standard input; when the console's end of the pipe closes or the
// heartbeat stops, it unkeys the radio and puts it back on a connection of its own, clears the
// console's journal of that job, and ends. Told that the job ended, it just ends.

#include "rig/carrierguard.h"
#include "rig/carrierjournal.h"
#include "rig/rigrescue.h"
#include "version.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QTimer>

#include <atomic>
#include <cstdio>
#include <thread>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#else
#include <csignal>
#endif

namespace {

// A radio that never answers again is left to the journal and the next console.
constexpr int GiveUpMs = 15 * 60 * 1000;

std::atomic<qint64> g_lastBeat{0};
std::atomic<bool> g_gone{false};
std::atomic<bool> g_released{false};

qint64 now()
{
    return QDateTime::currentMSecsSinceEpoch();
}

} // namespace

int main(int argc, char *argv[])
{
#ifndef Q_OS_WIN
    // Whoever read the console's messages may be gone with it: a message to nobody must not
    // end the guard, nor a hangup of a terminal it never had.
    ::signal(SIGPIPE, SIG_IGN);
    ::signal(SIGHUP, SIG_IGN);
#endif
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("orvane-guard"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ORVANE_VERSION_STRING));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Unkeys the radio and puts it back when the Orvane console that started it dies."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption rigOption(QStringLiteral("rig"), QStringLiteral("rigctld"),
                                       QStringLiteral("HOST:PORT"));
    const QCommandLineOption putBackOption(QStringLiteral("put-back"),
                                           QStringLiteral("the radio's state to put back"),
                                           QStringLiteral("HZ MODE PASSBAND POWER"));
    const QCommandLineOption journalOption(QStringLiteral("journal"),
                                           QStringLiteral("the folder of the console's journal"),
                                           QStringLiteral("FOLDER"));
    const QCommandLineOption jobOption(QStringLiteral("job"), QStringLiteral("the job's name"),
                                       QStringLiteral("NAME"));
    parser.addOptions({rigOption, putBackOption, journalOption, jobOption});
    parser.process(app);
    const std::optional<HostPort> rig = HostPort::parse(parser.value(rigOption));
    const std::optional<RadioSnapshot> putBack =
        RadioSnapshot::parse(parser.value(putBackOption).toLatin1());
    if (!rig || !putBack) {
        std::fputs("orvane-guard: --rig HOST:PORT and --put-back are needed\n", stderr);
        return 2;
    }
    const QString journal = parser.value(journalOption);
    const QString job = parser.value(jobOption);

    // The pipe is read on a thread of its own: a blocking read works on every platform.
    g_lastBeat = now();
    RigRescue rescue(*rig, putBack);
    bool acting = false;
    const auto act = [&](const char *why) {
        if (acting)
            return;
        acting = true;
        std::fprintf(stderr, "orvane-guard: %s: unkeying the radio at %s\n", why,
                     qPrintable(rig->text()));
        rescue.start();
        QTimer::singleShot(GiveUpMs, &app, [] {
            std::fputs("orvane-guard: the radio never answered; the journal stays\n", stderr);
            QCoreApplication::exit(1);
        });
    };
    QObject::connect(&rescue, &RigRescue::finished, &app, [&] {
        if (!journal.isEmpty())
            CarrierJournal::clear(journal, job);
        std::fputs("orvane-guard: the radio is unkeyed and put back\n", stderr);
        QCoreApplication::exit(0);
    });
#ifdef Q_OS_WIN
    _setmode(_fileno(stdin), _O_BINARY);
#endif
    std::thread reader([] {
        for (;;) {
            const int byte = std::fgetc(stdin);
            if (byte == CarrierGuard::Done) {
                g_released = true;
                return;
            }
            if (byte == EOF) {
                g_gone = true;
                return;
            }
            g_lastBeat = now();
        }
    });
    reader.detach();
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, &app, [&] {
        if (acting)
            return;
        if (g_released)
            QCoreApplication::exit(0);
        else if (g_gone)
            act("the console's end of the pipe closed");
        else if (now() - g_lastBeat > CarrierGuard::SilenceMs)
            act("the console's heartbeat stopped");
    });
    watch.start(100);
    return app.exec();
}
