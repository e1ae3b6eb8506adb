#pragma once

#include "EditMask.h"

#include <QString>

// Between a column's edit mask and a QLineEdit input mask. Qt's mask language
// reads 0 and 9 the other way round, its text() drops blank positions (so digits
// after a gap shift), and an untouched edit's text() is the bare literals; the
// edit's displayText(), read position by position, has none of those problems.
namespace vosmira::maskedtext {

// The input mask for a column mask. The first `alphanumeric` typed positions take
// letters A-Z too (typed letters turn upper case), keeping their required/optional
// kind; the rest take digits.
QString inputMask(const EditMask::Mask &mask, int alphanumeric = 0);

struct Reading
{
    // The edit's text as the column's mask yields it: with the mask's literals when
    // it stores them, else the typed positions alone; a position not typed is a blank.
    QString text;
    QString stored;        // the value to store: null when nothing was typed
    bool blank = true;     // no position typed
    bool complete = false; // every required position typed
};

// Reads the shown text (QLineEdit::displayText) of an edit carrying inputMask(mask).
Reading read(const EditMask::Mask &mask, const QString &shown);

// The text to give QLineEdit::setText for a stored value.
QString shownText(const EditMask::Mask &mask, const QString &stored);

// A mask with a long form has no Qt input mask (Qt's patterns are fixed): the
// edit holds the digits typed, from the left and without gaps, laid into the
// first pattern with blanks after them, or into the long form once they fill it.
struct Growing
{
    bool accepted = false; // false: a character no digit place takes, or too many
    QString text;
    int cursor = 0; // after the digits that stood before the edit's cursor
};
// The edit's text after a keystroke, paste or deletion (cursor: where Qt left it),
// or a stored value, laid out again. Literals and blanks are passed over.
Growing regrow(const EditMask::Mask &mask, const QString &edited, int cursor);

} // namespace vosmira::maskedtext
