#pragma once

#include <QDialog>

class ConsoleDialogs;
class FrequencyMemory;
class Panel;
class QComboBox;
class QLabel;
class QTableWidget;
class Trainer;
class TuneMap;

// "Память частот": one antenna's frequency memories on one band, as a table and as a
// picture of C and L across the band; entries deleted, pinned or stored here; the whole
// memory exported and imported as CSV; the band trained.
class FrequencyMemoryWindow : public QDialog
{
    Q_OBJECT
public:
    FrequencyMemoryWindow(Panel &panel, FrequencyMemory &memory, Trainer &trainer,
                          ConsoleDialogs *dialogs, QWidget *parent = nullptr);

    QTableWidget *table() const { return m_table; }
    TuneMap *map() const { return m_map; }
    QComboBox *antenna() const { return m_antenna; }
    QComboBox *band() const { return m_band; }

public slots:
    // Shows what the memory holds now for the chosen antenna and band.
    void refresh();
    void forgetChosen();
    void pinChosen();
    // The relays the console has now, for the chosen entry's bin (else the radio's).
    void storeHere();
    void exportTable();
    void importTable();
    void train();

signals:
    // "Обзор КСВ…" was pressed: the console opens its sweep.
    void sweepAsked();

private:
    // The frequency of the chosen row, or none.
    std::optional<qint64> chosen() const;

    Panel &m_panel;
    FrequencyMemory &m_memory;
    Trainer &m_trainer;
    ConsoleDialogs *m_dialogs;
    QComboBox *m_antenna;
    QComboBox *m_band;
    QTableWidget *m_table;
    TuneMap *m_map;
    QLabel *m_said;
};
