#include "TableWriter.h"

#include "ClientSchema.h"
#include "DataErrors.h"
#include "FileConnection.h"
#include "FileCopy.h"
#include "TableReader.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryFile>

#include <sqlite3.h>

#include <array>

using namespace Qt::Literals::StringLiterals;
using ClientRecord::ColumnCount;
using ClientRecord::Kind;

namespace {

[[noreturn]] void fail(const QSqlError &error)
{
    throw DatabaseError(databaseMessage(error), databaseReason(error));
}

[[noreturn]] void fail(sqlite3 *handle, int rc)
{
    throw DatabaseError(QString::fromUtf8(sqlite3_errmsg(handle)), sqliteReason(rc));
}

// first: 0 writes every column, 1 leaves CODIGO_C for the database to number.
QString insertHead(const QString &table, int first)
{
    QString columns;
    for (int c = first; c < ColumnCount; ++c)
        columns += (c > first ? u", \""_s : u"\""_s) + QString(ClientRecord::column(c).name) + u'"';
    return u"INSERT INTO \""_s + table + u"\" ("_s + columns + u") VALUES "_s;
}

QString rowMarks(int first)
{
    QString marks = u"("_s;
    for (int c = first; c < ColumnCount; ++c)
        marks += c > first ? u", ?"_s : u"?"_s;
    return marks + u')';
}

void writeFileRows(QSqlDatabase &db, const QString &table, const std::vector<PackedRow> &rows, int first)
{
    sqlite3 *handle = sqliteHandle(db);
    const QByteArray sql = (insertHead(table, first) + rowMarks(first)).toUtf8();
    struct Statement
    {
        sqlite3_stmt *stmt = nullptr;
        ~Statement() { sqlite3_finalize(stmt); }
    } s;
    if (const int rc = sqlite3_prepare_v2(handle, sql.constData(), int(sql.size()), &s.stmt, nullptr); rc != SQLITE_OK)
        fail(handle, rc);
    for (const PackedRow &row : rows) {
        for (int c = first; c < ColumnCount; ++c) {
            const int at = c - first + 1;
            if (row.isNull(c)) {
                sqlite3_bind_null(s.stmt, at);
                continue;
            }
            switch (ClientRecord::column(c).kind) {
            case Kind::Integer: sqlite3_bind_int64(s.stmt, at, row.code()); break;
            case Kind::Date: {
                const QByteArray iso = row.date(c).toString(Qt::ISODate).toLatin1();
                sqlite3_bind_text(s.stmt, at, iso.constData(), int(iso.size()), SQLITE_TRANSIENT);
                break;
            }
            case Kind::Text: {
                const QByteArrayView text = row.utf8(c);
                sqlite3_bind_text(s.stmt, at, text.data(), int(text.size()), SQLITE_STATIC);
                break;
            }
            }
        }
        if (const int rc = sqlite3_step(s.stmt); rc != SQLITE_DONE)
            fail(handle, rc);
        sqlite3_reset(s.stmt);
    }
}

void appendJsonString(QByteArray &out, QByteArrayView utf8)
{
    out += '"';
    for (const char ch : utf8) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += ch;
        } else if (c < 0x20) {
            static const char hex[] = "0123456789abcdef";
            out += "\\u00";
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += ch;
        }
    }
    out += '"';
}

// Rows go in batches, each as one JSON text the server unpacks into the
// table's own row type: Qt's driver writes every bound value into the
// statement's text, and a server parsing tens of thousands of values per
// statement took most of a restore.
void writeServerRows(QSqlDatabase &db, const QString &table, const std::vector<PackedRow> &rows, int first)
{
    constexpr std::size_t kBatch = 2000;
    QSqlQuery query(db);
    QString columns;
    for (int c = first; c < ColumnCount; ++c)
        columns += (c > first ? u", \""_s : u"\""_s) + QString(ClientRecord::column(c).name) + u'"';
    if (!query.prepare(u"INSERT INTO \""_s + table + u"\" ("_s + columns + u") SELECT "_s + columns
                       + u" FROM json_populate_recordset(NULL::\""_s + table + u"\", CAST(? AS json))"_s))
        fail(query.lastError());
    std::array<QByteArray, ColumnCount> keys;
    for (int c = first; c < ColumnCount; ++c) {
        appendJsonString(keys[std::size_t(c)],
                         QByteArrayView(ClientRecord::column(c).name.data(), ClientRecord::column(c).name.size()));
        keys[std::size_t(c)] += ':';
    }
    QByteArray json;
    for (std::size_t at = 0; at < rows.size(); at += kBatch) {
        const std::size_t end = std::min(at + kBatch, rows.size());
        json.clear();
        json += '[';
        for (std::size_t i = at; i < end; ++i) {
            const PackedRow &row = rows[i];
            json += i > at ? ",{" : "{";
            for (int c = first; c < ColumnCount; ++c) {
                if (c > first)
                    json += ',';
                json += keys[std::size_t(c)];
                if (row.isNull(c)) {
                    json += "null";
                    continue;
                }
                switch (ClientRecord::column(c).kind) {
                case Kind::Integer: json += QByteArray::number(row.code()); break;
                case Kind::Date: appendJsonString(json, row.date(c).toString(Qt::ISODate).toLatin1()); break;
                case Kind::Text: appendJsonString(json, row.utf8(c)); break;
                }
            }
            json += '}';
        }
        json += ']';
        query.bindValue(0, QString::fromUtf8(json));
        if (!query.exec())
            fail(query.lastError());
    }
}

} // namespace

