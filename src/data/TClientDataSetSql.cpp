// Reading a client table into the dataset and sending its change log back.
#include "TClientDataSet.h"

#include "ClientSchema.h"
#include "DataErrors.h"
#include "TField.h"
#include "TableReader.h"

#include <QSqlDatabase>
#include <QSqlError>

using namespace Qt::Literals::StringLiterals;
using ClientRecord::ColumnCount;
using ClientRecord::Kind;

namespace {

QSqlDatabase openDatabase(const QString &connection)
{
    QSqlDatabase db = QSqlDatabase::database(connection, false);
    if (!db.isOpen())
        throw DatabaseError(u"A conexão com o banco de dados não está aberta."_s);
    return db;
}

QString quoted(int column)
{
    return u'"' + QString(ClientRecord::column(column).name) + u'"';
}

// A column's value as the table stores it: texts, dates as yyyy-mm-dd, the number.
QVariant sqlValue(const PackedRow &row, int column)
{
    const Kind kind = ClientRecord::column(column).kind;
    if (row.isNull(column))
        return kind == Kind::Integer ? QVariant(QMetaType::fromType<int>()) : QVariant(QMetaType::fromType<QString>());
    switch (kind) {
    case Kind::Integer: return QVariant(row.code());
    case Kind::Date: return QVariant(row.date(column).toString(Qt::ISODate));
    case Kind::Text: break;
    }
    return QVariant(row.text(column));
}

// Every column compared with the value the row had when it was loaded.
void appendWhere(QString &sql, QVariantList &binds, const PackedRow &orig)
{
    sql += u" WHERE "_s;
    for (int c = 0; c < ColumnCount; ++c) {
        if (c > 0)
            sql += u" AND "_s;
        // date() also matches a day stored with a time after it; a text that is no
        // date at all loaded as an empty date and is matched as one.
        if (orig.isNull(c)) {
            if (ClientRecord::column(c).kind == Kind::Date)
                sql += u"date("_s + quoted(c) + u") IS NULL"_s;
            else
                sql += quoted(c) + u" IS NULL"_s;
            continue;
        }
        if (ClientRecord::column(c).kind == Kind::Date)
            sql += u"date("_s + quoted(c) + u") = ?"_s;
        else
            sql += quoted(c) + u" = ?"_s;
        binds.append(sqlValue(orig, c));
    }
}

} // namespace

void TClientDataSet::Open()
{
    if (Active())
        return;
    QSqlDatabase db = openDatabase(m_connection);
    const std::array<int, ColumnCount> sizes = ClientSchema::fieldSizes(db, m_table);

    std::vector<PackedRow> loaded = readClientTable(db, m_table);
    std::vector<std::unique_ptr<Row>> rows;
    rows.reserve(loaded.size());
    for (PackedRow &row : loaded)
        rows.push_back(std::make_unique<Row>(Row{std::move(row), nullptr}));

    emit aboutToReset();
    m_rows = std::move(rows);
    for (int c = 0; c < ColumnCount; ++c)
        m_fields[std::size_t(c)]->setSize(sizes[std::size_t(c)]);
    m_lastErrors = 0;
    rebuildView(nullptr);
    setState(dsBrowse);
    emit dataReset();
    emit currentChanged();
}

void TClientDataSet::Close()
{
    if (!Active())
        return;
    m_buffer = PackedRow();
    m_editRow = nullptr;
    m_modified = false;
    emit aboutToReset();
    clearRows();
    m_insertQuery.reset();
    setState(dsInactive);
    emit dataReset();
    emit currentChanged();
}

int TClientDataSet::ApplyUpdates(int maxErrors)
{
    checkActive();
    checkBrowseMode();
    m_lastErrors = 0;
    if (m_log.empty())
        return 0;

    QStringList messages;
    // Applied changes leave the log as the pass goes on.
    std::vector<Change *> pending;
    pending.reserve(m_log.size());
    for (const auto &change : m_log)
        pending.push_back(change.get());
    for (Change *change : pending) {
        if (maxErrors >= 0 && m_lastErrors > maxErrors)
            break;
        QString message;
        Row *row = change->row;
        const bool inserted = change->kind == ChangeKind::Insert;
        if (applyChange(change, &message)) {
            dropChange(change);
            if (inserted) {
                // The row now carries the number the table gave it.
                if (const int at = viewIndexOf(row); at >= 0) {
                    emit rowChanged(at);
                    if (at == m_cur)
                        emit currentChanged();
                }
            }
        } else {
            ++m_lastErrors;
            if (!messages.contains(message))
                messages.append(message);
        }
    }
    if (m_lastErrors > 0)
        throw DatabaseError(messages.join(u'\n'));
    return 0;
}

bool TClientDataSet::applyChange(Change *change, QString *message)
{
    QSqlDatabase db = openDatabase(m_connection);
    if (change->kind == ChangeKind::Insert) {
        if (!m_insertQuery) {
            QString columns;
            QString marks;
            for (int c = 1; c < ColumnCount; ++c) {
                columns += (c > 1 ? u", "_s : QString()) + quoted(c);
                marks += c > 1 ? u", ?"_s : u"?"_s;
            }
            m_insertQuery.emplace(db);
            if (!m_insertQuery->prepare(u"INSERT INTO \""_s + m_table + u"\" ("_s + columns + u") VALUES ("_s + marks
                                        + u')')) {
                *message = databaseMessage(m_insertQuery->lastError());
                m_insertQuery.reset();
                return false;
            }
        }
        QSqlQuery &query = *m_insertQuery;
        for (int c = 1; c < ColumnCount; ++c)
            query.bindValue(c - 1, sqlValue(change->row->cur, c));
        const bool ok = query.exec();
        if (!ok)
            *message = databaseMessage(query.lastError());
        else
            change->row->cur.setCode(query.lastInsertId().toInt());
        query.finish();
        return ok;
    }

    QString sql;
    QVariantList binds;
    if (change->kind == ChangeKind::Update) {
        const PackedRow &now = change->row->cur;
        QString sets;
        for (int c = 1; c < ColumnCount; ++c) {
            if (now.sameValue(change->orig, c))
                continue;
            sets += (sets.isEmpty() ? QString() : u", "_s) + quoted(c) + u" = ?"_s;
            binds.append(sqlValue(now, c));
        }
        if (sets.isEmpty())
            return true;
        sql = u"UPDATE \""_s + m_table + u"\" SET "_s + sets;
    } else {
        sql = u"DELETE FROM \""_s + m_table + u'"';
    }
    appendWhere(sql, binds, change->orig);

    QSqlQuery query(db);
    if (!query.prepare(sql)) {
        *message = databaseMessage(query.lastError());
        return false;
    }
    for (qsizetype i = 0; i < binds.size(); ++i)
        query.bindValue(int(i), binds.at(i));
    if (!query.exec()) {
        *message = databaseMessage(query.lastError());
        return false;
    }
    if (query.numRowsAffected() != 1) {
        *message = u"O registro foi alterado ou excluído por outro usuário."_s;
        return false;
    }
    return true;
}
