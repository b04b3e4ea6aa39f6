#pragma once

#include "support/consolefixture.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

// A folder for settings files and memory tables, and the files the table's tests write.
struct TableFiles
{
    QTemporaryDir temp;
    QString path(const char *name) const { return temp.filePath(QString::fromLatin1(name)); }
    static QByteArray get(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static bool put(const QString &path, const QByteArray &bytes)
    {
        QFile file(path);
        return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
               file.write(bytes) == bytes.size();
    }
    // A settings file with every slot used, sides of every kind, and the bytes around.
    static QByteArray fullSettings(quint32 seed)
    {
        QRandomGenerator random(seed);
        SettingsImage image;
        for (int slot = 0; slot < Slots::Count; ++slot)
            image.slot(ConfLayout::selectionOf(ConfLayout::SlotSize * slot),
                       int(random.bounded(256)), int(random.bounded(256)),
                       QList<int>{0, 1, 7}[int(random.bounded(3))]);
        image.setWord(ConfLayout::Unused, 0xCDAB);
        return image.lastSaved(186).port(3).steps(12, 450).bytes();
    }
    static QByteArray table(const QString &rows)
    {
        return ("antenna,band,sub-band,C code,L code,side\r\n" + rows).toUtf8();
    }
};
