#include "memorytable.h"

#include "model/slots.h"
#include "model/valuetext.h"
#include "settings/settingsfile.h"
#include "settings/settingslocation.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSet>
#include <QStringConverter>
#include <QStringList>

#include <cstdio>

// The texts of this file, for translation.
struct TableText
{
    Q_DECLARE_TR_FUNCTIONS(MemoryTable)
};

namespace MemoryTable {

namespace {

const char *const StepCLabel = "C step pF";
const char *const StepLLabel = "L step nH";
const QStringList &columns()
{
    static const QStringList names{"antenna", "band", "sub-band", "C code",
                                   "L code",  "side", "C pF",     "L uH"};
    return names;
}
enum Column { Antenna, Band, SubBand, CodeC, CodeL, Side, Count };

// RFC 4180: a field with a comma, a quote or a line break is quoted, quotes doubled.
QByteArray field(const QString &text)
{
    QByteArray bytes = text.toUtf8();
    if (bytes.contains(',') || bytes.contains('"') || bytes.contains('\r') ||
        bytes.contains('\n')) {
        bytes.replace("\"", "\"\"");
        bytes = '"' + bytes + '"';
    }
    return bytes;
}

QByteArray row(const QStringList &fields)
{
    QByteArrayList out;
    for (const QString &f : fields)
        out << field(f);
    return out.join(',') + "\r\n";
}

int byteAt(const QByteArray &bytes, int position)
{
    return position <= bytes.size() ? static_cast<quint8>(bytes.at(position - 1)) : 0;
}

// The records of a CSV text with the line each starts on.
struct Record
{
    int line = 0;
    QStringList fields;
};

std::optional<QList<Record>> records(const QString &text, QString *error)
{
    QList<Record> out;
    Record current{1, {}};
    QString value;
    bool quoted = false;
    bool wasQuoted = false;
    int line = 1;
    const auto endField = [&] {
        current.fields << (wasQuoted ? value : value.trimmed());
        value.clear();
        wasQuoted = false;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < text.size() &&
                text.at(i + 1) == QLatin1Char('"')) {
                value += c;
                ++i;
            } else if (c == QLatin1Char('"')) {
                quoted = false;
            } else {
                if (c == QLatin1Char('\n'))
                    ++line;
                value += c;
            }
        } else if (c == QLatin1Char('"') && value.trimmed().isEmpty()) {
            quoted = wasQuoted = true;
            value.clear();
        } else if (c == QLatin1Char(',')) {
            endField();
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && i + 1 < text.size() &&
                text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            endField();
            if (!(current.fields.size() == 1 && current.fields[0].isEmpty()))
                out << current;
            current = Record{++line, {}};
        } else {
            value += c;
        }
    }
    if (quoted) {
        *error = TableText::tr("строка %1: кавычка не закрыта").arg(current.line);
        return std::nullopt;
    }
    endField();
    if (!(current.fields.size() == 1 && current.fields[0].isEmpty()))
        out << current;
    return out;
}

std::optional<int> number(const QString &text, int min, int max)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < min || value > max)
        return std::nullopt;
    return value;
}

} // namespace

QString bandCaption(int band)
{
    static const QStringList captions{"160 м", "80 м", "40 м", "30 м", "20 м",
                                      "17 м",  "15 м", "12 м", "10 м", "Д"};
    return captions.value(band);
}

QByteArray write(const QByteArray &settings)
{
    const int stepC = byteAt(settings, SettingsFile::StepC);
    const auto stepL = static_cast<qint16>(byteAt(settings, SettingsFile::StepL) |
                                           (byteAt(settings, SettingsFile::StepL + 1) << 8));
    QByteArray out = row({QString::fromLatin1(StepCLabel), QString::number(stepC)}) +
                     row({QString::fromLatin1(StepLLabel), QString::number(stepL)}) +
                     row(columns());
    const QLocale c = QLocale::c();
    for (int a = 0; a < Slots::Antennas; ++a) {
        for (int b = 0; b < Slots::Bands; ++b) {
            for (int s = 0; s < Slots::SubBands; ++s) {
                const int base = Slots::baseOf(a, b, s);
                const int codeC = byteAt(settings, base + 1);
                const int codeL = byteAt(settings, base + 2);
                const int side = byteAt(settings, base + 3);
                const QString sideText = side == 1   ? QStringLiteral("Tx")
                                         : side == 0 ? QStringLiteral("Ant")
                                                     : QString::number(side);
                out += row({QString::number(a + 1), bandCaption(b), QString::number(s + 1),
                            QString::number(codeC), QString::number(codeL), sideText,
                            QString::number(stepC * codeC),
                            generalNumberText(stepL / 1000.0 * codeL, c)});
            }
        }
    }
    return out;
}

