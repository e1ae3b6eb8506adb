#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

namespace vosmira {

// The text of one ini file. Every line is kept as read, so a rewrite changes
// only the line of the key being set and leaves comments, blank lines and the
// spelling of names alone.
//
// Layout: "[section]" headers and "key=value" lines; lines starting with ';'
// and anything else are kept but carry no meaning. Section and key names are
// compared case-insensitively, without surrounding blanks. A value is the text
// after the first '=', without surrounding blanks. A value that would not
// survive that (surrounding blanks, a line break, a leading '"') is written in
// double quotes with \\, \", \n and \r escapes; a read value wrapped in double
// quotes loses them and its escapes are resolved (unknown escapes stay as
// typed). Files are UTF-8 or UTF-16, with or without a BOM, LF or CRLF, and
// are written back as they came. A line that is not UTF-8 is read as Latin-1,
// so a hand-edited file still reads, but the document is then not lossless.
class IniDocument
{
public:
    enum class Encoding { Utf8, Utf16Le, Utf16Be };

    static IniDocument fromBytes(const QByteArray &bytes);
    QByteArray toBytes() const;
    // False when some of the text was guessed: writing it back could change
    // what the other lines hold.
    bool isLossless() const { return m_lossless; }
    Encoding encoding() const { return m_encoding; }

    // The value of the first occurrence of key among the sections named section.
    std::optional<QString> value(QStringView section, QStringView key) const;
    // Replaces that occurrence, or adds the key (and the section) as needed.
    // Names must pass isValidSection/isValidKey.
    void setValue(QStringView section, QStringView key, const QString &value);

    static bool isValidSection(QStringView name);
    static bool isValidKey(QStringView name);
    static QString encodeValue(const QString &value);
    static QString decodeValue(QStringView raw);

private:
    enum class Kind { Other, Section, Entry };
    struct Line
    {
        QString text;
        Kind kind = Kind::Other;
        QString name;          // trimmed; Section and Entry only
        qsizetype equals = -1; // position of the first '=' in an Entry
    };
    struct Place
    {
        qsizetype entry = -1;    // line of the key, if present
        qsizetype section = -1;  // first header of the section, if present
        qsizetype insertAt = -1; // where a new key of that section goes
    };

    static Line parseLine(QString text);
    Place locate(QStringView section, QStringView key) const;

    QList<Line> m_lines;
    bool m_bom = false;
    bool m_crlf = false;
    bool m_lossless = true;
    Encoding m_encoding = Encoding::Utf8;
};

} // namespace vosmira
