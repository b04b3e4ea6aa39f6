#pragma once

#include "tune/lnetwork.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QList>
#include <QString>

#include <optional>

// An antenna's impedance across frequency, as a vector network analyser measured it: a
// Touchstone 1.x one-port file (.s1p) or a CSV table of "frequency Hz,R,X".
struct AntennaMeasurement
{
    struct Point
    {
        qint64 hz = 0;
        LNetwork::Impedance z;
        friend bool operator==(const Point &, const Point &) = default;
    };

    static constexpr qint64 MaxBytes = 16 * 1024 * 1024;
    static constexpr int MaxPoints = 100000;
    static constexpr qint64 MinHz = 100000;
    static constexpr qint64 MaxHz = 3000000000;

    QList<Point> points; // ascending in frequency
    QString file;        // the name it was read from
    qint64 imported = 0; // ms since the epoch, UTC

    // A Touchstone file by its name (.s1p, .snp refused), else a CSV table. None with the
    // reason, naming the line, for anything that is not a passive one-port measurement.
    static std::optional<AntennaMeasurement> read(const QByteArray &bytes, const QString &fileName,
                                                  QString *error);
    static std::optional<AntennaMeasurement> readTouchstone(const QByteArray &bytes,
                                                            QString *error);
    static std::optional<AntennaMeasurement> readCsv(const QByteArray &bytes, QString *error);
    // Reads the file, at most MaxBytes of it.
    static std::optional<AntennaMeasurement> readFile(const QString &path, QString *error);

    // The impedance at hz, linear between the two points around it; none outside.
    std::optional<LNetwork::Impedance> at(qint64 hz) const;
    // The CSV table of the points, as readCsv reads it.
    QByteArray csv() const;

    // Last: it leaves what follows private.
    Q_DECLARE_TR_FUNCTIONS(AntennaMeasurement)
};
