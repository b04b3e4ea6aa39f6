#include "simwindow.h"

#include "endpoint.h"
#include "model/relaysetting.h"
#include "model/valuetext.h"
#include "rigserver.h"
#include "virtualcontroller.h"

#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

// Eight relay lamps reading as a binary number, bit 7 on the left, as on the console.
class LampRow : public QWidget
{
public:
    explicit LampRow(QWidget *parent)
        : QWidget(parent)
    {
        setMinimumSize(8 * 30, 44);
    }
    void setCode(quint8 code)
    {
        m_code = code;
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const double cell = width() / 8.0;
        for (int i = 0; i < 8; ++i) {
            const int bit = 7 - i;
            const bool on = m_code & (1 << bit);
            const QRectF lamp(i * cell + cell / 2 - 10, 4, 20, 20);
            p.setPen(QPen(Qt::black, 1));
            p.setBrush(on ? QColor(255, 170, 0) : QColor(70, 70, 70));
            p.drawEllipse(lamp);
            p.drawText(QRectF(i * cell, 26, cell, 16), Qt::AlignCenter, QString::number(bit));
        }
    }

private:
    quint8 m_code = 0;
};

// The L-network as the side relay sets it: the coil in series, the capacitors to ground on
// the transmitter or the antenna side.
class NetworkSketch : public QWidget
{
public:
    explicit NetworkSketch(QWidget *parent)
        : QWidget(parent)
    {
        setFixedSize(180, 80);
    }
    void setTransmitterSide(bool tx)
    {
        m_tx = tx;
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(palette().color(QPalette::WindowText), 2));
        const int y = 24;
        p.drawText(QRect(0, 0, 40, 16), Qt::AlignLeft, QStringLiteral("TX"));
        p.drawText(QRect(140, 0, 40, 16), Qt::AlignRight, QStringLiteral("ANT"));
        p.drawEllipse(QPointF(8, y), 3, 3);
        p.drawEllipse(QPointF(172, y), 3, 3);
        p.drawLine(11, y, 60, y);
        for (int i = 0; i < 4; ++i) // the coil
            p.drawArc(QRectF(60 + i * 15, y - 8, 15, 16), 0, 180 * 16);
        p.drawLine(120, y, 169, y);
        const int x = m_tx ? 35 : 145; // the capacitors
        p.drawLine(x, y, x, y + 18);
        p.drawLine(x - 12, y + 18, x + 12, y + 18);
        p.drawLine(x - 12, y + 25, x + 12, y + 25);
        p.drawLine(x, y + 25, x, y + 38);
        p.drawLine(x - 10, y + 38, x + 10, y + 38);
        p.drawLine(x - 6, y + 42, x + 6, y + 42);
        p.drawLine(x - 2, y + 46, x + 2, y + 46);
    }

private:
    bool m_tx = false;
};

