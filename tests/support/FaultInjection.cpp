#include "FaultInjection.h"

#include <algorithm>
#include <csignal>
#include <cstring>

namespace vosmira::test {

FailingDevice::FailingDevice(QByteArray data, qint64 goodBytes, Fault fault)
    : m_data(std::move(data))
    , m_good(goodBytes)
    , m_fault(fault)
{
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

qint64 FailingDevice::readData(char *data, qint64 maxSize)
{
    const qint64 available = std::min<qint64>(m_good, m_data.size()) - m_read;
    if (available <= 0) {
        if (m_fault == ReadError)
            setErrorString(QStringLiteral("injected read error"));
        return m_fault == ReadError ? -1 : 0;
    }
    const qint64 n = std::min(available, maxSize);
    std::memcpy(data, m_data.constData() + m_read, std::size_t(n));
    m_read += n;
    return n;
}

FileSizeLimit::FileSizeLimit(qint64 bytes)
{
    // Past the limit the kernel also sends SIGXFSZ, which would end the test.
    m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &m_previous);
    rlimit limit = m_previous;
    limit.rlim_cur = rlim_t(bytes);
    setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit()
{
    setrlimit(RLIMIT_FSIZE, &m_previous);
    std::signal(SIGXFSZ, m_previousHandler);
}

} // namespace vosmira::test
