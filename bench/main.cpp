// vosmira-bench: what the client store, the reports, backup and restore cost at
// 1,000, 10,000 and 100,000 clients, each beside a reference measured in the same
// run on the same file. Prints Markdown tables on standard output; progress goes
// to standard error. With --server, also what the same clients cost on a
// PostgreSQL server, beside psql and pg_dump.
#include "CheckDigitBench.h"
#include "DataBench.h"
#include "DatabaseWriter.h"
#include "ExchangeBench.h"
#include "FileBench.h"
#include "GridBench.h"
#include "ListBench.h"
#include "MemoryProbe.h"
#include "ReportBench.h"
#include "ReportWindowBench.h"
#include "ResultTable.h"
#include "ServerBench.h"
#include "Timing.h"
#include "UDMbanco.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSysInfo>
#include <QTextStream>
#include <QThread>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

using namespace Qt::Literals::StringLiterals;
using namespace vbench;

namespace {

struct Options
{
    QList<int> sizes;
    int repeat = 5;
    int reportMax = 10000;
    QString work;
    QString markdown;
    bool regenerate = false;
    bool server = false;      // measure the server libpq's environment names
    bool startServer = false; // ... or a throw-away one of our own
    bool serverOnly = false;
};

QTextStream &progress()
{
    static QTextStream err(stderr);
    return err;
}

bool parse(const QStringList &arguments, Options &o)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(u"Benchmarks of the Vosmira client store, reports, backup and restore."_s);
    parser.addHelpOption();
    parser.addOptions({
        {u"sizes"_s, u"Client counts, separated by commas."_s, u"list"_s, u"1000,10000,100000"_s},
        {u"repeat"_s, u"Repetitions of each timing; the median is kept."_s, u"count"_s, u"5"_s},
        {u"report-max"_s, u"Largest client count that runs the reports."_s, u"count"_s, u"10000"_s},
        {u"work"_s, u"Folder for the generated databases (kept between runs)."_s, u"folder"_s,
         QDir::tempPath() + u"/vosmira-bench"_s},
        {u"markdown"_s, u"Also write the tables to this file."_s, u"file"_s},
        {u"regenerate"_s, u"Write the databases again even when they exist."_s},
        {u"server"_s, u"Also measure the PostgreSQL server named by PGHOST, PGPORT and PGUSER."_s},
        {u"start-server"_s, u"Also measure a throw-away PostgreSQL server started for the run."_s},
        {u"server-only"_s, u"Measure the server alone, not the database file."_s},
    });
    parser.process(arguments);
    for (const QString &s : parser.value(u"sizes"_s).split(u',', Qt::SkipEmptyParts)) {
        const int n = s.trimmed().toInt();
        if (n < 12) {
            progress() << "vosmira-bench: a size must be at least 12 clients: " << s << Qt::endl;
            return false;
        }
        o.sizes.append(n);
    }
    std::sort(o.sizes.begin(), o.sizes.end());
    o.repeat = std::max(1, parser.value(u"repeat"_s).toInt());
    o.reportMax = parser.value(u"report-max"_s).toInt();
    o.work = parser.value(u"work"_s);
    o.markdown = parser.value(u"markdown"_s);
    o.regenerate = parser.isSet(u"regenerate"_s);
    o.startServer = parser.isSet(u"start-server"_s);
    o.server = o.startServer || parser.isSet(u"server"_s);
    o.serverOnly = parser.isSet(u"server-only"_s);
    if (o.serverOnly && !o.server) {
        progress() << "vosmira-bench: --server-only needs --server or --start-server" << Qt::endl;
        return false;
    }
    return !o.sizes.isEmpty();
}

QString cpuModel()
{
    QFile cpuinfo(u"/proc/cpuinfo"_s);
    if (cpuinfo.open(QIODevice::ReadOnly | QIODevice::Text)) {
        for (const QByteArray &line : cpuinfo.readAll().split('\n')) {
            if (line.startsWith("model name"))
                return QString::fromUtf8(line.mid(line.indexOf(':') + 1).trimmed());
        }
    }
    return QSysInfo::currentCpuArchitecture();
}

// The generated database of n clients, written once and kept in the work folder.
QString pristineDatabase(const Options &o, int n)
{
    const QString path = o.work + u"/clients-%1-g%2.mdb"_s.arg(n).arg(GeneratorVersion);
    if (QFile::exists(path) && !o.regenerate)
        return path;
    progress() << "  generating " << n << " clients..." << Qt::flush;
    const QString part = path + u".part"_s;
    const double seconds = timed([&] { writeClientDatabase(part, n); });
    QFile::remove(path);
    if (!QFile::rename(part, path))
        throw std::runtime_error("cannot write " + path.toStdString());
    progress() << " " << QString::number(seconds, 'f', 1) << " s" << Qt::endl;
    return path;
}

