#pragma once

#include <QWidget>

class QLabel;
class QListWidget;
class RigServer;
class SimEndpoint;
class VirtualController;
class LampRow;
class NetworkSketch;

namespace Packet {
struct Decoded;
}

// The virtual controller's window: the relay block as lamps, the values, and every packet
// as it arrives.
class SimWindow : public QWidget
{
    Q_OBJECT
public:
    // The log keeps this many lines; older ones scroll away.
    static constexpr int MaxLogLines = 5000;

    // With a radio, its frequency, transmit state and SWR show too.
    SimWindow(VirtualController &controller, SimEndpoint &endpoint, RigServer *radio = nullptr,
              QWidget *parent = nullptr);

    QString logText() const;

public slots:
    void copyLog();
    void clearLog();

private:
    void showState();
    void addLine(const QString &text, bool error);

    VirtualController &m_controller;
    SimEndpoint &m_endpoint;
    RigServer *m_radio;
    QLabel *m_where;
    QLabel *m_radioState;
    LampRow *m_lampsC;
    LampRow *m_lampsL;
    QLabel *m_valueC;
    QLabel *m_valueL;
    NetworkSketch *m_sketch;
    QLabel *m_side;
    QLabel *m_counters;
    QListWidget *m_log;
};
