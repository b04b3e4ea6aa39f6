#include "news.h"

#include "commands.h"
#include "station/station.h"
#include "tune/tuning.h"
#include "tunes/sweeper.h"
#include "tunes/trainer.h"

StationNews::StationNews(Station &station, QObject *parent)
    : QObject(parent)
{
    Panel &panel = station.panel();
    connect(&panel, &Panel::changed, this,
            [this, &panel] { emit told(Kind::State, ControlCommands::stateLine(panel.state())); });
    connect(&panel.lineLog(), &LineLog::added, this, [this](const LineLog::Entry &entry) {
        emit told(Kind::Log, ControlCommands::logLine(entry));
    });
    connect(&station.tuning(), &Tuning::begun, this, [this](TuneSession *session) {
        connect(session, &TuneSession::changed, this,
                [this, session] { emit told(Kind::Tune, ControlCommands::tuneLine(*session)); });
    });
    {
        Trainer *trainer = &station.trainer();
        connect(trainer, &Trainer::progressed, this, [this](const Trainer::Progress &p) {
            emit told(Kind::Train, "!train Done=" + QByteArray::number(p.done) +
                                       " Total=" + QByteArray::number(p.total) +
                                       " Stored=" + QByteArray::number(p.stored) +
                                       " Failed=" + QByteArray::number(p.failed) +
                                       " Skipped=" + QByteArray::number(p.skipped) +
                                       " LeftMs=" + QByteArray::number(p.msLeft) + '\n');
        });
        connect(trainer, &Trainer::finished, this, [this](const QString &, bool complete) {
            emit told(Kind::Train, complete ? QByteArray("!train Finished=1\n")
                                            : QByteArray("!train Finished=0\n"));
        });
    }
    {
        Sweeper *sweeper = &station.sweeper();
        connect(sweeper, &Sweeper::measured, this,
                [this](Sweeper::Kind kind, const StoredSweep::Point &p) {
                    emit told(Kind::Sweep, ControlCommands::sweepLine(kind, p));
                });
        connect(sweeper, &Sweeper::finished, this,
                [this](int points, const QString &stopped, const QString &) {
                    emit told(Kind::Sweep, ControlCommands::sweepEnd(points, stopped));
                });
    }
}
