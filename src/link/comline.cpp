#include "comline.h"

#include <windows.h>

namespace {

QString systemMessage(DWORD error)
{
    wchar_t *text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t *>(&text), 0, nullptr);
    const QString message = length ? QString::fromWCharArray(text, int(length)).trimmed()
                                   : QStringLiteral("error %1").arg(error);
    LocalFree(text);
    return message;
}

LineProblem problemOf(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return {LineProblem::NotFound, {}};
    // Windows opens a COM port for one program at a time.
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
        return {LineProblem::Busy, {}};
    case ERROR_INVALID_FUNCTION:
    case ERROR_NOT_SUPPORTED:
        return {LineProblem::NotSerial, {}};
    default:
        return {LineProblem::Other, systemMessage(error)};
    }
}

} // namespace

std::unique_ptr<LineDevice> LineDevice::serial(const QString &device)
{
    return std::make_unique<ComLine>(device);
}

ComLine::ComLine(const QString &device)
    : m_device(device)
{}

ComLine::~ComLine()
{
    close();
}

LineDevice::OpenResult ComLine::open(const LineSettings &settings)
{
    close();
    m_problem = {};
    // "\\.\" reaches COM10 and above too.
    const QString path = m_device.startsWith(QLatin1String("\\\\.\\"))
                             ? m_device
                             : QStringLiteral("\\\\.\\") + m_device;
    HANDLE handle =
        CreateFileW(reinterpret_cast<const wchar_t *>(path.utf16()), GENERIC_READ | GENERIC_WRITE,
                    0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        m_problem = problemOf(GetLastError());
        return OpenResult::Failed;
    }
    if (GetFileType(handle) != FILE_TYPE_CHAR) {
        CloseHandle(handle);
        m_problem = {LineProblem::NotSerial, {}};
        return OpenResult::Failed;
    }
    m_handle = handle;
    COMMTIMEOUTS timeouts{};
    timeouts.WriteTotalTimeoutConstant = WriteTimeoutMs;
    if (!applySettings(settings) || !SetCommTimeouts(handle, &timeouts)) {
        const DWORD error = GetLastError();
        CloseHandle(handle);
        m_handle = nullptr;
        m_problem = problemOf(error);
        if (m_problem.kind == LineProblem::Other || m_problem.kind == LineProblem::NotFound)
            m_problem = {LineProblem::NotSerial, systemMessage(error)};
        return OpenResult::Failed;
    }
    m_stop = false;
    m_failed = false;
    m_stuck = false;
    m_pending.clear();
    m_writer = std::thread([this] { run(); });
    return OpenResult::Open;
}

bool ComLine::applySettings(const LineSettings &s)
{
    if (!m_handle)
        return false;
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(m_handle, &dcb))
        return false;
    dcb.BaudRate = DWORD(s.baudRate);
    dcb.ByteSize = BYTE(s.dataBits);
    switch (s.parity) {
    case LineSettings::Parity::None:
        dcb.Parity = NOPARITY;
        break;
    case LineSettings::Parity::Even:
        dcb.Parity = EVENPARITY;
        break;
    case LineSettings::Parity::Odd:
        dcb.Parity = ODDPARITY;
        break;
    case LineSettings::Parity::Mark:
        dcb.Parity = MARKPARITY;
        break;
    case LineSettings::Parity::Space:
        dcb.Parity = SPACEPARITY;
        break;
    }
    dcb.fParity = s.parity != LineSettings::Parity::None;
    dcb.StopBits = s.stopBits == LineSettings::StopBits::Two          ? TWOSTOPBITS
                   : s.stopBits == LineSettings::StopBits::OneAndHalf ? ONE5STOPBITS
                                                                      : ONESTOPBIT;
    // No flow control: the controller only listens.
    dcb.fBinary = TRUE;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    return SetCommState(m_handle, &dcb);
}

LineDevice::WriteResult ComLine::write(const QByteArray &bytes)
{
    if (!m_handle)
        return WriteResult::Gone;
    {
        std::lock_guard lock(m_mutex);
        if (m_failed) {
            m_problem = {LineProblem::Lost, systemMessage(m_error)};
        } else if (m_stuck || m_pending.size() + bytes.size() > MaxPending) {
            m_problem = {LineProblem::Stalled, {}};
            return WriteResult::Stalled;
        } else {
            m_pending += bytes;
            m_wake.notify_one();
            return WriteResult::Accepted;
        }
    }
    close();
    return WriteResult::Gone;
}

void ComLine::run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stop || !m_pending.isEmpty(); });
        if (m_pending.isEmpty())
            return; // stopped with nothing left to say
        QByteArray bytes;
        bytes.swap(m_pending);
        lock.unlock();
        DWORD written = 0;
        const bool ok =
            WriteFile(m_handle, bytes.constData(), DWORD(bytes.size()), &written, nullptr);
        const DWORD error = ok ? 0 : GetLastError();
        lock.lock();
        if (!ok) {
            // An adapter pulled out, a driver gone: the next write says so.
            m_failed = true;
            m_error = error;
            m_pending.clear();
            return;
        }
        // A timeout: the line takes nothing new until the rest, which goes first, is out.
        m_stuck = qsizetype(written) < bytes.size();
        if (m_stuck)
            m_pending.prepend(bytes.mid(qsizetype(written)));
        if (m_stop)
            return;
    }
}

void ComLine::stopWriter()
{
    if (!m_writer.joinable())
        return;
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_one();
    m_writer.join();
}

void ComLine::close()
{
    // What was handed over still goes out, as far as the line takes it within its timeout.
    stopWriter();
    if (m_handle) {
        CloseHandle(m_handle);
        m_handle = nullptr;
    }
}
