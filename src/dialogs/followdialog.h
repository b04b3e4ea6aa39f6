#pragma once

#include "rig/followsource.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;

// "Следить за трансивером…": where the radio's frequency comes from (rigctld, a logger's
// RadioInfo, WSJT-X, Hamlib's multicast), where it is heard, and for the announcing ones
// which radio or which program.
class FollowDialog : public QDialog
{
    Q_OBJECT
public:
    // current: the source last followed (FollowSource's text); radio and program as kept.
    FollowDialog(const QString &current, int radio, const QString &program,
                 QWidget *parent = nullptr);

    // The source as FollowSource reads it; valid once accepted.
    QString source() const;
    // RadioInfo: 0 the active radio, 1 or 2.
    int radio() const;
    QString program() const;

    // Picks the kind as the list does, with its usual address.
    void choose(FollowSource::Kind kind);
    // What the radio followed now says, or what it cannot say; empty hides it.
    void setStatus(const QString &text);
    QLabel *status() const { return m_status; }
    QLineEdit *addressEdit() const { return m_address; }

public slots:
    void accept() override;

private:
    FollowSource::Kind kind() const;
    void showKind();

    QComboBox *m_kind;
    QLineEdit *m_address;
    QLabel *m_addressHint;
    QComboBox *m_radio;
    QLabel *m_radioLabel;
    QLineEdit *m_program;
    QLabel *m_programLabel;
    QLabel *m_problem;
    QLabel *m_status;
};
