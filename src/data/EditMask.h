#pragma once

#include <QList>
#include <QString>

// Edit masks of the form "pattern;saveLiterals;blank": in the pattern `0` is a
// required digit, `9` an optional digit, `\` makes the next character a literal,
// and a leading `!` right-aligns the typed characters when the value is shown.
// Letters typed at a digit position are kept as they are (alphanumeric CNPJ).
// A pattern may be followed by `|` and a long form, a second pattern with one
// typed position more, for values that fill it: a telephone takes 10 digits in
// (00)0000-0000 and 11 (a mobile number) in (00)00000-0000.
namespace EditMask {

struct Position
{
    QChar literal; // the literal character, or null for a typed position
    bool required = false;
};

struct Mask
{
    QList<Position> positions;
    QList<Position> longPositions; // the long form; empty when there is none
    bool rightAlign = false;
    bool saveLiterals = false;
    QChar blank = u'_';

    bool isValid() const { return !positions.isEmpty(); }
    bool hasLongForm() const { return !longPositions.isEmpty(); }
    int typedCount() const; // of the first pattern
    // The pattern text of this length is laid out in: the long form when the
    // length is its length, else the first pattern.
    const QList<Position> &patternFor(qsizetype shownLength) const;
};

int typedCount(const QList<Position> &pattern);

Mask parse(const QString &mask);

// The stored value laid into the pattern; an empty value shows as empty text.
QString displayText(const QString &mask, const QString &stored);
QString displayText(const Mask &mask, const QString &stored);

// The value to store for text shown in the pattern (the inverse of displayText).
QString storedText(const QString &mask, const QString &shown);

// Whether every required position of shown text holds a character.
bool isComplete(const QString &mask, const QString &shown);

// The first pattern in QLineEdit::inputMask syntax, blank character included.
QString toInputMask(const QString &mask);

} // namespace EditMask
