#pragma once

#include "ClientRecord.h"

#include <QSqlDatabase>
#include <QString>

#include <array>

// The layout of the two client tables in the database file.
namespace ClientSchema {

QString clientsTable();   // CAD_CLIENTE
QString selectionTable(); // PED_CLIENTE

// Whether the connection is to the office's PostgreSQL server rather than a file.
bool isServer(const QSqlDatabase &db);

// CREATE TABLE statement of one client table: texts as VARCHAR(n), dates as DATE
// (in a file, yyyy-mm-dd text), CODIGO_C as the auto-increment key.
QString createTableStatement(const QString &table, bool onServer = false);

// Creates both tables in an open database; throws DatabaseError.
void createClientTables(QSqlDatabase &db);

// On a server: whether either client table is there already.
bool hasClientTables(QSqlDatabase &db);

// On a server: a text that changes whenever a transaction that changed the
// table commits (its row count and newest row version), read with one scan.
QString tableVersion(QSqlDatabase &db, const QString &table);

// On a server whose keys were written explicitly (a restore, an import): the
// next new client is numbered after the highest number there. Throws DatabaseError.
void resetKeySequence(QSqlDatabase &db, const QString &table);

// Checks that the table holds every column with a matching declared type and returns
// each column's field size: the standard length, or the declared one when narrower.
// Throws DatabaseError naming what is missing or mistyped.
std::array<int, ClientRecord::ColumnCount> fieldSizes(QSqlDatabase &db, const QString &table);

// The columns in record order, quoted, separated by commas.
QString columnList();

// Whether the file can take the database file's place: opened read-only, it must
// pass SQLite's quick check and hold both client tables with the columns the
// datasets open with (fieldSizes). Empty when it can; else why not, in
// Portuguese. Nothing in the file is changed.
QString checkDatabaseFile(const QString &path);

} // namespace ClientSchema
