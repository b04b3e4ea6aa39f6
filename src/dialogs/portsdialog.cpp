#include "portsdialog.h"

#include "link/virtualline.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTableWidget>
#include <QVBoxLayout>

QString PortsDialog::virtualCaption()
{
    return tr("Виртуальный контроллер");
}

PortsDialog::PortsDialog(const PortMap &ports, QSettings *settings, const QString &byIdFolder,
                         bool virtualController, QWidget *parent)
    : QDialog(parent)
    , m_byIdFolder(byIdFolder)
    , m_virtual(virtualController)
    , m_settings(settings)
    , m_found(new QTableWidget(this))
{
    setWindowTitle(tr("Порты"));
    m_found->setColumnCount(5);
    m_found->setHorizontalHeaderLabels({tr("Устройство"), tr("Описание"), tr("Изготовитель"),
                                        tr("Серийный номер"), tr("Постоянное имя")});
    m_found->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_found->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_found->verticalHeader()->hide();
    m_found->horizontalHeader()->setStretchLastSection(true);
    m_found->setMinimumHeight(110);
    m_found->setAccessibleName(tr("Найденные последовательные порты"));

    auto *numbers = new QFormLayout;
    for (int n = PortMap::FirstPort; n <= PortMap::LastPort; ++n) {
        auto *choice = new QComboBox(this);
        choice->setEditable(true);
        choice->setObjectName(QStringLiteral("port%1").arg(n));
        choice->setMinimumContentsLength(40);
        choice->lineEdit()->setPlaceholderText(PortMap().device(n));
        choice->setToolTip(
            tr("Устройство, путь или узел:порт; пусто — %1").arg(PortMap().device(n)));
        const QString device = ports.isMapped(n) ? ports.device(n) : QString();
        choice->setEditText(device == QLatin1String(VirtualLine::Name) ? virtualCaption() : device);
        choice->setAccessibleName(tr("Порт %1").arg(n));
        choice->lineEdit()->setAccessibleName(tr("Порт %1").arg(n));
        m_choices[static_cast<size_t>(n - 1)] = choice;
        numbers->addRow(tr("Порт %1").arg(n), choice);
    }

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("Сохранить"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("Отмена"));
    QPushButton *refresh = buttons->addButton(tr("Обновить список"), QDialogButtonBox::ActionRole);
    connect(refresh, &QPushButton::clicked, this, &PortsDialog::rescan);
    connect(buttons, &QDialogButtonBox::accepted, this, &PortsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &PortsDialog::reject);
    // Double-clicking a found device puts it on the first port without one.
    connect(m_found, &QTableWidget::cellDoubleClicked, this, [this](int row) {
        for (int n = PortMap::FirstPort; n <= PortMap::LastPort; ++n) {
            if (m_choices[static_cast<size_t>(n - 1)]->currentText().isEmpty()) {
                assign(n, m_devices.value(row).preferred());
                return;
            }
        }
    });

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Найденные последовательные порты:"), this));
    layout->addWidget(m_found);
    layout->addWidget(new QLabel(tr("Что стоит за каждым номером в списке Comport:"), this));
    layout->addLayout(numbers);
    layout->addWidget(buttons);
    resize(720, sizeHint().height());
    rescan();
}

void PortsDialog::rescan()
{
    m_devices = scanSerialDevices(m_byIdFolder);
    m_found->setRowCount(static_cast<int>(m_devices.size()));
    for (int row = 0; row < m_devices.size(); ++row) {
        const SerialDevice &d = m_devices[row];
        const QStringList cells{d.device, d.description, d.manufacturer, d.serialNumber, d.byId};
        for (int column = 0; column < cells.size(); ++column)
            m_found->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
    m_found->resizeColumnsToContents();
    for (QComboBox *choice : m_choices) {
        const QString current = choice->currentText();
        choice->clear();
        for (const SerialDevice &d : std::as_const(m_devices)) {
            choice->addItem(d.preferred());
            choice->setItemData(choice->count() - 1,
                                d.description.isEmpty()
                                    ? d.device
                                    : d.device + QStringLiteral(" — ") + d.description,
                                Qt::ToolTipRole);
        }
        if (m_virtual) {
            choice->addItem(virtualCaption());
            choice->setItemData(choice->count() - 1, tr("orvane-sim, запускаемый с портом"),
                                Qt::ToolTipRole);
        }
        choice->setEditText(current);
    }
}

void PortsDialog::assign(int port, const QString &target)
{
    if (PortMap::isPortNumber(port))
        m_choices[static_cast<size_t>(port - 1)]->setEditText(target);
}

PortMap PortsDialog::ports() const
{
    PortMap map;
    for (int n = PortMap::FirstPort; n <= PortMap::LastPort; ++n) {
        QString target = m_choices[static_cast<size_t>(n - 1)]->currentText().trimmed();
        if (target == virtualCaption())
            target = QString::fromLatin1(VirtualLine::Name);
        // A device with a by-id name is stored under it, so that it survives replugging.
        for (const SerialDevice &d : m_devices) {
            if (target == d.device && !d.byId.isEmpty())
                target = d.byId;
        }
        if (!target.isEmpty())
            map.map(n, target);
    }
    return map;
}

void PortsDialog::accept()
{
    if (m_settings) {
        const PortMap map = ports();
        for (int n = PortMap::FirstPort; n <= PortMap::LastPort; ++n) {
            const QString key = QStringLiteral("ports/%1").arg(n);
            if (map.isMapped(n))
                m_settings->setValue(key, map.device(n));
            else
                m_settings->remove(key);
        }
        m_settings->sync();
    }
    QDialog::accept();
}
