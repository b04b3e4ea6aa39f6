#include "linelogwindow.h"

#include "app/dialogs.h"
#include "settings/settingslocation.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

LineLogWindow::LineLogWindow(LineLog &log, ConsoleDialogs *dialogs, QWidget *parent)
    : QDialog(parent)
    , m_log(log)
    , m_dialogs(dialogs)
    , m_view(new QPlainTextEdit(this))
    , m_pause(new QPushButton(tr("Пауза"), this))
{
    setWindowTitle(tr("Журнал линии"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_view->setReadOnly(true);
    m_view->setMaximumBlockCount(LineLog::Capacity);
    m_view->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_view->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_view->setAccessibleName(tr("Журнал линии"));
    m_view->setAccessibleDescription(
        tr("Пакеты, отправленные в порт и отброшенные, события порта и вызовы ячеек"));
    m_pause->setCheckable(true);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(tr("Закрыть"));
    buttons->addButton(m_pause, QDialogButtonBox::ActionRole);
    QPushButton *clearButton = buttons->addButton(tr("Очистить"), QDialogButtonBox::ActionRole);
    QPushButton *save =
        buttons->addButton(tr("Сохранить как текст…"), QDialogButtonBox::ActionRole);
    connect(m_pause, &QPushButton::toggled, this, &LineLogWindow::setPaused);
    connect(clearButton, &QPushButton::clicked, this, &LineLogWindow::clear);
    connect(save, &QPushButton::clicked, this, &LineLogWindow::saveAs);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    connect(&m_log, &LineLog::added, this, &LineLogWindow::add);
    connect(&m_log, &LineLog::cleared, m_view, &QPlainTextEdit::clear);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_view);
    layout->addWidget(buttons);
    resize(720, 420);
    reload();
}

void LineLogWindow::reload()
{
    QStringList lines;
    for (const LineLog::Entry &entry : m_log.entries())
        lines << LineLog::line(entry);
    m_view->setPlainText(lines.join(QLatin1Char('\n')));
    m_view->moveCursor(QTextCursor::End);
}

void LineLogWindow::add(const LineLog::Entry &entry)
{
    if (!m_paused)
        m_view->appendPlainText(LineLog::line(entry));
}

void LineLogWindow::setPaused(bool paused)
{
    m_paused = paused;
    m_pause->setText(paused ? tr("Продолжить") : tr("Пауза"));
    if (!paused)
        reload();
}

void LineLogWindow::clear()
{
    m_log.clear();
}

QString LineLogWindow::text() const
{
    return m_view->toPlainText();
}

void LineLogWindow::saveAs()
{
    const QString path = m_dialogs->saveFileName(
        this, tr("Сохранить журнал линии"),
        QDir::home().filePath(QStringLiteral("orvane-line.txt")), tr("Текст (*.txt)"));
    if (path.isEmpty())
        return;
    QStringList lines;
    for (const LineLog::Entry &entry : m_log.entries())
        lines << LineLog::line(entry);
    QString error;
    if (!writeWhole(path, (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8(), &error))
        m_dialogs->message(this, QStringLiteral("Orvane"), error);
}
