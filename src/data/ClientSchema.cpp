#include "ClientSchema.h"

#include "DataErrors.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>

namespace ClientSchema {

using namespace Qt::Literals::StringLiterals;
using ClientRecord::Kind;

namespace {

QString quoted(QLatin1StringView name)
{
    return u'"' + QString(name) + u'"';
}

// SQLite's own affinity rules, in its order: INT first, then the text words.
bool declaresInteger(const QString &type)
{
    return type.contains("INT"_L1);
}
bool declaresText(const QString &type)
{
    return !declaresInteger(type) && (type.contains("CHAR"_L1) || type.contains("CLOB"_L1) || type.contains("TEXT"_L1));
}
bool declaresDate(const QString &type)
{
    return !declaresInteger(type) && !declaresText(type) && (type.contains("DATE"_L1) || type.contains("TIME"_L1));
}

} // namespace

QString clientsTable()
{
    return u"CAD_CLIENTE"_s;
}

QString selectionTable()
{
    return u"PED_CLIENTE"_s;
}

QString columnList()
{
    QString list;
    for (const ClientRecord::Column &c : ClientRecord::columns()) {
        if (!list.isEmpty())
            list += u", "_s;
        list += quoted(c.name);
    }
    return list;
}

QString createTableStatement(const QString &table)
{
    QString sql = u"CREATE TABLE \""_s + table + u"\" ("_s;
    bool first = true;
    for (const ClientRecord::Column &c : ClientRecord::columns()) {
        if (!first)
            sql += u", "_s;
        first = false;
        sql += quoted(c.name);
        switch (c.kind) {
        case Kind::Integer: sql += u" INTEGER PRIMARY KEY AUTOINCREMENT"_s; break;
        case Kind::Text: sql += u" VARCHAR("_s + QString::number(c.length) + u')'; break;
        case Kind::Date: sql += u" DATE"_s; break;
        }
    }
    return sql + u')';
}

void createClientTables(QSqlDatabase &db)
{
    QSqlQuery query(db);
    for (const QString &table : {clientsTable(), selectionTable()}) {
        if (!query.exec(createTableStatement(table)))
            throw DatabaseError(databaseMessage(query.lastError()));
    }
}

std::array<int, ClientRecord::ColumnCount> fieldSizes(QSqlDatabase &db, const QString &table)
{
    // Table names are constants of the program, so the pragma text holds no user data.
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(u"PRAGMA table_info(\""_s + table + u"\")"_s))
        throw DatabaseError(databaseMessage(query.lastError()));

    std::array<QString, ClientRecord::ColumnCount> declared;
    std::array<bool, ClientRecord::ColumnCount> found{};
    bool any = false;
    while (query.next()) {
        any = true;
        const int index = ClientRecord::indexOf(query.value(1).toString());
        if (index >= 0) {
            found[std::size_t(index)] = true;
            declared[std::size_t(index)] = query.value(2).toString().toUpper();
        }
    }
    if (query.lastError().isValid())
        throw DatabaseError(databaseMessage(query.lastError()));
    if (!any)
        throw DatabaseError(u"A tabela %1 não existe no banco de dados."_s.arg(table));

    static const QRegularExpression lengthPattern(u"\\(\\s*(\\d+)\\s*\\)"_s);
    std::array<int, ClientRecord::ColumnCount> sizes{};
    for (int i = 0; i < ClientRecord::ColumnCount; ++i) {
        const ClientRecord::Column &c = ClientRecord::column(i);
        const QString &type = declared[std::size_t(i)];
        if (!found[std::size_t(i)])
            throw DatabaseError(u"A coluna %1 não existe na tabela %2."_s.arg(c.name, table));
        const bool matches = (c.kind == Kind::Integer && declaresInteger(type))
                             || (c.kind == Kind::Text && declaresText(type))
                             || (c.kind == Kind::Date && declaresDate(type));
        if (!matches)
            throw DatabaseError(
                u"A coluna %1 da tabela %2 é do tipo \"%3\", incompatível com o campo."_s.arg(c.name, table, type));
        sizes[std::size_t(i)] = c.length;
        if (c.kind == Kind::Text) {
            const QRegularExpressionMatch m = lengthPattern.match(type);
            if (m.hasMatch()) {
                const int length = m.captured(1).toInt();
                if (length > 0 && length < c.length)
                    sizes[std::size_t(i)] = length;
            }
        }
    }
    return sizes;
}

} // namespace ClientSchema
