#include "TextMatch.h"

namespace {

// Decodes one code point of valid UTF-8 (the store only holds what it encoded).
inline char32_t nextCodePoint(const uchar *&p, const uchar *end)
{
    const uchar b = *p++;
    if (b < 0x80)
        return b;
    int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : 1;
    char32_t c = b & (0x3F >> extra);
    while (extra-- > 0 && p < end)
        c = (c << 6) | (*p++ & 0x3F);
    return c;
}

} // namespace

TextMatch::TextMatch(const QString &needle, bool caseInsensitive, bool partial)
    : m_utf8(needle.toUtf8())
    , m_caseInsensitive(caseInsensitive)
    , m_partial(partial)
{
    if (caseInsensitive) {
        for (qsizetype i = 0; i < needle.size(); ++i) {
            char32_t c = needle.at(i).unicode();
            if (QChar::isHighSurrogate(c) && i + 1 < needle.size() && needle.at(i + 1).isLowSurrogate()) {
                c = QChar::surrogateToUcs4(needle.at(i), needle.at(i + 1));
                ++i;
            }
            m_folded.append(QChar::toCaseFolded(c));
        }
    }
}

bool TextMatch::matches(QByteArrayView utf8) const
{
    if (m_caseInsensitive)
        return matchesFolded(utf8);
    return m_partial ? utf8.startsWith(m_utf8) : utf8 == QByteArrayView(m_utf8);
}

bool TextMatch::matchesFolded(QByteArrayView utf8) const
{
    const uchar *p = reinterpret_cast<const uchar *>(utf8.data());
    const uchar *end = p + utf8.size();
    for (const char32_t want : m_folded) {
        if (p == end)
            return false;
        char32_t c;
        if (*p < 0x80) {
            c = *p++;
            if (c - u'A' < 26u)
                c += 32;
        } else {
            c = QChar::toCaseFolded(nextCodePoint(p, end));
        }
        if (c != want)
            return false;
    }
    return m_partial || p == end;
}
