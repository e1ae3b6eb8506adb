#include "ClientImport.h"

#include "CheckDigits.h"
#include "ClientCsv.h"
#include "ClientDocuments.h"
#include "ClientRecord.h"
#include "ClientSchema.h"
#include "DataErrors.h"
#include "PackedRow.h"
#include "TableReader.h"
#include "TableWriter.h"

#include <QDate>
#include <QHash>
#include <QSqlError>
#include <QSqlQuery>

#include <sqlite3.h>

#include <array>
#include <optional>
#include <vector>

namespace vosmira::exchange {

using namespace Qt::Literals::StringLiterals;
using ClientDocuments::Document;
using ClientRecord::ColumnCount;

namespace {

enum class Form { Text, Date, Cpf, Cnpj, Phone, Cep, PersonKind };

Form formOf(int column)
{
    const ClientRecord::Column &c = ClientRecord::column(column);
    if (c.kind == ClientRecord::Kind::Date)
        return Form::Date;
    switch (column) {
    case ClientRecord::col_CPF: return Form::Cpf;
    case ClientRecord::col_CNPJ: return Form::Cnpj;
    case ClientRecord::col_CEP: return Form::Cep;
    case ClientRecord::col_TIPO: return Form::PersonKind;
    default: break;
    }
    return c.mask == ClientRecord::PhoneMask ? Form::Phone : Form::Text;
}

bool allDigits(QStringView text)
{
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

// The digits of text, when nothing else but the given separators is in it.
QString digitsBetween(QStringView text, QStringView separators)
{
    QString digits;
    for (QChar c : text) {
        if (c >= u'0' && c <= u'9')
            digits.append(c);
        else if (!separators.contains(c))
            return QString();
    }
    return digits;
}

// dd/mm/aaaa (also with '.' or '-', one-digit day and month), or yyyy-mm-dd as
// the database writes it, optionally followed by a time.
QDate parseDate(QStringView text)
{
    if (text.size() >= 10 && text[4] == u'-' && text[7] == u'-') {
        if (text.size() > 10 && text[10] != u' ' && text[10] != u'T')
            return QDate();
        const QStringView y = text.sliced(0, 4), m = text.sliced(5, 2), d = text.sliced(8, 2);
        if (!allDigits(y) || !allDigits(m) || !allDigits(d))
            return QDate();
        return QDate(y.toInt(), m.toInt(), d.toInt());
    }
    QChar separator;
    for (QChar c : text) {
        if (c == u'/' || c == u'.' || c == u'-') {
            separator = c;
            break;
        }
    }
    if (separator.isNull())
        return QDate();
    const QList<QStringView> parts = text.split(separator);
    if (parts.size() != 3 || parts[0].isEmpty() || parts[0].size() > 2 || parts[1].isEmpty() || parts[1].size() > 2
        || parts[2].size() != 4 || !allDigits(parts[0]) || !allDigits(parts[1]) || !allDigits(parts[2]))
        return QDate();
    return QDate(parts[2].toInt(), parts[1].toInt(), parts[0].toInt());
}

QString paddedDigits(const QString &bare, int length)
{
    return allDigits(bare) && bare.size() < length ? QString(length - bare.size(), u'0') + bare : bare;
}

// One row in the form the table keeps: free texts as the file has them (views
// into it), the checked columns in their stored form.
struct Checked
{
    std::array<QByteArrayView, ColumnCount> text;
    std::array<QByteArray, ColumnCount> owned; // what a view of text points into, when rewritten
    std::array<QDate, ColumnCount> date;
    QStringList problems;

    void set(int column, const QString &value)
    {
        owned[std::size_t(column)] = value.toUtf8();
        text[std::size_t(column)] = owned[std::size_t(column)];
    }
    QString string(int column) const { return QString::fromUtf8(text[std::size_t(column)]); }
};

// Characters as a text field counts them (UTF-16 units), from UTF-8.
qsizetype length(QByteArrayView utf8)
{
    qsizetype n = 0;
    for (const char b : utf8) {
        const auto u = static_cast<unsigned char>(b);
        n += (u & 0xC0) == 0x80 ? 0 : u >= 0xF0 ? 2 : 1;
    }
    return n;
}

bool isBlank(QByteArrayView utf8)
{
    for (const char b : utf8) {
        if (static_cast<unsigned char>(b) > ' ')
            return false;
    }
    return true;
}

class RowChecker
{
public:
    RowChecker(const QList<int> &columns, const std::array<int, ColumnCount> &sizes)
        : m_columns(columns)
        , m_sizes(sizes)
    {
    }

    // Fills row with the stored form of each value, or lists what is wrong.
    void check(const CsvRecord &record, Checked &row) const
    {
        row.text.fill(QByteArrayView());
        row.date.fill(QDate());
        row.problems.clear();
        qsizetype used = record.fields.size();
        while (used > m_columns.size() && isBlank(record.fields.at(used - 1)))
            --used;
        if (used > m_columns.size())
            row.problems.append(u"a linha tem %1 campos e o cabeçalho %2"_s.arg(used).arg(m_columns.size()));
        for (qsizetype i = 0; i < m_columns.size() && i < record.fields.size(); ++i) {
            if (m_columns[i] >= 0 && !record.fields[i].isEmpty())
                store(m_columns[i], record.fields[i], row);
        }
        if (isBlank(row.text[ClientRecord::col_NOME]))
            row.problems.prepend(u"o nome está vazio"_s);
        if (row.text[ClientRecord::col_TIPO].isEmpty()) {
            // A file without the kind: a number says which one it is.
            const bool company = !row.text[ClientRecord::col_CNPJ].isEmpty()
                                 && row.text[ClientRecord::col_CPF].isEmpty();
            row.set(ClientRecord::col_TIPO, company ? ClientRecord::pessoaJuridica() : ClientRecord::pessoaFisica());
        }
        for (int c = 1; c < ColumnCount; ++c) {
            const int size = m_sizes[std::size_t(c)];
            const QByteArrayView text = row.text[std::size_t(c)];
            // Only a text of more bytes than characters allowed can be too long.
            if (text.size() > size && length(text) > size)
                row.problems.append(
                    u"%1 tem %2 caracteres, e cabem %3"_s.arg(headerName(c)).arg(length(text)).arg(size));
        }
    }

private:
    static void store(int column, QByteArrayView raw, Checked &row)
    {
        const Form form = formOf(column);
        if (form == Form::Text) {
            row.text[std::size_t(column)] = raw;
            return;
        }
        const QString value = QString::fromUtf8(raw).trimmed();
        if (value.isEmpty())
            return;
        const QString name = headerName(column);
        switch (form) {
        case Form::Text: break;
        case Form::Date:
            row.date[std::size_t(column)] = parseDate(value);
            if (!row.date[std::size_t(column)].isValid())
                row.problems.append(u"%1 não é uma data: \"%2\" (use dd/mm/aaaa)"_s.arg(name, value));
            break;
        case Form::Cpf: {
            const QString bare = paddedDigits(ClientDocuments::bare(value), 11);
            if (bare.size() != 11 || !checkdigits::cpf(bare))
                row.problems.append(u"CPF inválido: %1"_s.arg(value));
            else
                row.set(column, bare);
            break;
        }
        case Form::Cnpj: {
            const QString bare = paddedDigits(ClientDocuments::bare(value), 14);
            if (bare.size() != 14 || !checkdigits::cgc(bare))
                row.problems.append(u"CNPJ inválido: %1"_s.arg(value));
            else
                row.set(column, ClientDocuments::writtenCnpj(bare));
            break;
        }
        case Form::Phone: {
            QString digits = digitsBetween(value, u"()-. +");
            if ((digits.size() == 12 || digits.size() == 13) && digits.startsWith(u"55"))
                digits.remove(0, 2); // the country's code
            else if (digits.size() >= 11 && digits.startsWith(u'0'))
                digits.remove(0, 1); // the long-distance prefix
            if (digits.size() != 10 && digits.size() != 11)
                row.problems.append(u"%1 não é um telefone: \"%2\" (use (dd)dddd-dddd)"_s.arg(name, value));
            else
                row.set(column, digits);
            break;
        }
        case Form::Cep: {
            QString digits = digitsBetween(value, u"-. ");
            if (digits.size() == 7)
                digits.prepend(u'0'); // a spreadsheet took it for a number
            if (digits.size() != 8)
                row.problems.append(u"CEP inválido: \"%1\" (use ddddd-ddd)"_s.arg(value));
            else
                row.set(column, digits);
            break;
        }
        case Form::PersonKind: {
            const QString kind = folded(value);
            if (kind == u"pessoa fisica" || kind == u"fisica" || kind == u"pf")
                row.set(column, ClientRecord::pessoaFisica());
            else if (kind == u"pessoa juridica" || kind == u"juridica" || kind == u"pj")
                row.set(column, ClientRecord::pessoaJuridica());
            else
                row.problems.append(
                    u"tipo de pessoa desconhecido: \"%1\" (use Pessoa Física ou Pessoa Juridica)"_s.arg(value));
            break;
        }
        }
    }

    QList<int> m_columns; // by field of the header: the column, or -1
    std::array<int, ColumnCount> m_sizes;
};

PackedRow packed(const Checked &row, PackedRowBuilder &builder)
{
    builder.reset();
    builder.setNull(ClientRecord::col_CODIGO_C);
    for (int c = 1; c < ColumnCount; ++c) {
        if (ClientRecord::column(c).kind == ClientRecord::Kind::Date)
            builder.setDate(c, row.date[std::size_t(c)]);
        else if (row.text[std::size_t(c)].isEmpty())
            builder.setNull(c);
        else
            builder.appendUtf8(c, row.text[std::size_t(c)]);
    }
    return builder.finish();
}

// 123.456.789-09, from the 11 digits a checked row holds.
QString writtenCpf(const QString &digits)
{
    return digits.left(3) + u'.' + digits.mid(3, 3) + u'.' + digits.mid(6, 3) + u'-' + digits.mid(9, 2);
}

// A CPF or CNPJ as the duplicate check compares it.
QByteArray documentKey(Document document, QStringView number)
{
    return (document == Document::Cpf ? "F" : "J") + ClientDocuments::bare(number).toUtf8();
}

struct Statement
{
    sqlite3_stmt *stmt = nullptr;
    ~Statement() { sqlite3_finalize(stmt); }
};

[[noreturn]] void fail(sqlite3 *handle, int rc)
{
    throw DatabaseError(QString::fromUtf8(sqlite3_errmsg(handle)), sqliteReason(rc));
}

[[noreturn]] void fail(const QSqlError &error)
{
    throw DatabaseError(databaseMessage(error), databaseReason(error));
}

QString holdersQuery()
{
    return u"SELECT \"CPF\", \"CNPJ\", \"NOME\" FROM \""_s + ClientSchema::clientsTable()
           + u"\" ORDER BY \"CODIGO_C\""_s;
}

void addHolder(QHash<QByteArray, QString> &holders, Document document, const QString &number, const QString &name)
{
    const QByteArray key = documentKey(document, number);
    if (key.size() > 1 && !holders.contains(key))
        holders.insert(key, name);
}

// Who holds each CPF and CNPJ of the table, the first registered when several do.
QHash<QByteArray, QString> documentHolders(QSqlDatabase &db)
{
    QHash<QByteArray, QString> holders;
    if (ClientSchema::isServer(db)) {
        QSqlQuery query(db);
        query.setForwardOnly(true);
        if (!query.exec(holdersQuery()))
            fail(query.lastError());
        while (query.next()) {
            const QString name = query.value(2).toString();
            addHolder(holders, Document::Cpf, query.value(0).toString(), name);
            addHolder(holders, Document::Cnpj, query.value(1).toString(), name);
        }
        if (query.lastError().isValid())
            fail(query.lastError());
        return holders;
    }
    sqlite3 *handle = sqliteHandle(db);
    const QByteArray sql = holdersQuery().toUtf8();
    Statement s;
    if (const int rc = sqlite3_prepare_v2(handle, sql.constData(), int(sql.size()), &s.stmt, nullptr); rc != SQLITE_OK)
        fail(handle, rc);
    int rc;
    auto text = [&s](int i) {
        return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(s.stmt, i)),
                                 sqlite3_column_bytes(s.stmt, i));
    };
    while ((rc = sqlite3_step(s.stmt)) == SQLITE_ROW) {
        const QString name = text(2);
        addHolder(holders, Document::Cpf, text(0), name);
        addHolder(holders, Document::Cnpj, text(1), name);
    }
    if (rc != SQLITE_DONE)
        fail(handle, rc);
    return holders;
}

// The import's write transaction, begun before the table is read for
// duplicates so that no other desk can register the same CPF or CNPJ before
// the rows are in. Rolled back unless committed.
class WriteTransaction
{
public:
    explicit WriteTransaction(QSqlDatabase &db)
        : m_query(db)
    {
        // A file's write lock is taken at once, so another program's write makes
        // the import wait or fail before the first row, never midway; on a server
        // the other desks may still read the clients meanwhile.
        const bool onServer = ClientSchema::isServer(db);
        if (!m_query.exec(onServer ? u"BEGIN"_s : u"BEGIN IMMEDIATE"_s))
            fail(m_query.lastError());
        m_open = true;
        if (onServer && !m_query.exec(u"LOCK TABLE \""_s + ClientSchema::clientsTable() + u"\" IN EXCLUSIVE MODE"_s))
            fail(m_query.lastError());
    }
    ~WriteTransaction()
    {
        if (m_open)
            m_query.exec(u"ROLLBACK"_s);
    }
    WriteTransaction(const WriteTransaction &) = delete;
    WriteTransaction &operator=(const WriteTransaction &) = delete;

