#include "TRelRender.h"

#include <QColor>

#include <algorithm>
#include <map>

namespace rel {

TRelRenderRTF::TRelRenderRTF(QObject *parent)
    : TRelRender(QStringLiteral("Texto formatado (RTF)"), QStringLiteral("*.rtf"), parent)
{
}

namespace {

// Windows-1252 code of a character, or 0 when it has none.
uchar ansiCode(char16_t u)
{
    if (u < 0x80 || (u >= 0xa0 && u <= 0xff))
        return uchar(u);
    static const char16_t high[32] = {
        0x20ac, 0,      0x201a, 0x0192, 0x201e, 0x2026, 0x2020, 0x2021, 0x02c6, 0x2030, 0x0160,
        0x2039, 0x0152, 0,      0x017d, 0,      0,      0x2018, 0x2019, 0x201c, 0x201d, 0x2022,
        0x2013, 0x2014, 0x02dc, 0x2122, 0x0161, 0x203a, 0x0153, 0,      0x017e, 0x0178,
    };
    for (int i = 0; i < 32; ++i) {
        if (high[i] == u)
            return uchar(0x80 + i);
    }
    return 0;
}

// Plain ASCII RTF text: specials escaped, everything else as \uN with its
// ANSI (or "?") fallback for readers that do not know Unicode.
QByteArray rtfText(const QString &text)
{
    QByteArray out;
    out.reserve(text.size() + 8);
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\\' || u == u'{' || u == u'}') {
            out += '\\';
            out += char(u);
        } else if (u >= 0x20 && u < 0x7f) {
            out += char(u);
        } else if (u < 0x20 || u == 0x7f) {
            out += ' ';
        } else {
            out += "\\u" + QByteArray::number(qint16(u));
            const uchar ansi = ansiCode(u);
            out += ansi ? "\\'" + QByteArray::number(ansi, 16).rightJustified(2, '0') : QByteArray("\\'3f");
        }
    }
    return out;
}

QRgb opaque(QRgb c)
{
    return qRgb(qRed(c), qGreen(c), qBlue(c));
}

struct Row
{
    std::vector<const PageItem *> texts;
    const PageItem *rule = nullptr;
};

} // namespace

