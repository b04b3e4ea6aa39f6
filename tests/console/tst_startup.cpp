#include "app/startup.h"
#include "support/programs.h"

#include <QFile>
#include <QProcess>
#include <QTest>

// The real console started as a desktop or a script starts it: no display, Qt's own
// options, the help texts.
class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void withoutADisplayTheConsoleSaysSoInOneLine_data()
    {
        QTest::addColumn<QString>("display");
        QTest::newRow("no DISPLAY") << "";
        QTest::newRow("unreachable DISPLAY") << ":97";
    }
    void withoutADisplayTheConsoleSaysSoInOneLine()
    {
        QFETCH(QString, display);
        ProgramFolder folder;
        QVERIFY(folder.isValid());
        QProcessEnvironment env = folder.environment();
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.remove(QStringLiteral("DISPLAY"));
        if (!display.isEmpty())
            env.insert(QStringLiteral("DISPLAY"), display);
        QProcess console;
        console.setProcessEnvironment(env);
        console.start(folder.program(QStringLiteral("orvane")));
        QVERIFY(console.waitForFinished(20000));
        QCOMPARE(console.exitStatus(), QProcess::NormalExit);
        QCOMPARE(console.exitCode(), 1);
        const QStringList lines = QString::fromLocal8Bit(console.readAllStandardError())
                                      .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 1);
        QVERIFY2(lines[0].contains(QStringLiteral("no display")), qPrintable(lines[0]));
    }

    void qtOptionsAreTakenNotRefused_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("-platform") << QStringList{"-platform", "offscreen"};
        QTest::newRow("-style, -reverse")
            << QStringList{"-platform", "offscreen", "-style=fusion", "-reverse"};
    }
    void qtOptionsAreTakenNotRefused()
    {
        QFETCH(QStringList, arguments);
        ProgramFolder folder;
        QProcessEnvironment env = folder.environment();
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        QProcess console;
        console.setProcessEnvironment(env);
        console.start(folder.program(QStringLiteral("orvane")), arguments);
        // A new conf.cfg names no port, so start-up says so and the window opens.
        QByteArray said;
        QTRY_VERIFY_WITH_TIMEOUT((said += console.readAllStandardError()).contains("не доступен"),
                                 20000);
        QVERIFY(QFile::exists(folder.settingsPath()));
        QVERIFY(!console.waitForFinished(300));
        console.kill();
        console.waitForFinished();
    }

    void theSystemsLanguageDecides_data()
    {
        QTest::addColumn<QString>("variable");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("said");
        QTest::newRow("LANG=en_US.UTF-8") << "LANG"
                                          << "en_US.UTF-8"
                                          << "COM port 0 is not available";
        QTest::newRow("LANG=ru_RU.UTF-8") << "LANG"
                                          << "ru_RU.UTF-8"
                                          << "Com-порт 0 не доступен";
        QTest::newRow("LC_ALL=C") << "LC_ALL"
                                  << "C"
                                  << "Com-порт 0 не доступен";
    }
    void theSystemsLanguageDecides()
    {
        QFETCH(QString, variable);
        QFETCH(QString, value);
        QFETCH(QString, said);
        ProgramFolder folder;
        QProcessEnvironment env = folder.environment();
        for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANG", "LANGUAGE"})
            env.remove(QString::fromLatin1(name));
        env.insert(variable, value);
        QProcess console;
        console.setProcessEnvironment(env);
        console.start(folder.program(QStringLiteral("orvane")));
        QByteArray stderrText;
        QTRY_VERIFY_WITH_TIMEOUT(
            (stderrText += console.readAllStandardError()).contains("Orvane: "), 20000);
        console.kill();
        console.waitForFinished();
        QVERIFY2(QString::fromUtf8(stderrText).contains(said), stderrText.constData());
    }

    // Every message of the command line is in the window's language.
    void theCommandLineSpeaksTheWindowsLanguage_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("said");
        QTest::newRow("en, a bad --mqtt")
            << QStringList{"--lang", "en", "--mqtt", "foo"} << "expected mqtt://";
        QTest::newRow("ru, a bad --mqtt")
            << QStringList{"--lang", "ru", "--mqtt", "foo"} << "ожидается mqtt://";
        QTest::newRow("en, a bad --comport")
            << QStringList{"--lang=en", "--comport", "17"} << "invalid --comport";
        QTest::newRow("en, a bad --port")
            << QStringList{"--port", "x", "--lang", "en"} << "invalid port mapping";
    }
    void theCommandLineSpeaksTheWindowsLanguage()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, said);
        QProcess console;
        console.start(builtProgram(QStringLiteral("orvane")), arguments);
        QVERIFY(console.waitForFinished(10000));
        QCOMPARE(console.exitCode(), 2);
        const QString text = QString::fromUtf8(console.readAllStandardError());
        QVERIFY2(text.contains(said), qPrintable(text));
    }

    void helpAllListsQtsOptionsToo()
    {
        QProcess console;
        console.start(builtProgram(QStringLiteral("orvane")), {QStringLiteral("--help-all")});
        QVERIFY(console.waitForFinished(20000));
        QCOMPARE(console.exitCode(), 0);
        const QString help = QString::fromLocal8Bit(console.readAllStandardOutput());
        QVERIFY(help.contains(QStringLiteral("--port")));
        QVERIFY(help.contains(QStringLiteral("-platform")));
    }

    void relativeXdgFoldersAreIgnored()
    {
        qputenv("XDG_DATA_HOME", "relative/share");
        qputenv("XDG_CONFIG_HOME", "/absolute/config");
        ignoreRelativeXdgFolders();
        QVERIFY(!qEnvironmentVariableIsSet("XDG_DATA_HOME"));
        QCOMPARE(qEnvironmentVariable("XDG_CONFIG_HOME"), QStringLiteral("/absolute/config"));
        QCOMPARE(withoutQtOptions({"orvane", "-platform", "offscreen", "--port", "1=/dev/x",
                                   "-reverse", "-style=fusion"}),
                 (QStringList{"orvane", "--port", "1=/dev/x"}));
    }
};

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
