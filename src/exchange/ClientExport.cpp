#include "ClientExport.h"

#include "ClientCsv.h"
#include "ClientRecord.h"
#include "ClientSchema.h"
#include "DataErrors.h"
#include "DurableFile.h"
#include "EditMask.h"
#include "TableReader.h"
#include "TableWriter.h"

#include <QFileInfo>

#include <array>

namespace vosmira::exchange {

using namespace Qt::Literals::StringLiterals;
using ClientRecord::ColumnCount;

namespace {

// The masks parsed once: an export lays out six telephones, a CPF and a CEP per client.
struct Masks
{
    std::array<EditMask::Mask, ColumnCount> byColumn;
    Masks()
    {
        for (int c = 0; c < ColumnCount; ++c) {
            const QLatin1StringView mask = ClientRecord::column(c).mask;
            // The CNPJ column keeps its punctuation already.
            if (!mask.isEmpty() && c != ClientRecord::col_CNPJ)
                byColumn[std::size_t(c)] = EditMask::parse(QString(mask));
        }
    }
};

const Masks &masks()
{
    static const Masks m;
    return m;
}

// A stored value that fills its mask, laid into it (*fitted set); anything
// else as stored.
QString writtenForm(const PackedRow &row, int column, bool *fitted = nullptr)
{
    const QString stored = row.text(column);
    if (fitted)
        *fitted = false;
    if (column == ClientRecord::col_CNPJ) {
        if (fitted)
            *fitted = stored.size() == 18 && stored[2] == u'.' && stored[6] == u'.' && stored[10] == u'/'
                      && stored[15] == u'-';
        return stored;
    }
    const EditMask::Mask &mask = masks().byColumn[std::size_t(column)];
    if (!mask.isValid())
        return stored;
    for (QChar c : stored) {
        if (c < u'0' || c > u'9')
            return stored;
    }
    const bool fills = stored.size() == mask.typedCount()
                       || (mask.hasLongForm() && stored.size() == EditMask::typedCount(mask.longPositions));
    if (!fills)
        return stored;
    if (fitted)
        *fitted = true;
    return EditMask::displayText(mask, stored);
}

void appendDate(QByteArray &out, QDate date)
{
    if (!date.isValid())
        return;
    char text[16];
    const int year = date.year();
    if (year < 1000 || year > 9999) {
        out.append(date.toString(u"dd/MM/yyyy"_s).toLatin1());
        return;
    }
    const int d = date.day(), m = date.month();
    text[0] = char('0' + d / 10);
    text[1] = char('0' + d % 10);
    text[2] = '/';
    text[3] = char('0' + m / 10);
    text[4] = char('0' + m % 10);
    text[5] = '/';
    text[6] = char('0' + year / 1000);
    text[7] = char('0' + year / 100 % 10);
    text[8] = char('0' + year / 10 % 10);
    text[9] = char('0' + year % 10);
    out.append(text, 10);
}

// vCard text: backslash, comma, semicolon and line breaks escaped.
QString escaped(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (c == u'\\' || c == u',' || c == u';')
            out.append(u'\\');
        if (c == u'\n') {
            out.append(u"\\n");
            continue;
        }
        if (c == u'\r')
            continue;
        out.append(c);
    }
    return out;
}

// A content line folded at 75 octets, never inside a UTF-8 sequence.
void appendLine(QByteArray &out, const QString &line)
{
    const QByteArray bytes = line.toUtf8();
    qsizetype at = 0;
    qsizetype limit = 75;
    while (bytes.size() - at > limit) {
        qsizetype cut = at + limit;
        while (cut > at && (static_cast<unsigned char>(bytes[cut]) & 0xC0) == 0x80)
            --cut;
        out.append(bytes.constData() + at, cut - at);
        out.append("\r\n ");
        at = cut;
        limit = 74; // the leading blank counts
    }
    out.append(bytes.constData() + at, bytes.size() - at);
    out.append("\r\n");
}

bool digitsOnly(const QString &text)
{
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return !text.isEmpty();
}

void appendTel(QByteArray &out, const PackedRow &row, int telephone, int extension, const QString &type)
{
    const QString number = row.text(telephone);
    if (number.isEmpty())
        return;
    if (digitsOnly(number) && (number.size() == 10 || number.size() == 11)) {
        const qsizetype local = number.size() - 2;
        QString uri = u"tel:+55-"_s + number.left(2) + u'-' + number.mid(2, local - 4) + u'-' + number.right(4);
        const QString ramal = row.text(extension).trimmed();
        if (digitsOnly(ramal))
            uri += u";ext="_s + ramal;
        appendLine(out, u"TEL;VALUE=uri;TYPE="_s + type + u':' + uri);
        return;
    }
    appendLine(out, u"TEL;VALUE=text;TYPE="_s + type + u':' + escaped(number));
}

} // namespace