std::optional<Table> read(const QByteArray &csv, QString *error)
{
    QByteArray bytes = csv;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    auto decoder = QStringDecoder(QStringDecoder::Utf8);
    const QString text = decoder(bytes);
    if (decoder.hasError() || text.contains(QChar(0))) {
        *error = TableText::tr("это не текст в UTF-8");
        return std::nullopt;
    }
    const std::optional<QList<Record>> rows = records(text, error);
    if (!rows)
        return std::nullopt;

    Table table;
    int at = 0;
    const auto fail = [&](int line, const QString &what) {
        *error = TableText::tr("строка %1: %2").arg(line).arg(what);
        return std::nullopt;
    };
    // The steps come before the slot table's header.
    for (; at < rows->size(); ++at) {
        const Record &r = rows->at(at);
        const QString first = r.fields.value(0);
        if (r.fields.contains(columns().first(), Qt::CaseInsensitive))
            break;
        if (first.compare(QLatin1String(StepCLabel), Qt::CaseInsensitive) == 0) {
            const auto step = number(r.fields.value(1), 0, 128);
            if (!step)
                return fail(r.line, TableText::tr("поле «%1»: нужно целое от 0 до 128").arg(first));
            table.stepC = static_cast<quint8>(*step);
        } else if (first.compare(QLatin1String(StepLLabel), Qt::CaseInsensitive) == 0) {
            const auto step = number(r.fields.value(1), 1, 999);
            if (!step)
                return fail(r.line, TableText::tr("поле «%1»: нужно целое от 1 до 999").arg(first));
            table.stepL = static_cast<qint16>(*step);
        } else {
            return fail(r.line, TableText::tr("ожидались шаги или заголовок таблицы «%1»")
                                    .arg(row(columns()).trimmed()));
        }
    }
    if (at == rows->size())
        return fail(rows->isEmpty() ? 1 : rows->last().line,
                    TableText::tr("нет заголовка таблицы «%1»").arg(row(columns()).trimmed()));

    // The header names the columns; a spreadsheet may have moved them.
    const Record &header = rows->at(at++);
    std::array<int, Count> index{};
    for (int c = 0; c < Count; ++c) {
        index[c] = -1;
        for (int i = 0; i < header.fields.size(); ++i) {
            if (header.fields[i].compare(columns()[c], Qt::CaseInsensitive) == 0)
                index[c] = i;
        }
        if (index[c] < 0)
            return fail(header.line,
                        TableText::tr("в заголовке нет столбца «%1»").arg(columns()[c]));
    }

    QSet<int> seen;
    for (; at < rows->size(); ++at) {
        const Record &r = rows->at(at);
        const auto text = [&](Column c) -> std::optional<QString> {
            if (index[c] >= r.fields.size())
                return std::nullopt;
            return r.fields[index[c]];
        };
        const auto missing = [&](Column c) {
            return fail(r.line, TableText::tr("нет поля «%1»").arg(columns()[c]));
        };
        const auto bad = [&](Column c, const QString &need) {
            return fail(r.line,
                        TableText::tr("поле «%1» = «%2»: %3").arg(columns()[c], *text(c), need));
        };
        for (int c = 0; c < Count; ++c) {
            if (!text(Column(c)))
                return missing(Column(c));
        }
        Slot slot;
        const auto antenna = number(*text(Antenna), 1, Slots::Antennas);
        if (!antenna)
            return bad(Antenna, TableText::tr("нужно 1, 2 или 3"));
        slot.antenna = *antenna - 1;
        slot.band = -1;
        for (int b = 0; b < Slots::Bands; ++b) {
            if (text(Band)->compare(bandCaption(b), Qt::CaseInsensitive) == 0)
                slot.band = b;
        }
        if (slot.band < 0)
            return bad(Band, TableText::tr("нужно одно из «160 м» … «10 м», «Д»"));
        const auto subBand = number(*text(SubBand), 1, Slots::SubBands);
        if (!subBand)
            return bad(SubBand, TableText::tr("нужно целое от 1 до 5"));
        slot.subBand = *subBand - 1;
        const auto codeC = number(*text(CodeC), 0, 255);
        if (!codeC)
            return bad(CodeC, TableText::tr("нужно целое от 0 до 255"));
        const auto codeL = number(*text(CodeL), 0, 255);
        if (!codeL)
            return bad(CodeL, TableText::tr("нужно целое от 0 до 255"));
        slot.codeC = static_cast<quint8>(*codeC);
        slot.codeL = static_cast<quint8>(*codeL);
        const QString side = text(Side)->trimmed();
        if (side.compare(QLatin1String("Tx"), Qt::CaseInsensitive) == 0)
            slot.side = 1;
        else if (side.compare(QLatin1String("Ant"), Qt::CaseInsensitive) == 0)
            slot.side = 0;
        else if (const auto raw = number(side, 0, 255))
            slot.side = static_cast<quint8>(*raw);
        else
            return bad(Side, TableText::tr("нужно Tx, Ant или целое от 0 до 255"));
        const int key = Slots::baseOf(slot.antenna, slot.band, slot.subBand);
        if (seen.contains(key))
            return fail(r.line, TableText::tr("ячейка %1, %2, %3 уже была выше")
                                    .arg(*antenna)
                                    .arg(bandCaption(slot.band))
                                    .arg(*subBand));
        seen.insert(key);
        table.entries << slot;
    }
    return table;
}