SimWindow::SimWindow(VirtualController &controller, SimEndpoint &endpoint, RigServer *radio,
                     QWidget *parent)
    : QWidget(parent)
    , m_controller(controller)
    , m_endpoint(endpoint)
    , m_radio(radio)
    , m_where(new QLabel(this))
    , m_radioState(new QLabel(this))
    , m_lampsC(new LampRow(this))
    , m_lampsL(new LampRow(this))
    , m_valueC(new QLabel(this))
    , m_valueL(new QLabel(this))
    , m_sketch(new NetworkSketch(this))
    , m_side(new QLabel(this))
    , m_counters(new QLabel(this))
    , m_log(new QListWidget(this))
{
    setWindowTitle(tr("Orvane — виртуальный контроллер"));
    m_log->setAccessibleName(tr("Журнал пакетов"));
    m_where->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_log->setUniformItemSizes(true);
    m_log->setSelectionMode(QAbstractItemView::ExtendedSelection);
    QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    m_log->setFont(mono);

    auto *relays = new QGridLayout;
    relays->addWidget(new QLabel(QStringLiteral("C"), this), 0, 0);
    relays->addWidget(m_lampsC, 0, 1);
    relays->addWidget(m_valueC, 0, 2);
    relays->addWidget(new QLabel(QStringLiteral("L"), this), 1, 0);
    relays->addWidget(m_lampsL, 1, 1);
    relays->addWidget(m_valueL, 1, 2);
    relays->setColumnStretch(2, 1);

    auto *side = new QHBoxLayout;
    side->addWidget(m_sketch);
    side->addWidget(m_side, 1);

    auto *copy = new QPushButton(tr("Копировать журнал"), this);
    auto *clear = new QPushButton(tr("Очистить"), this);
    auto *unplug = new QPushButton(tr("Отключить"), this);
    unplug->setToolTip(tr("Закрыть линию, как если бы адаптер выдернули"));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_counters, 1);
    buttons->addWidget(copy);
    buttons->addWidget(clear);
    buttons->addWidget(unplug);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_where);
    layout->addWidget(m_radioState);
    m_radioState->setVisible(m_radio != nullptr);
    if (m_radio)
        connect(m_radio, &RigServer::changed, this, &SimWindow::showState);
    layout->addLayout(relays);
    layout->addLayout(side);
    layout->addWidget(m_log, 1);
    layout->addLayout(buttons);
    resize(560, 520);

    connect(copy, &QPushButton::clicked, this, &SimWindow::copyLog);
    connect(clear, &QPushButton::clicked, this, &SimWindow::clearLog);
    connect(unplug, &QPushButton::clicked, &m_endpoint, &SimEndpoint::unplug);
    connect(&m_controller, &VirtualController::decoded, this,
            [this](const QDateTime &time, const Packet::Decoded &d) {
                addLine(time.toLocalTime().toString(QStringLiteral("HH:mm:ss.zzz")) +
                            QStringLiteral("  ") +
                            QString::fromLatin1(d.bytes.toHex(' ').toUpper()) +
                            QStringLiteral("  ") + packetMeaning(d),
                        !d.isPacket);
                showState();
            });
    connect(&m_controller, &VirtualController::stepsChanged, this, &SimWindow::showState);
    connect(&m_endpoint, &SimEndpoint::note, this, [this](const QString &text) {
        addLine(QTime::currentTime().toString(QStringLiteral("HH:mm:ss.zzz")) +
                    QStringLiteral("  ") + text,
                false);
        showState();
    });
    connect(&m_endpoint, &SimEndpoint::moved, this, &SimWindow::showState);
    showState();
}

void SimWindow::showState()
{
    const RelayState &s = m_controller.state();
    const RelaySteps &steps = m_controller.steps();
    m_where->setText(tr("Линия: %1").arg(m_endpoint.where()));
    m_lampsC->setCode(s.codeC);
    m_lampsL->setCode(s.codeL);
    m_valueC->setText(
        QStringLiteral("%1  (%2 pF)").arg(s.codeC).arg(generalNumberText(s.capacitancePf(steps))));
    m_valueL->setText(
        QStringLiteral("%1  (%2 µH)").arg(s.codeL).arg(generalNumberText(s.inductanceUh(steps))));
    m_sketch->setTransmitterSide(s.side == 1);
    m_side->setText(tr("Конденсаторы: %1\nФлаг антенны 3: %2").arg(sideText(s.side)).arg(s.flag));
    m_counters->setText(tr("Пакетов: %1   Ошибок: %2").arg(s.packets).arg(s.errors));
    if (m_radio)
        m_radioState->setText(tr("Радио %1: %2 МГц, %3, КСВ %4")
                                  .arg(m_radio->where())
                                  .arg(m_radio->frequency() / 1e6, 0, 'f', 3)
                                  .arg(m_radio->transmitting() ? tr("передача") : tr("приём"))
                                  .arg(m_radio->swr(), 0, 'f', 2));
}

void SimWindow::addLine(const QString &text, bool error)
{
    auto *item = new QListWidgetItem(text);
    if (error)
        item->setForeground(QColor(200, 0, 0));
    m_log->addItem(item);
    while (m_log->count() > MaxLogLines)
        delete m_log->takeItem(0);
    m_log->scrollToBottom();
}

QString SimWindow::logText() const
{
    QStringList lines;
    for (int i = 0; i < m_log->count(); ++i)
        lines << m_log->item(i)->text();
    return lines.join(QLatin1Char('\n'));
}

void SimWindow::copyLog()
{
    QApplication::clipboard()->setText(logText());
}

void SimWindow::clearLog()
{
    m_log->clear();
}