std::optional<ExportFormat> formatForFile(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"csv")
        return ExportFormat::Csv;
    if (suffix == u"vcf" || suffix == u"vcard")
        return ExportFormat::VCard;
    if (suffix == u"mdb")
        return ExportFormat::Database;
    return std::nullopt;
}

void appendCsvHeader(QByteArray &out)
{
    for (int c = 1; c < ColumnCount; ++c) {
        if (c > 1)
            out.append(';');
        appendField(out, headerName(c).toUtf8(), false);
    }
    out.append("\r\n");
}

void appendCsvRow(QByteArray &out, const PackedRow &row)
{
    for (int c = 1; c < ColumnCount; ++c) {
        if (c > 1)
            out.append(';');
        if (row.isNull(c))
            continue;
        const ClientRecord::Column &column = ClientRecord::column(c);
        if (column.kind == ClientRecord::Kind::Date) {
            // As text: a spreadsheet would keep a date cell in its own format,
            // which in Brazil has a two-digit year, and 30/12/1899 (the date an
            // empty date edit stores) would come back as 1999.
            QByteArray date;
            appendDate(date, row.date(c));
            appendField(out, date, true);
        } else if (column.mask.isEmpty())
            appendField(out, row.utf8(c), true);
        else {
            // Written forms open as text; a value that does not fill its form may not.
            bool fitted = false;
            const QString text = writtenForm(row, c, &fitted);
            appendField(out, text.toUtf8(), !fitted);
        }
    }
    out.append("\r\n");
}

