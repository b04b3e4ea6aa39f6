#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <memory>

class QThread;

// Checks passwords against their records away from the window's thread: a key derivation takes
// half a second on purpose, and a stranger's guesses must not freeze the console or keep any
// other client waiting. One check runs at a time; a few wait their turn, and what comes past
// that is refused at once.
class PasswordCheck : public QObject
{
    Q_OBJECT
public:
    // Checks waiting or running at once, and of those from one address.
    static constexpr int MaxQueued = 8;
    static constexpr int MaxQueuedPerAddress = 2;

    // The index of the record the password matches, or -1.
    using Done = std::function<void(int matched)>;

    explicit PasswordCheck(QObject *parent = nullptr);
    ~PasswordCheck() override;

    // Queues a check; done runs later on this object's thread, unless context is gone by
    // then. False, and done never runs, when the queue is full for that address or at all.
    bool submit(const QString &password, const QStringList &records, const QString &from,
                QObject *context, Done done);
    // Whether a check from that address would be taken now.
    bool hasRoom(const QString &from) const;
    int queued() const { return int(m_queue.size()); }

private:
    struct Job
    {
        QString password;
        QStringList records;
        QString from;
        QPointer<QObject> context;
        Done done;
    };
    void next();
    void finished(int matched);

    // Started with the first check: a console whose doors need no password has no thread.
    QThread *m_thread = nullptr;
    QObject *m_worker = nullptr;
    QList<Job> m_queue; // the first one runs
    bool m_running = false;
};
