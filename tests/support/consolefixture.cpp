#include "consolefixture.h"

#include <QLabel>

#include "console/form1.h"
#include "link/controllerlink.h"
#include "model/bandnames.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTest>

void ScriptedDialogs::message(QWidget *, const QString &caption, const QString &text,
                              const QString &informative)
{
    messages.append({caption, text, informative});
}

QString ScriptedDialogs::input(QWidget *, const QString &title, const QString &prompt,
                               const QString &initial)
{
    questions.append({title, prompt, initial});
    return answers.isEmpty() ? QString() : answers.dequeue();
}

QString ScriptedDialogs::saveFileName(QWidget *parent, const QString &caption,
                                      const QString &suggested, const QString &)
{
    return input(parent, caption, QStringLiteral("save"), suggested);
}

QString ScriptedDialogs::openFileName(QWidget *parent, const QString &caption, const QString &)
{
    return input(parent, caption, QStringLiteral("open"), QString());
}

bool ScriptedDialogs::question(QWidget *, const QString &caption, const QString &text,
                               const QString &)
{
    messages.append({caption, text, {}});
    return !answers.isEmpty() && answers.dequeue() == QLatin1String("yes");
}

void ScriptedDialogs::exec(QDialog &dialog)
{
    dialog.show();
    if (onExec)
        onExec(dialog);
    dialog.close();
}

QString screenFolder()
{
    QDir folder(QCoreApplication::applicationDirPath());
    folder.mkpath(QStringLiteral("screens"));
    return folder.filePath(QStringLiteral("screens"));
}

Slots::Selection at(int antenna, const char *band, int subBand)
{
    return {antenna - 1, BandNames::find(QString::fromUtf8(band)).value_or(-1), subBand - 1};
}

ConsoleFixture::ConsoleFixture()
{
    QDir(temp.path()).mkpath(QStringLiteral("program"));
}

ConsoleFixture::~ConsoleFixture() = default;

QString ConsoleFixture::programDir() const
{
    return temp.filePath(QStringLiteral("program"));
}

QString ConsoleFixture::settingsPath() const
{
    return QDir(programDir()).filePath(QStringLiteral("conf.cfg"));
}

void ConsoleFixture::writeSettings(const QByteArray &bytes)
{
    QFile file(settingsPath());
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

QByteArray ConsoleFixture::settings() const
{
    QFile file(settingsPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void ConsoleFixture::writePictures()
{
    QDir(programDir()).mkpath(QStringLiteral("img"));
    QImage hot(40, 40, QImage::Format_RGB32);
    hot.fill(QColor(220, 0, 0));
    hot.save(QDir(programDir()).filePath(QStringLiteral("img/HotEnd.jpg")), "JPG");
    QImage cold(40, 40, QImage::Format_RGB32);
    cold.fill(QColor(0, 0, 220));
    cold.save(QDir(programDir()).filePath(QStringLiteral("img/ColdEnd.jpg")), "JPG");
}

ConsoleEnvironment ConsoleFixture::following(const QString &rigAddress)
{
    userSettings.setValue("rig/poll_ms", 100);
    ConsoleEnvironment env = environment();
    env.rigAddress = rigAddress;
    return env;
}

ConsoleEnvironment ConsoleFixture::environment()
{
    ConsoleEnvironment env;
    env.programDir = programDir();
    env.dataDir = temp.filePath(QStringLiteral("data"));
    env.ports.map(1, pty.device());
    // Ports 2–16 lead nowhere, so no test ever touches a real serial device.
    for (int n = 2; n <= 16; ++n)
        env.ports.map(n, temp.filePath(QStringLiteral("absent-tty%1").arg(n)));
    env.dialogs = &dialogs;
    env.userSettings = &userSettings;
    // The guard a job of the console's own keys the radio under.
#ifdef Q_OS_WIN
    env.guardProgram = QStringLiteral(ORVANE_PROGRAM_DIR "/orvane-guard.exe");
    env.mqttProgram = QStringLiteral(ORVANE_PROGRAM_DIR "/orvane-mqtt.exe");
#else
    env.guardProgram = QStringLiteral(ORVANE_PROGRAM_DIR "/orvane-guard");
    env.mqttProgram = QStringLiteral(ORVANE_PROGRAM_DIR "/orvane-mqtt");
#endif
    return env;
}

Form1 &ConsoleFixture::start()
{
    return start(environment());
}

Form1 &ConsoleFixture::start(const ConsoleEnvironment &environment)
{
    m_form.reset();
    m_form = std::make_unique<Form1>(environment);
    return *m_form;
}

Form1 &ConsoleFixture::startShown(SettingsImage image)
{
    writeSettings(image.port(1).bytes());
    Form1 &form = start();
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        qWarning("window not exposed");
    pty.drain();
    return form;
}

void ConsoleFixture::closeForm()
{
    if (m_form)
        m_form->close();
}

QWidget *ConsoleFixture::widget(const char *name) const
{
    return m_form ? m_form->findChild<QWidget *>(QString::fromLatin1(name)) : nullptr;
}

QAbstractButton *ConsoleFixture::relayBit(char bank, int bit) const
{
    return control(qPrintable(QStringLiteral("tgl%1%2").arg(QLatin1Char(bank)).arg(bit)));
}

QAbstractButton *ConsoleFixture::antenna(int number) const
{
    return control(qPrintable(QStringLiteral("OptAnt%1").arg(number)));
}

QAbstractButton *ConsoleFixture::band(const char *caption) const
{
    static const char *const names[Slots::Bands] = {"Opt160", "Opt80", "Opt40", "Opt30", "Opt20",
                                                    "Opt17",  "Opt15", "Opt12", "Opt10", "Opt6"};
    const std::optional<int> index = BandNames::find(QString::fromUtf8(caption));
    return index ? control(names[*index]) : nullptr;
}

QAbstractButton *ConsoleFixture::subBand(int number) const
{
    return control(qPrintable(QStringLiteral("OptSB%1").arg(number)));
}

QString makeBlocker(const QTemporaryDir &temp)
{
    QFile blocker(temp.filePath(QStringLiteral("blocker")));
    if (blocker.open(QIODevice::WriteOnly))
        blocker.close();
    return blocker.fileName();
}

void clickCentre(QWidget *widget, Qt::MouseButton button)
{
    QTest::mouseClick(widget, button, {}, widget->rect().center());
}

void doubleClickCentre(QWidget *widget)
{
    const QPoint centre = widget->rect().center();
    QTest::mouseClick(widget, Qt::LeftButton, {}, centre);
    QTest::mouseDClick(widget, Qt::LeftButton, {}, centre);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, centre);
}

QList<QByteArray> packetsOf(const QByteArray &bytes)
{
    QList<QByteArray> packets;
    for (qsizetype i = 0; i < bytes.size(); i += Packet::Size)
        packets.append(bytes.mid(i, Packet::Size));
    return packets;
}

QByteArray packet(int command, int value, int flag)
{
    return Packet::build(static_cast<quint8>(command), static_cast<quint8>(value),
                         static_cast<quint8>(flag));
}

QString shownText(const QLabel &label)
{
    return label.text().replace(QChar::Nbsp, u' ');
}
