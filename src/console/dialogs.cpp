#include "dialogs.h"

#include <QDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace {
// Prompts keep their CR LF line breaks; a label wants plain line feeds.
QString displayText(QString text)
{
    return text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
}
} // namespace

void QtDialogs::message(QWidget *parent, const QString &caption, const QString &text)
{
    // A plain box with OK only, as the console's messages have always looked.
    QMessageBox box(QMessageBox::NoIcon, caption, displayText(text), QMessageBox::Ok, parent);
    box.exec();
}

QString QtDialogs::input(QWidget *parent, const QString &title, const QString &prompt,
                         const QString &initial)
{
    bool ok = false;
    const QString text =
        QInputDialog::getText(parent, title, displayText(prompt), QLineEdit::Normal, initial, &ok);
    return ok ? text : QString();
}

void QtDialogs::exec(QDialog &dialog)
{
    dialog.exec();
}
