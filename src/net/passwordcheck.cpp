#include "passwordcheck.h"

#include "credentials.h"

#include <QThread>

#include <algorithm>

PasswordCheck::PasswordCheck(QObject *parent)
    : QObject(parent)
{}

PasswordCheck::~PasswordCheck()
{
    if (!m_thread)
        return;
    m_thread->quit();
    m_thread->wait();
}

bool PasswordCheck::hasRoom(const QString &from) const
{
    const auto fromThere = std::count_if(m_queue.cbegin(), m_queue.cend(),
                                         [&](const Job &job) { return job.from == from; });
    return m_queue.size() < MaxQueued && fromThere < MaxQueuedPerAddress;
}

bool PasswordCheck::submit(const QString &password, const QStringList &records, const QString &from,
                           QObject *context, Done done)
{
    if (!hasRoom(from))
        return false;
    m_queue.append({password, records, from, context, std::move(done)});
    next();
    return true;
}

void PasswordCheck::next()
{
    if (m_running || m_queue.isEmpty())
        return;
    if (!m_thread) {
        m_thread = new QThread(this);
        m_worker = new QObject;
        m_worker->moveToThread(m_thread);
        connect(m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
        m_thread->start();
    }
    m_running = true;
    const Job &job = m_queue.first();
    QMetaObject::invokeMethod(m_worker, [this, password = job.password, records = job.records] {
        int matched = -1;
        for (int n = 0; n < records.size() && matched < 0; ++n) {
            if (!records[n].isEmpty() && Credentials::matches(password, records[n]))
                matched = n;
        }
        QMetaObject::invokeMethod(this, [this, matched] { finished(matched); });
    });
}

void PasswordCheck::finished(int matched)
{
    m_running = false;
    const Job job = m_queue.takeFirst();
    if (job.context)
        job.done(matched);
    next();
}
