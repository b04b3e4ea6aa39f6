#pragma once

#include "mqtt/stationbus.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;

// "MQTT": the station's broker, what the console may do there, and how the connection is.
class MqttDialog : public QDialog
{
    Q_OBJECT
public:
    MqttDialog(const StationBus::Choice &choice, const MqttClient *client,
               QWidget *parent = nullptr);

    StationBus::Choice choice() const;

private:
    void check();

    QLineEdit *m_url;
    QLineEdit *m_ca;
    QCheckBox *m_readOnly;
    QCheckBox *m_discovery;
    QLabel *m_problem;
    QPushButton *m_save;
};
