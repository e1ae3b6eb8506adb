#include "MemoryProbe.h"

#include "UDMbanco.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>

#include <cstdio>
#include <stdexcept>

using namespace Qt::Literals::StringLiterals;

namespace vbench {

namespace {

// A "Name:   1234 kB" line of /proc/self/status.
long long statusKiB(const char *name)
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return -1;
    const QByteArray key = QByteArray(name) + ':';
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

} // namespace

int runMemoryProbe(const QString &programFolder)
{
    const long long before = statusKiB("VmRSS");
    TDMbanco dm(programFolder);
    try {
        dm.connectSequence();
    } catch (const std::exception &e) {
        std::fprintf(stderr, "memory probe: %s\n", e.what());
        return 1;
    }
    std::printf("%lld %lld %lld %d\n", before, statusKiB("VmRSS"), statusKiB("VmHWM"), dm.CDSCliente->RecordCount());
    return 0;
}

void measureMemory(const SizeRun &run)
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {u"--memory-probe"_s, run.programFolder});
    if (!child.waitForFinished(-1) || child.exitCode() != 0)
        throw std::runtime_error("the memory probe failed: " + child.readAllStandardError().toStdString());
    const QList<QByteArray> figures = child.readAllStandardOutput().trimmed().split(' ');
    if (figures.size() != 4 || figures.at(3).toInt() != run.n)
        throw std::runtime_error("the memory probe gave no figures");
    run.set(u"memory.before"_s, figures.at(0).toDouble() * 1024);
    run.set(u"memory.rss"_s, figures.at(1).toDouble() * 1024);
    run.set(u"memory.peak"_s, figures.at(2).toDouble() * 1024);
}

} // namespace vbench
