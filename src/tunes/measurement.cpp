#include "measurement.h"

#include "backup/csv.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

using Impedance = LNetwork::Impedance;

QString atLine(int line, const QString &what)
{
    return AntennaMeasurement::tr("строка %1: %2").arg(line).arg(what);
}

// The checks every point passes, whatever its file: a frequency in range and above the last,
// finite values, a passive load.
bool accept(QList<AntennaMeasurement::Point> &points, int line, double hz, Impedance z,
            QString *error)
{
    if (!std::isfinite(hz) || !std::isfinite(z.real()) || !std::isfinite(z.imag())) {
        *error = atLine(line, AntennaMeasurement::tr("значение, которое не число"));
        return false;
    }
    if (hz < AntennaMeasurement::MinHz || hz > AntennaMeasurement::MaxHz) {
        *error = atLine(line, AntennaMeasurement::tr("%1 Гц вне 100 кГц–3 ГГц").arg(hz, 0, 'f', 0));
        return false;
    }
    const qint64 rounded = std::llround(hz);
    if (!points.isEmpty() && rounded <= points.last().hz) {
        *error = atLine(line, AntennaMeasurement::tr("частоты не возрастают"));
        return false;
    }
    // A negative resistance is a load that gives power back: |Γ| > 1.
    if (z.real() < -1e-9 * std::max(1.0, std::abs(z))) {
        *error = atLine(line, AntennaMeasurement::tr("активная нагрузка (|Γ| > 1)"));
        return false;
    }
    if (points.size() >= AntennaMeasurement::MaxPoints) {
        *error = atLine(
            line, AntennaMeasurement::tr("больше %1 точек").arg(AntennaMeasurement::MaxPoints));
        return false;
    }
    points << AntennaMeasurement::Point{rounded, {std::max(0.0, z.real()), z.imag()}};
    return true;
}

bool tooLarge(const QByteArray &bytes, QString *error)
{
    if (bytes.size() <= AntennaMeasurement::MaxBytes)
        return false;
    *error = AntennaMeasurement::tr("файл больше 16 МиБ");
    return true;
}

} // namespace

std::optional<AntennaMeasurement> AntennaMeasurement::read(const QByteArray &bytes,
                                                           const QString &fileName, QString *error)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    static const QRegularExpression touchstone(QStringLiteral("^s(\\d+)p$"));
    const QRegularExpressionMatch m = touchstone.match(suffix);
    std::optional<AntennaMeasurement> read;
    if (m.hasMatch() && m.captured(1) != QLatin1String("1")) {
        *error = tr("файл %1-портовый: антенну описывает только однопортовое "
                    "измерение (.s1p)")
                     .arg(m.captured(1));
        return std::nullopt;
    }
    read = m.hasMatch() ? readTouchstone(bytes, error) : readCsv(bytes, error);
    if (read)
        read->file = QFileInfo(fileName).fileName();
    return read;
}

