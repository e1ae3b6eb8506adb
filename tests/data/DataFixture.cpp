#include "DataFixture.h"

#include "ClientSchema.h"
#include "DisplaySettings.h"
#include "IniFile.h"
#include "UDMbanco.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

#include <utility>

using namespace Qt::Literals::StringLiterals;

namespace {
int g_counter = 0;

QString env(const char *name, const QString &fallback = QString())
{
    const QString value = qEnvironmentVariable(name);
    return value.isEmpty() ? fallback : value;
}

void addServerConnection(const QString &name, const QString &database)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(u"QPSQL"_s, name);
    db.setHostName(env("PGHOST", u"127.0.0.1"_s));
    db.setPort(env("PGPORT", u"5432"_s).toInt());
    db.setUserName(env("PGUSER"));
    db.setDatabaseName(database);
    if (!db.open())
        qWarning("cannot reach the test server: %s", qPrintable(db.lastError().text()));
}

// Databases are made and dropped through the server's maintenance database.
void administer(const QString &statement)
{
    static const QString name = [] {
        addServerConnection(u"test-server-admin"_s, u"postgres"_s);
        return u"test-server-admin"_s;
    }();
    QSqlDatabase db = QSqlDatabase::database(name, false);
    QSqlQuery query(db);
    if (query.exec(statement))
        return;
    // A suite that stops and starts its server leaves this connection behind.
    db.close();
    if (!db.open() || !query.exec(statement))
        qWarning("%s: %s", qPrintable(statement), qPrintable(query.lastError().text()));
}

// Every data module of the process reads the server from these settings.
void nameServerDatabase(const QString &database)
{
    static QTemporaryDir settings;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(settings.path()));
    vosmira::IniFile ini(vosmira::DisplaySettings::fileName());
    ini.WriteString(u"Banco"_s, u"Servidor"_s, env("PGHOST", u"127.0.0.1"_s));
    ini.WriteString(u"Banco"_s, u"Porta"_s, env("PGPORT", u"5432"_s));
    ini.WriteString(u"Banco"_s, u"Banco"_s, database);
    ini.WriteString(u"Banco"_s, u"Usuario"_s, env("PGUSER"));
}

} // namespace

bool testingOnServer()
{
    return qEnvironmentVariableIsSet("VOSMIRA_TEST_SERVER");
}

ServerConnection::ServerConnection(const QString &database)
    : m_name(u"test-server-"_s + QString::number(++g_counter))
{
    addServerConnection(m_name, database);
}

ServerConnection::~ServerConnection()
{
    QSqlDatabase::database(m_name, false).close();
    QSqlDatabase::removeDatabase(m_name);
}

QSqlDatabase ServerConnection::database() const
{
    return QSqlDatabase::database(m_name, false);
}

TempDatabase::TempDatabase(Tables tables, Where where)
    : m_connection(u"test-raw-"_s + QString::number(++g_counter))
{
    QDir().mkpath(m_dir.path() + u"/Banco"_s);
    if (testingOnServer() && where == AsConfigured) {
        // Numbers only: a database name cannot be a bound value.
        m_serverDatabase = u"vosmira_test_%1_%2"_s.arg(QCoreApplication::applicationPid()).arg(g_counter);
        nameServerDatabase(m_serverDatabase);
        if (tables == WithoutFile)
            return;
        administer(u"CREATE DATABASE "_s + m_serverDatabase + u" STRATEGY FILE_COPY"_s);
        addServerConnection(m_connection, m_serverDatabase);
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        if (tables == WithTables)
            ClientSchema::createClientTables(db);
        return;
    }
    if (tables == WithoutFile)
        return;
    QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, m_connection);
    db.setDatabaseName(path());
    db.setConnectOptions(u"QSQLITE_BUSY_TIMEOUT=5000"_s);
    if (!db.open())
        qWarning("cannot create %s", qPrintable(path()));
    if (tables == WithTables)
        ClientSchema::createClientTables(db);
    else
        QSqlQuery(db).exec(u"PRAGMA user_version = 1"_s); // a valid file with no table
}

TempDatabase::~TempDatabase()
{
    if (QSqlDatabase::contains(m_connection)) {
        QSqlDatabase::database(m_connection, false).close();
        QSqlDatabase::removeDatabase(m_connection);
    }
    if (onServer())
        administer(u"DROP DATABASE IF EXISTS "_s + m_serverDatabase + u" WITH (FORCE)"_s);
}

