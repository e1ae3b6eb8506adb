#pragma once

#include <QByteArray>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// Clients read from a spreadsheet file into CAD_CLIENTE: every row checked
// first, then all of them written in one transaction or none.
namespace vosmira::exchange {

struct ImportOptions
{
    bool dryRun = false;      // check and report, write nothing
    bool skipInvalid = false; // write the rows that pass even when others do not
};

// A row left out, and why, in Portuguese.
struct RowNote
{
    int line = 0;
    QString text;
};

struct ImportResult
{
    int rows = 0;         // data rows of the file
    int accepted = 0;     // rows that passed and are no duplicate: written, or to be on a dry run
    bool written = false; // whether the table now holds them
    QList<RowNote> refused;
    QList<RowNote> duplicates; // already in the table, or earlier in the file: never written twice
    QStringList ignoredColumns;
    bool utf8 = true;
    char separator = ';';
};

// Reads a CSV file's bytes (UTF-8 or Windows-1252, ';' or ',' separated, a
// header naming the columns in Portuguese or by their database names) and
// imports its clients unless options say otherwise or a row is refused without
// skipInvalid. Throws DataError when the file cannot be read as a client table
// (no header, no name column, a column named twice, an open quote) and
// DatabaseError when the database refuses the writing; the table is then as
// it was.
ImportResult importClients(QSqlDatabase db, const QByteArray &bytes, const ImportOptions &options = {});

} // namespace vosmira::exchange
