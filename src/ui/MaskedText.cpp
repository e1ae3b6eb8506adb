#include "MaskedText.h"

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
    for (qsizetype i = 0; i < mask.positions.size(); ++i) {
        const EditMask::Position &p = mask.positions.at(i);
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
    for (qsizetype i = 0; i < shown.size() && i < mask.positions.size(); ++i) {
        if (mask.positions.at(i).literal.isNull() && shown.at(i) == u' ')
            shown[i] = mask.blank;
    }
    return shown;
}

} // namespace vosmira::maskedtext
