#pragma once

#include "PackedRow.h"

#include <QSqlDatabase>
#include <QString>

#include <vector>

struct sqlite3;

// Reads every row of a client table in NOME order (NameOrder).
// A file's rows are read through the connection's own SQLite handle: going through a
// QVariant per column costs more than the rest of opening a large table together.
// Throws DatabaseError.
std::vector<PackedRow> readClientTable(QSqlDatabase &db, const QString &table);

// The SQLite handle under a Qt connection, for bulk reads and writes that a
// QVariant per value would slow down. Throws DatabaseError for another driver.
sqlite3 *sqliteHandle(QSqlDatabase &db);
