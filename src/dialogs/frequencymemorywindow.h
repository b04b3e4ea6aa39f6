#pragma once

#include "tune/lnetwork.h"
#include "tunes/tunestore.h"

#include <QDialog>

#include <functional>

class ConsoleDialogs;
class FrequencyMemory;
class Panel;
class QComboBox;
class QLabel;
class QTableWidget;
class Trainer;
class SmithChart;
class TuneMap;

// "Память частот": one antenna's frequency memories on one band, as a table and as a
// picture of C and L across the band; entries deleted, pinned or stored here; the whole
// memory exported and imported as CSV; the band trained; the antenna's measurement read in,
// with the band on the Smith chart.
class FrequencyMemoryWindow : public QDialog
{
    Q_OBJECT
public:
    // parts: the tuner's parts as the console models them now.
    FrequencyMemoryWindow(Panel &panel, FrequencyMemory &memory, Trainer &trainer,
                          ConsoleDialogs *dialogs, std::function<LNetwork::Parts()> parts,
                          QWidget *parent = nullptr);

    QTableWidget *table() const { return m_table; }
    TuneMap *map() const { return m_map; }
    SmithChart *smith() const { return m_smith; }
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
    // The chosen antenna's measurement: a file read in, or the one before it back.
    void importMeasurement();
    void undoMeasurement();
    // The map and the Smith chart as a PNG file.
    void savePicture();

signals:
    // "Обзор КСВ…" was pressed: the console opens its sweep.
    void sweepAsked();
    // "Детали тюнера…" was pressed.
    void partsAsked();

private:
    void showSmith(int antenna, int band, const QList<StoredTune> &tunes);
    void computed(const QString &path, const QString &error, const QStringList &bands);
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
    SmithChart *m_smith;
    QWidget *m_pictures;
    std::function<LNetwork::Parts()> m_parts;
    QLabel *m_said;
};
