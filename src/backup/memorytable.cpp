#include "memorytable.h"

#include "csv.h"

#include "model/bandnames.h"
#include "model/valuetext.h"
#include "settings/conflayout.h"
#include "settings/settingslocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSet>
#include <QStringConverter>
#include <QStringList>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

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

using namespace Csv;

} // namespace

QByteArray write(const QByteArray &settings)
{
    const ConfLayout::Image image(settings);
    const int stepC = image.stepC();
    const qint16 stepL = image.stepL();
    QByteArray out = row({QString::fromLatin1(StepCLabel), QString::number(stepC)}) +
                     row({QString::fromLatin1(StepLLabel), QString::number(stepL)}) +
                     row(columns());
    const QLocale c = QLocale::c();
    for (int a = 0; a < Slots::Antennas; ++a) {
        for (int b = 0; b < Slots::Bands; ++b) {
            for (int s = 0; s < Slots::SubBands; ++s) {
                const RelaySetting slot = image.slot({a, b, s});
                // The captions of the window, as older tables have them.
                out += row({QString::number(a + 1), BandNames::caption(b), QString::number(s + 1),
                            QString::number(slot.codeC), QString::number(slot.codeL),
                            sideText(slot.side), QString::number(stepC * slot.codeC),
                            generalNumberText(stepL / 1000.0 * slot.codeL, c)});
            }
        }
    }
    return out;
}

std::optional<Table> read(const QByteArray &csv, QString *error)
{
    const std::optional<QString> decoded = decode(csv, error);
    if (!decoded)
        return std::nullopt;
    const QString &text = *decoded;
    const QChar separator = separatorOf(text);
    const std::optional<QList<Record>> rows = records(text, separator, error);
    if (!rows)
        return std::nullopt;

    Table table;
    Problems problems;
    const auto failed = [&] {
        *error = problems.text();
        return std::nullopt;
    };
    const QString header = row(columns()).trimmed();
    int at = 0;
    // The steps come before the slot table's header.
    for (; at < rows->size(); ++at) {
        const Record &r = rows->at(at);
        const QString first = r.fields.value(0);
        if (r.fields.contains(columns().first(), Qt::CaseInsensitive))
            break;
        if (first.compare(QLatin1String(StepCLabel), Qt::CaseInsensitive) == 0) {
            if (const auto step = number(r.fields.value(1), 0, 128))
                table.stepC = static_cast<quint8>(*step);
            else
                problems.add(r.line,
                             TableText::tr("поле «%1»: нужно целое от 0 до 128").arg(first));
        } else if (first.compare(QLatin1String(StepLLabel), Qt::CaseInsensitive) == 0) {
            if (const auto step = number(r.fields.value(1), 1, 999))
                table.stepL = static_cast<qint16>(*step);
            else
                problems.add(r.line,
                             TableText::tr("поле «%1»: нужно целое от 1 до 999").arg(first));
        } else {
            problems.add(r.line, TableText::tr("ожидались шаги или заголовок таблицы «%1» (%2)")
                                     .arg(header, separatorName(separator)));
        }
    }
    if (at == rows->size()) {
        problems.add(
            rows->isEmpty() ? 1 : rows->last().line,
            TableText::tr("нет заголовка таблицы «%1» (%2)").arg(header, separatorName(separator)));
        return failed();
    }

    // The header names the columns; a spreadsheet may have moved them, but none may come twice.
    const Record &head = rows->at(at++);
    const std::vector<int> index = columnsOf(head, columns().mid(0, Count), problems);
    if (problems.any())
        return failed();

    QSet<int> seen;
    for (; at < rows->size(); ++at) {
        const Record &r = rows->at(at);
        const auto text = [&](Column c) {
            return r.fields.value(index[c]).trimmed();
        };
        const auto bad = [&](Column c, const QString &need) {
            problems.add(r.line,
                         TableText::tr("поле «%1» = «%2»: %3").arg(columns()[c], text(c), need));
        };
        bool whole = true;
        for (int c = 0; c < Count; ++c) {
            if (index[c] >= r.fields.size()) {
                problems.add(r.line, TableText::tr("нет поля «%1»").arg(columns()[c]));
                whole = false;
            }
        }
        if (!whole)
            continue;
        Slot slot;
        const auto antenna = number(text(Antenna), 1, Slots::Antennas);
        if (!antenna)
            bad(Antenna, TableText::tr("нужно 1, 2 или 3"));
        const std::optional<int> band = BandNames::find(text(Band));
        if (!band)
            bad(Band, TableText::tr("нужно одно из «160 м» … «10 м», «Д» (или 160m … 10m, Ext)"));
        const auto subBand = number(text(SubBand), 1, Slots::SubBands);
        if (!subBand)
            bad(SubBand, TableText::tr("нужно целое от 1 до 5"));
        const auto codeC = number(text(CodeC), 0, 255);
        if (!codeC)
            bad(CodeC, TableText::tr("нужно целое от 0 до 255"));
        const auto codeL = number(text(CodeL), 0, 255);
        if (!codeL)
            bad(CodeL, TableText::tr("нужно целое от 0 до 255"));
        const QString side = text(Side);
        std::optional<int> sideByte;
        if (side.compare(QLatin1String("Tx"), Qt::CaseInsensitive) == 0)
            sideByte = 1;
        else if (side.compare(QLatin1String("Ant"), Qt::CaseInsensitive) == 0)
            sideByte = 0;
        else
            sideByte = number(side, 0, 255);
        if (!sideByte)
            bad(Side, TableText::tr("нужно Tx, Ant или целое от 0 до 255"));
        if (!antenna || !band || !subBand || !codeC || !codeL || !sideByte)
            continue;
        slot.antenna = *antenna - 1;
        slot.band = *band;
        slot.subBand = *subBand - 1;
        slot.codeC = static_cast<quint8>(*codeC);
        slot.codeL = static_cast<quint8>(*codeL);
        slot.side = static_cast<quint8>(*sideByte);
        const int key = Slots::numberOf({slot.antenna, slot.band, slot.subBand});
        if (seen.contains(key)) {
            problems.add(r.line, TableText::tr("ячейка %1, %2, %3 уже была выше")
                                     .arg(*antenna)
                                     .arg(BandNames::caption(slot.band))
                                     .arg(*subBand));
            continue;
        }
        seen.insert(key);
        table.entries << slot;
    }
    if (problems.any())
        return failed();
    return table;
}

