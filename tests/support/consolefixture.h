#pragma once

#include "app/dialogs.h"
#include "console/environment.h"
#include "pty.h"
#include "settings/conflayout.h"

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
class QLabel;

// Answers the console's questions from a script and records what it said.
class ScriptedDialogs : public ConsoleDialogs
{
public:
    struct Message
    {
        QString caption;
        QString text;
        QString informative;
    };
    struct Question
    {
        QString title;
        QString prompt;
        QString initial;
    };

    using ConsoleDialogs::message;
    void message(QWidget *parent, const QString &caption, const QString &text,
                 const QString &informative) override;
    QString input(QWidget *parent, const QString &title, const QString &prompt,
                  const QString &initial) override;
    // Recorded as a message; answered yes by "yes" in the queue.
    bool question(QWidget *parent, const QString &caption, const QString &text,
                  const QString &action) override;
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

// Where screenshots are left for a person to look at: beside the test programs.
QString screenFolder();

// The slot of an antenna (1–3), a band by its caption ("40 м", "Д") and a sub-band (1–5), as
// the operator reads them off the window.
Slots::Selection at(int antenna, const char *band, int subBand);

// How a failed comparison shows a slot's bytes.
inline char *toString(const RelaySetting &s)
{
    return qstrdup(
        QStringLiteral("C %1, L %2, side %3").arg(s.codeC).arg(s.codeL).arg(s.side).toLatin1());
}

// A settings file's bytes, built and read by meaning.
class SettingsImage : public ConfLayout::Image
{
public:
    SettingsImage()
        : Image(QByteArray(ConfLayout::Size, '\0'))
    {}
    explicit SettingsImage(QByteArray bytes)
        : Image(std::move(bytes))
    {}

    using Image::slot;
    SettingsImage &slot(const Slots::Selection &s, int codeC, int codeL, int side)
    {
        setSlot(s, {quint8(codeC), quint8(codeL), quint8(side)});
        return *this;
    }
    SettingsImage &steps(int stepC, int stepL)
    {
        setSteps(stepC, stepL);
        return *this;
    }
    SettingsImage &port(int number)
    {
        setPortNumber(number);
        return *this;
    }
    // The slot saved last, by its base (damaged files name bases no slot has).
    SettingsImage &lastSaved(int base)
    {
        setWord(ConfLayout::LastSavedBase, base);
        return *this;
    }
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
    // What conf.cfg holds now, by meaning.
    SettingsImage stored() const { return SettingsImage(settings()); }
    // Lays down small solid-colour pictures for the two network sides.
    void writePictures();

    ConsoleEnvironment environment();
    // The environment of a console that follows the radio at rigAddress, polled briskly.
    ConsoleEnvironment following(const QString &rigAddress);
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
    // The window's controls by what they do: the toggle of a relay bit (bank 'C' or 'L', bit
    // 0–7), the option of an antenna (1–3), of a band by its caption, of a sub-band (1–5).
    QAbstractButton *relayBit(char bank, int bit) const;
    QAbstractButton *antenna(int number) const;
    QAbstractButton *band(const char *caption) const;
    QAbstractButton *subBand(int number) const;

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

// A label's text as the operator reads it: the strip keeps numbers and units together with
// no-break spaces.
QString shownText(const QLabel &label);

// A click in the middle of a control.
void clickCentre(QWidget *widget, Qt::MouseButton button = Qt::LeftButton);
// What the window system delivers for a double-click: press, release, double-click, release.
void doubleClickCentre(QWidget *widget);

// Splits what arrived on the line into packets of nine bytes; a rest is kept as its own entry.
QList<QByteArray> packetsOf(const QByteArray &bytes);
QByteArray packet(int command, int value, int flag);
