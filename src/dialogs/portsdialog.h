#pragma once

#include "link/portmap.h"
#include "link/portscan.h"

#include <QDialog>

#include <array>

class QComboBox;
class QSettings;
class QTableWidget;

// "Порты…": which device, serial server or typed path stands behind each of the sixteen port
// numbers. The choice is kept in the ports/N keys of the user's settings.
class PortsDialog : public QDialog
{
    Q_OBJECT
public:
    // virtualController: whether the virtual controller can be offered.
    PortsDialog(const PortMap &ports, QSettings *settings, const QString &byIdFolder,
                bool virtualController, QWidget *parent = nullptr);
    // How the virtual controller is shown in the lists.
    static QString virtualCaption();

    // The devices found when the dialog opened or was last refreshed.
    const QList<SerialDevice> &devices() const { return m_devices; }
    // Puts a device on a port number, as choosing it in the list does.
    void assign(int port, const QString &target);
    // The map as the operator left it.
    PortMap ports() const;

public slots:
    void rescan();
    void accept() override;

private:
    QString m_byIdFolder;
    bool m_virtual;
    QSettings *m_settings;
    QList<SerialDevice> m_devices;
    QTableWidget *m_found;
    std::array<QComboBox *, PortMap::LastPort> m_choices{};
};
