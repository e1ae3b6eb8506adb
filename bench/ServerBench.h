#pragma once

#include "DatabaseServer.h"
#include "Results.h"

#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace vbench {

// The PostgreSQL server the benchmark measures: the one libpq's environment names
// (PGHOST, PGPORT, PGUSER), or a throw-away one started with scripts/pg-server.sh
// in a temporary folder and stopped with this object.
class BenchServer
{
public:
    // Both throw std::runtime_error when the server cannot be reached or started.
    static std::unique_ptr<BenchServer> fromEnvironment();
    static std::unique_ptr<BenchServer> start(const QString &script);
    ~BenchServer();
    BenchServer(const BenchServer &) = delete;
    BenchServer &operator=(const BenchServer &) = delete;

    // The server with database name, as a data module connects to it.
    DatabaseServer at(const QString &database) const;
    // Version, collation and durability settings, for the notes under the tables.
    QString description() const { return m_description; }
    // Whether the server has ICU's pt-BR collation, to sort as an office server does.
    bool hasPortugueseCollation() const { return m_portuguese; }

    // A fresh database holding the tables, for one client count; dropped by dropDatabase.
    void createDatabase(const QString &name) const;
    void dropDatabase(const QString &name) const;

private:
    BenchServer() = default;
    void connect();

    DatabaseServer m_server;
    QString m_adminConnection;
    QString m_description;
    bool m_portuguese = false;
    std::unique_ptr<QTemporaryDir> m_folder; // a server we started
    QString m_script;
};

// Open, one applied change, backup and restore of run.n clients on the server,
// each beside psql, pg_dump or the database file of the same clients, measured
// in the same run. pristineFile: the generated database of run.n clients.
void measureServer(const SizeRun &run, const BenchServer &server, const QString &pristineFile);

} // namespace vbench
