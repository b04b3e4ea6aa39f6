#include "sysinfo.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace SysInfo {

void decodeRegistryValue(quint32 type, const QByteArray &buffer, quint32 size, QString &text)
{
    QByteArray value = buffer.left(static_cast<qsizetype>(size));
    if (!value.isEmpty() && value.back() == '\0')
        value.chop(1);
    if (type == RegSz) {
        text = QString::fromLocal8Bit(value);
    } else if (type == RegDword) {
        text = QStringLiteral("&h");
        for (auto it = value.crbegin(); it != value.crend(); ++it)
            text += QString::asprintf("%02X", static_cast<unsigned>(static_cast<quint8>(*it)));
    }
}

QStringList candidateTools()
{
    return {QStringLiteral("hardinfo2"), QStringLiteral("hardinfo"), QStringLiteral("kinfocenter"),
            QStringLiteral("lshw-gtk")};
}

#ifdef Q_OS_WIN

bool GetKeyValue(const QString &keyName, const QString &valueName, QString &text)
{
    constexpr REGSAM Access = 0x2003F;
    HKEY key = nullptr;
    const QByteArray name = keyName.toLocal8Bit();
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, name.constData(), 0, Access, &key) != ERROR_SUCCESS) {
        text.clear();
        return false;
    }
    QByteArray buffer(1024, '\0');
    DWORD size = 1024;
    DWORD type = 0;
    const QByteArray value = valueName.toLocal8Bit();
    const LONG result = RegQueryValueExA(key, value.constData(), nullptr, &type,
                                         reinterpret_cast<BYTE *>(buffer.data()), &size);
    if (result != ERROR_SUCCESS) {
        text.clear();
        RegCloseKey(key);
        return false;
    }
    decodeRegistryValue(type, buffer, size, text);
    RegCloseKey(key);
    return true;
}

QString findTool()
{
    QString path;
    if (GetKeyValue(QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                    QStringLiteral("PATH"), path))
        return path;
    if (GetKeyValue(QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location"),
                    QStringLiteral("MSINFO"), path)) {
        const QString exe = path + QStringLiteral("\\MSINFO32.EXE");
        if (QFileInfo::exists(exe))
            return exe;
    }
    return {};
}

#else

QString findTool()
{
    // A relative PATH entry would start a program from whatever folder the console was
    // started in.
    QStringList folders;
    const QStringList entries =
        qEnvironmentVariable("PATH").split(QDir::listSeparator(), Qt::SkipEmptyParts);
    for (const QString &entry : entries) {
        if (QDir::isAbsolutePath(entry))
            folders << entry;
    }
    if (folders.isEmpty())
        return {};
    for (const QString &name : candidateTools()) {
        const QString path = QStandardPaths::findExecutable(name, folders);
        if (!path.isEmpty())
            return path;
    }
    return {};
}

#endif

} // namespace SysInfo
