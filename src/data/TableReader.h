#pragma once

#include "PackedRow.h"

#include <QSqlDatabase>
#include <QString>

#include <vector>

// Reads every row of a client table in NOME order (NameOrder).
// The rows are read through the connection's own SQLite handle: going through a
// QVariant per column costs more than the rest of opening a large table together.
// Throws DatabaseError.
std::vector<PackedRow> readClientTable(QSqlDatabase &db, const QString &table);
