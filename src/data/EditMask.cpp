#include "EditMask.h"

namespace EditMask {

int typedCount(const QList<Position> &pattern)
{
    int n = 0;
    for (const Position &p : pattern)
        n += p.literal.isNull() ? 1 : 0;
    return n;
}

int Mask::typedCount() const
{
    return EditMask::typedCount(positions);
}

const QList<Position> &Mask::patternFor(qsizetype shownLength) const
{
    return hasLongForm() && shownLength == longPositions.size() ? longPositions : positions;
}

Mask parse(const QString &text)
{
    Mask mask;
    const QList<QStringView> parts = QStringView(text).split(u';');
    // The pattern itself may hold an escaped ';' but none of ours does; the last two
    // parts are the flag and the blank character when present.
    QStringView pattern = parts.value(0);
    if (parts.size() >= 2)
        mask.saveLiterals = parts.at(1) != u"0";
    if (parts.size() >= 3 && !parts.at(2).isEmpty())
        mask.blank = parts.at(2).front();
    qsizetype i = 0;
    if (pattern.startsWith(u'!')) {
        mask.rightAlign = true;
        i = 1;
    }
    QList<Position> *into = &mask.positions;
    for (; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        if (c == u'\\' && i + 1 < pattern.size()) {
            into->append(Position{pattern.at(++i), false});
        } else if (c == u'|' && into == &mask.positions) {
            into = &mask.longPositions;
        } else if (c == u'0' || c == u'9') {
            into->append(Position{QChar(), c == u'0'});
        } else {
            into->append(Position{c, false});
        }
    }
    return mask;
}

namespace {

// A value that already holds every literal in its place is shown as it is.
bool fitsPattern(const QList<Position> &pattern, const QString &value)
{
    if (pattern.isEmpty() || value.size() != pattern.size())
        return false;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar literal = pattern.at(i).literal;
        if (!literal.isNull() && value.at(i) != literal)
            return false;
    }
    return true;
}

} // namespace

QString displayText(const QString &mask, const QString &stored)
{
    return displayText(parse(mask), stored);
}

QString displayText(const Mask &mask, const QString &stored)
{
    if (stored.isEmpty() || !mask.isValid())
        return stored;
    if (fitsPattern(mask.positions, stored) || fitsPattern(mask.longPositions, stored))
        return stored;
    if (mask.hasLongForm() && !mask.saveLiterals && stored.size() == typedCount(mask.longPositions)) {
        QString out;
        qsizetype in = 0;
        for (const Position &p : mask.longPositions)
            out.append(p.literal.isNull() ? stored.at(in++) : p.literal);
        return out;
    }
    QString out;
    out.reserve(mask.positions.size());
    if (mask.saveLiterals) {
        // The value already holds the literals; a literal missing from it is put back.
        qsizetype in = 0;
        for (const Position &p : mask.positions) {
            if (!p.literal.isNull()) {
                out.append(p.literal);
                if (in < stored.size() && stored.at(in) == p.literal)
                    ++in;
            } else {
                out.append(in < stored.size() ? stored.at(in++) : mask.blank);
            }
        }
        return out;
    }
    const int typed = mask.typedCount();
    qsizetype in = 0;
    int skip = mask.rightAlign ? std::max<int>(0, typed - int(stored.size())) : 0;
    for (const Position &p : mask.positions) {
        if (!p.literal.isNull()) {
            out.append(p.literal);
        } else if (skip > 0) {
            out.append(mask.blank);
            --skip;
        } else {
            out.append(in < stored.size() ? stored.at(in++) : mask.blank);
        }
    }
    return out;
}

QString storedText(const QString &maskText, const QString &shown)
{
    const Mask mask = parse(maskText);
    if (!mask.isValid())
        return shown;
    QString typed;
    qsizetype i = 0;
    for (const Position &p : mask.patternFor(shown.size())) {
        if (i >= shown.size())
            break;
        const QChar c = shown.at(i++);
        if (p.literal.isNull() && c != mask.blank && c != u' ')
            typed.append(c);
    }
    if (typed.isEmpty())
        return QString();
    if (!mask.saveLiterals)
        return typed;
    // Literals are kept: the shown text with its blanks dropped from the end.
    QString out = shown.left(mask.patternFor(shown.size()).size());
    out.replace(mask.blank, u' ');
    while (!out.isEmpty() && out.back() == u' ')
        out.chop(1);
    return out;
}

bool isComplete(const QString &maskText, const QString &shown)
{
    const Mask mask = parse(maskText);
    const QList<Position> &pattern = mask.patternFor(shown.size());
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const Position &p = pattern.at(i);
        if (!p.required)
            continue;
        if (i >= shown.size() || shown.at(i) == mask.blank || shown.at(i) == u' ')
            return false;
    }
    return true;
}

QString toInputMask(const QString &maskText)
{
    const Mask mask = parse(maskText);
    static const QString special = QStringLiteral("AaNnXx90Dd#HhBb><!|[]{}\\");
    QString out;
    for (const Position &p : mask.positions) {
        if (!p.literal.isNull()) {
            if (special.contains(p.literal))
                out.append(u'\\');
            out.append(p.literal);
        } else {
            // QLineEdit spells a required digit 9 and an optional one 0.
            out.append(p.required ? u'9' : u'0');
        }
    }
    out.append(u';');
    out.append(mask.blank);
    return out;
}

} // namespace EditMask
