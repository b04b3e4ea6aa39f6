#pragma once

#include "tune/tunesession.h"

#include <QDialog>

class QDialogButtonBox;
class QLabel;
class QProgressBar;
class QPushButton;

// "Подобрать согласование…": the warning, the search's progress, and at the end the choice to
// store the best setting in the slot or to leave the slot as it is.
class TuneDialog : public QDialog
{
    Q_OBJECT
public:
    // Shows a session that waits for the carrier, and starts it when shown.
    explicit TuneDialog(TuneSession &session, QWidget *parent = nullptr);

    TuneSession &session() { return m_session; }
    // The operator chose to store the setting found.
    bool storeChosen() const { return m_store; }

public slots:
    void store();
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void showProgress();
    QString settingText(const LNetwork::Setting &setting, double swr) const;

    TuneSession &m_session;
    QLabel *m_state;
    QLabel *m_bestSoFar;
    QProgressBar *m_progress;
    QDialogButtonBox *m_buttons;
    QPushButton *m_storeButton;
    bool m_started = false;
    bool m_store = false;
};
