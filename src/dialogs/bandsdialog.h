#pragma once

#include "rig/bandplan.h"

#include <QDialog>

class QLabel;
class QTableWidget;

// "Диапазоны": the ten bands with their edges and the edges of their five sub-bands, as band
// following reads them; checked before it is taken, with the defaults a press away.
class BandsDialog : public QDialog
{
    Q_OBJECT
public:
    explicit BandsDialog(const BandPlan &plan, QWidget *parent = nullptr);

    // The table as the operator left it; none while a cell is no number.
    std::optional<BandPlan> plan() const;

public slots:
    void restoreDefaults();
    // Taken only when the table serves; otherwise the dialog says why and stays.
    void accept() override;

private:
    void show(const BandPlan &plan);

    QTableWidget *m_table;
    QLabel *m_problem;
};
