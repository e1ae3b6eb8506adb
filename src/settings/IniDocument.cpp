#include "IniDocument.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace vosmira {

namespace {

const QByteArray utf8Bom("\xEF\xBB\xBF");
const QByteArray utf16LeBom("\xFF\xFE");
const QByteArray utf16BeBom("\xFE\xFF");

bool sameName(QStringView a, QStringView b)
{
    return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

bool hasLineBreak(QStringView s)
{
    return s.contains(u'\n') || s.contains(u'\r');
}

// Without a byte-order mark, text whose first character has a zero byte is UTF-16.
IniDocument::Encoding sniff(QByteArrayView bytes)
{
    if (bytes.size() >= 2 && bytes.size() % 2 == 0) {
        if (bytes[0] != 0 && bytes[1] == 0)
            return IniDocument::Encoding::Utf16Le;
        if (bytes[0] == 0 && bytes[1] != 0)
            return IniDocument::Encoding::Utf16Be;
    }
    return IniDocument::Encoding::Utf8;
}

} // namespace

IniDocument IniDocument::fromBytes(const QByteArray &bytes)
{
    IniDocument doc;
    QByteArrayView body(bytes);
    if (body.startsWith(utf8Bom)) {
        doc.m_bom = true;
        body = body.sliced(utf8Bom.size());
    } else if (body.startsWith(utf16LeBom) || body.startsWith(utf16BeBom)) {
        doc.m_bom = true;
        doc.m_encoding = body.startsWith(utf16LeBom) ? Encoding::Utf16Le : Encoding::Utf16Be;
        body = body.sliced(2);
    } else {
        doc.m_encoding = sniff(body);
    }

    QStringList lines;
    if (doc.m_encoding == Encoding::Utf8) {
        // Line by line, so a stray byte spoils only its own line; that line is
        // read as Latin-1, the likeliest hand edit, but cannot be written back.
        for (QByteArrayView rest = body; !rest.isEmpty();) {
            const qsizetype end = rest.indexOf('\n');
            const QByteArrayView line = end < 0 ? rest : rest.first(end);
            rest = end < 0 ? QByteArrayView() : rest.sliced(end + 1);
            // A mark at the start of a line is text like any other: dropped, it
            // would come back on the next read and change what the line means.
            QStringDecoder utf8(QStringDecoder::Utf8,
                                QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
            QString text = utf8(line);
            if (utf8.hasError() || line.contains('\0')) {
                doc.m_lossless = false;
                text = QString::fromLatin1(line);
            }
            lines.append(text);
        }
        if (body.endsWith('\n'))
            lines.append(QString());
    } else {
        QStringDecoder utf16(doc.m_encoding == Encoding::Utf16Le ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE,
                             QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
        const QString text = utf16(body);
        if (utf16.hasError() || body.size() % 2 != 0 || text.contains(QChar(0)))
            doc.m_lossless = false;
        lines = text.split(u'\n');
    }
    doc.m_crlf = lines.size() > 1 && lines.constFirst().endsWith(u'\r');
    if (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast(); // the final line break ends a line, it doesn't start one
    doc.m_lines.reserve(lines.size());
    for (QString &line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        doc.m_lines.append(parseLine(std::move(line)));
    }
    return doc;
}

QByteArray IniDocument::toBytes() const
{
    const QString eol = m_crlf ? QStringLiteral("\r\n") : QStringLiteral("\n");
    QString text;
    for (const Line &line : m_lines)
        text += line.text + eol;
    switch (m_encoding) {
    case Encoding::Utf16Le: {
        QStringEncoder utf16(QStringEncoder::Utf16LE, QStringEncoder::Flag::Stateless);
        return (m_bom ? utf16LeBom : QByteArray()) + QByteArray(utf16(text));
    }
    case Encoding::Utf16Be: {
        QStringEncoder utf16(QStringEncoder::Utf16BE, QStringEncoder::Flag::Stateless);
        return (m_bom ? utf16BeBom : QByteArray()) + QByteArray(utf16(text));
    }
    case Encoding::Utf8: break;
    }
    return (m_bom ? utf8Bom : QByteArray()) + text.toUtf8();
}

IniDocument::Line IniDocument::parseLine(QString text)
{
    Line line;
    const QStringView trimmed = QStringView(text).trimmed();
    if (trimmed.startsWith(u'[')) {
        const qsizetype close = trimmed.indexOf(u']');
        if (close > 0) {
            line.kind = Kind::Section;
            line.name = trimmed.sliced(1, close - 1).trimmed().toString();
        }
    } else if (!trimmed.startsWith(u';')) {
        const qsizetype equals = text.indexOf(u'=');
        if (equals >= 0) {
            const QStringView name = QStringView(text).first(equals).trimmed();
            if (!name.isEmpty()) {
                line.kind = Kind::Entry;
                line.name = name.toString();
                line.equals = equals;
            }
        }
    }
    line.text = std::move(text);
    return line;
}

IniDocument::Place IniDocument::locate(QStringView section, QStringView key) const
{
    Place place;
    bool inside = false;
    bool inFirst = false;
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const Line &line = m_lines.at(i);
        if (line.kind == Kind::Section) {
            inside = sameName(line.name, section);
            inFirst = inside && place.section < 0;
            if (inFirst) {
                place.section = i;
                place.insertAt = i + 1;
            }
        } else if (line.kind == Kind::Entry && inside) {
            if (inFirst)
                place.insertAt = i + 1;
            if (sameName(line.name, key)) {
                place.entry = i;
                return place;
            }
        }
    }
    return place;
}

std::optional<QString> IniDocument::value(QStringView section, QStringView key) const
{
    if (!isValidSection(section) || !isValidKey(key))
        return std::nullopt;
    const Place place = locate(section, key);
    if (place.entry < 0)
        return std::nullopt;
    const Line &line = m_lines.at(place.entry);
    return decodeValue(QStringView(line.text).sliced(line.equals + 1));
}

void IniDocument::setValue(QStringView section, QStringView key, const QString &value)
{
    Q_ASSERT(isValidSection(section) && isValidKey(key));
    const QString encoded = encodeValue(value);
    const Place place = locate(section, key);
    if (place.entry >= 0) {
        // Keep the key as spelled and the blanks after '=' as laid out.
        Line &line = m_lines[place.entry];
        const QStringView old = QStringView(line.text).sliced(line.equals + 1);
        qsizetype blanks = 0;
        while (blanks < old.size() && old.at(blanks).isSpace())
            ++blanks;
        line.text = line.text.first(line.equals + 1 + blanks) + encoded;
        return;
    }
    const QString entry = key.trimmed().toString() + u'=' + encoded;
    if (place.section >= 0) {
        m_lines.insert(place.insertAt, parseLine(entry));
        return;
    }
    if (!m_lines.isEmpty() && !QStringView(m_lines.constLast().text).trimmed().isEmpty())
        m_lines.append(parseLine(QString()));
    m_lines.append(parseLine(u'[' + section.trimmed().toString() + u']'));
    m_lines.append(parseLine(entry));
}

bool IniDocument::isValidSection(QStringView name)
{
    return !name.trimmed().isEmpty() && !hasLineBreak(name) && !name.contains(u']');
}

bool IniDocument::isValidKey(QStringView name)
{
    const QStringView trimmed = name.trimmed();
    return !trimmed.isEmpty() && !hasLineBreak(name) && !name.contains(u'=') && !trimmed.startsWith(u'[')
           && !trimmed.startsWith(u';');
}

QString IniDocument::encodeValue(const QString &value)
{
    const bool plain = value.size() == QStringView(value).trimmed().size() && !hasLineBreak(value)
                       && !value.startsWith(u'"');
    if (plain)
        return value;
    QString quoted(u'"');
    for (const QChar c : value) {
        switch (c.unicode()) {
        case u'\\': quoted += QStringLiteral("\\\\"); break;
        case u'"': quoted += QStringLiteral("\\\""); break;
        case u'\n': quoted += QStringLiteral("\\n"); break;
        case u'\r': quoted += QStringLiteral("\\r"); break;
        default: quoted += c;
        }
    }
    return quoted + u'"';
}

QString IniDocument::decodeValue(QStringView raw)
{
    const QStringView trimmed = raw.trimmed();
    if (trimmed.size() < 2 || !trimmed.startsWith(u'"') || !trimmed.endsWith(u'"'))
        return trimmed.toString();
    const QStringView inner = trimmed.sliced(1, trimmed.size() - 2);
    QString value;
    value.reserve(inner.size());
    for (qsizetype i = 0; i < inner.size(); ++i) {
        const QChar c = inner.at(i);
        if (c != u'\\' || i + 1 == inner.size()) {
            value += c;
            continue;
        }
        switch (inner.at(i + 1).unicode()) {
        case u'\\': value += u'\\'; break;
        case u'"': value += u'"'; break;
        case u'n': value += u'\n'; break;
        case u'r': value += u'\r'; break;
        default: value += c; continue; // not an escape: the backslash stands
        }
        ++i;
    }
    return value;
}

} // namespace vosmira
