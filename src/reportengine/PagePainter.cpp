#include "PagePainter.h"

#include "TextMetrics.h"

#include <QFontMetricsF>
#include <QPainter>

namespace rel {

PagePainter::PagePainter(const PageSetup &setup, int pageCount)
    : m_pageCount(pageCount)
{
    for (const FontSpec &spec : setup.fonts)
        m_fonts.push_back(TextMetrics::fontFor(spec));
}

void PagePainter::paint(QPainter &painter, const Page &page) const
{
    for (const PageItem &item : page.items) {
        switch (item.kind) {
        case PageItem::Rect: {
            const QRectF rect(item.x, item.y, item.w, item.h);
            if (qAlpha(item.fill) != 0)
                painter.fillRect(rect, QColor::fromRgba(item.fill));
            if (item.penWidth > 0) {
                painter.setPen(QPen(QColor::fromRgba(item.color), item.penWidth));
                painter.setBrush(Qt::NoBrush);
                painter.drawRect(rect);
            }
            break;
        }
        case PageItem::Line: {
            QPen pen(QColor::fromRgba(item.color), qMax(1, item.penWidth));
            pen.setCapStyle(Qt::FlatCap);
            painter.setPen(pen);
            painter.drawLine(QPointF(item.x, item.y), QPointF(item.x + item.w, item.y + item.h));
            break;
        }
        case PageItem::Text: {
            const QFont &font = m_fonts.at(item.font);
            const QFontMetricsF fm(font);
            const QString text = resolvedText(item, m_pageCount);
            qreal x = item.x;
            if (item.align != Align::Left) {
                const qreal width = fm.horizontalAdvance(text);
                x -= item.align == Align::Right ? width : width / 2;
            }
            const qreal baseline = item.y + (item.h + fm.ascent() - fm.descent()) / 2;
            painter.setFont(font);
            painter.setPen(QColor::fromRgba(item.color));
            painter.drawText(QPointF(x, baseline), text);
            break;
        }
        }
    }
}

} // namespace rel
