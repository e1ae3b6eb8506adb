#include "DataBench.h"

#include "ClientGenerator.h"
#include "Timing.h"
#include "UDMbanco.h"

#include <QLocale>
#include <QStandardPaths>

#include <unistd.h>

#include <stdexcept>
#include <string>

using namespace Qt::Literals::StringLiterals;

namespace vbench {

namespace {

void require(bool ok, const char *what)
{
    if (!ok)
        throw std::runtime_error(what);
}

// What the search box holds after each keystroke: the list window keeps its
// text in upper case.
QStringList keystrokes(const QString &name, int limit)
{
    QStringList typed;
    const QString upper = name.toUpper();
    for (qsizetype i = 1; i <= std::min<qsizetype>(limit, upper.size()); ++i)
        typed.append(upper.left(i));
    return typed;
}

constexpr int SearchFlags = loCaseInsensitive | loPartialKey;

// Seconds per keystroke (median of the repetitions) for each text typed.
std::vector<double> searchTimes(TClientDataSet &cds, const QStringList &typed, int repeat)
{
    std::vector<std::vector<double>> samples(std::size_t(typed.size()));
    for (int r = 0; r < repeat; ++r) {
        cds.First();
        for (qsizetype k = 0; k < typed.size(); ++k)
            samples[std::size_t(k)].push_back(timed([&] { keep(cds.Locate(u"NOME", typed.at(k), SearchFlags)); }));
    }
    std::vector<double> medians;
    for (const auto &s : samples)
        medians.push_back(median(s));
    return medians;
}

// The same keystrokes as a plain prefix scan over the names as bytes.
std::vector<double> referenceScanTimes(const std::vector<std::string> &names, const QStringList &typed, int repeat)
{
    std::vector<double> medians;
    for (const QString &text : typed) {
        const std::string prefix = text.toStdString();
        std::vector<double> s;
        for (int r = 0; r < repeat; ++r) {
            s.push_back(timed([&] {
                std::size_t found = names.size();
                for (std::size_t i = 0; i < names.size(); ++i) {
                    if (names[i].compare(0, prefix.size(), prefix) == 0) {
                        found = i;
                        break;
                    }
                }
                keep(static_cast<long long>(found));
            }));
        }
        medians.push_back(median(s));
    }
    return medians;
}

double mean(const std::vector<double> &v)
{
    double sum = 0;
    for (double x : v)
        sum += x;
    return v.empty() ? 0 : sum / double(v.size());
}

} // namespace

void measureOpen(const SizeRun &run, TDMbanco &dm)
{
    const QString sqlite3 = QStandardPaths::findExecutable(u"sqlite3"_s);
    require(!sqlite3.isEmpty(), "the sqlite3 program is not installed");
    const QStringList sqliteArgs{run.databasePath, u"select * from CAD_CLIENTE ORDER BY NOME"_s};

    // Once untimed, so both read a file already in the page cache.
    dm.connectSequence();
    require(dm.CDSCliente->RecordCount() == run.n, "the clients dataset did not load every client");
    timedProcess(sqlite3, sqliteArgs);

    std::vector<double> ours;
    std::vector<double> reference;
    for (int r = 0; r < run.repeat; ++r) {
        dm.closeAll();
        ours.push_back(timed([&] { dm.connectSequence(); }));
        reference.push_back(timedProcess(sqlite3, sqliteArgs));
    }
    run.set(u"open"_s, median(ours));
    run.set(u"open.ref"_s, median(reference));
}

void measureSearch(const SizeRun &run, TDMbanco &dm)
{
    TClientDataSet &cds = *dm.CDSCliente;
    cds.SetFiltered(false);
    std::vector<std::string> names;
    names.reserve(std::size_t(cds.RecordCount()));
    for (int i = 0; i < cds.RecordCount(); ++i)
        names.push_back(cds.ValueAt(i, ClientRecord::col_NOME).toString().toStdString());

    // Worst case: every keystroke scans to the last row, the only match.
    const QString last = ClientGenerator::lastInOrderName();
    require(cds.Locate(u"NOME", last.toUpper(), SearchFlags) && cds.RecNo() == cds.RecordCount(),
            "the last client in name order is not the last row");
    const QStringList worstTyped = keystrokes(last, 100);
    const std::vector<double> worst = searchTimes(cds, worstTyped, run.repeat);
    QStringList exactPrefixes;
    for (qsizetype i = 1; i <= last.size(); ++i)
        exactPrefixes.append(last.left(i));
    const std::vector<double> worstRef = referenceScanTimes(names, exactPrefixes, run.repeat);
    run.set(u"search.worst"_s, maximum(worst));
    run.set(u"search.worst.ref"_s, maximum(worstRef));

    // Typical: the first twelve letters of clients spread over the table.
    QStringList typical;
    QStringList typicalRef;
    for (int j = 0; j < 6; ++j) {
        const QString name = QString::fromStdString(names[std::size_t(run.n) * std::size_t(2 * j + 1) / 12]);
        typical += keystrokes(name, 12);
        for (qsizetype i = 1; i <= std::min<qsizetype>(12, name.size()); ++i)
            typicalRef.append(name.left(i));
    }
    run.set(u"search.typical"_s, mean(searchTimes(cds, typical, run.repeat)));
    run.set(u"search.typical.ref"_s, mean(referenceScanTimes(names, typicalRef, run.repeat)));
    cds.First();
}

void measureFilter(const SizeRun &run, TDMbanco &dm)
{
    TClientDataSet &cds = *dm.CDSCliente;
    const QString pf = ClientRecord::kindFilter(ClientRecord::pessoaFisica());
    const QString pj = ClientRecord::kindFilter(ClientRecord::pessoaJuridica());
    std::vector<double> on;
    std::vector<double> change;
    std::vector<double> off;
    int people = 0;
    int companies = 0;
    for (int r = 0; r < run.repeat; ++r) {
        cds.SetFiltered(false);
        cds.SetFilter(pf);
        on.push_back(timed([&] {
            cds.SetFiltered(true);
            people = cds.RecordCount();
        }));
        change.push_back(timed([&] {
            cds.SetFilter(pj);
            companies = cds.RecordCount();
        }));
        off.push_back(timed([&] {
            cds.SetFiltered(false);
            keep(cds.RecordCount());
        }));
    }
    require(people + companies == run.n && people > 0 && companies > 0, "the kind filter lost clients");
    run.set(u"filter.on"_s, median(on));
    run.set(u"filter.switch"_s, median(change));
    run.set(u"filter.off"_s, median(off));
    const QLocale english(QLocale::English);
    run.note(u"%1 clients: %2 private persons, %3 companies."_s.arg(english.toString(run.n), english.toString(people),
                                                                    english.toString(companies)));
}

void measureCopy(const SizeRun &run, TDMbanco &dm)
{
    // As the report window leaves them: both datasets filtered to private persons.
    TClientDataSet &cds = *dm.CDSCliente;
    TClientDataSet &selection = *dm.CDS_PED_Cliente;
    const QString pf = ClientRecord::kindFilter(ClientRecord::pessoaFisica());
    cds.SetFilter(pf);
    cds.SetFiltered(true);
    selection.SetFilter(pf);
    selection.SetFiltered(true);
    std::vector<double> times;
    for (int r = 0; r < run.repeat; ++r) {
        selection.EmptyDataSet();
        times.push_back(timed([&] { selection.CopyDataFrom(cds); }));
    }
    require(selection.RecordCount() == cds.RecordCount(), "the copy does not show the same clients");
    run.set(u"copy"_s, median(times));
    cds.SetFiltered(false);
}

void measureApply(const SizeRun &run, TDMbanco &dm)
{
    TClientDataSet &cds = *dm.CDSCliente;
    cds.SetFiltered(false);
    // Each apply commits, and a commit waits for the disk: first write out what laying
    // out the program folder left in the page cache, so no commit pays for it.
    ::sync();
    ClientGenerator newcomers(0x6e657773);
    std::vector<double> inserts;
    std::vector<double> updates;
    std::vector<double> deletes;
    // Cheap and at the mercy of the disk: three times the usual repetitions.
    for (int r = 0; r < 3 * run.repeat; ++r) {
        const ClientValues v = newcomers.next();
        inserts.push_back(timed([&] {
            cds.Append();
            for (int c = 1; c < ClientRecord::ColumnCount; ++c) {
                if (!v[std::size_t(c)].isNull())
                    cds.Fields(c)->SetAsString(v[std::size_t(c)]);
            }
            cds.Post();
            cds.ApplyUpdates(-1);
        }));
        require(cds.ChangeCount() == 0, "an insert was not applied");

        cds.SetRecNo(run.n / 2 + r);
        updates.push_back(timed([&] {
            cds.Edit();
            cds.FieldByName(u"OBS")->SetAsString(u"Cadastro revisado na visita %1."_s.arg(r + 1));
            cds.Post();
            cds.ApplyUpdates(-1);
        }));
        require(cds.ChangeCount() == 0, "an update was not applied");

        cds.SetRecNo(run.n / 3);
        deletes.push_back(timed([&] {
            cds.Delete();
            cds.ApplyUpdates(-1);
        }));
        require(cds.ChangeCount() == 0, "a delete was not applied");
    }
    run.set(u"apply.insert"_s, median(inserts));
    run.set(u"apply.update"_s, median(updates));
    run.set(u"apply.delete"_s, median(deletes));
}

} // namespace vbench
