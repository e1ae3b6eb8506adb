#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>

// Compares a search text with UTF-8 texts of the row store without building strings.
// Case-insensitive matching folds each code point as QString's case-insensitive
// comparison does (QChar::toCaseFolded).
class TextMatch
{
public:
    TextMatch(const QString &needle, bool caseInsensitive, bool partial);
    bool matches(QByteArrayView utf8) const;

private:
    bool matchesFolded(QByteArrayView utf8) const;

    QByteArray m_utf8;
    QList<char32_t> m_folded;
    bool m_caseInsensitive;
    bool m_partial;
};
