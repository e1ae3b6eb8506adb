#include "MaskedText.h"

#include <algorithm>

namespace vosmira::maskedtext {

QString inputMask(const EditMask::Mask &mask, int alphanumeric)
{
    // Characters Qt gives a meaning to, which a literal must escape.
    static const QString special = QStringLiteral("AaNnXx90Dd#HhBb><!|[]{}\\");
    QString out;
    if (alphanumeric > 0)
        out.append(u'>');
    int typed = 0;
    for (const EditMask::Position &p : mask.positions) {
        if (!p.literal.isNull()) {
            if (special.contains(p.literal))
                out.append(u'\\');
            out.append(p.literal);
        } else if (typed++ < alphanumeric) {
            out.append(p.required ? u'N' : u'n');
        } else {
            out.append(p.required ? u'9' : u'0');
        }
    }
    out.append(u';');
    out.append(mask.blank);
    return out;
}

Reading read(const EditMask::Mask &mask, const QString &shown)
{
    Reading r;
    bool complete = true;
    const QList<EditMask::Position> &pattern = mask.patternFor(shown.size());
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const EditMask::Position &p = pattern.at(i);
        const QChar c = i < shown.size() ? shown.at(i) : mask.blank;
        if (!p.literal.isNull()) {
            if (mask.saveLiterals)
                r.text.append(p.literal);
            continue;
        }
        const bool typed = c != mask.blank && c != u' ';
        if (typed)
            r.blank = false;
        else if (p.required)
            complete = false;
        r.text.append(typed ? c : QChar(u' '));
    }
    r.complete = complete;
    if (!r.blank) {
        r.stored = r.text;
        while (!r.stored.isEmpty() && r.stored.back() == u' ')
            r.stored.chop(1);
    }
    return r;
}

QString shownText(const EditMask::Mask &mask, const QString &stored)
{
    if (stored.isEmpty())
        return QString();
    // A gap kept as a space goes back to the placeholder, which holds its place.
    QString shown = EditMask::displayText(mask, stored);
    const QList<EditMask::Position> &pattern = mask.patternFor(shown.size());
    for (qsizetype i = 0; i < shown.size() && i < pattern.size(); ++i) {
        if (pattern.at(i).literal.isNull() && shown.at(i) == u' ')
            shown[i] = mask.blank;
    }
    return shown;
}

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Index of the typed place `n` (0-based) of a pattern; its length past the last.
int placeOf(const QList<EditMask::Position> &pattern, int n)
{
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        if (pattern.at(i).literal.isNull() && n-- == 0)
            return int(i);
    }
    return int(pattern.size());
}

const QList<EditMask::Position> &patternForDigits(const EditMask::Mask &mask, qsizetype digits)
{
    return mask.hasLongForm() && digits > mask.typedCount() ? mask.longPositions : mask.positions;
}

bool isLiteral(const EditMask::Mask &mask, QChar c)
{
    const auto is = [c](const EditMask::Position &p) { return p.literal == c; };
    return std::any_of(mask.positions.cbegin(), mask.positions.cend(), is)
           || std::any_of(mask.longPositions.cbegin(), mask.longPositions.cend(), is);
}

QString grownText(const EditMask::Mask &mask, QStringView digits)
{
    QString out;
    qsizetype in = 0;
    for (const EditMask::Position &p : patternForDigits(mask, digits.size())) {
        if (!p.literal.isNull())
            out.append(p.literal);
        else
            out.append(in < digits.size() ? digits.at(in++) : mask.blank);
    }
    return out;
}

} // namespace

Growing regrow(const EditMask::Mask &mask, const QString &edited, int cursor)
{
    Growing g;
    QString digits;
    int before = 0;
    for (qsizetype i = 0; i < edited.size(); ++i) {
        const QChar c = edited.at(i);
        if (isDigit(c)) {
            digits.append(c);
            before += i < cursor ? 1 : 0;
            continue;
        }
        if (!isLiteral(mask, c) && c != mask.blank && c != u' ')
            return g;
    }
    const int places = EditMask::typedCount(mask.hasLongForm() ? mask.longPositions : mask.positions);
    if (digits.size() > places)
        return g;
    g.accepted = true;
    g.text = grownText(mask, digits);
    g.cursor = placeOf(patternForDigits(mask, digits.size()), before);
    return g;
}

} // namespace vosmira::maskedtext
