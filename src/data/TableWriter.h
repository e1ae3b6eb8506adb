#pragma once

#include "PackedRow.h"

#include <QSqlDatabase>
#include <QString>

#include <vector>

// Writes client rows into a table as they are, each keeping its CODIGO_C, on
// either kind of database. The caller holds the transaction. Throws DatabaseError.
void writeClientRows(QSqlDatabase &db, const QString &table, const std::vector<PackedRow> &rows);
// The same for new clients: each row's CODIGO_C is ignored and the database numbers it.
void appendClientRows(QSqlDatabase &db, const QString &table, const std::vector<PackedRow> &rows);

// Both client tables of one database, as read for a copy into another.
struct ClientTables
{
    std::vector<PackedRow> clients;
    std::vector<PackedRow> selection;
};

// Reads both tables; throws DatabaseError.
ClientTables readClientTables(QSqlDatabase &db);

// Replaces both tables' rows with tables' in one transaction, and on a server
// numbers new clients after the highest number written. When onlyIntoEmpty, a
// clients table that holds any row is refused (DatabaseError) and left as it
// is. On any failure nothing is changed.
void replaceClientTables(QSqlDatabase &db, const ClientTables &tables, bool onlyIntoEmpty = false);

// Writes tables into a new database file at path (the layout of the program's
// own file), replacing the file there only once the new one is whole. Returns
// why not, in Portuguese, or an empty string.
QString writeDatabaseFile(const ClientTables &tables, const QString &path);

// Reads both tables of a database file, opened read-only, once
// ClientSchema::checkDatabaseFile() accepts it. Throws DatabaseError.
ClientTables readDatabaseFile(const QString &path);
