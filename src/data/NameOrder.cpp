#include "NameOrder.h"

#include "Utf8.h"

#include <QChar>
#include <QList>
#include <QString>
#include <QVarLengthArray>

#include <array>
#include <optional>

namespace NameOrder {

namespace {

// Accents in the order a Portuguese dictionary gives them (á, à, â, ã, ü, ç), then
// the other combining marks by code; a letter drawn with a stroke (ø, ł) last.
unsigned char markRank(char32_t mark)
{
    switch (mark) {
    case 0x0301: return 1;
    case 0x0300: return 2;
    case 0x0302: return 3;
    case 0x0303: return 4;
    case 0x0308: return 5;
    case 0x0327: return 6;
    default: break;
    }
    if (mark >= 0x0300 && mark < 0x0370)
        return static_cast<unsigned char>(7 + (mark - 0x0300));
    return 119;
}
constexpr unsigned char StrokeRank = 120;
// Added to the rank of the first of two or more accents on one letter.
constexpr unsigned char MoreMarks = 128;

bool isMark(char32_t c)
{
    const QChar::Category category = QChar::category(c);
    return category == QChar::Mark_NonSpacing || category == QChar::Mark_SpacingCombining
           || category == QChar::Mark_Enclosing;
}

// Letters Unicode does not decompose into a base letter and an accent.
std::optional<Folded> special(char32_t c)
{
    switch (c) {
    case U'ß':
    case U'ẞ': return Folded{{U's', U's'}, 2, 0};
    case U'Æ':
    case U'æ': return Folded{{U'a', U'e'}, 2, 0};
    case U'Œ':
    case U'œ': return Folded{{U'o', U'e'}, 2, 0};
    case U'Ø':
    case U'ø': return Folded{{U'o', 0}, 1, StrokeRank};
    case U'Ł':
    case U'ł': return Folded{{U'l', 0}, 1, StrokeRank};
    case U'Đ':
    case U'đ':
    case U'Ð':
    case U'ð': return Folded{{U'd', 0}, 1, StrokeRank};
    case U'Ħ':
    case U'ħ': return Folded{{U'h', 0}, 1, StrokeRank};
    case U'Ŧ':
    case U'ŧ': return Folded{{U't', 0}, 1, StrokeRank};
    case U'ı': return Folded{{U'i', 0}, 1, StrokeRank};
    default: return std::nullopt;
    }
}

Folded computeFold(char32_t c)
{
    if (const std::optional<Folded> s = special(c))
        return *s;
    if (isMark(c))
        return Folded{{0, 0}, 0, markRank(c)};

    // Canonical decomposition only: a ligature or a superscript is not a letter
    // with an accent. Marks nearer the base come first.
    char32_t base = c;
    QList<uint> marks;
    while (QChar::decompositionTag(base) == QChar::Canonical) {
        const QList<uint> parts = QChar::decomposition(base).toUcs4();
        if (parts.isEmpty())
            break;
        bool onlyMarks = true;
        for (qsizetype i = 1; i < parts.size(); ++i)
            onlyMarks = onlyMarks && isMark(parts.at(i));
        if (!onlyMarks) // Hangul syllables and the like decompose into letters
            break;
        marks = parts.mid(1) + marks;
        base = parts.front();
    }
    unsigned char accent = 0;
    if (!marks.isEmpty())
        accent = static_cast<unsigned char>(markRank(marks.front()) + (marks.size() > 1 ? MoreMarks : 0));
    base = QChar::toCaseFolded(base);
    if (const std::optional<Folded> s = special(base))
        return Folded{{s->base[0], s->base[1]}, s->count, accent ? accent : s->accent};
    return Folded{{base, 0}, 1, accent};
}

// Every Latin letter a Brazilian office meets lies below U+0250.
constexpr char32_t TableSize = 0x250;

const std::array<Folded, TableSize> &latinTable()
{
    static const std::array<Folded, TableSize> table = [] {
        std::array<Folded, TableSize> t{};
        for (char32_t c = 0; c < TableSize; ++c)
            t[c] = computeFold(c);
        return t;
    }();
    return table;
}

void appendUtf8(QByteArray &out, char32_t c)
{
    if (c < 0x80) {
        out.append(char(c));
    } else if (c < 0x800) {
        out.append(char(0xC0 | (c >> 6)));
        out.append(char(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.append(char(0xE0 | (c >> 12)));
        out.append(char(0x80 | ((c >> 6) & 0x3F)));
        out.append(char(0x80 | (c & 0x3F)));
    } else {
        out.append(char(0xF0 | (c >> 18)));
        out.append(char(0x80 | ((c >> 12) & 0x3F)));
        out.append(char(0x80 | ((c >> 6) & 0x3F)));
        out.append(char(0x80 | (c & 0x3F)));
    }
}

// The second level's weight of a letter: 1 without an accent, never 0.
char accentWeight(unsigned char accent)
{
    return char(1 + accent);
}

// The base letters of a text one by one, 0 at its end: what the first level
// compares. NUL characters carry no weight.
class BaseLetters
{
public:
    explicit BaseLetters(QByteArrayView utf8)
        : m_p(reinterpret_cast<const unsigned char *>(utf8.data()))
        , m_end(m_p + utf8.size())
    {
    }

    char32_t next()
    {
        if (m_pending) {
            const char32_t c = m_pending;
            m_pending = 0;
            return c;
        }
        while (m_p < m_end) {
            if (*m_p < 0x80) {
                char32_t c = *m_p++;
                if (c == 0)
                    continue;
                return c - U'A' < 26u ? c + 32 : c;
            }
            const Folded f = fold(utf8::next(m_p, m_end));
            if (f.count == 0)
                continue;
            m_pending = f.count > 1 ? f.base[1] : 0;
            return f.base[0];
        }
        return 0;
    }

private:
    const unsigned char *m_p;
    const unsigned char *m_end;
    char32_t m_pending = 0;
};

// The second level: one weight per base letter, in the order of BaseLetters.
template <typename Out>
void appendAccents(QByteArrayView utf8, Out &out)
{
    const auto *p = reinterpret_cast<const unsigned char *>(utf8.data());
    const auto *end = p + utf8.size();
    while (p < end) {
        if (*p < 0x80) {
            if (*p++ != 0)
                out.append(accentWeight(0));
            continue;
        }
        const Folded f = fold(utf8::next(p, end));
        if (f.count == 0) {
            // A combining accent typed apart belongs to the letter before it.
            if (!out.isEmpty()) {
                char &w = out.back();
                const int weight = static_cast<unsigned char>(w);
                if (weight == 1)
                    w = accentWeight(f.accent);
                else if (weight <= MoreMarks)
                    w = char(weight + MoreMarks);
            }
            continue;
        }
        for (int i = 0; i < f.count; ++i)
            out.append(accentWeight(i == 0 ? f.accent : 0));
    }
}

} // namespace

Folded fold(char32_t c)
{
    return c < TableSize ? latinTable()[c] : computeFold(c);
}

int compareUtf8(QByteArrayView a, QByteArrayView b)
{
    // Most names differ in their first letters: the first level is compared as
    // the letters come, without building anything.
    BaseLetters x(a);
    BaseLetters y(b);
    for (;;) {
        const char32_t cx = x.next();
        const char32_t cy = y.next();
        if (cx != cy)
            return cx < cy ? -1 : 1;
        if (cx == 0)
            break;
    }
    QVarLengthArray<char, 128> ax;
    QVarLengthArray<char, 128> ay;
    appendAccents(a, ax);
    appendAccents(b, ay);
    if (const int n = QByteArrayView(ax.constData(), ax.size()).compare(QByteArrayView(ay.constData(), ay.size())))
        return n;
    return a.compare(b);
}

int compare(QStringView a, QStringView b)
{
    return compareUtf8(a.toUtf8(), b.toUtf8());
}

void appendSortKey(QByteArrayView utf8, QByteArray &out)
{
    // Three levels, each ended by a 0 byte that no weight uses, so a shorter level
    // sorts first: the base letters in UTF-8 (whose byte order is code point
    // order), one accent weight per base letter, and the stored bytes.
    BaseLetters letters(utf8);
    while (const char32_t c = letters.next())
        appendUtf8(out, c);
    out.append('\0');
    appendAccents(utf8, out);
    out.append('\0');
    out.append(utf8.data(), utf8.size());
}

} // namespace NameOrder
