#include "csv.h"

#include <QCoreApplication>
#include <QStringDecoder>

// The texts of the tables, for translation.
struct TableText
{
    Q_DECLARE_TR_FUNCTIONS(MemoryTable)
};

namespace Csv {

namespace {

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

} // namespace

QByteArray row(const QStringList &fields)
{
    QByteArrayList out;
    for (const QString &f : fields)
        out << field(f);
    return out.join(',') + "\r\n";
}

std::optional<QString> decode(const QByteArray &bytes, QString *error)
{
    QByteArray body = bytes;
    if (body.startsWith("\xEF\xBB\xBF"))
        body.remove(0, 3);
    auto decoder = QStringDecoder(QStringDecoder::Utf8);
    const QString text = decoder(body);
    if (decoder.hasError() || text.contains(QChar(0))) {
        *error = TableText::tr("это не текст в UTF-8");
        return std::nullopt;
    }
    return text;
}

QChar separatorOf(const QString &text)
{
    int commas = 0;
    int semicolons = 0;
    bool quoted = false;
    for (const QChar c : text) {
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (!quoted && (c == QLatin1Char('\n') || c == QLatin1Char('\r')))
            break;
        else if (!quoted && c == QLatin1Char(','))
            ++commas;
        else if (!quoted && c == QLatin1Char(';'))
            ++semicolons;
    }
    return semicolons > commas ? QLatin1Char(';') : QLatin1Char(',');
}

std::optional<QList<Record>> records(const QString &text, QChar separator, QString *error,
                                     qsizetype limit, bool *more)
{
    if (more)
        *more = false;
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
        } else if (c == separator) {
            endField();
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && i + 1 < text.size() &&
                text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            endField();
            if (!(current.fields.size() == 1 && current.fields[0].isEmpty()))
                out << current;
            current = Record{++line, {}};
            if (limit >= 0 && out.size() >= limit) {
                // Whatever follows is not read: only whether there is any.
                if (more)
                    *more = !text.mid(i + 1).trimmed().isEmpty();
                return out;
            }
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

void Problems::add(int line, const QString &what)
{
    if (m_lines.size() < MaxReported)
        m_lines << TableText::tr("строка %1: %2").arg(line).arg(what);
    else
        ++m_more;
}

QString Problems::text() const
{
    QString out = m_lines.join(QLatin1Char('\n'));
    if (m_more > 0)
        out += QLatin1Char('\n') + TableText::tr("… и ещё %n", nullptr, m_more);
    return out;
}

QString separatorName(QChar separator)
{
    return TableText::tr("поля разделены знаком «%1»").arg(separator);
}

std::vector<int> columnsOf(const Record &header, const QStringList &names, Problems &problems)
{
    std::vector<int> index(size_t(names.size()), -1);
    for (qsizetype c = 0; c < names.size(); ++c) {
        for (qsizetype i = 0; i < header.fields.size(); ++i) {
            if (header.fields[i].compare(names[c], Qt::CaseInsensitive) != 0)
                continue;
            if (index[size_t(c)] >= 0)
                problems.add(header.line,
                             TableText::tr("столбец «%1» назван дважды").arg(names[c]));
            index[size_t(c)] = int(i);
        }
        if (index[size_t(c)] < 0)
            problems.add(header.line, TableText::tr("в заголовке нет столбца «%1»").arg(names[c]));
    }
    return index;
}

} // namespace Csv
