#pragma once

#include "tune/partsfit.h"

#include <QDialog>

#include <array>

class ConsoleDialogs;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class Station;

// "Детали тюнера": the tuner's parts as the console models them, each relay's capacitor and
// coil, the stray capacitance and the coils' Q; edited by hand, fitted to the radio's readings
// (applied only on the operator's OK), and the parts before the last change brought back.
class PartsDialog : public QDialog
{
    Q_OBJECT
public:
    PartsDialog(Station &station, ConsoleDialogs *dialogs, QWidget *parent = nullptr);

    QLabel *said() const { return m_said; }

public slots:
    void keep();
    void fit();
    void undo();

private:
    void showParts(const LNetwork::Parts &parts);
    LNetwork::Parts shown() const;

    Station &m_station;
    ConsoleDialogs *m_dialogs;
    std::array<QDoubleSpinBox *, LNetwork::Parts::Relays> m_capacitors{};
    std::array<QDoubleSpinBox *, LNetwork::Parts::Relays> m_coils{};
    QDoubleSpinBox *m_stray;
    QDoubleSpinBox *m_q;
    QPushButton *m_fit;
    QLabel *m_said;
};
