#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringView>

#include <vector>

// Spreadsheet files of clients: the column names of the header, the encodings
// and separators other programs write, and cells a spreadsheet reads back as
// they were written.
namespace vosmira::exchange {

// The header name of a column of the client record, in Portuguese as the
// windows caption it: "Nome", "Telefone 1", "Cliente desde". Empty for CODIGO_C,
// which the database gives and no file carries.
QString headerName(int column);

// The column a header cell names: its header name or the database's own name
// (NOME, TELEFONE1), case, accents and blanks around it ignored; -1 if none.
int columnNamed(QStringView header);

// Text as names are matched: lower case, no accents, blanks and underscores
// inside as one blank, none around.
QString folded(QStringView text);

// The file's text in UTF-8: as it is when it has a UTF-8 byte-order mark or is
// valid UTF-8, otherwise read as Windows-1252 (what spreadsheets of Brazilian
// offices save as "Texto CSV" on Windows). The mark itself is dropped. *utf8
// says which.
QByteArray utf8Text(const QByteArray &bytes, bool *utf8 = nullptr);

// The separator of the header line: ';', ',' or a tab, whichever it holds most
// of outside quotes; ';' when it holds none.
char detectSeparator(QByteArrayView text);

struct CsvRecord
{
    int line = 0;                 // where the record begins, 1 for the header
    QList<QByteArrayView> fields; // UTF-8; valid until the reader's next record
};

// Reads RFC 4180 text record by record without copying what needs no
// unquoting: quoted fields may hold the separator, quotes doubled and line
// breaks. Blank lines are skipped. A cell written as ="text" (how a
// spreadsheet is told to keep a text as typed) gives text.
class CsvReader
{
public:
    CsvReader(QByteArrayView text, char separator);
    // The next record; false at the end. Throws DataError when a quote is left open.
    bool next(CsvRecord &record);

private:
    struct Span
    {
        qsizetype at;
        qsizetype size;
        bool unquoted; // in m_unquoted rather than in the text
    };
    Span field(qsizetype &i);

    QByteArrayView m_text;
    char m_separator;
    qsizetype m_at = 0;
    int m_line = 1;
    QByteArray m_unquoted;
    QList<Span> m_spans;
};

// Appends one field in UTF-8, quoted when it holds the separator ';', a quote or
// a line break. With asText, a value a spreadsheet would turn into a number, a
// date or a formula is written as ="value", so it opens as typed.
void appendField(QByteArray &out, QByteArrayView utf8, bool asText);

// Whether a spreadsheet would read the text as something else: a number with a
// leading zero or more digits than it keeps, a date, a fraction, a percentage,
// a number in scientific notation, or a formula (a leading =, +, - or @).
bool spreadsheetWouldChange(QByteArrayView utf8);

} // namespace vosmira::exchange
