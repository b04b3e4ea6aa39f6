#include "carrierjournal.h"

#include "settings/settingslocation.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>

namespace {

// A journal is a few hundred bytes: anything bigger is not one.
constexpr qint64 MaxSize = 4096;

} // namespace

QString CarrierJournal::pathIn(const QString &folder)
{
    return QDir(folder).filePath(QString::fromLatin1(FileName));
}

bool CarrierJournal::write(const QString &folder, const Record &record, QString *error)
{
    const QJsonObject object{{"job", record.job},
                             {"rig", record.rig.text()},
                             {"put_back", QString::fromLatin1(record.putBack.text())},
                             {"since", QString::number(record.since)}};
    return writeWhole(pathIn(folder), QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n',
                      error);
}

std::optional<CarrierJournal::Record> CarrierJournal::read(const QString &folder)
{
    QFile file(pathIn(folder));
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxSize)
        return std::nullopt;
    const QJsonObject object = QJsonDocument::fromJson(file.read(MaxSize)).object();
    Record out;
    out.job = object.value(QLatin1String("job")).toString();
    const std::optional<HostPort> rig =
        HostPort::parse(object.value(QLatin1String("rig")).toString());
    const std::optional<RadioSnapshot> putBack =
        RadioSnapshot::parse(object.value(QLatin1String("put_back")).toString().toLatin1());
    if (out.job.isEmpty() || !rig || !putBack)
        return std::nullopt;
    out.rig = *rig;
    out.putBack = *putBack;
    out.since = object.value(QLatin1String("since")).toString().toLongLong();
    return out;
}

bool CarrierJournal::clear(const QString &folder, const QString &job)
{
    const QString path = pathIn(folder);
    if (!QFile::exists(path))
        return true;
    if (!job.isEmpty()) {
        const std::optional<Record> record = read(folder);
        if (record && record->job != job)
            return true;
    }
    if (!QFile::remove(path))
        return false;
    syncFolder(folder);
    return true;
}

QString CarrierJournal::newJobName()
{
    return QString::number(QRandomGenerator::system()->generate64(), 36);
}
