#include "ClientCsv.h"

#include "ClientRecord.h"
#include "DataErrors.h"

#include <array>

namespace vosmira::exchange {

using namespace Qt::Literals::StringLiterals;

namespace {

// Column by column, in record order; CODIGO_C has none.
const std::array<const char16_t *, ClientRecord::ColumnCount> kHeaders = {
    u"",
    u"Nome",
    u"CPF",
    u"Identidade",
    u"Emissor",
    u"UF da identidade",
    u"Nascimento",
    u"Sexo",
    u"Escolaridade",
    u"Profissão",
    u"Vínculo",
    u"CNPJ",
    u"Inscrição estadual",
    u"Inscrição municipal",
    u"Fundação",
    u"Nome fantasia",
    u"Atividade",
    u"Contato",
    u"Setor",
    u"Telefone 1",
    u"Telefone 2",
    u"Fax",
    u"Ramal 1",
    u"Ramal 2",
    u"Ramal do fax",
    u"E-mail",
    u"Site",
    u"Logradouro",
    u"Nº",
    u"Complemento",
    u"Bairro",
    u"Cidade",
    u"UF",
    u"CEP",
    u"Situação do crédito",
    u"Consulta do crédito",
    u"Cliente desde",
    u"Referência 1",
    u"Telefone da referência 1",
    u"Referência 2",
    u"Telefone da referência 2",
    u"Referência 3",
    u"Telefone da referência 3",
    u"Observações",
    u"Tipo de pessoa",
};

// Windows-1252 where it differs from Latin-1: 0x80-0x9F (0 where unassigned).
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

QString folded(QStringView text)
{
    const QString decomposed = text.trimmed().toString().normalized(QString::NormalizationForm_D);
    QString out;
    out.reserve(decomposed.size());
    bool blank = false;
    for (QChar c : decomposed) {
        if (c.category() == QChar::Mark_NonSpacing)
            continue;
        if (c.isSpace() || c == u'_') {
            blank = true;
            continue;
        }
        if (blank && !out.isEmpty())
            out.append(u' ');
        blank = false;
        out.append(c.toLower());
    }
    return out;
}

QString headerName(int column)
{
    return QString::fromUtf16(kHeaders[std::size_t(column)]);
}

int columnNamed(QStringView header)
{
    const QString wanted = folded(header);
    if (wanted.isEmpty())
        return -1;
    for (int c = 1; c < ClientRecord::ColumnCount; ++c) {
        if (folded(QString::fromUtf16(kHeaders[std::size_t(c)])) == wanted
            || folded(QString(ClientRecord::column(c).name)) == wanted)
            return c;
    }
    return -1;
}

namespace {

// Whether bytes are well-formed UTF-8 (overlong forms and surrogates aside,
// which no spreadsheet writes).
bool isUtf8(QByteArrayView bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const unsigned char *end = p + bytes.size();
    while (p < end) {
        const unsigned char b = *p++;
        if (b < 0x80)
            continue;
        const int extra = b >= 0xF8 ? -1 : b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC2 ? 1 : -1;
        if (extra < 0 || end - p < extra)
            return false;
        for (int i = 0; i < extra; ++i) {
            if ((*p++ & 0xC0) != 0x80)
                return false;
        }
    }
    return true;
}

} // namespace

QByteArray utf8Text(const QByteArray &bytes, bool *utf8)
{
    const bool bom = bytes.startsWith("\xEF\xBB\xBF");
    if (bom || isUtf8(bytes)) {
        if (utf8)
            *utf8 = true;
        return bom ? bytes.sliced(3) : bytes;
    }
    if (utf8)
        *utf8 = false;
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (const char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        const char16_t high = u >= 0x80 && u < 0xA0 ? kCp1252High[u - 0x80] : 0;
        *out++ = QChar(high ? high : char16_t(u));
    }
    return text.toUtf8();
}

char detectSeparator(QByteArrayView text)
{
    int semicolons = 0;
    int commas = 0;
    int tabs = 0;
    bool quoted = false;
    for (const char c : text) {
        if (c == '"')
            quoted = !quoted;
        else if (quoted)
            continue;
        else if (c == '\n' || c == '\r')
            break;
        else if (c == ';')
            ++semicolons;
        else if (c == ',')
            ++commas;
        else if (c == '\t')
            ++tabs;
    }
    if (tabs > semicolons && tabs > commas)
        return '\t';
    return commas > semicolons ? ',' : ';';
}

CsvReader::CsvReader(QByteArrayView text, char separator)
    : m_text(text)
    , m_separator(separator)
{
}

CsvReader::Span CsvReader::field(qsizetype &i)
{
    const QByteArrayView text = m_text;
    const qsizetype n = text.size();
    Span span{i, 0, false};
    if (i < n && text[i] == '"') {
        // Unquoted into the buffer, with whatever follows the closing quote.
        const int opened = m_line;
        span = Span{m_unquoted.size(), 0, true};
        ++i;
        for (;;) {
            if (i >= n)
                throw DataError(u"Linha %1: aspas abertas e não fechadas."_s.arg(opened));
            const char c = text[i];
            if (c == '"') {
                if (i + 1 < n && text[i + 1] == '"') {
                    m_unquoted.append('"');
                    i += 2;
                    continue;
                }
                ++i;
                break;
            }
            if (c == '\n')
                ++m_line;
            m_unquoted.append(c);
            ++i;
        }
        const qsizetype from = i;
        while (i < n && text[i] != m_separator && text[i] != '\n' && text[i] != '\r')
            ++i;
        m_unquoted.append(text.sliced(from, i - from));
        span.size = m_unquoted.size() - span.at;
    } else {
        while (i < n && text[i] != m_separator && text[i] != '\n' && text[i] != '\r')
            ++i;
        span.size = i - span.at;
    }
    // ="text": the text, its doubled quotes made single.
    const QByteArrayView value = span.unquoted ? QByteArrayView(m_unquoted).sliced(span.at, span.size)
                                               : text.sliced(span.at, span.size);
    if (value.size() >= 3 && value.startsWith("=\"") && value.endsWith('"')) {
        const QByteArray inner = value.sliced(2, value.size() - 3).toByteArray().replace("\"\"", "\"");
        span = Span{m_unquoted.size(), inner.size(), true};
        m_unquoted.append(inner);
    }
    return span;
}

bool CsvReader::next(CsvRecord &record)
{
    const QByteArrayView text = m_text;
    const qsizetype n = text.size();
    qsizetype i = m_at;
    // A blank line is no record.
    while (i < n && (text[i] == '\n' || text[i] == '\r')) {
        if (text[i] == '\r' && i + 1 < n && text[i + 1] == '\n')
            ++i;
        ++i;
        ++m_line;
    }
    if (i >= n) {
        m_at = i;
        return false;
    }
    record.line = m_line;
    m_unquoted.clear();
    m_spans.clear();
    for (;;) {
        m_spans.append(field(i));
        if (i < n && text[i] == m_separator) {
            ++i;
            continue;
        }
        break;
    }
    if (i < n && text[i] == '\r')
        ++i;
    if (i < n && text[i] == '\n')
        ++i;
    ++m_line;
    m_at = i;
    // Views only now: the buffer may have moved while it grew.
    record.fields.clear();
    for (const Span &span : std::as_const(m_spans))
        record.fields.append(span.unquoted ? QByteArrayView(m_unquoted).sliced(span.at, span.size)
                                           : text.sliced(span.at, span.size));
    return true;
}

bool spreadsheetWouldChange(QByteArrayView utf8)
{
    if (utf8.isEmpty())
        return false;
    const char first = utf8.front();
    if (first == '=' || first == '+' || first == '-' || first == '@')
        return true;
    // Digits alone: a number, which loses a leading zero, or digits past the 15 it keeps.
    bool digitsOnly = true;
    bool anyDigit = false;
    for (const char c : utf8) {
        if (isDigit(c))
            anyDigit = true;
        else
            digitsOnly = false;
    }
    if (digitsOnly)
        return (utf8.size() > 1 && first == '0') || utf8.size() > 15;
    if (!anyDigit)
        return false;
    // Digits with separators only (1/2, 3-4, 1.5, 1,5, 10:30, 50%, 1E5): a
    // date, a time, a decimal number or a percentage.
    for (const char c : utf8) {
        if (!isDigit(c) && c != '/' && c != '-' && c != '.' && c != ',' && c != ':' && c != '%' && c != ' ' && c != 'e'
            && c != 'E')
            return false;
    }
    return true;
}

void appendField(QByteArray &out, QByteArrayView utf8, bool asText)
{
    const bool protect = asText && spreadsheetWouldChange(utf8);
    bool quote = protect;
    if (!quote) {
        for (const char c : utf8) {
            if (c == ';' || c == '"' || c == '\n' || c == '\r') {
                quote = true;
                break;
            }
        }
    }
    if (!quote) {
        out.append(utf8);
        return;
    }
    // ="value" inside a quoted field: the formula's own quotes doubled, then the field's.
    out.append(protect ? "\"=\"\"" : "\"");
    for (const char c : utf8) {
        if (c == '"')
            out.append(protect ? "\"\"\"\"" : "\"\"");
        else
            out.append(c);
    }
    out.append(protect ? "\"\"\"" : "\"");
}

} // namespace vosmira::exchange
