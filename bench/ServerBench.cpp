#include "ServerBench.h"

#include "Timing.h"

#include "ClientSchema.h"
#include "DataErrors.h"
#include "DatabaseBackup.h"
#include "TableReader.h"
#include "TableWriter.h"
#include "UDMbanco.h"

#include "ClientGenerator.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTextStream>

#include <unistd.h>

#include <algorithm>
#include <functional>
#include <stdexcept>

using namespace Qt::Literals::StringLiterals;

namespace vbench {

namespace {

void require(bool ok, const QString &what)
{
    if (!ok)
        throw std::runtime_error(what.toStdString());
}

QString program(const QString &name)
{
    const QString path = QStandardPaths::findExecutable(name);
    require(!path.isEmpty(), u"the %1 program is not installed"_s.arg(name));
    return path;
}

// Database names are the benchmark's own, never typed by anyone: quoting is enough.
QString identifier(const QString &name)
{
    static const QRegularExpression plain(u"^[a-z0-9_]+$"_s);
    require(plain.match(name).hasMatch(), u"not a database name the benchmark makes: "_s + name);
    return u'"' + name + u'"';
}

QSqlDatabase openServerConnection(const QString &connection, const DatabaseServer &server)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(u"QPSQL"_s, connection);
    db.setHostName(server.host);
    db.setPort(server.port);
    db.setUserName(server.user);
    db.setDatabaseName(server.database);
    db.setConnectOptions(u"connect_timeout=10;application_name=vosmira-bench"_s);
    if (!db.open())
        throw std::runtime_error("cannot reach the server " + server.shown().toStdString() + ": "
                                 + db.lastError().text().toStdString());
    return db;
}

void execute(QSqlDatabase db, const QString &sql)
{
    QSqlQuery query(db);
    if (!query.exec(sql))
        throw std::runtime_error(QString(sql + u": "_s + query.lastError().text()).toStdString());
}

// The median, the fastest and the slowest of a timing's repetitions.
void record(const SizeRun &r, const QString &key, const std::vector<double> &samples)
{
    r.set(key, median(samples));
    r.set(key + u".min"_s, *std::min_element(samples.begin(), samples.end()));
    r.set(key + u".max"_s, maximum(samples));
}

void expect(const DatabaseBackup::Result &result)
{
    require(result.done(), u"backup or restore failed: "_s + result.reason);
}

// The server's tables filled from the generated file, rows in the file's order (the
// order the clients were registered in, not by name), statistics gathered.
void fill(const DatabaseServer &server, const QString &pristineFile)
{
    ClientTables tables = readDatabaseFile(pristineFile);
    std::sort(tables.clients.begin(), tables.clients.end(),
              [](const PackedRow &a, const PackedRow &b) { return a.code() < b.code(); });
    const QString connection = u"vbench-fill"_s;
    {
        QSqlDatabase db = openServerConnection(connection, server);
        ClientSchema::createClientTables(db);
        replaceClientTables(db, tables, true);
        execute(db, u"VACUUM ANALYZE"_s);
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
}

void measureOpen(const SizeRun &r, TDMbanco &dm, const BenchServer &server, const QString &database)
{
    const QString psql = program(u"psql"_s);
    const QString select = u"SELECT "_s + ClientSchema::columnList() + u" FROM \"CAD_CLIENTE\" ORDER BY \"NOME\""_s;
    const QStringList args{u"-X"_s, u"-A"_s, u"-t"_s, u"-d"_s, database, u"-c"_s, select};
    const QStringList argsPt{
        u"-X"_s, u"-A"_s, u"-t"_s, u"-d"_s, database, u"-c"_s, select + u" COLLATE \"pt-BR-x-icu\""_s};
    const bool portuguese = server.hasPortugueseCollation();

    // Once untimed, so the server holds the table in its cache for both.
    dm.connectSequence();
    require(dm.CDSCliente->RecordCount() == r.n, u"the clients dataset did not load every client"_s);
    timedProcess(psql, args);

    std::vector<double> ours, ref, refPt, ratio, ratioPt, connect, read, sizes;
    for (int i = 0; i < r.repeat; ++i) {
        dm.closeAll();
        ours.push_back(timed([&] { dm.connectSequence(); }));
        ref.push_back(timedProcess(psql, args));
        ratio.push_back(ours.back() / ref.back());
        if (portuguese) {
            refPt.push_back(timedProcess(psql, argsPt));
            ratioPt.push_back(ours.back() / refPt.back());
        }
    }
    // Where the open spends its time, piece by piece.
    for (int i = 0; i < r.repeat; ++i) {
        dm.closeAll();
        connect.push_back(timed([&] { dm.openConnection(); }));
        QSqlDatabase db = dm.database();
        read.push_back(timed([&] { keep(qint64(readClientTable(db, ClientSchema::clientsTable()).size())); }));
        sizes.push_back(timed([&] { keep(ClientSchema::fieldSizes(db, ClientSchema::clientsTable())[0]); }));
    }
    dm.openAll();
    record(r, u"server.open"_s, ours);
    record(r, u"server.open.psql"_s, ref);
    record(r, u"server.open.ratio"_s, ratio);
    if (portuguese) {
        record(r, u"server.open.psql.pt"_s, refPt);
        record(r, u"server.open.ratio.pt"_s, ratioPt);
    }
    record(r, u"server.open.connect"_s, connect);
    record(r, u"server.open.read"_s, read);
    record(r, u"server.open.sizes"_s, sizes);
}

void measureApply(const SizeRun &r, TDMbanco &dm)
{
    TClientDataSet &cds = *dm.CDSCliente;
    cds.SetFiltered(false);
    ClientGenerator newcomers(0x6e657773);
    std::vector<double> inserts, updates, deletes;
    for (int i = 0; i < 3 * r.repeat; ++i) {
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
        require(cds.ChangeCount() == 0, u"an insert was not applied"_s);

        cds.SetRecNo(r.n / 2 + i);
        updates.push_back(timed([&] {
            cds.Edit();
            cds.FieldByName(u"OBS")->SetAsString(u"Cadastro revisado na visita %1."_s.arg(i + 1));
            cds.Post();
            cds.ApplyUpdates(-1);
        }));
        require(cds.ChangeCount() == 0, u"an update was not applied"_s);

        cds.SetRecNo(r.n / 3);
        deletes.push_back(timed([&] {
            cds.Delete();
            cds.ApplyUpdates(-1);
        }));
        require(cds.ChangeCount() == 0, u"a delete was not applied"_s);
    }
    record(r, u"server.apply.insert"_s, inserts);
    record(r, u"server.apply.update"_s, updates);
    record(r, u"server.apply.delete"_s, deletes);
}

void measureBackup(const SizeRun &r, TDMbanco &dm, const BenchServer &server, const QString &database)
{
    const QString pgDump = program(u"pg_dump"_s);
    const QString pgRestore = program(u"pg_restore"_s);
    const QString backup = r.programFolder + u"Bck_servidor.mdb"_s;
    const QString pieceBackup = r.programFolder + u"Bck_partes.mdb"_s;
    const QString fileBackup = r.programFolder + u"Bck_arquivo.mdb"_s;
    const QString dump = r.programFolder + u"servidor.dump"_s;
    // pg_restore's target: a database of its own, so the program's stays as it is.
    const QString restored = database + u"_pg_restore"_s;
    server.dropDatabase(restored);
    server.createDatabase(restored);

    // The same clients in the program folder's database file, on a module of its own.
    TDMbanco fileDm(r.programFolder);
    fileDm.setServer(std::nullopt);
    fileDm.connectSequence();

    ClientTables fromServer;
    ClientTables fromFile;
    struct Way
    {
        QString key;
        std::function<void()> run;
    };
    const std::vector<Way> ways{
        {u"server.backup"_s, [&] { expect(DatabaseBackup::save(dm, backup)); }},
        {u"server.backup.read"_s,
         [&] {
             QSqlDatabase db = dm.database();
             fromServer = readClientTables(db);
         }},
        {u"server.backup.write"_s,
         [&] { require(writeDatabaseFile(fromServer, pieceBackup).isEmpty(), u"writeDatabaseFile failed"_s); }},
        {u"server.backup.file"_s, [&] { expect(DatabaseBackup::save(fileDm, fileBackup)); }},
        {u"server.pgdump"_s,
         [&] {
             timedProcess(pgDump, {u"-Fc"_s, u"-f"_s, dump, database});
         }},
        {u"server.restore"_s, [&] { expect(DatabaseBackup::restore(dm, backup)); }},
        {u"server.restore.read"_s, [&] { fromFile = readDatabaseFile(backup); }},
        {u"server.restore.replace"_s,
         [&] {
             QSqlDatabase db = dm.database();
             replaceClientTables(db, fromFile);
         }},
        {u"server.restore.reopen"_s,
         [&] {
             dm.closeAll();
             dm.openAll();
         }},
        {u"server.restore.file"_s, [&] { expect(DatabaseBackup::restore(fileDm, fileBackup)); }},
        {u"server.pgrestore"_s,
         [&] {
             timedProcess(pgRestore, {u"--clean"_s, u"--if-exists"_s, u"--single-transaction"_s, u"--no-owner"_s,
                                      u"-d"_s, restored, dump});
         }},
    };
    std::vector<std::vector<double>> times(ways.size());
    for (int i = 0; i < r.repeat; ++i) {
        for (std::size_t w = 0; w < ways.size(); ++w) {
            // Each flush then waits for its own bytes only, not for those of the step before.
            ::sync();
            times[w].push_back(timed(ways[w].run));
        }
    }
    require(dm.CDSCliente->RecordCount() == r.n && fileDm.CDSCliente->RecordCount() == r.n,
            u"a restore did not bring back every client"_s);
    for (std::size_t w = 0; w < ways.size(); ++w)
        record(r, ways[w].key, times[w]);
    const QLocale english(QLocale::English);
    r.note(u"Server, %1 clients: backup file %2 KiB, `pg_dump -Fc` %3 KiB."_s.arg(
        english.toString(r.n), english.toString(QFileInfo(backup).size() / 1024),
        english.toString(QFileInfo(dump).size() / 1024)));
    fileDm.closeAll();
    for (const QString &path : {backup, pieceBackup, fileBackup, dump})
        QFile::remove(path);
    server.dropDatabase(restored);
}

} // namespace

std::unique_ptr<BenchServer> BenchServer::fromEnvironment()
{
    std::unique_ptr<BenchServer> server(new BenchServer);
    server->connect();
    return server;
}

std::unique_ptr<BenchServer> BenchServer::start(const QString &script)
{
    std::unique_ptr<BenchServer> server(new BenchServer);
    server->m_script = script;
    // A short path: the server's socket lives in the folder.
    server->m_folder = std::make_unique<QTemporaryDir>(QDir::tempPath() + u"/vbench-pg-XXXXXX"_s);
    require(server->m_folder->isValid(), u"cannot make a folder for the server"_s);
    const QString folder = server->m_folder->path();
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.setStandardOutputFile(QProcess::nullDevice());
    // Our pid as its owner: a killed benchmark leaves no server running.
    process.start(u"bash"_s, {script, u"start"_s, folder, QString::number(QCoreApplication::applicationPid())});
    require(process.waitForFinished(180000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0,
            u"scripts/pg-server.sh could not start a server in "_s + folder);
    QFile env(folder + u"/env"_s);
    require(env.open(QIODevice::ReadOnly | QIODevice::Text), u"the server left no env file in "_s + folder);
    // "export PGHOST=... PGPORT=...": psql and pg_dump take the same variables.
    for (const QByteArray &word : env.readAll().simplified().split(' ')) {
        const qsizetype eq = word.indexOf('=');
        if (eq > 0)
            qputenv(word.left(eq).constData(), word.mid(eq + 1));
    }
    server->connect();
    return server;
}

BenchServer::~BenchServer()
{
    if (!m_adminConnection.isEmpty()) {
        QSqlDatabase::database(m_adminConnection, false).close();
        QSqlDatabase::removeDatabase(m_adminConnection);
    }
    if (m_folder)
        QProcess::execute(u"bash"_s, {m_script, u"stop"_s, m_folder->path()});
}

void BenchServer::connect()
{
    m_server.host = qEnvironmentVariable("PGHOST");
    m_server.port = qEnvironmentVariableIsEmpty("PGPORT") ? 5432 : qEnvironmentVariableIntValue("PGPORT");
    m_server.user = qEnvironmentVariable("PGUSER");
    DatabaseServer admin = m_server;
    admin.database = qEnvironmentVariable("PGDATABASE", u"postgres"_s);
    m_adminConnection = u"vbench-admin"_s;
    QSqlDatabase db = openServerConnection(m_adminConnection, admin);
    QSqlQuery query(db);
    const auto value = [&](const QString &sql) {
        if (!query.exec(sql) || !query.next())
            throw std::runtime_error(QString(sql + u": "_s + query.lastError().text()).toStdString());
        return query.value(0).toString();
    };
    const QString version = value(u"SHOW server_version"_s).section(u' ', 0, 0);
    m_portuguese = value(u"SELECT COUNT(*) FROM pg_collation WHERE collname = 'pt-BR-x-icu'"_s).toInt() > 0;
    m_description = u"PostgreSQL %1 at %2 (collation %3; fsync %4, synchronous_commit %5, shared_buffers %6)"_s.arg(
        version, m_server.shown(), value(u"SHOW lc_collate"_s), value(u"SHOW fsync"_s),
        value(u"SHOW synchronous_commit"_s), value(u"SHOW shared_buffers"_s));
}

DatabaseServer BenchServer::at(const QString &database) const
{
    DatabaseServer server = m_server;
    server.database = database;
    return server;
}

void BenchServer::createDatabase(const QString &name) const
{
    execute(QSqlDatabase::database(m_adminConnection, false), u"CREATE DATABASE "_s + identifier(name));
}

void BenchServer::dropDatabase(const QString &name) const
{
    // FORCE: a connection just closed may still be leaving the server.
    execute(QSqlDatabase::database(m_adminConnection, false),
            u"DROP DATABASE IF EXISTS "_s + identifier(name) + u" WITH (FORCE)"_s);
}

void measureServer(const SizeRun &r, const BenchServer &server, const QString &pristineFile)
{
    const QString database = u"vosmira_bench_%1_%2"_s.arg(QCoreApplication::applicationPid()).arg(r.n);
    server.dropDatabase(database);
    server.createDatabase(database);
    // Dropped however the measures end; the data module's connection is gone by then.
    struct Drop
    {
        const BenchServer &server;
        QString name;
        ~Drop()
        {
            try {
                server.dropDatabase(name);
            } catch (const std::exception &e) {
                QTextStream(stderr) << "vosmira-bench: " << e.what() << Qt::endl;
            }
        }
    } drop{server, database};

    QTextStream err(stderr);
    err << "  server: filling..." << Qt::flush;
    const double filled = timed([&] { fill(server.at(database), pristineFile); });
    err << " " << QString::number(filled, 'f', 1) << " s" << Qt::endl;

    TDMbanco dm(r.programFolder);
    dm.setServer(server.at(database));
    err << "  server: open" << Qt::endl;
    measureOpen(r, dm, server, database);
    err << "  server: apply" << Qt::endl;
    measureApply(r, dm);
    err << "  server: backup and restore" << Qt::endl;
    measureBackup(r, dm, server, database);
    dm.closeAll();
}

} // namespace vbench
