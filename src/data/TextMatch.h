#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>

// Compares a search text with UTF-8 texts of the row store without building strings.
// Case-insensitive matching also ignores accents, in the search text and in the
// stored one alike: both are compared as the base letters of NameOrder::fold, so
// "JOAO" and "JOÃO" find "João" and "Joao" alike. Without it, the bytes must match.
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