void writeClientRows(QSqlDatabase &db, const QString &table, const std::vector<PackedRow> &rows)
{
    if (ClientSchema::isServer(db))
        writeServerRows(db, table, rows, 0);
    else
        writeFileRows(db, table, rows, 0);
}

void appendClientRows(QSqlDatabase &db, const QString &table, const std::vector<PackedRow> &rows)
{
    if (ClientSchema::isServer(db))
        writeServerRows(db, table, rows, 1);
    else
        writeFileRows(db, table, rows, 1);
}

ClientTables readClientTables(QSqlDatabase &db)
{
    ClientTables tables;
    tables.clients = readClientTable(db, ClientSchema::clientsTable());
    tables.selection = readClientTable(db, ClientSchema::selectionTable());
    return tables;
}

void replaceClientTables(QSqlDatabase &db, const ClientTables &tables, bool onlyIntoEmpty)
{
    const bool onServer = ClientSchema::isServer(db);
    QSqlQuery query(db);
    // IMMEDIATE: a file's write lock is taken before anything is read or deleted.
    if (!query.exec(onServer ? u"BEGIN"_s : u"BEGIN IMMEDIATE"_s))
        fail(query.lastError());
    try {
        const QString clients = ClientSchema::clientsTable();
        if (onServer) {
            // Desks saving meanwhile wait for the whole replacement, not half of it.
            if (!query.exec(u"LOCK TABLE \""_s + clients + u"\", \""_s + ClientSchema::selectionTable()
                            + u"\" IN EXCLUSIVE MODE"_s))
                fail(query.lastError());
        }
        if (onlyIntoEmpty) {
            if (!query.exec(u"SELECT COUNT(*) FROM \""_s + clients + u'"') || !query.next())
                fail(query.lastError());
            if (const qlonglong held = query.value(0).toLongLong(); held > 0)
                throw DatabaseError(u"O banco de dados já tem %1 cliente(s); nada foi copiado para ele."_s.arg(held));
        }
        for (const QString &table : {clients, ClientSchema::selectionTable()}) {
            if (!query.exec(u"DELETE FROM \""_s + table + u'"'))
                fail(query.lastError());
            writeClientRows(db, table, table == clients ? tables.clients : tables.selection);
            if (onServer)
                ClientSchema::resetKeySequence(db, table);
        }
        if (!query.exec(u"COMMIT"_s))
            fail(query.lastError());
    } catch (...) {
        query.exec(u"ROLLBACK"_s);
        throw;
    }
}

QString writeDatabaseFile(const ClientTables &tables, const QString &path)
{
    // Built whole in a temporary file first, then copied into place as any backup is.
    QTemporaryFile scratch(QDir::tempPath() + u"/vosmira-XXXXXX.mdb"_s);
    if (!scratch.open())
        return u"Não foi possível criar um arquivo temporário em %1."_s.arg(QDir::toNativeSeparators(QDir::tempPath()));
    scratch.close();
    try {
        const FileConnection connection(scratch.fileName(), false);
        if (!connection.opened())
            fail(connection.openError());
        QSqlDatabase db = connection.database();
        ClientSchema::createClientTables(db);
        replaceClientTables(db, tables);
    } catch (const DatabaseError &e) {
        return u"Não foi possível montar a cópia do banco de dados: %1"_s.arg(e.text());
    }
    const vosmira::CopyResult copy = vosmira::FileCopy(scratch.fileName(), path);
    return copy.copied() ? QString() : copy.error;
}

ClientTables readDatabaseFile(const QString &path)
{
    const QString problem = ClientSchema::checkDatabaseFile(path);
    if (!problem.isEmpty())
        throw DatabaseError(problem, DatabaseError::Reason::NotADatabase);
    const FileConnection connection(QFileInfo(path).absoluteFilePath(), true);
    if (!connection.opened())
        fail(connection.openError());
    QSqlDatabase db = connection.database();
    return readClientTables(db);
}
