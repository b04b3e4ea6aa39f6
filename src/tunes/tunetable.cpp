#include "tunetable.h"

#include "backup/csv.h"
#include "model/relaysetting.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QSet>

#include <cmath>

struct TuneTableText
{
    Q_DECLARE_TR_FUNCTIONS(TuneTable)
};

namespace TuneTable {

namespace {

const QStringList &columns()
{
    static const QStringList names{"antenna", "frequency Hz", "C code", "L code", "side",
                                   "SWR",     "stored",       "source", "pinned"};
    return names;
}
enum Column { Antenna, Frequency, CodeC, CodeL, Side, Swr, Stored, Source, Pinned, Count };

} // namespace

QByteArray write(const QList<StoredTune> &tunes)
{
    QByteArray out = Csv::row(columns());
    for (const StoredTune &t : tunes) {
        out +=
            Csv::row({QString::number(t.antenna + 1), QString::number(t.hz),
                      QString::number(t.relays.codeC), QString::number(t.relays.codeL),
                      sideText(t.relays.side), t.swr ? QString::number(*t.swr, 'f', 2) : QString(),
                      QDateTime::fromMSecsSinceEpoch(t.stored, Qt::UTC).toString(Qt::ISODate),
                      StoredTune::sourceName(t.source),
                      t.pinned ? QStringLiteral("1") : QStringLiteral("0")});
    }
    return out;
}

qsizetype maxRows(const BandPlan &plan)
{
    return qsizetype(3 * plan.binCount());
}

std::optional<QList<TuneStore::Placed>> read(const QByteArray &csv, const BandPlan &plan,
                                             QString *error)
{
    const std::optional<QString> text = Csv::decode(csv, error);
    if (!text)
        return std::nullopt;
    const QChar separator = Csv::separatorOf(*text);
    Csv::Problems problems;
    // The header first: a file that is not this table is refused before its rows are read.
    const std::optional<QList<Csv::Record>> head = Csv::records(*text, separator, error, 1);
    if (!head)
        return std::nullopt;
    if (head->isEmpty()) {
        *error = TuneTableText::tr("строка 1: нет заголовка таблицы «%1» (%2)")
                     .arg(Csv::row(columns()).trimmed(), Csv::separatorName(separator));
        return std::nullopt;
    }
    const std::vector<int> index = Csv::columnsOf(head->first(), columns(), problems);
    if (problems.any()) {
        *error = problems.text();
        return std::nullopt;
    }
    bool more = false;
    const std::optional<QList<Csv::Record>> rows =
        Csv::records(*text, separator, error, maxRows(plan) + 1, &more);
    if (!rows)
        return std::nullopt;
    if (more) {
        *error = TuneTableText::tr("строк больше %1: столько ячеек нет во всех диапазонах, "
                                   "трижды")
                     .arg(maxRows(plan));
        return std::nullopt;
    }
    QList<TuneStore::Placed> out;
    QSet<QPair<int, qint64>> bins;
    for (qsizetype r = 1; r < rows->size(); ++r) {
        const Csv::Record &row = rows->at(r);
        const auto field = [&](Column c) {
            return row.fields.value(index[size_t(c)]).trimmed();
        };
        const auto bad = [&](Column c, const QString &need) {
            problems.add(
                row.line,
                TuneTableText::tr("поле «%1» = «%2»: %3").arg(columns()[c], field(c), need));
        };
        StoredTune t;
        const auto antenna = Csv::number(field(Antenna), 1, 3);
        if (!antenna)
            bad(Antenna, TuneTableText::tr("нужно 1, 2 или 3"));
        bool okHz = false;
        const qint64 hz = field(Frequency).toLongLong(&okHz);
        const std::optional<BandPlan::Bin> found = okHz ? plan.binOf(hz) : std::nullopt;
        const BandPlan::Bin bin = found.value_or(BandPlan::Bin{});
        if (!found)
            bad(Frequency, TuneTableText::tr("нужна частота в Гц внутри одного из диапазонов"));
        const auto c = Csv::number(field(CodeC), 0, 255);
        if (!c)
            bad(CodeC, TuneTableText::tr("нужно целое от 0 до 255"));
        const auto l = Csv::number(field(CodeL), 0, 255);
        if (!l)
            bad(CodeL, TuneTableText::tr("нужно целое от 0 до 255"));
        const QString sideField = field(Side);
        const std::optional<int> side =
            sideField.compare(QLatin1String("Tx"), Qt::CaseInsensitive) == 0 ? 1
            : sideField.compare(QLatin1String("Ant"), Qt::CaseInsensitive) == 0
                ? 0
                : Csv::number(sideField, 0, 255);
        if (!side)
            bad(Side, TuneTableText::tr("нужно Tx, Ant или целое от 0 до 255"));
        // A spreadsheet that separates with semicolons writes a decimal comma.
        bool okSwr = true;
        if (!field(Swr).isEmpty()) {
            const double swr =
                QString(field(Swr)).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&okSwr);
            okSwr = okSwr && std::isfinite(swr) && swr >= 1.0 && swr < 1000;
            if (okSwr)
                t.swr = swr;
        }
        if (!okSwr)
            bad(Swr, TuneTableText::tr("нужно пусто или число от 1"));
        t.stored = QDateTime::currentMSecsSinceEpoch();
        if (!field(Stored).isEmpty()) {
            const QDateTime when = QDateTime::fromString(field(Stored), Qt::ISODate);
            if (when.isValid())
                t.stored = when.toMSecsSinceEpoch();
            else
                bad(Stored, TuneTableText::tr("нужна дата ISO 8601 или пусто"));
        }
        if (!field(Source).isEmpty() && !StoredTune::sourceNamed(field(Source)))
            bad(Source, TuneTableText::tr("нужно save, search, training или import"));
        const auto pinned =
            field(Pinned).isEmpty() ? std::optional<int>(0) : Csv::number(field(Pinned), 0, 1);
        if (!pinned)
            bad(Pinned, TuneTableText::tr("нужно 0 или 1"));
        if (!antenna || !found || !c || !l || !side || !okSwr || !pinned)
            continue;
        if (bins.contains({*antenna, bin.low})) {
            problems.add(row.line, TuneTableText::tr("ячейка %1–%2 Гц антенны %3 уже была выше")
                                       .arg(bin.low)
                                       .arg(bin.high)
                                       .arg(*antenna));
            continue;
        }
        bins.insert({*antenna, bin.low});
        t.antenna = *antenna - 1;
        t.hz = hz;
        t.relays = {quint8(*c), quint8(*l), quint8(*side)};
        t.source = StoredTune::Source::Import;
        t.pinned = *pinned == 1;
        out << TuneStore::Placed{t, bin.low, bin.high};
    }
    if (problems.any()) {
        *error = problems.text();
        return std::nullopt;
    }
    return out;
}

} // namespace TuneTable
