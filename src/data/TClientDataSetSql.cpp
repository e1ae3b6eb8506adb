// Reading a client table into the dataset and sending its change log back.
#include "TClientDataSet.h"

#include "ClientSchema.h"
#include "DataErrors.h"
#include "TField.h"
#include "TableReader.h"

#include <QSqlDatabase>
#include <QSqlError>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;
using ClientRecord::ColumnCount;
using ClientRecord::Kind;

namespace {

// A server's connection that was closed when it was found lost is opened again
// here, on the next use; a file's is only ever closed on purpose.
QSqlDatabase openDatabase(const QString &connection)
{
    QSqlDatabase db = QSqlDatabase::database(connection, false);
    if (!db.isOpen() && ClientSchema::isServer(db) && !db.open())
        throw DatabaseError(databaseMessage(db.lastError()), DatabaseError::Reason::Unreachable);
    if (!db.isOpen())
        throw DatabaseError(u"A conexão com o banco de dados não está aberta."_s);
    return db;
}

// Reads the table; a server connection found lost is closed, to be opened anew
// by the next read or save instead of failing for the rest of the run.
std::vector<PackedRow> readTable(QSqlDatabase &db, const QString &table)
{
    try {
        return readClientTable(db, table);
    } catch (const DatabaseError &e) {
        if (e.reason() == DatabaseError::Reason::Unreachable && ClientSchema::isServer(db))
            db.close();
        throw;
    }
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
        return kind == Kind::Integer ? QVariant(QMetaType::fromType<qlonglong>())
                                     : QVariant(QMetaType::fromType<QString>());
    switch (kind) {
    case Kind::Integer: return QVariant(qlonglong(row.code()));
    case Kind::Date: return QVariant(row.date(column).toString(Qt::ISODate));
    case Kind::Text: break;
    }
    return QVariant(row.text(column));
}

// Every column compared with the value the row had when it was loaded.
void appendWhere(QString &sql, QVariantList &binds, const PackedRow &orig, bool onServer)
{
    sql += u" WHERE "_s;
    for (int c = 0; c < ColumnCount; ++c) {
        if (c > 0)
            sql += u" AND "_s;
        // date() also matches a day stored with a time after it; a text that is no
        // date at all loaded as an empty date and is matched as one. A server's
        // DATE column holds days only.
        const bool asDay = ClientRecord::column(c).kind == Kind::Date && !onServer;
        if (orig.isNull(c)) {
            if (asDay)
                sql += u"date("_s + quoted(c) + u") IS NULL"_s;
            else
                sql += quoted(c) + u" IS NULL"_s;
            continue;
        }
        if (asDay)
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

    std::vector<PackedRow> loaded = readTable(db, m_table);
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

void TClientDataSet::Refresh()
{
    checkActive();
    if (m_state != dsBrowse || !m_log.empty())
        throw DataError(u"%1: há alterações pendentes; os registros não foram lidos de novo."_s.arg(objectName()));
    QSqlDatabase db = openDatabase(m_connection);
    std::vector<PackedRow> loaded = readTable(db, m_table);
    const bool hadRow = m_cur >= 0;
    const qint64 code = hadRow ? currentRow().code() : 0;
    std::vector<std::unique_ptr<Row>> rows;
    rows.reserve(loaded.size());
    const Row *keep = nullptr;
    for (PackedRow &row : loaded) {
        rows.push_back(std::make_unique<Row>(Row{std::move(row), nullptr}));
        if (hadRow && !keep && rows.back()->cur.code() == code)
            keep = rows.back().get();
    }
    const int at = m_cur;
    emit aboutToReset();
    m_rows = std::move(rows);
    m_insertQuery.reset();
    rebuildView(keep);
    // The current row gone: the one now in its place, as after a delete.
    if (!keep && at >= 0 && !IsEmpty())
        m_cur = std::min(at, RecordCount() - 1);
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
    std::optional<PendingPost> posted;
    if ((m_state == dsEdit || m_state == dsInsert) && m_modified) {
        PendingPost before;
        before.state = m_state;
        before.buffer = m_buffer;
        before.cur = m_cur;
        if (m_state == dsEdit) {
            before.row = m_editRow;
            before.rowBefore = m_editRow->cur;
            if (m_editRow->change)
                before.changeBefore = *m_editRow->change;
        }
        posted = before;
    }
    checkBrowseMode();
    if (posted && posted->state == dsInsert)
        posted->row = m_rows.back().get();
    m_lastErrors = 0;
    if (m_log.empty())
        return 0;

    QStringList messages;
    std::optional<DatabaseError::Reason> firstReason;
    // Applied changes leave the log as the pass goes on.
    std::vector<Change *> pending;
    pending.reserve(m_log.size());
    for (const auto &change : m_log)
        pending.push_back(change.get());
    for (Change *change : pending) {
        if (maxErrors >= 0 && m_lastErrors > maxErrors)
            break;
        QString message;
        DatabaseError::Reason reason = DatabaseError::Reason::Other;
        Row *row = change->row;
        const bool inserted = change->kind == ChangeKind::Insert;
        if (applyChange(change, &message, &reason)) {
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
            if (!firstReason)
                firstReason = reason;
            if (!messages.contains(message))
                messages.append(message);
        }
    }
    // The pending row's change still logged means the table did not take it.
    if (posted && posted->row && posted->row->change)
        returnToEditing(*posted);
    if (m_lastErrors > 0)
        throw DatabaseError(messages.join(u'\n'), firstReason.value_or(DatabaseError::Reason::Other));
    return 0;
}

void TClientDataSet::returnToEditing(const PendingPost &pending)
{
    Row *row = pending.row;
    if (pending.state == dsInsert) {
        dropChange(row->change);
        const int at = viewIndexOf(row);
        if (at >= 0)
            emit rowAboutToBeRemoved(at);
        if (filtering() && at >= 0)
            m_view.erase(m_view.begin() + at);
        m_rows.erase(std::find_if(m_rows.begin(), m_rows.end(), [row](const auto &r) { return r.get() == row; }));
        if (at >= 0)
            emit rowRemoved(at);
        m_editRow = nullptr;
    } else {
        const bool wasShown = viewIndexOf(row) >= 0;
        row->cur = pending.rowBefore;
        if (pending.changeBefore)
            *row->change = *pending.changeBefore;
        else
            dropChange(row->change);
        if (filtering() && !wasShown && visible(row)) {
            // The edit had taken the row out of the filter: put it back in its place.
            emit aboutToReset();
            rebuildView(row);
            emit dataReset();
        } else if (const int at = viewIndexOf(row); at >= 0) {
            emit rowChanged(at);
        }
        m_editRow = row;
    }
    m_cur = std::min(pending.cur, RecordCount() - 1);
    if (pending.state == dsEdit)
        m_cur = viewIndexOf(row);
    m_buffer = pending.buffer;
    m_modified = true;
    m_bof = m_eof = false;
    setState(pending.state);
    emit currentChanged();
}

bool TClientDataSet::applyChange(Change *change, QString *message, DatabaseError::Reason *reason)
{
    QSqlDatabase db;
    try {
        db = openDatabase(m_connection);
    } catch (const DatabaseError &e) {
        *message = e.text();
        *reason = e.reason();
        return false;
    }
    const bool onServer = ClientSchema::isServer(db);
    // A lost connection is reported as a refused change, and closed: the next
    // try opens it again.
    const auto refused = [&](const QSqlError &error) {
        *message = databaseMessage(error);
        *reason = onServer ? serverReason(error) : databaseReason(error);
        if (onServer && *reason == DatabaseError::Reason::Unreachable)
            db.close();
        return false;
    };
    if (change->kind == ChangeKind::Insert) {
        // A server forgets a prepared statement with the session that made it,
        // which a lost connection ends: there it is prepared for each row.
        std::optional<QSqlQuery> serverInsert;
        std::optional<QSqlQuery> &insertQuery = onServer ? serverInsert : m_insertQuery;
        if (!insertQuery) {
            QString columns;
            QString marks;
            for (int c = 1; c < ColumnCount; ++c) {
                columns += (c > 1 ? u", "_s : QString()) + quoted(c);
                marks += c > 1 ? u", ?"_s : u"?"_s;
            }
            // A server gives the new number back with the row; SQLite keeps it as the last one.
            const QString returning = onServer ? u" RETURNING "_s + quoted(0) : QString();
            insertQuery.emplace(db);
            if (!insertQuery->prepare(u"INSERT INTO \""_s + m_table + u"\" ("_s + columns + u") VALUES ("_s + marks
                                      + u')' + returning)) {
                const QSqlError error = insertQuery->lastError();
                insertQuery.reset();
                return refused(error);
            }
        }
        QSqlQuery &query = *insertQuery;
        for (int c = 1; c < ColumnCount; ++c)
            query.bindValue(c - 1, sqlValue(change->row->cur, c));
        bool done = query.exec();
        // Clients written with their numbers by another program leave the server's
        // numbering behind them: it is moved past them, and the row tried once more.
        if (!done && onServer && query.lastError().nativeErrorCode() == "23505"_L1) {
            try {
                ClientSchema::resetKeySequence(db, m_table);
                done = query.exec();
            } catch (const DatabaseError &) {
            }
        }
        if (!done)
            return refused(query.lastError());
        if (onServer) {
            if (!query.next())
                return refused(query.lastError());
            change->row->cur.setCode(query.value(0).toLongLong());
        } else {
            change->row->cur.setCode(query.lastInsertId().toLongLong());
        }
        query.finish();
        return true;
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
    appendWhere(sql, binds, change->orig, onServer);

    QSqlQuery query(db);
    if (!query.prepare(sql))
        return refused(query.lastError());
    for (qsizetype i = 0; i < binds.size(); ++i)
        query.bindValue(int(i), binds.at(i));
    if (!query.exec())
        return refused(query.lastError());
    if (query.numRowsAffected() != 1) {
        *message = u"O registro foi alterado ou excluído por outro usuário."_s;
        *reason = DatabaseError::Reason::RowChanged;
        return false;
    }
    return true;
}
