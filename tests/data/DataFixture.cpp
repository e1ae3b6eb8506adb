#include "DataFixture.h"

#include "ClientSchema.h"
#include "UDMbanco.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {
int g_counter = 0;
}

TempDatabase::TempDatabase(Tables tables)
    : m_connection(u"test-raw-"_s + QString::number(++g_counter))
{
    QDir().mkpath(m_dir.path() + u"/Banco"_s);
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
    if (!query.prepare(sql)) {
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
    query.prepare(sql);
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
        qWarning("cannot open %s again", qPrintable(path()));
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
