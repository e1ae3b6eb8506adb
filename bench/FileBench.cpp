#include "FileBench.h"

#include "Timing.h"

#include "ClientSchema.h"
#include "DatabaseBackup.h"
#include "FileCopy.h"
#include "UDMbanco.h"

#include <QFile>
#include <QStandardPaths>

#include <functional>
#include <stdexcept>
#include <unistd.h>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace vbench {

namespace {

// FileCopy's read/write loop into a plain file: the copy without the flush.
void blockCopy(const QString &from, const QString &to, qint64 block)
{
    QFile in(from);
    QFile out(to);
    if (!in.open(QIODevice::ReadOnly | QIODevice::Unbuffered)
        || !out.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
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

void expect(const DatabaseBackup::Result &result)
{
    if (!result.done())
        throw std::runtime_error("backup or restore failed: " + result.reason.toStdString());
}

} // namespace

void measureBackup(const SizeRun &run)
{
    const QString database = run.databasePath;
    const QString backup = run.programFolder + u"Bck_Vosmira_bench.mdb"_s;
    const QString cp = QStandardPaths::findExecutable(u"cp"_s);
    const QString sync = QStandardPaths::findExecutable(u"sync"_s);
    if (cp.isEmpty() || sync.isEmpty())
        throw std::runtime_error("cp or sync is not installed");

    TDMbanco dm(run.programFolder);
    dm.connectSequence();
    timedProcess(cp, {database, backup}); // page cache warm for everyone
    // Taken in turn within each repetition, so a busy moment of the machine falls on all alike.
    // The copies, a tenth of a second each at 100,000 clients, are repeated three times as
    // often as the rest: on a busy machine their medians move most.
    struct Way
    {
        QString key;
        std::function<void()> run;
        int repeat;
    };
    const int copies = 3 * run.repeat;
    const std::vector<Way> ways{
        {u"backup.2k"_s, [&] { blockCopy(database, backup, 2048); }, copies},
        {u"backup.copy"_s, [&] { blockCopy(database, backup, vosmira::kCopyBlockSize); }, copies},
        {u"backup.ref"_s,
         [&] {
             timedProcess(cp, {database, backup});
         },
         copies},
        {u"backup.durable"_s,
         [&] {
             if (!vosmira::FileCopy(database, backup).copied())
                 throw std::runtime_error("FileCopy failed");
         },
         copies},
        {u"backup.ref.sync"_s,
         [&] {
             timedProcess(cp, {database, backup});
             timedProcess(sync, {backup});
         },
         copies},
        {u"backup.check"_s,
         [&] {
             if (!ClientSchema::checkDatabaseFile(backup).isEmpty())
                 throw std::runtime_error("the backup fails its check");
         },
         run.repeat},
        {u"backup.reopen"_s,
         [&] {
             dm.closeAll();
             dm.openAll();
         },
         run.repeat},
        {u"backup.save"_s, [&] { expect(DatabaseBackup::save(dm, backup)); }, run.repeat},
        {u"backup.restore"_s, [&] { expect(DatabaseBackup::restore(dm, backup)); }, run.repeat},
    };
    std::vector<std::vector<double>> times(ways.size());
    for (int r = 0; r < copies; ++r) {
        for (std::size_t w = 0; w < ways.size(); ++w) {
            if (r >= ways[w].repeat)
                continue;
            // Each flush then waits for its own bytes only, not for those of the step before.
            ::sync();
            times[w].push_back(timed(ways[w].run));
            if (QFile(backup).size() != QFile(database).size())
                throw std::runtime_error("a copy is not the size of the database file");
        }
    }
    if (dm.CDSCliente->RecordCount() != run.n)
        throw std::runtime_error("the restored database does not hold every client");
    dm.closeAll();
    QFile::remove(backup);
    for (std::size_t w = 0; w < ways.size(); ++w)
        run.set(ways[w].key, median(times[w]));
    run.set(u"file.size"_s, double(QFile(database).size()));
}

} // namespace vbench
