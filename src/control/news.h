#pragma once

#include "panel/panel.h"

#include <QByteArray>
#include <QObject>

class Station;

// What every subscribed client is told as it happens, one line each, in the control port's
// words: the state, the line log, the search, the training, the sweep. The control port sends the
// lines as they are; the page turns them into its messages.
class StationNews : public QObject
{
    Q_OBJECT
public:
    enum class Kind { State, Log, Tune, Train, Sweep };

    explicit StationNews(Station &station, QObject *parent = nullptr);

signals:
    // "!state …", "!log …", "!tune …", "!train …", "!sweep …", each ending in a newline.
    void told(StationNews::Kind kind, const QByteArray &line);
};
