#include "TRelRender.h"

#include <QColor>

namespace rel {

TRelRenderHTML::TRelRenderHTML(QObject *parent)
    : TRelRender(QStringLiteral("Página da Web (HTML)"), QStringLiteral("*.html;*.htm"), parent)
{
}

namespace {

// Text safe inside XHTML content and attribute values.
QString escaped(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        switch (c.unicode()) {
        case u'&': out += QLatin1String("&amp;"); break;
        case u'<': out += QLatin1String("&lt;"); break;
        case u'>': out += QLatin1String("&gt;"); break;
        case u'"': out += QLatin1String("&quot;"); break;
        default:
            if (c.category() == QChar::Other_Control || c.category() == QChar::Other_NotAssigned)
                out += u' ';
            else
                out += c;
        }
    }
    return out;
}

QString pt(qreal twips)
{
    return QString::number(twips / 20.0, 'f', 2) + QLatin1String("pt");
}

QString colorName(QRgb rgb)
{
    return QColor::fromRgb(rgb).name();
}

} // namespace

void TRelRenderHTML::render(PageStreamReader &reader, QIODevice &out)
{
    const PageSetup &setup = reader.setup();
    QString head;
    head += QLatin1String("<!DOCTYPE html>\n<html xmlns=\"http://www.w3.org/1999/xhtml\" lang=\"pt-BR\">\n<head>\n");
    head += QLatin1String("<meta charset=\"utf-8\"/>\n<meta name=\"generator\" content=\"Vosmira\"/>\n");
    head += QLatin1String("<title>") + escaped(setup.title) + QLatin1String("</title>\n<style>\n");
    head += QLatin1String("body { margin: 0; padding: 16px 0; background: #dcdcdc; }\n");
    head += QLatin1String(".page { position: relative; overflow: hidden; margin: 0 auto 16px auto; background: #fff;"
                          " box-shadow: 0 1px 5px rgba(0,0,0,0.35); width: ")
            + pt(setup.width) + QLatin1String("; height: ") + pt(setup.height) + QLatin1String("; }\n");
    head += QLatin1String(".page span { position: absolute; white-space: pre; }\n");
    head += QLatin1String(".page div { position: absolute; }\n");
    for (std::size_t i = 0; i < setup.fonts.size(); ++i) {
        const FontSpec &f = setup.fonts[i];
        head += QStringLiteral(
                    ".f%1 { font-family: \"%2\", \"DejaVu Sans\", Verdana, sans-serif; font-size: %3pt;%4%5 }\n")
                    .arg(i)
                    .arg(escaped(f.family))
                    .arg(f.pointSize)
                    .arg(f.bold ? QStringLiteral(" font-weight: bold;") : QString(),
                         f.italic ? QStringLiteral(" font-style: italic;") : QString());
    }
    head += QLatin1String("@media print { body { padding: 0; background: none; }"
                          " .page { margin: 0; box-shadow: none; page-break-after: always; } }\n");
    head += QLatin1String("</style>\n</head>\n<body>\n");
    out.write(head.toUtf8());

    const int pageCount = reader.pageCount();
    Page page;
    while (reader.readPage(page)) {
        QString html = QStringLiteral("<div class=\"page\" id=\"page%1\">\n").arg(page.number);
        for (const PageItem &item : page.items) {
            switch (item.kind) {
            case PageItem::Text: {
                QString place;
                if (item.align == Align::Right)
                    place = QLatin1String("right: ") + pt(setup.width - item.x);
                else if (item.align == Align::Center)
                    place = QLatin1String("left: ") + pt(item.x) + QLatin1String("; transform: translateX(-50%)");
                else
                    place = QLatin1String("left: ") + pt(item.x);
                html += QStringLiteral("<span class=\"f%1\" style=\"%2; top: %3; line-height: %4%5\">%6</span>\n")
                            .arg(item.font)
                            .arg(place, pt(item.y), pt(item.h),
                                 qRgb(qRed(item.color), qGreen(item.color), qBlue(item.color)) == qRgb(0, 0, 0)
                                     ? QString()
                                     : QLatin1String("; color: ") + colorName(item.color),
                                 escaped(resolvedText(item, pageCount)));
                break;
            }
            case PageItem::Line: {
                const int width = qMax(1, item.penWidth);
                if (item.h == 0) {
                    const int x = qMin(item.x, item.x + item.w);
                    html += QStringLiteral(
                                "<div style=\"left: %1; top: %2; width: %3; border-top: %4 solid %5\"></div>\n")
                                .arg(pt(x), pt(item.y - width / 2), pt(qAbs(item.w)), pt(width), colorName(item.color));
                } else if (item.w == 0) {
                    const int y = qMin(item.y, item.y + item.h);
                    html += QStringLiteral(
                                "<div style=\"left: %1; top: %2; height: %3; border-left: %4 solid %5\"></div>\n")
                                .arg(pt(item.x - width / 2), pt(y), pt(qAbs(item.h)), pt(width), colorName(item.color));
                }
                break;
            }
            case PageItem::Rect: {
                QString style = QStringLiteral("left: %1; top: %2; width: %3; height: %4")
                                    .arg(pt(item.x), pt(item.y), pt(item.w), pt(item.h));
                if (qAlpha(item.fill) != 0)
                    style += QLatin1String("; background: ") + colorName(item.fill);
                if (item.penWidth > 0)
                    style += QStringLiteral("; box-sizing: border-box; border: %1 solid %2")
                                 .arg(pt(item.penWidth), colorName(item.color));
                html += QLatin1String("<div style=\"") + style + QLatin1String("\"></div>\n");
                break;
            }
            }
        }
        html += QLatin1String("</div>\n");
        out.write(html.toUtf8());
    }
    out.write("</body>\n</html>\n");
}

} // namespace rel
