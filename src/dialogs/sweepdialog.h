#pragma once

#include "tunes/tunestore.h"

#include <QDialog>

class ConsoleDialogs;
class FrequencyMemory;
class Panel;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QSpinBox;
class SweepPicture;
class Sweeper;

// "Обзор КСВ": a band or a stretch of it, the step, the dwell and what to sweep; while it
// runs the progress, the time left, Stop and the curve as it grows; the sweeps kept for the
// antenna and band, shown one or several at once, deleted, exported as a picture or a table.
class SweepDialog : public QDialog
{
    Q_OBJECT
public:
    SweepDialog(Panel &panel, Sweeper &sweeper, FrequencyMemory &memory, ConsoleDialogs *dialogs,
                QWidget *parent = nullptr);

    SweepPicture *picture() const { return m_picture; }
    QListWidget *kept() const { return m_kept; }
    QComboBox *band() const { return m_band; }
    QLabel *said() const { return m_said; }

public slots:
    void start();
    // The kept sweeps of the band, the newest run ticked.
    void reload();
    void forgetChosen();
    void exportPicture();
    void exportTable();

private:
    void chooseBand();
    // Draws what is ticked, and the run under way.
    void redraw();
    QList<StoredSweep> ticked() const;

    Panel &m_panel;
    Sweeper &m_sweeper;
    FrequencyMemory &m_memory;
    ConsoleDialogs *m_dialogs;
    QComboBox *m_band;
    QDoubleSpinBox *m_from;
    QDoubleSpinBox *m_to;
    QDoubleSpinBox *m_step;
    QSpinBox *m_dwell;
    QComboBox *m_what;
    QComboBox *m_side;
    QPushButton *m_start;
    QPushButton *m_stop;
    QProgressBar *m_progress;
    SweepPicture *m_picture;
    QListWidget *m_kept;
    QLabel *m_said;
};