QByteArray apply(const QByteArray &settings, const Table &table)
{
    ConfLayout::Image image(settings);
    for (const Slot &slot : table.entries)
        image.setSlot({slot.antenna, slot.band, slot.subBand}, {slot.codeC, slot.codeL, slot.side});
    if (table.stepC)
        image.setByte(ConfLayout::StepC, *table.stepC);
    if (table.stepL)
        image.setWord(ConfLayout::StepL, *table.stepL);
    return image.bytes();
}

} // namespace MemoryTable

namespace MemoryFiles {

namespace {

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

bool readAll(const QString &path, QByteArray *bytes, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = shown(path) + QStringLiteral(": ") + file.errorString();
        return false;
    }
    *bytes = file.readAll();
    return true;
}

// An import reads a regular file, or standard input, and never more than the cap: a device
// or a pipe with no writer must neither hang the console nor fill its memory.
bool readTable(const QString &path, QByteArray *bytes, QString *error)
{
    QFile file;
    if (path == QLatin1String("-")) {
        if (!file.open(stdin, QIODevice::ReadOnly)) {
            *error = file.errorString();
            return false;
        }
    } else {
#ifdef Q_OS_UNIX
        const QByteArray name = QFile::encodeName(path);
        struct stat st
        {};
        const auto notAFile = [&] {
            *error = TableText::tr("%1: это не обычный файл").arg(shown(path));
            return false;
        };
        if (::stat(name.constData(), &st) == 0 && !S_ISREG(st.st_mode))
            return notAFile();
        // Without blocking, in case something else stands there by the time it opens.
        const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            *error =
                shown(path) + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno));
            return false;
        }
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            ::close(fd);
            return notAFile();
        }
        if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
            ::close(fd);
            *error = shown(path) + QStringLiteral(": ") + file.errorString();
            return false;
        }
#else
        file.setFileName(path);
        if (!QFileInfo(path).isFile())
            return false;
        if (!file.open(QIODevice::ReadOnly)) {
            *error = shown(path) + QStringLiteral(": ") + file.errorString();
            return false;
        }
#endif
    }
    *bytes = file.read(MaxImportBytes + 1);
    if (bytes->size() > MaxImportBytes) {
        *error =
            TableText::tr("%1: больше %2 КиБ, это не таблица памяти")
                .arg(path == QLatin1String("-") ? TableText::tr("стандартный ввод") : shown(path))
                .arg(MaxImportBytes / 1024);
        return false;
    }
    return true;
}

bool writeStream(const QString &path, const QByteArray &csv, QString *error);

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
    const QFileInfo target(csvPath);
    // Only a regular file, or a name with nothing there yet, may be replaced whole.
    if ((target.exists() && !target.isFile()) || (target.isSymLink() && !target.exists()))
        return writeStream(csvPath, csv, error);
    return writeWhole(csvPath, csv, error);
}

bool importFrom(const QString &csvPath, const QString &settingsPath, QString *error, int *imported)
{
    QByteArray csv;
    QString why;
    if (!readTable(csvPath, &csv, error))
        return false;
    const std::optional<MemoryTable::Table> table = MemoryTable::read(csv, &why);
    if (!table) {
        *error = csvPath + QStringLiteral(":\n") + why;
        return false;
    }
    QByteArray settings;
    if (QFileInfo::exists(settingsPath)) {
        if (!readAll(settingsPath, &settings, error) ||
            !writeWhole(settingsPath + QStringLiteral(".bak"), settings, error))
            return false;
    }
    if (imported)
        *imported = static_cast<int>(table->entries.size());
    return writeWhole(settingsPath, MemoryTable::apply(settings, *table), error);
}

namespace {

// A pipe, a device or a socket gets the table as a stream, in place.
bool writeStream(const QString &path, const QByteArray &csv, QString *error)
{
    const auto failed = [&](const QString &why) {
        *error = shown(path) + QStringLiteral(": ") + why;
        return false;
    };
#ifdef Q_OS_UNIX
    const QByteArray name = QFile::encodeName(path);
    struct stat st
    {};
    if (::stat(name.constData(), &st) != 0)
        return failed(TableText::tr("ссылка ведёт в никуда"));
    if (S_ISDIR(st.st_mode))
        return failed(TableText::tr("это папка"));
    // A pipe that nobody reads would hold the console forever: not opening it says so.
    const int fd = ::open(name.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return failed(errno == ENXIO ? TableText::tr("канал никто не читает")
                                     : QString::fromLocal8Bit(std::strerror(errno)));
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    qsizetype done = 0;
    while (done < csv.size()) {
        const ssize_t n =
            ::write(fd, csv.constData() + done, static_cast<size_t>(csv.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const QString why = QString::fromLocal8Bit(std::strerror(n < 0 ? errno : EIO));
            ::close(fd);
            return failed(why);
        }
        done += n;
    }
    if (::close(fd) != 0)
        return failed(QString::fromLocal8Bit(std::strerror(errno)));
    return true;
#else
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(csv) != csv.size())
        return failed(file.errorString());
    return true;
#endif
}

} // namespace

} // namespace MemoryFiles
