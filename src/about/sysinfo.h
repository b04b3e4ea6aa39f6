#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Finding and starting the operating system's system-information tool.
namespace SysInfo {

// Registry value types the lookup understands.
constexpr quint32 RegSz = 1;
constexpr quint32 RegDword = 4;

// The text made of a registry value read into a buffer: size is the number of bytes the
// registry wrote. A trailing zero byte is dropped; a string becomes text, a DWORD "&h" and
// its bytes in hexadecimal, last byte first. Other types leave text as it was.
void decodeRegistryValue(quint32 type, const QByteArray &buffer, quint32 size, QString &text);

// Programs tried, in this order, on systems without the Windows tool.
QStringList candidateTools();

// The path of the tool, or empty when there is none.
QString findTool();

#ifdef Q_OS_WIN
// Reads one registry value under HKEY_LOCAL_MACHINE.
bool GetKeyValue(const QString &keyName, const QString &valueName, QString &text);
#endif

} // namespace SysInfo