QByteArray apply(const QByteArray &settings, const Table &table)
{
    QByteArray out = settings;
    const auto put = [&](int position, int value) {
        if (out.size() < position)
            out.resize(position, '\0');
        out[position - 1] = static_cast<char>(value);
    };
    for (const Slot &slot : table.entries) {
        const int base = Slots::baseOf(slot.antenna, slot.band, slot.subBand);
        put(base + 1, slot.codeC);
        put(base + 2, slot.codeL);
        put(base + 3, slot.side);
    }
    if (table.stepC)
        put(SettingsFile::StepC, *table.stepC);
    if (table.stepL) {
        put(SettingsFile::StepL, *table.stepL & 0xFF);
        put(SettingsFile::StepL + 1, (*table.stepL >> 8) & 0xFF);
    }
    return out;
}

} // namespace MemoryTable

namespace MemoryFiles {

namespace {

bool readAll(const QString &path, QByteArray *bytes, QString *error)
{
    QFile file(path);
    if (path == QLatin1String("-") ? !file.open(stdin, QIODevice::ReadOnly)
                                   : !file.open(QIODevice::ReadOnly)) {
        *error = path + QStringLiteral(": ") + file.errorString();
        return false;
    }
    *bytes = file.readAll();
    return true;
}

} // namespace

bool exportTo(const QString &settingsPath, const QString &csvPath, QString *error)
{
    QByteArray settings;
    if (!readAll(settingsPath, &settings, error))
        return false;
    const QByteArray csv = MemoryTable::write(settings);
    if (csvPath == QLatin1String("-")) {
        const bool written = std::fwrite(csv.constData(), 1, static_cast<size_t>(csv.size()),
                                         stdout) == static_cast<size_t>(csv.size());
        std::fflush(stdout);
        if (!written)
            *error = TableText::tr("не удалось вывести таблицу");
        return written;
    }
    return writeWhole(csvPath, csv, error);
}

bool importFrom(const QString &csvPath, const QString &settingsPath, QString *error)
{
    QByteArray csv;
    QString why;
    if (!readAll(csvPath, &csv, error))
        return false;
    const std::optional<MemoryTable::Table> table = MemoryTable::read(csv, &why);
    if (!table) {
        *error = csvPath + QStringLiteral(", ") + why;
        return false;
    }
    QByteArray settings;
    if (QFileInfo::exists(settingsPath)) {
        if (!readAll(settingsPath, &settings, error) ||
            !writeWhole(settingsPath + QStringLiteral(".bak"), settings, error))
            return false;
    }
    return writeWhole(settingsPath, MemoryTable::apply(settings, *table), error);
}

} // namespace MemoryFiles
