#include "TextMatch.h"

#include "NameOrder.h"
#include "Utf8.h"

TextMatch::TextMatch(const QString &needle, bool caseInsensitive, bool partial)
    : m_utf8(needle.toUtf8())
    , m_caseInsensitive(caseInsensitive)
    , m_partial(partial)
{
    if (caseInsensitive) {
        for (const uint c : needle.toUcs4()) {
            const NameOrder::Folded f = NameOrder::fold(c);
            for (int i = 0; i < f.count; ++i)
                m_folded.append(f.base[i]);
        }
        if (!m_folded.isEmpty() && m_folded.front() < 0x80) {
            m_first = int(m_folded.front());
            m_firstIsLetter = m_first >= 'a' && m_first <= 'z';
        }
    } else if (!m_utf8.isEmpty() && static_cast<unsigned char>(m_utf8.front()) < 0x80) {
        m_first = static_cast<unsigned char>(m_utf8.front());
    }
}

bool TextMatch::matchesRest(QByteArrayView utf8) const
{
    if (m_caseInsensitive)
        return matchesFolded(utf8);
    return m_partial ? utf8.startsWith(m_utf8) : utf8 == QByteArrayView(m_utf8);
}

bool TextMatch::matchesFolded(QByteArrayView utf8) const
{
    const auto *p = reinterpret_cast<const unsigned char *>(utf8.data());
    const auto *end = p + utf8.size();
    const qsizetype wanted = m_folded.size();
    qsizetype k = 0;
    while (k < wanted) {
        if (p == end)
            return false;
        if (*p < 0x80) {
            // Most letters of a name: no table, no decoding.
            char32_t c = *p++;
            if (c - U'A' < 26u)
                c += 32;
            if (c != m_folded.at(k++))
                return false;
            continue;
        }
        const NameOrder::Folded f = NameOrder::fold(utf8::next(p, end));
        for (int i = 0; i < f.count; ++i) {
            if (k == wanted) // the text ends inside a letter that stands for two (ß)
                return m_partial;
            if (f.base[i] != m_folded.at(k++))
                return false;
        }
    }
    if (m_partial)
        return true;
    // The whole text: nothing but accents may follow.
    while (p < end) {
        if (*p < 0x80 || NameOrder::fold(utf8::next(p, end)).count != 0)
            return false;
    }
    return true;
}
