#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>

// Names in the order of a Portuguese dictionary, the one order of the client
// tables, the grids that show them and the reports: the letters first, accents and
// case ignored (Á, Â and Ã as A, Ç as C); between names equal so, the one without
// the accent first; then the stored text, so that two different names never tie.
// Blanks, digits and punctuation keep their own places, before the letters.
namespace NameOrder {

// Negative, zero or positive as a sorts before, with or after b.
int compare(QStringView a, QStringView b);
// The same for UTF-8 texts, as the row store and SQLite hold them.
int compareUtf8(QByteArrayView a, QByteArrayView b);

// Appends to out a key whose byte order (as memcmp, the shorter first on a tie)
// is the order of compare(). utf8 must be valid UTF-8, as the row store holds it.
void appendSortKey(QByteArrayView utf8, QByteArray &out);

// One code point as the order and the search see its letters: its base letters
// in case-folded form, none for a combining accent and two for a letter that
// stands for two (ß as ss, æ as ae), and the rank of its accent (0 for none).
struct Folded
{
    char32_t base[2];
    unsigned char count;
    unsigned char accent;
};
Folded fold(char32_t c);

} // namespace NameOrder
