#include "ExchangeBench.h"

#include "Timing.h"

#include "ClientDocuments.h"
#include "ClientExport.h"
#include "ClientImport.h"
#include "UDMbanco.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QStandardPaths>

#include <stdexcept>

using namespace Qt::Literals::StringLiterals;

namespace vbench {

namespace {

void require(bool ok, const char *what)
{
    if (!ok)
        throw std::runtime_error(what);
}

} // namespace

void measureExchange(const SizeRun &run)
{
    const QString sqlite3 = QStandardPaths::findExecutable(u"sqlite3"_s);
    const QString sync = QStandardPaths::findExecutable(u"sync"_s);
    require(!sqlite3.isEmpty() && !sync.isEmpty(), "sqlite3 or sync is not installed");

    // The import goes into a copy of the file, emptied before each timing.
    const QString folder = run.programFolder + u"exchange/"_s;
    QDir().mkpath(folder + u"Banco"_s);
    const QString copy = folder + u"Banco/Vosmira BANCO.mdb"_s;
    QFile::remove(copy);
    require(QFile::copy(run.databasePath, copy), "cannot copy the database");
    const QString ours = run.programFolder + u"clientes.csv"_s;
    const QString theirs = run.programFolder + u"sqlite3.csv"_s;

    TDMbanco source(run.programFolder);
    source.openConnection();
    TDMbanco target(folder);
    target.openConnection();
    auto empty = [&] {
        QSqlQuery(target.database()).exec(u"DELETE FROM CAD_CLIENTE"_s);
        timedProcess(sync, {});
    };
    const QStringList exportRef{run.databasePath, u".mode csv"_s, u".output "_s + theirs,
                                u"select * from CAD_CLIENTE"_s};
    const QStringList importRef{copy, u".mode csv"_s, u".import "_s + theirs + u" CAD_CLIENTE"_s};

    // Once untimed, so everything reads from the page cache.
    require(vosmira::exchange::exportClients(source.database(), ours, vosmira::exchange::ExportFormat::Csv) == run.n,
            "the export did not write every client");
    timedProcess(sqlite3, exportRef);

    // The generator may draw a CPF or CNPJ twice; the import leaves the second out.
    int duplicates = 0;
    std::vector<double> exportOurs, exportTheirs, importOurs, importTheirs;
    for (int r = 0; r < run.repeat; ++r) {
        timedProcess(sync, {});
        exportOurs.push_back(timed(
            [&] { vosmira::exchange::exportClients(source.database(), ours, vosmira::exchange::ExportFormat::Csv); }));
        timedProcess(sync, {});
        exportTheirs.push_back(timedProcess(sqlite3, exportRef));

        empty();
        importOurs.push_back(timed([&] {
            QFile file(ours);
            require(file.open(QIODevice::ReadOnly), "cannot read the export");
            const auto result = vosmira::exchange::importClients(target.database(), file.readAll());
            duplicates = int(result.duplicates.size());
            require(result.written && result.refused.isEmpty() && result.accepted + duplicates == run.n,
                    "the import did not take every client");
        }));
        empty();
        importTheirs.push_back(timedProcess(sqlite3, importRef));
    }
    run.set(u"exchange.export"_s, median(exportOurs));
    run.set(u"exchange.export.ref"_s, median(exportTheirs));
    run.set(u"exchange.import"_s, median(importOurs));
    run.set(u"exchange.import.ref"_s, median(importTheirs));
    run.note(
        u"Export of %1 clients: %2 KiB of CSV (sqlite3's: %3 KiB); the import left out %4 duplicate(s)."_s.arg(run.n)
            .arg(QFileInfo(ours).size() / 1024)
            .arg(QFileInfo(theirs).size() / 1024)
            .arg(duplicates));

    // Leaving a CPF no one holds: the lookup reads the whole table.
    std::vector<double> lookups;
    for (int r = 0; r < 3 * run.repeat; ++r) {
        lookups.push_back(timed([&] {
            require(
                !ClientDocuments::findHolder(source.database(), ClientDocuments::Document::Cpf, u"000.000.001-91"_s),
                "the lookup found a holder");
        }));
    }
    run.set(u"exchange.lookup"_s, median(lookups));
    QFile::remove(ours);
    QFile::remove(theirs);
}

} // namespace vbench