void appendVCard(QByteArray &out, const PackedRow &row)
{
    using namespace ClientRecord;
    const bool company = row.text(col_TIPO) == pessoaJuridica();
    const QString name = row.text(col_NOME).trimmed();
    appendLine(out, u"BEGIN:VCARD"_s);
    appendLine(out, u"VERSION:4.0"_s);
    appendLine(out, company ? u"KIND:org"_s : u"KIND:individual"_s);
    appendLine(out, u"FN:"_s + escaped(name));
    if (company) {
        appendLine(out, u"ORG:"_s + escaped(name));
        if (const QString fantasia = row.text(col_NOME_FANTASIA).trimmed(); !fantasia.isEmpty())
            appendLine(out, u"NICKNAME:"_s + escaped(fantasia));
    } else {
        // Portuguese names end with the family name.
        const qsizetype space = name.lastIndexOf(u' ');
        const QString family = space < 0 ? name : name.mid(space + 1);
        const QString given = space < 0 ? QString() : name.left(space);
        appendLine(out, u"N:"_s + escaped(family) + u';' + escaped(given) + u";;;"_s);
        const QDate birth = row.date(col_NACIMENTO);
        if (birth.isValid() && birth != zeroDate())
            appendLine(out, u"BDAY:"_s + birth.toString(u"yyyyMMdd"_s));
    }
    appendTel(out, row, col_TELEFONE1, col_RAMAL1, u"voice"_s);
    appendTel(out, row, col_TELEFONE2, col_RAMAL2, u"voice"_s);
    appendTel(out, row, col_TELEFONE3, col_RAMAL3, u"fax"_s);
    if (const QString email = row.text(col_EMAIL).trimmed(); !email.isEmpty())
        appendLine(out, u"EMAIL:"_s + escaped(email));
    if (const QString site = row.text(col_SITE).trimmed(); !site.isEmpty())
        appendLine(out, u"URL:"_s + escaped(site));
    QString street = row.text(col_LOGRADOURO).trimmed();
    if (const QString number = row.text(col_N).trimmed(); !number.isEmpty())
        street += (street.isEmpty() ? QString() : u", "_s) + number;
    QStringList extended;
    for (int c : {int(col_COMPLEMENTO), int(col_BAIRRO)}) {
        if (const QString part = row.text(c).trimmed(); !part.isEmpty())
            extended.append(part);
    }
    const QString city = row.text(col_CIDADE).trimmed();
    const QString state = row.text(col_UF).trimmed();
    const QString cep = writtenForm(row, col_CEP);
    if (!street.isEmpty() || !extended.isEmpty() || !city.isEmpty() || !state.isEmpty() || !cep.isEmpty()) {
        appendLine(out, (company ? u"ADR;TYPE=work:;"_s : u"ADR;TYPE=home:;"_s) + escaped(extended.join(u" - "_s))
                            + u';' + escaped(street) + u';' + escaped(city) + u';' + escaped(state) + u';'
                            + escaped(cep) + u";Brasil"_s);
    }
    QString note;
    if (!row.isNull(col_CPF))
        note = u"CPF: "_s + writtenForm(row, col_CPF);
    if (!row.isNull(col_CNPJ))
        note += (note.isEmpty() ? QString() : u"\n"_s) + u"CNPJ: "_s + row.text(col_CNPJ);
    if (const QString obs = row.text(col_OBS).trimmed(); !obs.isEmpty())
        note += (note.isEmpty() ? QString() : u"\n"_s) + obs;
    if (!note.isEmpty())
        appendLine(out, u"NOTE:"_s + escaped(note));
    appendLine(out, u"END:VCARD"_s);
}

namespace {

int exportDatabase(QSqlDatabase &db, const QString &path, const QString &kind)
{
    ClientTables tables = readClientTables(db);
    if (!kind.isEmpty()) {
        const QByteArray wanted = kind.toUtf8();
        for (std::vector<PackedRow> *rows : {&tables.clients, &tables.selection}) {
            std::erase_if(*rows,
                          [&wanted](const PackedRow &row) { return row.utf8(ClientRecord::col_TIPO) != wanted; });
        }
    }
    if (const QString problem = writeDatabaseFile(tables, path); !problem.isEmpty())
        throw DataError(problem);
    return int(tables.clients.size());
}

} // namespace

int exportClients(QSqlDatabase db, const QString &path, ExportFormat format, const QString &kind)
{
    if (format == ExportFormat::Database)
        return exportDatabase(db, path, kind);
    std::vector<PackedRow> rows = readClientTable(db, ClientSchema::clientsTable());
    DurableFile file(path);
    constexpr qsizetype kChunk = 1 << 20;
    QByteArray out;
    out.reserve(kChunk + 8192);
    if (!file.open())
        throw DataError(file.errorString());
    if (format == ExportFormat::Csv) {
        out.append("\xEF\xBB\xBF");
        appendCsvHeader(out);
    }
    const QByteArray wanted = kind.toUtf8();
    int written = 0;
    for (const PackedRow &row : rows) {
        if (!wanted.isEmpty() && row.utf8(ClientRecord::col_TIPO) != wanted)
            continue;
        if (format == ExportFormat::Csv)
            appendCsvRow(out, row);
        else
            appendVCard(out, row);
        ++written;
        if (out.size() >= kChunk) {
            if (!file.write(out))
                throw DataError(file.errorString());
            out.clear();
        }
    }
    if (!file.write(out) || !file.commit())
        throw DataError(file.errorString());
    return written;
}

} // namespace vosmira::exchange
