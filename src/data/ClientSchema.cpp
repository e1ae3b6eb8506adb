#include "ClientSchema.h"

#include "DataErrors.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

#include <atomic>

namespace ClientSchema {

using namespace Qt::Literals::StringLiterals;
using ClientRecord::Kind;
using Reason = DatabaseError::Reason;

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

// A read-only connection of its own, removed with the object.
class ReadOnlyConnection
{
public:
    explicit ReadOnlyConnection(const QString &path)
    {
        static std::atomic<int> counter{0};
        m_name = u"vosmira-check-"_s + QString::number(++counter);
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, m_name);
        db.setDatabaseName(QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded) + u"?mode=ro"_s);
        db.setConnectOptions(u"QSQLITE_OPEN_URI;QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=5000"_s);
        m_opened = db.open();
    }
    ~ReadOnlyConnection()
    {
        QSqlDatabase::database(m_name, false).close();
        QSqlDatabase::removeDatabase(m_name);
    }
    ReadOnlyConnection(const ReadOnlyConnection &) = delete;
    ReadOnlyConnection &operator=(const ReadOnlyConnection &) = delete;

    bool opened() const { return m_opened; }
    QSqlDatabase database() const { return QSqlDatabase::database(m_name, false); }

private:
    QString m_name;
    bool m_opened = false;
};

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
            throw DatabaseError(databaseMessage(query.lastError()), databaseReason(query.lastError()));
    }
}

std::array<int, ClientRecord::ColumnCount> fieldSizes(QSqlDatabase &db, const QString &table)
{
    // Table names are constants of the program, so the pragma text holds no user data.
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(u"PRAGMA table_info(\""_s + table + u"\")"_s))
        throw DatabaseError(databaseMessage(query.lastError()), databaseReason(query.lastError()));

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
        throw DatabaseError(databaseMessage(query.lastError()), databaseReason(query.lastError()));
    if (!any)
        throw DatabaseError(u"A tabela %1 não existe no banco de dados."_s.arg(table), Reason::NotADatabase);

    static const QRegularExpression lengthPattern(u"\\(\\s*(\\d+)\\s*\\)"_s);
    std::array<int, ClientRecord::ColumnCount> sizes{};
    for (int i = 0; i < ClientRecord::ColumnCount; ++i) {
        const ClientRecord::Column &c = ClientRecord::column(i);
        const QString &type = declared[std::size_t(i)];
        if (!found[std::size_t(i)])
            throw DatabaseError(u"A coluna %1 não existe na tabela %2."_s.arg(c.name, table), Reason::NotADatabase);
        const bool matches = (c.kind == Kind::Integer && declaresInteger(type))
                             || (c.kind == Kind::Text && declaresText(type))
                             || (c.kind == Kind::Date && declaresDate(type));
        if (!matches)
            throw DatabaseError(
                u"A coluna %1 da tabela %2 é do tipo \"%3\", incompatível com o campo."_s.arg(c.name, table, type),
                Reason::NotADatabase);
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

QString checkDatabaseFile(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return u"O arquivo não existe."_s;
    if (!info.isFile())
        return u"O caminho não é um arquivo."_s;
    if (!info.isReadable())
        return u"O arquivo não pode ser lido."_s;

    const ReadOnlyConnection connection(info.absoluteFilePath());
    if (!connection.opened())
        return u"O arquivo não pode ser aberto como banco de dados."_s;
    QSqlDatabase db = connection.database();
    QSqlQuery query(db);
    query.setForwardOnly(true);
    const QString damaged = u"O banco de dados está danificado."_s;
    // SQLite reads the header only on the first statement.
    if (!query.exec(u"SELECT COUNT(*) FROM sqlite_master"_s)) {
        constexpr int notADatabase = 26; // SQLITE_NOTADB
        return query.lastError().nativeErrorCode().toInt() == notADatabase ? u"O arquivo não é um banco de dados."_s
                                                                           : damaged;
    }
    if (!query.exec(u"PRAGMA quick_check"_s) || !query.next() || query.value(0).toString() != "ok"_L1)
        return damaged;
    query.finish();
    try {
        for (const QString &table : {clientsTable(), selectionTable()})
            fieldSizes(db, table);
    } catch (const DatabaseError &e) {
        return e.text();
    }
    return QString();
}

} // namespace ClientSchema