    void commit()
    {
        if (!m_query.exec(u"COMMIT"_s))
            fail(m_query.lastError());
        m_open = false;
    }

private:
    QSqlQuery m_query;
    bool m_open = false;
};

} // namespace

ImportResult importClients(QSqlDatabase db, const QByteArray &bytes, const ImportOptions &options)
{
    ImportResult result;
    const QByteArray text = utf8Text(bytes, &result.utf8);
    result.separator = detectSeparator(text);
    CsvReader reader(text, result.separator);

    CsvRecord header;
    if (!reader.next(header))
        throw DataError(u"O arquivo está vazio: falta a linha de cabeçalho com os nomes das colunas."_s);
    QList<int> columns;
    for (const QByteArrayView field : std::as_const(header.fields)) {
        const QString name = QString::fromUtf8(field).trimmed();
        const int column = columnNamed(name);
        if (column >= 0 && columns.contains(column))
            throw DataError(u"A coluna \"%1\" aparece duas vezes no cabeçalho."_s.arg(name));
        if (column < 0 && !name.isEmpty())
            result.ignoredColumns.append(name);
        columns.append(column);
    }
    if (!columns.contains(int(ClientRecord::col_NOME)))
        throw DataError(u"O cabeçalho não tem a coluna \"Nome\" (ou NOME)."_s);

    const std::array<int, ColumnCount> sizes = ClientSchema::fieldSizes(db, ClientSchema::clientsTable());
    std::optional<WriteTransaction> transaction;
    if (!options.dryRun)
        transaction.emplace(db);
    const QHash<QByteArray, QString> holders = documentHolders(db);
    // Numbers of the rows taken so far: where each was, and the row to name.
    struct Seen
    {
        int line;
        std::size_t row;
    };
    QHash<QByteArray, Seen> inFile;

    const RowChecker checker(columns, sizes);
    Checked row;
    CsvRecord record;
    PackedRowBuilder builder;
    std::vector<PackedRow> rows;
    while (reader.next(record)) {
        ++result.rows;
        checker.check(record, row);
        if (!row.problems.isEmpty()) {
            result.refused.append({record.line, row.problems.join(u"; "_s)});
            continue;
        }
        QString duplicate;
        std::array<QByteArray, 2> keys;
        for (const Document d : {Document::Cpf, Document::Cnpj}) {
            const int column = d == Document::Cpf ? ClientRecord::col_CPF : ClientRecord::col_CNPJ;
            if (row.text[std::size_t(column)].isEmpty())
                continue;
            const QString number = row.string(column);
            const QByteArray &key = keys[d == Document::Cpf ? 0 : 1] = documentKey(d, number);
            if (!duplicate.isEmpty())
                continue;
            if (const auto held = holders.constFind(key); held != holders.cend())
                duplicate = ClientDocuments::duplicateMessage(d, *held);
            else if (const auto seen = inFile.constFind(key); seen != inFile.cend())
                duplicate = u"O %1 %2 já está na linha %3 (%4)."_s
                                .arg(d == Document::Cpf ? u"CPF"_s : u"CNPJ"_s,
                                     d == Document::Cpf ? writtenCpf(number) : number)
                                .arg(seen->line)
                                .arg(rows[seen->row].text(ClientRecord::col_NOME));
        }
        if (!duplicate.isEmpty()) {
            result.duplicates.append({record.line, duplicate});
            continue;
        }
        for (const QByteArray &key : keys) {
            if (!key.isEmpty())
                inFile.insert(key, Seen{record.line, rows.size()});
        }
        rows.push_back(packed(row, builder));
    }
    result.accepted = int(rows.size());
    if (options.dryRun || rows.empty() || (!result.refused.isEmpty() && !options.skipInvalid))
        return result;
    appendClientRows(db, ClientSchema::clientsTable(), rows);
    transaction->commit();
    result.written = true;
    return result;
}

} // namespace vosmira::exchange
