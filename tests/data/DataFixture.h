#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QTemporaryDir>
#include <QVariant>

#include <memory>

class TDMbanco;

// Whether this run of a suite keeps its clients on a PostgreSQL server:
// scripts/test.sh runs the data store's and the windows' suites a second time so,
// with VOSMIRA_TEST_SERVER set and PGHOST, PGPORT and PGUSER naming a throw-away server.
bool testingOnServer();
#define SKIP_ON_SERVER(why)                                                                                            \
    if (testingOnServer())                                                                                             \
    QSKIP(why)

// A temporary program folder holding Banco/Vosmira BANCO.mdb, and raw SQL access to
// that file through a connection of its own, to check what the file really holds.
// On a server run the database is instead a fresh database on the server, named in
// the [Banco] section of the settings that every data module then reads; raw SQL
// may name tables and columns without quotes, as a file takes them.
class TempDatabase
{
public:
    enum Tables { WithTables, WithoutFile, EmptyFile };
    // AsFile: always a database file, as a backup to restore from is.
    enum Where { AsConfigured, AsFile };
    explicit TempDatabase(Tables tables = WithTables, Where where = AsConfigured);
    ~TempDatabase();

    bool isValid() const { return m_dir.isValid(); }
    QString programFolder() const; // with a trailing separator
    QString path() const;

    // Runs one statement; fails the test (returns false) when the database refuses it.
    bool exec(const QString &sql, const QVariantList &binds = {});
    QVariant scalar(const QString &sql, const QVariantList &binds = {});
    // Inserts a client with the given name and kind (and optionally more columns).
    bool addClient(const QString &name, const QString &kind, const QVariantMap &more = {});
    // Opens the raw connection again: a connection keeps reading the file it
    // opened, even once another file has been renamed over it (a restore).
    void reconnect();

    bool onServer() const { return !m_serverDatabase.isEmpty(); }
    // The server's database, on a server run.
    QString serverDatabase() const { return m_serverDatabase; }
    // The statement as the database takes it: on a server, names quoted.
    QString sql(const QString &statement) const;

private:
    QTemporaryDir m_dir;
    QString m_connection;
    QString m_serverDatabase;
};

// Another program's write transaction on the database, until released: a
// file's exclusive lock, or on a server a lock on the clients table. dm's
// connection is told to wait only briefly for it.
class OtherProgramLock
{
public:
    OtherProgramLock(TempDatabase &db, TDMbanco &dm);
    ~OtherProgramLock();
    OtherProgramLock(const OtherProgramLock &) = delete;
    OtherProgramLock &operator=(const OtherProgramLock &) = delete;
    bool held() const { return m_held; }
    void release();

private:
    QString m_name;
    bool m_held = false;
    bool m_released = false;
};

// A connection of its own to the server's database `name` (server runs only);
// removed with the object.
class ServerConnection
{
public:
    explicit ServerConnection(const QString &database);
    ~ServerConnection();
    ServerConnection(const ServerConnection &) = delete;
    ServerConnection &operator=(const ServerConnection &) = delete;
    QSqlDatabase database() const;

private:
    QString m_name;
};

// A data module connected to db's file; null (with a warning) when it fails to connect.
std::unique_ptr<TDMbanco> openDataModule(TempDatabase &db);
