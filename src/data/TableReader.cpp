#include "TableReader.h"

#include "ClientSchema.h"
#include "DataErrors.h"

#include <QSqlDriver>

#include <sqlite3.h>

using namespace Qt::Literals::StringLiterals;
using ClientRecord::ColumnCount;
using ClientRecord::Kind;

namespace {

sqlite3 *sqliteHandle(QSqlDatabase &db)
{
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        throw DatabaseError(u"A conexão não é um banco de dados SQLite."_s);
    return *static_cast<sqlite3 *const *>(handle.constData());
}

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

} // namespace

std::vector<PackedRow> readClientTable(QSqlDatabase &db, const QString &table)
{
    sqlite3 *handle = sqliteHandle(db);
    const QByteArray sql =
        (u"SELECT "_s + ClientSchema::columnList() + u" FROM \""_s + table + u"\" ORDER BY \"NOME\""_s).toUtf8();
    Statement s;
    if (sqlite3_prepare_v2(handle, sql.constData(), int(sql.size()), &s.stmt, nullptr) != SQLITE_OK)
        throw DatabaseError(QString::fromUtf8(sqlite3_errmsg(handle)));

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
            case Kind::Integer: builder.setCode(sqlite3_column_int(s.stmt, c)); break;
            }
        }
        rows.push_back(builder.finish());
    }
    if (rc != SQLITE_DONE)
        throw DatabaseError(QString::fromUtf8(sqlite3_errmsg(handle)));
    return rows;
}
