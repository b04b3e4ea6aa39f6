#pragma once

#include "panel/panel.h"

#include <QHash>
#include <QObject>
#include <QTimer>

class QWidget;

// What each control of the window is called and what it does, in the current language: for a
// screen reader (accessible names and descriptions, the bars as sliders with their values)
// and, where the design gives none, for the pointer (tooltips). Where the window already has
// a caption or a tooltip, the name carries the caption and the description the tooltip. What
// changes (a relay's weight, a bar's value, the port's state, the side) follows the panel.
class ControlHints : public QObject
{
    Q_OBJECT
public:
    // How often a bar's changing value is said at most.
    static constexpr int AnnounceMs = 250;

    ControlHints(Panel &panel, QWidget *window);

private:
    void nameFixed();
    void follow();
    QWidget *control(const QString &name) const;
    void describe(const QString &name, const QString &accessibleName,
                  const QString &description = {}, const QString &toolTip = {});

    Panel &m_panel;
    QWidget *m_window;
    Panel::State m_shown;
    bool m_first = true;
    QTimer m_announce;
    QList<QWidget *> m_barsToAnnounce;
    // The tooltips of the design, taken before any was added.
    QHash<const QWidget *, QString> m_designed;
};
