#include "FileBench.h"

#include "Timing.h"

#include <QFile>
#include <QStandardPaths>

#include <functional>
#include <stdexcept>
#include <utility>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace vbench {

namespace {

// Read and write in blocks of the given size until the source is exhausted.
void blockCopy(const QString &from, const QString &to, qint64 block)
{
    QFile in(from);
    QFile out(to);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::ReadWrite | QIODevice::Truncate))
        throw std::runtime_error("cannot open the files to copy");
    QByteArray buffer(block, Qt::Uninitialized);
    for (;;) {
        const qint64 got = in.read(buffer.data(), block);
        if (got < 0)
            throw std::runtime_error("read failed");
        if (got == 0)
            break;
        if (out.write(buffer.constData(), got) != got)
            throw std::runtime_error("write failed");
    }
}

} // namespace

void measureFileCopy(const SizeRun &run)
{
    const QString source = run.databasePath;
    const QString target = run.programFolder + u"Bck_Vosmira_bench.mdb"_s;
    const QString cp = QStandardPaths::findExecutable(u"cp"_s);
    if (cp.isEmpty())
        throw std::runtime_error("cp is not installed");

    timedProcess(cp, {source, target}); // page cache warm for everyone
    // Taken in turn within each repetition, so a busy moment of the machine falls on all alike.
    const std::vector<std::pair<QString, std::function<void()>>> ways{
        // The copy routine of the backup window: read and write 2048 bytes at a time.
        {u"backup.2k"_s, [&] { blockCopy(source, target, 2048); }},
        {u"backup.64k"_s, [&] { blockCopy(source, target, 64 * 1024); }},
        {u"backup.qfile"_s,
         [&] {
             if (!QFile::copy(source, target))
                 throw std::runtime_error("QFile::copy failed");
         }},
        {u"backup.ref"_s,
         [&] {
             timedProcess(cp, {source, target});
         }},
    };
    std::vector<std::vector<double>> times(ways.size());
    for (int r = 0; r < run.repeat; ++r) {
        for (std::size_t w = 0; w < ways.size(); ++w) {
            QFile::remove(target);
            times[w].push_back(timed(ways[w].second));
            if (QFile(target).size() != QFile(source).size())
                throw std::runtime_error("a copy is not the size of the database file");
        }
    }
    QFile::remove(target);
    for (std::size_t w = 0; w < ways.size(); ++w)
        run.set(ways[w].first, median(times[w]));
    run.set(u"file.size"_s, double(QFile(source).size()));
}

} // namespace vbench