// A program folder of its own for one size: the database and the report project.
SizeRun prepareRun(const Options &o, int n, Results &results)
{
    SizeRun run;
    run.n = n;
    run.repeat = o.repeat;
    run.results = &results;
    run.programFolder = o.work + u"/program-%1/"_s.arg(n);
    QDir(run.programFolder).removeRecursively();
    QDir().mkpath(run.programFolder + u"Banco"_s);
    QDir().mkpath(run.programFolder + u"Reports"_s);
    run.databasePath = run.programFolder + u"Banco/Vosmira BANCO.mdb"_s;
    if (!QFile::copy(pristineDatabase(o, n), run.databasePath)
        || !QFile::copy(QStringLiteral(VBENCH_REPORT_PROJECT), run.programFolder + u"Reports/Reports_Vosmira.rav"_s))
        throw std::runtime_error("cannot lay out the program folder in " + o.work.toStdString());
    return run;
}

void measureFile(const Options &o, const SizeRun &run)
{
    const int n = run.n;
    progress() << "  memory" << Qt::endl;
    measureMemory(run);
    {
        TDMbanco dm(run.programFolder);
        progress() << "  open" << Qt::endl;
        measureOpen(run, dm);
        progress() << "  search, filter, copy" << Qt::endl;
        measureSearch(run, dm);
        measureFilter(run, dm);
        measureCopy(run, dm);
        progress() << "  grid" << Qt::endl;
        measureGrid(run, dm);
        progress() << "  list window" << Qt::endl;
        measureListWindow(run, dm);
        progress() << "  report window" << Qt::endl;
        measureReportWindow(run, dm);
        measureCheckDigits(run, dm);
        if (n <= o.reportMax) {
            progress() << "  reports" << Qt::endl;
            measureReports(run, dm);
        }
        progress() << "  apply" << Qt::endl;
        measureApply(run, dm);
        dm.closeAll();
    }
    progress() << "  backup and restore" << Qt::endl;
    measureBackup(run);
    progress() << "  export and import" << Qt::endl;
    measureExchange(run);
}

void measureSize(const Options &o, int n, Results &results, const BenchServer *server)
{
    progress() << n << " clients" << Qt::endl;
    const SizeRun run = prepareRun(o, n, results);
    if (!o.serverOnly)
        measureFile(o, run);
    if (server)
        measureServer(run, *server, pristineDatabase(o, n));
    QDir(run.programFolder).removeRecursively();
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 3 && std::strcmp(argv[1], "--memory-probe") == 0) {
        QCoreApplication app(argc, argv);
        return runMemoryProbe(QString::fromLocal8Bit(argv[2]));
    }
    // Report fonts and the grid need a GUI application, never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(u"vosmira-bench"_s);

    Options o;
    if (!parse(app.arguments(), o))
        return 2;
    QDir().mkpath(o.work);
    // Settings of our own: a [Banco] section in the user's would send the file's
    // measures to a server.
    const QString settings = o.work + u"/settings"_s;
    QDir(settings).removeRecursively();
    QDir().mkpath(settings);
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(settings));
    Results results;
    double total = 0;
    std::unique_ptr<BenchServer> server;
    try {
        if (o.server) {
            server = o.startServer ? BenchServer::start(QStringLiteral(VBENCH_PG_SERVER_SCRIPT))
                                   : BenchServer::fromEnvironment();
            progress() << "server: " << server->description() << Qt::endl;
        }
        total = timed([&] {
            for (int n : o.sizes)
                measureSize(o, n, results, server.get());
            if (!o.serverOnly)
                measureWrapping(results);
        });
    } catch (const std::exception &e) {
        progress() << "vosmira-bench: " << e.what() << Qt::endl;
        return 1;
    }

    QString text;
    text += u"Measured %1 on %2 (%3 cores), Qt %4, SQLite %5, %6 build; median of %7 runs "
            "(reports: of %8).\n\n"_s.arg(QDateTime::currentDateTime().toString(u"yyyy-MM-dd HH:mm"_s), cpuModel())
                .arg(QThread::idealThreadCount())
                .arg(QString::fromLatin1(qVersion()), QString::fromLatin1(sqlite3_libversion()),
                     QStringLiteral(VBENCH_BUILD_TYPE))
                .arg(o.repeat)
                .arg(std::min(o.repeat, 3));
    if (!o.serverOnly) {
        text += figuresTable(results, o.sizes) + u'\n';
        text += goalsTable(results, o.sizes) + u'\n';
    }
    if (server) {
        text += u"On the server: "_s + server->description()
                + u"; median of %1 runs (fastest–slowest); "
                  "applied changes: median of %2 (slowest).\n\n"_s.arg(o.repeat)
                      .arg(3 * o.repeat);
        text += serverTable(results, o.sizes) + u'\n';
        text += serverGoalsTable(results, o.sizes) + u'\n';
    }
    for (const QString &note : results.notes())
        text += u"- "_s + note + u'\n';
    text += u"\nWhole run: %1 s.\n"_s.arg(total, 0, 'f', 0);

    QTextStream(stdout) << text;
    if (!o.markdown.isEmpty()) {
        QFile file(o.markdown);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
            progress() << "vosmira-bench: cannot write " << o.markdown << Qt::endl;
            return 1;
        }
        file.write(text.toUtf8());
    }
    return 0;
}
