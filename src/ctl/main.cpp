// orvane-ctl: one command to a console's control port, its answer printed; or "watch", the
// console's state as it changes. Beyond this computer it speaks TLS, checks the console's
// certificate by its fingerprint and sends the password.

#include "net/credentials.h"
#include "net/hostport.h"
#include "net/identity.h"
#include "net/linereader.h"
#include "version.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSslSocket>

#include <cstdio>

namespace {

constexpr quint16 DefaultPort = 4534;
constexpr int WaitMs = 10000;

[[noreturn]] void fail(int status, const QString &why)
{
    std::fprintf(stderr, "orvane-ctl: %s\n", qPrintable(why));
    std::exit(status);
}

// The next line of the answer; the connection's end is a failure.
QByteArray nextLine(QSslSocket &socket, bool patient = false)
{
    QByteArray line;
    for (;;) {
        const LineReader::Status status = LineReader::next(socket, &line, 64 * 1024);
        if (status == LineReader::Status::Line)
            return line;
        if (status == LineReader::Status::TooLong)
            fail(1, QStringLiteral("the answer runs too long"));
        if (!socket.waitForReadyRead(patient ? -1 : WaitMs))
            fail(1, socket.state() == QAbstractSocket::ConnectedState
                        ? QStringLiteral("no answer")
                        : QStringLiteral("the console closed the connection"));
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("orvane-ctl"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ORVANE_VERSION_STRING));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Sends one command to an Orvane console's control port and prints the "
                       "answer; \"watch\" prints the console's state as it changes. The exit "
                       "status is 0 when the console answered RPRT 0."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption host(QStringLiteral("H"),
                                  QStringLiteral("The console's control port (127.0.0.1:4534 by "
                                                 "default)."),
                                  QStringLiteral("HOST[:PORT]"));
    const QCommandLineOption fingerprint(
        QStringLiteral("fingerprint"),
        QStringLiteral("The SHA-256 fingerprint of the console's certificate, as orvane "
                       "--control-fingerprint prints it; needed beyond this computer."),
        QStringLiteral("SHA256"));
    parser.addOptions({host, fingerprint});
    parser.addPositionalArgument(QStringLiteral("command"),
                                 QStringLiteral("A command (\\get_state, \\recall 1 40m 2, …) or "
                                                "watch."));
    parser.process(app);
    const QStringList words = parser.positionalArguments();
    if (words.isEmpty())
        fail(2, QStringLiteral("no command; try \\dump_caps"));
    const std::optional<HostPort> where = HostPort::parse(
        parser.isSet(host) ? parser.value(host) : QStringLiteral("127.0.0.1"), DefaultPort);
    if (!where)
        fail(2, QStringLiteral("invalid -H \"%1\"").arg(parser.value(host)));
    QString error;
    const QList<QHostAddress> addresses = where->resolve(&error);
    if (addresses.isEmpty())
        fail(2, error);
    const bool loopback = std::all_of(addresses.begin(), addresses.end(),
                                      [](const QHostAddress &a) { return a.isLoopback(); });

    QSslSocket socket;
    if (loopback && !parser.isSet(fingerprint)) {
        socket.connectToHost(addresses.first(), where->port);
        if (!socket.waitForConnected(WaitMs))
            fail(1, where->text() + QStringLiteral(": ") + socket.errorString());
    } else {
        // The console's certificate is its own: it is trusted by its fingerprint alone.
        socket.setPeerVerifyMode(QSslSocket::VerifyNone);
        socket.connectToHostEncrypted(addresses.first().toString(), where->port);
        if (!socket.waitForEncrypted(WaitMs))
            fail(1, where->text() + QStringLiteral(": ") + socket.errorString());
        const QString seen = Identity::fingerprintOf(socket.peerCertificate());
        if (seen.compare(parser.value(fingerprint).trimmed(), Qt::CaseInsensitive) != 0)
            fail(3, QStringLiteral("the console's certificate has the fingerprint %1; if that is "
                                   "what orvane --control-fingerprint says on its computer, give "
                                   "it with --fingerprint")
                        .arg(seen));
        QString password = qEnvironmentVariable("ORVANE_PASSWORD");
        if (password.isEmpty())
            password = Credentials::readSecret("Password: ");
        socket.write("\\auth " + password.toUtf8() + '\n');
        if (nextLine(socket) != "RPRT 0")
            fail(1, QStringLiteral("the password was refused"));
    }

    if (words == QStringList{QStringLiteral("watch")}) {
        socket.write("\\subscribe\n");
        for (;;) {
            const QByteArray line = nextLine(socket, true);
            if (line.startsWith('!')) {
                std::printf("%s\n", line.constData());
                std::fflush(stdout);
            }
        }
    }
    // The extended form ends every answer with its RPRT line.
    socket.write("+" + words.join(QLatin1Char(' ')).toUtf8() + '\n');
    for (bool first = true;; first = false) {
        const QByteArray line = nextLine(socket);
        if (line.startsWith('!'))
            continue; // pushed, not the answer
        if (line.startsWith("RPRT ")) {
            const int code = line.mid(5).toInt();
            if (code != 0)
                std::fprintf(stderr, "orvane-ctl: %s\n", line.constData());
            return code == 0 ? 0 : 1;
        }
        if (!first) // the first line names the command
            std::printf("%s\n", line.constData());
    }
}
