#pragma once

#include "link/portscan.h"
#include "link/virtualline.h"

#include <QDialog>

class QComboBox;
class QSpinBox;

// "Первый запуск": what a console without settings needs before it can talk to a tuner, the
// controller's line and the two relay steps, asked once.
class FirstStartDialog : public QDialog
{
    Q_OBJECT
public:
    // What a port may lead to besides a device: the virtual controller, started while the
    // console has the port open.
    static constexpr const char *Virtual = VirtualLine::Name;

    struct Choice
    {
        QString device; // a device, HOST:PORT, Virtual, or empty for none yet
        int stepC = 0;  // pF
        int stepL = 0;  // nH
    };

    // given: a device the command line named, offered first and chosen.
    FirstStartDialog(const QList<SerialDevice> &devices, bool virtualController,
                     const QString &given = {}, QWidget *parent = nullptr);

    Choice choice() const;
    QComboBox *controllers() const { return m_controllers; }
    QSpinBox *stepC() const { return m_stepC; }
    QSpinBox *stepL() const { return m_stepL; }

private:
    QComboBox *m_controllers;
    QSpinBox *m_stepC;
    QSpinBox *m_stepL;
};
