#pragma once

#include <QWidget>

class QLabel;
class QListWidget;
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

    SimWindow(VirtualController &controller, SimEndpoint &endpoint, QWidget *parent = nullptr);

    QString logText() const;

public slots:
    void copyLog();
    void clearLog();

private:
    void showState();
    void addLine(const QString &text, bool error);

    VirtualController &m_controller;
    SimEndpoint &m_endpoint;
    QLabel *m_where;
    LampRow *m_lampsC;
    LampRow *m_lampsL;
    QLabel *m_valueC;
    QLabel *m_valueL;
    NetworkSketch *m_sketch;
    QLabel *m_side;
    QLabel *m_counters;
    QListWidget *m_log;
};
