#include "dialogs.h"

#include <QDialog>
#include <QFileDialog>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

#include <cstdio>

namespace {

// Without a screen (the offscreen and minimal platforms) a modal box waits for an OK that
// nobody can press; the words go to standard error instead and the question counts as
// cancelled.
bool nobodyToAnswer()
{
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
}

// Prompts keep their CR LF line breaks; a label wants plain line feeds.
QString displayText(QString text)
{
    return text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
}
} // namespace

void QtDialogs::message(QWidget *parent, const QString &caption, const QString &text,
                        const QString &informative)
{
    if (nobodyToAnswer()) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(caption), qPrintable(displayText(text)));
        if (!informative.isEmpty())
            std::fprintf(stderr, "%s\n", qPrintable(displayText(informative)));
        return;
    }
    // A plain box with OK only, as the console's messages have always looked.
    QMessageBox box(QMessageBox::NoIcon, caption, displayText(text), QMessageBox::Ok, parent);
    box.setInformativeText(displayText(informative));
    box.exec();
}

QString QtDialogs::input(QWidget *parent, const QString &title, const QString &prompt,
                         const QString &initial)
{
    if (nobodyToAnswer())
        return {};
    bool ok = false;
    const QString text =
        QInputDialog::getText(parent, title, displayText(prompt), QLineEdit::Normal, initial, &ok);
    return ok ? text : QString();
}

bool QtDialogs::question(QWidget *parent, const QString &caption, const QString &text,
                         const QString &action)
{
    if (nobodyToAnswer()) {
        message(parent, caption, text);
        return false;
    }
    QMessageBox box(QMessageBox::NoIcon, caption, displayText(text), QMessageBox::Close, parent);
    QPushButton *act = box.addButton(action, QMessageBox::AcceptRole);
    box.setDefaultButton(act);
    box.exec();
    return box.clickedButton() == act;
}

void QtDialogs::exec(QDialog &dialog)
{
    if (nobodyToAnswer()) {
        dialog.reject();
        return;
    }
    dialog.exec();
}

QString QtDialogs::saveFileName(QWidget *parent, const QString &caption, const QString &suggested,
                                const QString &filter)
{
    if (nobodyToAnswer())
        return {};
    return QFileDialog::getSaveFileName(parent, caption, suggested, filter);
}

QString QtDialogs::openFileName(QWidget *parent, const QString &caption, const QString &filter)
{
    if (nobodyToAnswer())
        return {};
    return QFileDialog::getOpenFileName(parent, caption, QString(), filter);
}
