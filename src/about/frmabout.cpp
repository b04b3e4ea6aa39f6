#include "frmabout.h"
#include "ui_frmabout.h"

#include "app/dialogs.h"
#include "sysinfo.h"
#include "version.h"
#include "widgets/consolefont.h"

#include <QPainter>
#include <QProcess>

namespace {

// The program's icon: a coil over a capacitor, 16 × 16 pixels.
QPixmap programIcon()
{
    QPixmap icon(16, 16);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0, 0, 127), 1.5));
    for (int i = 0; i < 3; ++i)
        painter.drawArc(QRectF(1.5 + 4.5 * i, 2, 4.5, 6), 0, 180 * 16);
    painter.drawLine(QPointF(8, 8), QPointF(8, 10));
    painter.drawLine(QPointF(4, 10), QPointF(12, 10));
    painter.drawLine(QPointF(4, 13), QPointF(12, 13));
    return icon;
}

} // namespace

frmAbout::frmAbout(ConsoleDialogs *dialogs, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint)
    , ui(new Ui::frmAbout)
    , m_dialogs(dialogs)
{
    ui->setupUi(this);
    setFixedSize(size());
    setFont(consoleFont(8.25, false));
    ui->lblTitle->setFont(consoleFont(18, true));
    ui->lblVersion->setFont(consoleFont(9.75, false));
    ui->lblDescription->setFont(consoleFont(12, true));
    ui->picIcon->setPixmap(programIcon());
    connect(ui->cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(ui->cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
    Form_Load();
}

frmAbout::~frmAbout()
{
    delete ui;
}

void frmAbout::Form_Load()
{
    setWindowTitle(tr("About %1").arg(QStringLiteral(ORVANE_TITLE)));
    ui->lblVersion->setText(tr("Version %1.%2.%3")
                                .arg(ORVANE_VERSION_MAJOR)
                                .arg(ORVANE_VERSION_MINOR)
                                .arg(ORVANE_VERSION_PATCH));
    ui->lblTitle->setText(QStringLiteral(ORVANE_TITLE));
    ui->lblDescription->setText(tr("Управление блоком реле антенного тюнера\n"
                                   "Разработчики Orvane\n"
                                   "г. Энск, orvane@example.invalid"));
    ui->lblDisclaimer->clear();
}

void frmAbout::setSettingsNote(const QString &note)
{
    ui->lblDisclaimer->setText(note);
}

void frmAbout::cmdOK_Click()
{
    accept();
}

void frmAbout::cmdSysInfo_Click()
{
    StartSysInfo();
}

void frmAbout::StartSysInfo()
{
    const QString tool = SysInfo::findTool();
    // Started directly, not through a shell, and not waited for.
    if (tool.isEmpty() || !QProcess::startDetached(tool, {}))
        m_dialogs->message(this, QStringLiteral(ORVANE_TITLE),
                           tr("System Information Is Unavailable At This Time"));
}
