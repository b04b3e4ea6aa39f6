#pragma once

#include <QString>

class QDialog;
class QWidget;

// The console's modal questions and messages. The program shows real dialogs; tests answer
// them through their own implementation.
class ConsoleDialogs
{
public:
    virtual ~ConsoleDialogs() = default;
    // A message with an OK button only; informative: the reason and the way out, under it.
    virtual void message(QWidget *parent, const QString &caption, const QString &text,
                         const QString &informative) = 0;
    void message(QWidget *parent, const QString &caption, const QString &text)
    {
        message(parent, caption, text, {});
    }
    // The text the operator typed, or an empty text when the question was cancelled.
    virtual QString input(QWidget *parent, const QString &title, const QString &prompt,
                          const QString &initial) = 0;
    // A message with a button that does something and one that closes it; true for the first.
    virtual bool question(QWidget *parent, const QString &caption, const QString &text,
                          const QString &action) = 0;
    // Shows a dialog modally and returns when it is closed.
    virtual void exec(QDialog &dialog) = 0;
    // A file to write or to read, chosen by the operator; empty when cancelled.
    virtual QString saveFileName(QWidget *parent, const QString &caption, const QString &suggested,
                                 const QString &filter) = 0;
    virtual QString openFileName(QWidget *parent, const QString &caption,
                                 const QString &filter) = 0;
};

class QtDialogs : public ConsoleDialogs
{
public:
    using ConsoleDialogs::message;
    void message(QWidget *parent, const QString &caption, const QString &text,
                 const QString &informative) override;
    QString input(QWidget *parent, const QString &title, const QString &prompt,
                  const QString &initial) override;
    bool question(QWidget *parent, const QString &caption, const QString &text,
                  const QString &action) override;
    void exec(QDialog &dialog) override;
    QString saveFileName(QWidget *parent, const QString &caption, const QString &suggested,
                         const QString &filter) override;
    QString openFileName(QWidget *parent, const QString &caption, const QString &filter) override;
};
