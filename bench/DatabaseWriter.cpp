#include "DatabaseWriter.h"

#include "ClientGenerator.h"
#include "ClientSchema.h"
#include "DataErrors.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

using namespace Qt::Literals::StringLiterals;

namespace vbench {

namespace {

void insertAll(QSqlDatabase &db, int n, quint64 seed)
{
    using ClientRecord::ColumnCount;
    QString columns;
    QString marks;
    for (int c = 1; c < ColumnCount; ++c) {
        columns += (c > 1 ? u", \""_s : u"\""_s) + QString(ClientRecord::column(c).name) + u'"';
        marks += c > 1 ? u", ?"_s : u"?"_s;
    }
    QSqlQuery insert(db);
    if (!insert.prepare(u"INSERT INTO \""_s + ClientSchema::clientsTable() + u"\" ("_s + columns + u") VALUES ("_s
                        + marks + u')'))
        throw DatabaseError(databaseMessage(insert.lastError()));

    ClientGenerator generator(seed);
    for (int i = 0; i < n; ++i) {
        const ClientValues v = i == n / 2 ? ClientGenerator::lastInOrder() : generator.next();
        for (int c = 1; c < ColumnCount; ++c)
            insert.bindValue(c - 1, v[std::size_t(c)].isNull() ? QVariant(QMetaType::fromType<QString>())
                                                               : QVariant(v[std::size_t(c)]));
        if (!insert.exec())
            throw DatabaseError(databaseMessage(insert.lastError()));
    }
}

} // namespace

void writeClientDatabase(const QString &path, int n, quint64 seed)
{
    QFile::remove(path);
    const QString connection = u"vbench-writer"_s;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, connection);
        db.setDatabaseName(path);
        try {
            if (!db.open())
                throw DatabaseError(databaseMessage(db.lastError()));
            ClientSchema::createClientTables(db);
            if (!db.transaction())
                throw DatabaseError(databaseMessage(db.lastError()));
            insertAll(db, n, seed);
            if (!db.commit())
                throw DatabaseError(databaseMessage(db.lastError()));
        } catch (...) {
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(connection);
            QFile::remove(path);
            throw;
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
}

} // namespace vbench
