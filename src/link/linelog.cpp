#include "linelog.h"

#include "packet.h"

#include <QCoreApplication>
#include <QDateTime>

namespace {

struct LogText
{
    Q_DECLARE_TR_FUNCTIONS(LineLog)
};

} // namespace

void LineLog::add(Entry entry)
{
    if (entry.msecs == 0)
        entry.msecs = QDateTime::currentMSecsSinceEpoch();
    entry.number = ++m_count;
    if (m_entries.size() >= Capacity)
        m_entries.pop_front();
    m_entries.push_back(std::move(entry));
    emit added(m_entries.back());
}

void LineLog::clear()
{
    m_entries.clear();
    emit cleared();
}

QString LineLog::causeName(Cause cause)
{
    switch (cause) {
    case Cause::Operator:
        return LogText::tr("оператор");
    case Cause::Start:
        return LogText::tr("запуск");
    case Cause::Refresh:
        return QStringLiteral("Refresh");
    case Cause::Radio:
        return LogText::tr("трансивер");
    case Cause::Remote:
        return LogText::tr("удалённый клиент");
    case Cause::Search:
        return LogText::tr("подбор");
    case Cause::Import:
        return LogText::tr("импорт");
    }
    return {};
}

QString LineLog::meaning(const Entry &entry)
{
    const auto packet = [&] {
        return entry.bytes.size() == Packet::Size
                   ? Packet::meaning(static_cast<quint8>(entry.bytes.at(3)),
                                     static_cast<quint8>(entry.bytes.at(4)),
                                     static_cast<quint8>(entry.bytes.at(5)))
                   : QString();
    };
    switch (entry.kind) {
    case Entry::Sent:
        return packet();
    case Entry::Dropped:
        return LogText::tr("%1 — не отправлен: %2").arg(packet(), entry.text);
    case Entry::Opened:
        return LogText::tr("порт открыт: %1").arg(entry.text);
    case Entry::Closed:
        return LogText::tr("порт закрыт");
    case Entry::Failed:
        return LogText::tr("порт недоступен: %1").arg(entry.text);
    case Entry::Recall:
        return LogText::tr("вызов ячейки: %1 (%2)").arg(entry.text, causeName(entry.cause));
    case Entry::Note:
        return entry.text;
    }
    return {};
}

QString LineLog::line(const Entry &entry)
{
    const QString time = QDateTime::fromMSecsSinceEpoch(entry.msecs)
                             .toLocalTime()
                             .toString(QStringLiteral("HH:mm:ss.zzz"));
    const QString port = entry.port > 0 ? LogText::tr("порт %1").arg(entry.port) : QString();
    const QString bytes = QString::fromLatin1(entry.bytes.toHex(' ').toUpper());
    QStringList parts{time, port, bytes, meaning(entry)};
    parts.removeAll(QString());
    return parts.join(QStringLiteral("  "));
}
