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

    bool matches(QByteArrayView utf8) const
    {
        // A scan turns most texts away at their first byte: that test stays inline.
        if (m_first >= 0 && !utf8.isEmpty()) {
            const auto b = static_cast<unsigned char>(utf8.front());
            if (b < 0x80 && (m_firstIsLetter ? b | 0x20 : b) != m_first)
                return false;
        }
        return matchesRest(utf8);
    }

private:
    bool matchesRest(QByteArrayView utf8) const;
    bool matchesFolded(QByteArrayView utf8) const;

    QByteArray m_utf8;
    QList<char32_t> m_folded;
    bool m_caseInsensitive;
    bool m_partial;
    // What an ASCII first byte must be, or -1 when the text does not begin with
    // ASCII; a letter is compared as a small letter when case is ignored.
    int m_first = -1;
    bool m_firstIsLetter = false;
};
