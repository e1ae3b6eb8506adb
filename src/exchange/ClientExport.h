#pragma once

#include "PackedRow.h"

#include <QByteArray>
#include <QSqlDatabase>
#include <QString>

#include <optional>

// Clients of CAD_CLIENTE written out for spreadsheets and address books.
namespace vosmira::exchange {

// Database: a Vosmira database file, both client tables with their numbers, as
// the program's own file and its backups are.
enum class ExportFormat { Csv, VCard, Database };

// By the file's extension: .csv, .vcf / .vcard, or .mdb; nothing for another one.
std::optional<ExportFormat> formatForFile(const QString &path);

// The spreadsheet file as Brazilian spreadsheets open it: UTF-8 with a byte
// order mark, ';' between fields, CRLF line ends, a header of Portuguese column
// names, dates as dd/mm/aaaa, CPF, CNPJ, telephones and CEP in their written
// forms; a date, and a text a spreadsheet would read as a number, a date or a
// formula, is written as ="text" and so opens as written. The record number is
// the database's and is left out.
void appendCsvHeader(QByteArray &out);
void appendCsvRow(QByteArray &out, const PackedRow &row);

// One vCard 4.0 card: the name, the organisation of a company, telephones
// with their extensions, e-mail, web site, address, birthday, and the CPF or
// CNPJ (with the observations) as a note.
void appendVCard(QByteArray &out, const PackedRow &row);

// Writes every client, in the order of their names, or those of one person
// kind ("Pessoa Física" or "Pessoa Juridica"), to path through a temporary
// file that replaces it only once complete; a database file also gets the
// report selection, of that kind too. Returns how many clients were written.
// Throws DatabaseError when the table cannot be read and DataError when the
// file cannot be written; a file that was there is then left as it was.
int exportClients(QSqlDatabase db, const QString &path, ExportFormat format, const QString &kind = QString());

} // namespace vosmira::exchange
