#pragma once

#include <QByteArray>
#include <QChar>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// Tables as plain CSV (RFC 4180, UTF-8), written so that a spreadsheet reads them and read
// as spreadsheets in many languages write them: with commas or semicolons, quoted or not,
// with a byte order mark; every problem named with its line.
namespace Csv {

// The most problems of one file that are named, each with its line and field.
constexpr int MaxReported = 20;

// One line of fields, quoted where RFC 4180 needs it, ended with CRLF.
QByteArray row(const QStringList &fields);

// The records of a CSV text with the line each starts on.
struct Record
{
    int line = 0;
    QStringList fields;
};

// The text of a file: UTF-8, a byte order mark dropped; none when it is no such text.
std::optional<QString> decode(const QByteArray &bytes, QString *error);
// A spreadsheet writes semicolons where the comma is the decimal sign: whichever of the two
// appears more often outside quotes on the first line separates the fields.
QChar separatorOf(const QString &text);
// At most limit records are read (none: all); more, when given, says whether any were left.
std::optional<QList<Record>> records(const QString &text, QChar separator, QString *error,
                                     qsizetype limit = -1, bool *more = nullptr);
// "fields separated by «;»", for a message about the header.
QString separatorName(QChar separator);
// A whole number within min–max.
std::optional<int> number(const QString &text, int min, int max);

// The problems of one file, each on its line; past MaxReported they are only counted.
class Problems
{
public:
    void add(int line, const QString &what);
    bool any() const { return !m_lines.isEmpty(); }
    QString text() const;

private:
    QStringList m_lines;
    int m_more = 0;
};

// Where each named column stands in a header (spreadsheets move columns); a column named
// twice or missing is a problem of the header's line.
std::vector<int> columnsOf(const Record &header, const QStringList &names, Problems &problems);

} // namespace Csv
