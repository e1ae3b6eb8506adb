#pragma once

#include "ClientRecord.h"

#include <QSqlDatabase>
#include <QString>

#include <array>

// The layout of the two client tables in the database file.
namespace ClientSchema {

QString clientsTable();   // CAD_CLIENTE
QString selectionTable(); // PED_CLIENTE

// CREATE TABLE statement of one client table: texts as VARCHAR(n), dates as DATE
// (stored as yyyy-mm-dd text), CODIGO_C as the auto-increment key.
QString createTableStatement(const QString &table);

// Creates both tables in an open database; throws DatabaseError.
void createClientTables(QSqlDatabase &db);

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
