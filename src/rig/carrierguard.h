#pragma once

#include <QObject>
#include <QStringList>
#include <QTimer>

// The guard outside the console, for the path where no code of the console runs any more: a
// small program of ours, started in a process group of its own with a pipe from the console
// on its standard input and a heartbeat on it. When the console's end of the pipe closes (the
// console died) or the heartbeat stops for SilenceMs (the console hangs), the guard unkeys the
// radio and puts it back on a connection of its own; told that the job ended, it just ends.
class CarrierGuard : public QObject
{
    Q_OBJECT
public:
    static constexpr int BeatMs = 500;
    static constexpr int SilenceMs = 2000;
    // What the guard reads on its standard input.
    static constexpr char Beat = 'b';
    static constexpr char Done = 'd';

    explicit CarrierGuard(QObject *parent = nullptr);
    // Closes the pipe without a word: a guard that was not released acts.
    ~CarrierGuard() override;

    bool start(const QString &program, const QStringList &arguments, QString *error);
    // The job ended in order: the guard ends without acting.
    void release();
    bool running() const;
    qint64 pid() const { return m_pid; }
    // The guard has ended (its process reaped).
    bool ended() const { return m_ended; }

signals:
    // The guard is gone while it should watch (a beat could not be written).
    void lost();

private:
    void beat();
    bool send(char byte);
    void closePipe();
    void reap();

    QTimer m_beat;
    qint64 m_pid = 0;
    bool m_ended = false;
#ifdef Q_OS_WIN
    void *m_pipe = nullptr;
    void *m_process = nullptr;
#else
    int m_pipe = -1;
#endif
};
