#pragma once

#include "console/dialogs.h"
#include "console/environment.h"
#include "pty.h"

#include <QAbstractButton>
#include <QByteArray>
#include <QList>
#include <QQueue>
#include <QSettings>
#include <QTemporaryDir>

#include <functional>
#include <memory>

class Form1;
class QAbstractButton;

// Answers the console's questions from a script and records what it said.
class ScriptedDialogs : public ConsoleDialogs
{
public:
    struct Message
    {
        QString caption;
        QString text;
    };
    struct Question
    {
        QString title;
        QString prompt;
        QString initial;
    };

    void message(QWidget *parent, const QString &caption, const QString &text) override;
    QString input(QWidget *parent, const QString &title, const QString &prompt,
                  const QString &initial) override;
    void exec(QDialog &dialog) override;
    // File choices are answered from the same queue; the question's prompt is the kind.
    QString saveFileName(QWidget *parent, const QString &caption, const QString &suggested,
                         const QString &filter) override;
    QString openFileName(QWidget *parent, const QString &caption, const QString &filter) override;

    QList<Message> messages;
    QList<Question> questions;
    // Answers in order; when none is left the question counts as cancelled.
    QQueue<QString> answers;
    // Runs while a dialog is shown; the dialog closes afterwards.
    std::function<void(QDialog &)> onExec;
};

// Builds the bytes of a settings file.
class SettingsImage
{
public:
    SettingsImage()
        : m_bytes(458, '\0')
    {}
    explicit SettingsImage(QByteArray bytes)
        : m_bytes(std::move(bytes))
    {}

    SettingsImage &byte(int position, int value);
    SettingsImage &word(int position, int value);
    SettingsImage &slot(int base, int codeC, int codeL, int side);
    const QByteArray &bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

// A console in a temporary program folder, with a pseudo-terminal as port 1.
class ConsoleFixture
{
public:
    ConsoleFixture();
    ~ConsoleFixture();

    QString programDir() const;
    QString settingsPath() const;
    void writeSettings(const QByteArray &bytes);
    QByteArray settings() const;
    // Lays down small solid-colour pictures for the two network sides.
    void writePictures();

    ConsoleEnvironment environment();
    Form1 &start();
    // Port 1 stored in the settings, the window shown and the line quiet.
    Form1 &startShown(SettingsImage image = SettingsImage());
    Form1 &start(const ConsoleEnvironment &environment);
    Form1 &form() { return *m_form; }
    void closeForm();

    // The named control of the running window.
    template<typename T = QAbstractButton> T *control(const char *name) const
    {
        return qobject_cast<T *>(widget(name));
    }
    QWidget *widget(const char *name) const;

    QTemporaryDir temp;
    PseudoTerminal pty;
    ScriptedDialogs dialogs;
    // The user's settings, in the temporary folder.
    QSettings userSettings{temp.filePath(QStringLiteral("user.conf")), QSettings::IniFormat};

private:
    std::unique_ptr<Form1> m_form;
};

// A plain file, so that no folder can be made below it, not even by root.
QString makeBlocker(const QTemporaryDir &temp);

// A click in the middle of a control.
void clickCentre(QWidget *widget, Qt::MouseButton button = Qt::LeftButton);
// What the window system delivers for a double-click: press, release, double-click, release.
void doubleClickCentre(QWidget *widget);

// Splits what arrived on the line into packets of nine bytes; a rest is kept as its own entry.
QList<QByteArray> packetsOf(const QByteArray &bytes);
QByteArray packet(int command, int value, int flag);
