#include "TableReader.h"

#include "ClientSchema.h"
#include "DataErrors.h"
#include "NameOrder.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>

#include <sqlite3.h>

#include <algorithm>
#include <cstring>

using namespace Qt::Literals::StringLiterals;
using ClientRecord::ColumnCount;
using ClientRecord::Kind;

namespace {

// yyyy-mm-dd, optionally followed by a time; anything else reads as no date.
QDate isoDate(const unsigned char *p, int n)
{
    if (n < 10 || p[4] != '-' || p[7] != '-')
        return QDate();
    auto digits = [p](int at, int count) {
        int v = 0;
        for (int i = at; i < at + count; ++i) {
            if (p[i] < '0' || p[i] > '9')
                return -1;
            v = v * 10 + (p[i] - '0');
        }
        return v;
    };
    const int y = digits(0, 4);
    const int m = digits(5, 2);
    const int d = digits(8, 2);
    if (y < 0 || m < 0 || d < 0 || (n > 10 && p[10] != ' ' && p[10] != 'T'))
        return QDate();
    return QDate(y, m, d);
}

struct Statement
{
    sqlite3_stmt *stmt = nullptr;
    ~Statement() { sqlite3_finalize(stmt); }
};

// Puts the rows in NameOrder, rows of the same name in the order they were read.
// Each name's key is made once, into one buffer; most comparisons are settled by
// the key's first eight bytes, held beside the row number.
void sortByName(std::vector<PackedRow> &rows)
{
    struct Entry
    {
        quint64 head; // the key's first 8 bytes, big-endian, zero-padded
        quint32 at;   // where the key begins in keys
        quint32 size;
        quint32 row;
    };
    const int nome = ClientRecord::col_NOME;
    qsizetype bytes = 0;
    for (const PackedRow &row : rows)
        bytes += 3 * row.utf8(nome).size() + 2; // a key holds about three times its name
    QByteArray keys;
    keys.reserve(bytes);
    std::vector<Entry> entries;
    entries.reserve(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const qsizetype at = keys.size();
        // A null name has the empty key: before every name, the empty one too.
        if (!rows[i].isNull(nome))
            NameOrder::appendSortKey(rows[i].utf8(nome), keys);
        const auto size = quint32(keys.size() - at);
        unsigned char head[8] = {};
        std::memcpy(head, keys.constData() + at, std::min<std::size_t>(size, sizeof head));
        quint64 h = 0;
        for (unsigned char b : head)
            h = (h << 8) | b;
        entries.push_back(Entry{h, quint32(at), size, quint32(i)});
    }
    const char *base = keys.constData();
    std::sort(entries.begin(), entries.end(), [base](const Entry &a, const Entry &b) {
        if (a.head != b.head)
            return a.head < b.head;
        const int n = std::memcmp(base + a.at, base + b.at, std::min(a.size, b.size));
        if (n != 0)
            return n < 0;
        if (a.size != b.size)
            return a.size < b.size;
        return a.row < b.row;
    });
    std::vector<PackedRow> sorted;
    sorted.reserve(rows.size());
    for (const Entry &e : entries)
        sorted.push_back(std::move(rows[e.row]));
    rows = std::move(sorted);
}

} // namespace

sqlite3 *sqliteHandle(QSqlDatabase &db)
{
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        throw DatabaseError(u"A conexão não é um banco de dados SQLite."_s);
    return *static_cast<sqlite3 *const *>(handle.constData());
}

namespace {

// A server's table, through the driver: its values come typed, dates as dates.
std::vector<PackedRow> readServerTable(QSqlDatabase &db, const QString &table)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(u"SELECT "_s + ClientSchema::columnList() + u" FROM \""_s + table + u'"'))
        throw DatabaseError(databaseMessage(query.lastError()), serverReason(query.lastError()));
    std::vector<PackedRow> rows;
    PackedRowBuilder builder;
    while (query.next()) {
        builder.reset();
        for (int c = 0; c < ColumnCount; ++c) {
            const QVariant value = query.value(c);
            if (value.isNull()) {
                builder.setNull(c);
                continue;
            }
            switch (ClientRecord::column(c).kind) {
            case Kind::Text: builder.appendUtf8(c, value.toString().toUtf8()); break;
            case Kind::Date: builder.setDate(c, value.toDate()); break;
            case Kind::Integer: builder.setCode(value.toLongLong()); break;
            }
        }
        rows.push_back(builder.finish());
    }
    if (query.lastError().isValid())
        throw DatabaseError(databaseMessage(query.lastError()), serverReason(query.lastError()));
    return rows;
}

} // namespace

std::vector<PackedRow> readClientTable(QSqlDatabase &db, const QString &table)
{
    if (ClientSchema::isServer(db)) {
        std::vector<PackedRow> rows = readServerTable(db, table);
        sortByName(rows);
        return rows;
    }
    sqlite3 *handle = sqliteHandle(db);
    // The database's own order of NOME is byte order, which puts Á after Z.
    const QByteArray sql = (u"SELECT "_s + ClientSchema::columnList() + u" FROM \""_s + table + u'"').toUtf8();
    Statement s;
    if (sqlite3_prepare_v2(handle, sql.constData(), int(sql.size()), &s.stmt, nullptr) != SQLITE_OK)
        throw DatabaseError(QString::fromUtf8(sqlite3_errmsg(handle)), sqliteReason(sqlite3_extended_errcode(handle)));

    std::vector<PackedRow> rows;
    PackedRowBuilder builder;
    int rc;
    while ((rc = sqlite3_step(s.stmt)) == SQLITE_ROW) {
        builder.reset();
        for (int c = 0; c < ColumnCount; ++c) {
            if (sqlite3_column_type(s.stmt, c) == SQLITE_NULL) {
                builder.setNull(c);
                continue;
            }
            switch (ClientRecord::column(c).kind) {
            case Kind::Text: {
                const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(s.stmt, c));
                builder.appendUtf8(c, QByteArrayView(text, sqlite3_column_bytes(s.stmt, c)));
                break;
            }
            case Kind::Date:
                builder.setDate(c, isoDate(sqlite3_column_text(s.stmt, c), sqlite3_column_bytes(s.stmt, c)));
                break;
            case Kind::Integer: builder.setCode(sqlite3_column_int64(s.stmt, c)); break;
            }
        }
        rows.push_back(builder.finish());
    }
    if (rc != SQLITE_DONE)
        throw DatabaseError(QString::fromUtf8(sqlite3_errmsg(handle)), sqliteReason(sqlite3_extended_errcode(handle)));
    sortByName(rows);
    return rows;
}