std::optional<AntennaMeasurement> AntennaMeasurement::readTouchstone(const QByteArray &bytes,
                                                                     QString *error)
{
    if (tooLarge(bytes, error))
        return std::nullopt;
    // The standard's defaults: GHz, S parameters, magnitude and angle, 50 Ω.
    double unit = 1e9;
    QChar parameter = QLatin1Char('S');
    QString format = QStringLiteral("MA");
    double reference = 50;
    bool optionsSeen = false;
    AntennaMeasurement out;
    int line = 0;
    for (const QByteArray &raw : bytes.split('\n')) {
        ++line;
        QString text = QString::fromLatin1(raw);
        if (const qsizetype bang = text.indexOf(QLatin1Char('!')); bang >= 0)
            text.truncate(bang);
        text = text.trimmed();
        if (text.isEmpty())
            continue;
        if (text.startsWith(QLatin1Char('#'))) {
            // Only the first option line counts.
            if (optionsSeen)
                continue;
            optionsSeen = true;
            const QStringList words = text.mid(1).toUpper().split(
                QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
            for (qsizetype i = 0; i < words.size(); ++i) {
                const QString &w = words[i];
                if (w == QLatin1String("HZ"))
                    unit = 1;
                else if (w == QLatin1String("KHZ"))
                    unit = 1e3;
                else if (w == QLatin1String("MHZ"))
                    unit = 1e6;
                else if (w == QLatin1String("GHZ"))
                    unit = 1e9;
                else if (w == QLatin1String("S") || w == QLatin1String("Z") ||
                         w == QLatin1String("Y"))
                    parameter = w.at(0);
                else if (w == QLatin1String("H") || w == QLatin1String("G")) {
                    *error = atLine(
                        line, AntennaMeasurement::tr("параметры %1 описывают четырёхполюсник, "
                                                     "а не антенну")
                                  .arg(w));
                    return std::nullopt;
                } else if (w == QLatin1String("MA") || w == QLatin1String("DB") ||
                           w == QLatin1String("RI"))
                    format = w;
                else if (w == QLatin1String("R") && i + 1 < words.size()) {
                    bool ok = false;
                    reference = words[++i].toDouble(&ok);
                    if (!ok || !std::isfinite(reference) || reference <= 0) {
                        *error = atLine(line, AntennaMeasurement::tr("нет опорного сопротивления"));
                        return std::nullopt;
                    }
                } else {
                    *error =
                        atLine(line, AntennaMeasurement::tr("\"%1\" в строке параметров").arg(w));
                    return std::nullopt;
                }
            }
            continue;
        }
        if (text.startsWith(QLatin1Char('['))) {
            *error = atLine(line, AntennaMeasurement::tr(
                                      "ключевое слово Touchstone 2: читается только версия 1"));
            return std::nullopt;
        }
        const QStringList words =
            text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
        if (words.size() == 9) {
            *error =
                atLine(line, AntennaMeasurement::tr("данные двух портов: антенну описывает только "
                                                    "однопортовое измерение"));
            return std::nullopt;
        }
        if (words.size() != 3) {
            *error = atLine(
                line, AntennaMeasurement::tr("%1 столбцов, а в строке однопортового файла их 3 "
                                             "(частота и пара значений)")
                          .arg(words.size()));
            return std::nullopt;
        }
        double v[3];
        for (int i = 0; i < 3; ++i) {
            bool ok = false;
            v[i] = words[i].toDouble(&ok);
            if (!ok) {
                *error = atLine(line, AntennaMeasurement::tr("\"%1\" — не число").arg(words[i]));
                return std::nullopt;
            }
        }
        std::complex<double> value;
        if (format == QLatin1String("RI")) {
            value = {v[1], v[2]};
        } else {
            const double magnitude =
                format == QLatin1String("DB") ? std::pow(10.0, v[1] / 20) : v[1];
            value = std::polar(magnitude, v[2] * std::numbers::pi / 180);
        }
        // Version 1 gives Z and Y normalised to the reference resistance.
        Impedance z;
        if (parameter == QLatin1Char('S')) {
            if (std::abs(value) > 1 + 1e-9) {
                *error = atLine(line, AntennaMeasurement::tr("активная нагрузка (|Γ| > 1)"));
                return std::nullopt;
            }
            z = reference * (1.0 + value) / (1.0 - value);
        } else if (parameter == QLatin1Char('Z')) {
            z = value * reference;
        } else {
            z = reference / value;
        }
        if (!accept(out.points, line, v[0] * unit, z, error))
            return std::nullopt;
    }
    if (out.points.isEmpty()) {
        *error = AntennaMeasurement::tr("нет точек");
        return std::nullopt;
    }
    return out;
}

std::optional<AntennaMeasurement> AntennaMeasurement::readCsv(const QByteArray &bytes,
                                                              QString *error)
{
    if (tooLarge(bytes, error))
        return std::nullopt;
    const std::optional<QString> text = Csv::decode(bytes, error);
    if (!text)
        return std::nullopt;
    const QChar separator = Csv::separatorOf(*text);
    const std::optional<QList<Csv::Record>> rows = Csv::records(*text, separator, error);
    if (!rows)
        return std::nullopt;
    AntennaMeasurement out;
    for (const Csv::Record &r : *rows) {
        if (r.fields.size() == 1 && r.fields[0].trimmed().isEmpty())
            continue;
        double v[3];
        bool header = false;
        for (int i = 0; i < 3; ++i) {
            if (i >= r.fields.size()) {
                *error = atLine(r.line, AntennaMeasurement::tr("не хватает столбца: нужны частота "
                                                               "в Гц, R и X"));
                return std::nullopt;
            }
            QString field = r.fields[i].trimmed();
            // Where semicolons separate, the comma is the decimal sign.
            if (separator == QLatin1Char(';'))
                field.replace(QLatin1Char(','), QLatin1Char('.'));
            bool ok = false;
            v[i] = field.toDouble(&ok);
            if (!ok) {
                // The first line may name the columns.
                if (out.points.isEmpty() && r.line == rows->first().line && !field.isEmpty() &&
                    field.at(0).isLetter()) {
                    header = true;
                    break;
                }
                *error = atLine(r.line, AntennaMeasurement::tr("\"%1\" — не число").arg(field));
                return std::nullopt;
            }
        }
        if (header)
            continue;
        if (!accept(out.points, r.line, v[0], {v[1], v[2]}, error))
            return std::nullopt;
    }
    if (out.points.isEmpty()) {
        *error = AntennaMeasurement::tr("нет точек");
        return std::nullopt;
    }
    return out;
}

std::optional<AntennaMeasurement> AntennaMeasurement::readFile(const QString &path, QString *error)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("%1: %2").arg(path, file.exists() ? file.errorString()
                                                                  : tr("нет такого файла"));
        return std::nullopt;
    }
    const QByteArray bytes = file.read(MaxBytes + 1);
    std::optional<AntennaMeasurement> read = AntennaMeasurement::read(bytes, path, error);
    if (!read)
        *error = QStringLiteral("%1: %2").arg(QFileInfo(path).fileName(), *error);
    return read;
}

std::optional<LNetwork::Impedance> AntennaMeasurement::at(qint64 hz) const
{
    if (points.isEmpty() || hz < points.first().hz || hz > points.last().hz)
        return std::nullopt;
    const auto above = std::lower_bound(points.cbegin(), points.cend(), hz,
                                        [](const Point &p, qint64 f) { return p.hz < f; });
    if (above->hz == hz || above == points.cbegin())
        return above->z;
    const Point &low = *(above - 1);
    const double t = double(hz - low.hz) / double(above->hz - low.hz);
    return low.z + (above->z - low.z) * t;
}

QByteArray AntennaMeasurement::csv() const
{
    QByteArray out =
        Csv::row({QStringLiteral("frequency Hz"), QStringLiteral("R"), QStringLiteral("X")});
    for (const Point &p : points)
        out += Csv::row({QString::number(p.hz), QString::number(p.z.real(), 'g', 12),
                         QString::number(p.z.imag(), 'g', 12)});
    return out;
}