void TRelRenderRTF::render(PageStreamReader &reader, QIODevice &out)
{
    const PageSetup &setup = reader.setup();
    const int pageCount = reader.pageCount();

    // First pass: the colours and the margins the positions are measured from.
    std::vector<QRgb> colors{qRgb(0, 0, 0)};
    auto colorIndex = [&colors](QRgb c) {
        const auto it = std::find(colors.begin(), colors.end(), opaque(c));
        return it == colors.end() ? -1 : int(it - colors.begin());
    };
    int left = setup.width, top = setup.height, right = 0, end = 0;
    Page page;
    while (reader.readPage(page)) {
        for (const PageItem &item : page.items) {
            if (colorIndex(item.color) < 0)
                colors.push_back(opaque(item.color));
            if (item.kind == PageItem::Text && item.align == Align::Left)
                left = qMin(left, item.x);
            if (item.kind == PageItem::Text && item.align == Align::Right)
                right = qMax(right, item.x);
            if (item.kind != PageItem::Rect)
                top = qMin(top, item.y - item.y % GridLine);
            if (item.kind == PageItem::Text)
                end = qMax(end, item.y + qMax(GridLine, item.h));
            else if (item.kind == PageItem::Line)
                end = qMax(end, item.y + 1);
        }
    }
    reader.rewind();
    left = qBound(360, left, setup.width / 3);
    top = qBound(0, top, setup.height / 3);
    right = qBound(left + setup.width / 3, right, setup.width);
    const int marginRight = qMax(0, setup.width - right);
    // Every page is whole lines from the top margin; the bottom margin leaves
    // a line to spare below the lowest, so a reader that draws something a
    // little taller still keeps each page on one sheet.
    const int lines = (qMax(end, top) - top + GridLine - 1) / GridLine;
    const int bottom = qMax(0, setup.height - top - (lines + 1) * GridLine);

    QStringList families;
    for (const FontSpec &f : setup.fonts) {
        if (!families.contains(f.family))
            families.append(f.family);
    }

    QByteArray head = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n{\\fonttbl";
    for (int i = 0; i < families.size(); ++i)
        head += "{\\f" + QByteArray::number(i) + "\\fswiss\\fcharset0 " + rtfText(families.at(i)) + ";}";
    head += "}\n{\\colortbl;";
    for (QRgb c : colors) {
        head += "\\red" + QByteArray::number(qRed(c)) + "\\green" + QByteArray::number(qGreen(c)) + "\\blue"
                + QByteArray::number(qBlue(c)) + ';';
    }
    head += "}\n{\\info{\\title " + rtfText(setup.title) + "}{\\doccomm Vosmira}}\n";
    head += "\\paperw" + QByteArray::number(setup.width) + "\\paperh" + QByteArray::number(setup.height) + "\\margl"
            + QByteArray::number(left) + "\\margr" + QByteArray::number(marginRight) + "\\margt"
            + QByteArray::number(top) + "\\margb" + QByteArray::number(bottom)
            + (setup.width > setup.height ? "\\landscape" : "") + "\\widowctrl0\n\\sectd\n";
    out.write(head);

    bool first = true;
    while (reader.readPage(page)) {
        // Items by grid line from the top margin; a paragraph per line.
        std::map<int, Row> rows;
        for (const PageItem &item : page.items) {
            if (item.kind == PageItem::Text)
                rows[qMax(0, (item.y - top) / GridLine)].texts.push_back(&item);
            else if (item.kind == PageItem::Line && item.h == 0)
                rows[qMax(0, (item.y - top) / GridLine)].rule = &item;
        }
        QByteArray body;
        int line = 0;
        for (auto it = rows.begin(); it != rows.end();) {
            for (; line < it->first; ++line) {
                body += (!first && body.isEmpty()) ? "\\pard\\plain\\sl-240\\slmult0 \\page\\par\n"
                                                   : "\\pard\\plain\\sl-240\\slmult0\\par\n";
            }
            // Items starting within a taller item's lines share its paragraph.
            std::vector<const PageItem *> texts = it->second.texts;
            const PageItem *rule = it->second.rule;
            int span = 1;
            for (const PageItem *t : texts)
                span = qMax(span, t->h / GridLine);
            for (++it; it != rows.end() && it->first < line + span; ++it) {
                texts.insert(texts.end(), it->second.texts.begin(), it->second.texts.end());
                if (!rule)
                    rule = it->second.rule;
            }
            std::sort(texts.begin(), texts.end(), [](const PageItem *a, const PageItem *b) { return a->x < b->x; });

            QByteArray para = "\\pard\\plain";
            if (rule && texts.empty()) {
                // Word processors add a bottom border below the line box, so the
                // line box ends where the rule starts and the space after takes the
                // rest: the paragraph stays its lines high, the rule where drawn.
                const int height = span * GridLine;
                const int pen = qBound(2, rule->penWidth, 75);
                const int above = qBound(1, rule->y - top - line * GridLine - pen / 2, height - pen);
                const int x1 = qMin(rule->x, rule->x + rule->w) - left;
                const int x2 = qMax(rule->x, rule->x + rule->w);
                para += "\\sl-" + QByteArray::number(above) + "\\slmult0\\sa" + QByteArray::number(height - above - pen)
                        + "\\li" + QByteArray::number(qMax(0, x1)) + "\\ri"
                        + QByteArray::number(qMax(0, setup.width - marginRight - x2)) + "\\brdrb\\brdrs\\brdrw"
                        + QByteArray::number(pen) + "\\brsp0\\brdrcf" + QByteArray::number(colorIndex(rule->color) + 1)
                        + "\\fs4";
            } else {
                para += "\\sl-" + QByteArray::number(span * GridLine) + "\\slmult0";
            }
            // A page starts with the break, so no empty paragraph precedes its first line.
            QByteArray runs = !first && body.isEmpty() ? "\\page " : "";
            bool atStart = true;
            for (const PageItem *t : texts) {
                const int x = t->x - left;
                if (!atStart || x > 0 || t->align != Align::Left) {
                    para += t->align == Align::Right ? "\\tqr" : t->align == Align::Center ? "\\tqc" : "";
                    para += "\\tx" + QByteArray::number(qMax(1, x));
                    runs += "\\tab";
                }
                atStart = false;
                const FontSpec &f = setup.fonts.at(t->font);
                runs += "{\\f" + QByteArray::number(families.indexOf(f.family)) + "\\fs"
                        + QByteArray::number(qRound(f.pointSize * 2)) + (f.bold ? "\\b" : "") + (f.italic ? "\\i" : "")
                        + "\\cf" + QByteArray::number(colorIndex(t->color) + 1) + ' '
                        + rtfText(resolvedText(*t, pageCount)) + '}';
            }
            body += para + ' ' + runs + "\\par\n";
            line += span;
        }
        if (body.isEmpty())
            body = first ? "\\pard\\plain\\par\n" : "\\pard\\plain \\page\\par\n";
        out.write(body);
        first = false;
    }
    out.write("}\n");
}

} // namespace rel
