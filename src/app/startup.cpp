#include "startup.h"

#include <QApplication>
#include <QDir>

#include <cstdio>
#include <cstdlib>

namespace {

// Qt options that take a value, as "-platform offscreen" or "-platform=offscreen".
const QStringList &qtValueOptions()
{
    static const QStringList options{QStringLiteral("platform"),
                                     QStringLiteral("platformpluginpath"),
                                     QStringLiteral("platformtheme"),
                                     QStringLiteral("plugin"),
                                     QStringLiteral("qwindowgeometry"),
                                     QStringLiteral("qwindowicon"),
                                     QStringLiteral("qwindowtitle"),
                                     QStringLiteral("session"),
                                     QStringLiteral("display"),
                                     QStringLiteral("geometry"),
                                     QStringLiteral("style"),
                                     QStringLiteral("stylesheet"),
                                     QStringLiteral("name"),
                                     QStringLiteral("title"),
                                     QStringLiteral("icon"),
                                     QStringLiteral("qmljsdebugger")};
    return options;
}

const QStringList &qtFlags()
{
    static const QStringList flags{QStringLiteral("reverse"), QStringLiteral("widgetcount"),
                                   QStringLiteral("nograb"), QStringLiteral("dograb"),
                                   QStringLiteral("sync")};
    return flags;
}

QStringList g_heldMessages;
const char *g_program = "orvane";

void displayMessageHandler(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type == QtFatalMsg) {
        const QByteArray display = qgetenv("DISPLAY");
        std::fprintf(stderr, "%s: no display could be opened (DISPLAY=%s)\n", g_program,
                     display.isEmpty() ? "not set" : display.constData());
        std::fflush(stderr);
        std::_Exit(1);
    }
    g_heldMessages << qFormatLogMessage(type, context, text);
}

} // namespace

QStringList withoutQtOptions(const QStringList &arguments)
{
    QStringList kept;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (i == 0 || !argument.startsWith(QLatin1Char('-'))) {
            kept << argument;
            continue;
        }
        QString name = argument.mid(argument.startsWith(QLatin1String("--")) ? 2 : 1);
        const qsizetype equals = name.indexOf(QLatin1Char('='));
        if (equals >= 0)
            name.truncate(equals);
        if (qtFlags().contains(name))
            continue;
        if (qtValueOptions().contains(name)) {
            if (equals < 0)
                ++i; // the value follows
            continue;
        }
        kept << argument;
    }
    return kept;
}

QString qtOptionsHelp()
{
    return QStringLiteral(
        "Qt options:\n"
        "  -platform NAME[:OPTIONS]  Windowing system plugin (xcb, wayland, offscreen, ...).\n"
        "  -platformtheme NAME       Platform theme.\n"
        "  -style NAME               Widget style (Fusion, Windows, ...).\n"
        "  -stylesheet FILE          Style sheet applied to the whole application.\n"
        "  -reverse                  Right-to-left layout.\n"
        "  -qwindowgeometry GEOMETRY Geometry of the first window.\n"
        "  -qwindowtitle TITLE       Title of the first window.\n"
        "  -display DISPLAY          X display to use (xcb).\n"
        "  -session SESSION          Restore the given session.\n");
}

ProgramFolders programFoldersOf(const QString &executableDir)
{
    const QDir here(executableDir);
    const QString shared =
        QDir::cleanPath(here.absoluteFilePath(QStringLiteral("../share/orvane")));
    const bool installed =
        !here.exists(QStringLiteral("img")) && QDir(shared).exists(QStringLiteral("img"));
    return {installed ? QString() : executableDir, {executableDir, shared}};
}

void ignoreRelativeXdgFolders()
{
    for (const char *name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME",
                             "XDG_RUNTIME_DIR"}) {
        const QString value = qEnvironmentVariable(name);
        if (!value.isEmpty() && !QDir::isAbsolutePath(value))
            qunsetenv(name);
    }
}

std::unique_ptr<QApplication> openDisplay(int &argc, char **argv, const char *program)
{
    g_program = program;
    const QtMessageHandler previous = qInstallMessageHandler(displayMessageHandler);
    auto app = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(previous);
    // What Qt said on the way to a display that did open is still worth reading.
    for (const QString &message : std::as_const(g_heldMessages))
        std::fprintf(stderr, "%s\n", qPrintable(message));
    g_heldMessages.clear();
    return app;
}