QString TempDatabase::sql(const QString &statement) const
{
    if (!onServer())
        return statement;
    // Unquoted names fold to lower case on a server; the tables' names are upper case.
    static const QRegularExpression names = [] {
        QStringList words{ClientSchema::clientsTable(), ClientSchema::selectionTable()};
        for (const ClientRecord::Column &c : ClientRecord::columns())
            words.append(QString(c.name));
        return QRegularExpression(u"(?<![\"\\w])("_s + words.join(u'|') + u")(?![\"\\w])"_s);
    }();
    QString quoted = statement;
    return quoted.replace(names, u"\"\\1\""_s);
}

QString TempDatabase::programFolder() const
{
    return m_dir.path() + u'/';
}

QString TempDatabase::path() const
{
    return programFolder() + u"Banco/Vosmira BANCO.mdb"_s;
}

bool TempDatabase::exec(const QString &sql, const QVariantList &binds)
{
    QSqlQuery query(QSqlDatabase::database(m_connection));
    // A server prepares no DDL.
    if (binds.isEmpty()) {
        if (query.exec(this->sql(sql)))
            return true;
        qWarning("exec failed: %s", qPrintable(query.lastError().text()));
        return false;
    }
    if (!query.prepare(this->sql(sql))) {
        qWarning("prepare failed: %s", qPrintable(query.lastError().text()));
        return false;
    }
    for (qsizetype i = 0; i < binds.size(); ++i)
        query.bindValue(int(i), binds.at(i));
    if (!query.exec()) {
        qWarning("exec failed: %s", qPrintable(query.lastError().text()));
        return false;
    }
    return true;
}

QVariant TempDatabase::scalar(const QString &sql, const QVariantList &binds)
{
    QSqlQuery query(QSqlDatabase::database(m_connection));
    query.prepare(this->sql(sql));
    for (qsizetype i = 0; i < binds.size(); ++i)
        query.bindValue(int(i), binds.at(i));
    if (!query.exec() || !query.next())
        return QVariant();
    return query.value(0);
}

bool TempDatabase::addClient(const QString &name, const QString &kind, const QVariantMap &more)
{
    QString columns = u"NOME, TIPO"_s;
    QString marks = u"?, ?"_s;
    QVariantList binds{name, kind};
    for (auto it = more.cbegin(); it != more.cend(); ++it) {
        columns += u", "_s + it.key();
        marks += u", ?"_s;
        binds.append(it.value());
    }
    return exec(u"INSERT INTO CAD_CLIENTE ("_s + columns + u") VALUES ("_s + marks + u')', binds);
}

void TempDatabase::reconnect()
{
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    db.close();
    if (!db.open())
        qWarning("cannot open %s again", qPrintable(onServer() ? m_serverDatabase : path()));
}

OtherProgramLock::OtherProgramLock(TempDatabase &db, TDMbanco &dm)
    : m_name(u"other-program-"_s + QString::number(++g_counter))
{
    if (db.onServer()) {
        addServerConnection(m_name, db.serverDatabase());
        QSqlDatabase other = QSqlDatabase::database(m_name, false);
        m_held = other.isOpen() && QSqlQuery(other).exec(u"BEGIN"_s)
                 && QSqlQuery(other).exec(u"LOCK TABLE \"CAD_CLIENTE\" IN EXCLUSIVE MODE"_s)
                 && QSqlQuery(dm.database()).exec(u"SET lock_timeout = '50ms'"_s);
        return;
    }
    QSqlDatabase other = QSqlDatabase::addDatabase(u"QSQLITE"_s, m_name);
    other.setDatabaseName(db.path());
    m_held = other.open() && QSqlQuery(other).exec(u"BEGIN EXCLUSIVE"_s)
             && QSqlQuery(dm.database()).exec(u"PRAGMA busy_timeout = 50"_s);
}

OtherProgramLock::~OtherProgramLock()
{
    release();
    QSqlDatabase::removeDatabase(m_name);
}

void OtherProgramLock::release()
{
    if (std::exchange(m_released, true))
        return;
    if (QSqlDatabase::contains(m_name)) {
        QSqlDatabase other = QSqlDatabase::database(m_name, false);
        QSqlQuery(other).exec(u"ROLLBACK"_s);
        other.close();
    }
}

std::unique_ptr<TDMbanco> openDataModule(TempDatabase &db)
{
    auto dm = std::make_unique<TDMbanco>(db.programFolder());
    try {
        dm->connectSequence();
    } catch (const std::exception &e) {
        qWarning("connect failed: %s", e.what());
        return nullptr;
    }
    return dm;
}
