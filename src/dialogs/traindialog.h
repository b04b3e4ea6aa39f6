#pragma once

#include <QDialog>

class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QProgressBar;
class QPushButton;
class Trainer;

// "Обучить диапазон": the stretch of the band to train, whether known bins are trained again,
// and while it runs the progress, the time left and Stop.
class TrainDialog : public QDialog
{
    Q_OBJECT
public:
    // low, high: the band's edges, Hz; watts: the carrier's limit.
    TrainDialog(Trainer &trainer, int band, qint64 low, qint64 high, double watts,
                QWidget *parent = nullptr);

    QPushButton *startButton() const { return m_start; }
    QPushButton *stopButton() const { return m_stop; }
    QProgressBar *progress() const { return m_progress; }
    QLabel *said() const { return m_said; }

public slots:
    void start();

private:
    Trainer &m_trainer;
    int m_band;
    QDoubleSpinBox *m_from;
    QDoubleSpinBox *m_to;
    QCheckBox *m_again;
    QProgressBar *m_progress;
    QLabel *m_said;
    QPushButton *m_start;
    QPushButton *m_stop;
};
