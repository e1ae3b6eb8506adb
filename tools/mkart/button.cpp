#include "artwork.h"
#include "canvas.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

// A picture button: the icon on the window colour; under the pointer the icon
// grows a little and sits on a lit, rounded card with a faint blue glow.
QImage paintButton(const ArtJob &job)
{
    const QSize size = job.size;
    QImage image = transparentCanvas(size);
    image.fill(windowColour);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);

    const int side = job.highlighted ? 56 : 50;
    if (job.highlighted) {
        const QRectF card = QRectF(QPointF(0, 0), QSizeF(size)).adjusted(6, 4, -6, -4);
        QPainterPath shape;
        shape.addRoundedRect(card, 10, 10);

        QImage glowShape = transparentCanvas(size);
        {
            QPainter p(&glowShape);
            p.setRenderHint(QPainter::Antialiasing);
            p.fillPath(shape, Qt::black);
        }
        QColor glow = hoverBlue;
        glow.setAlpha(110);
        painter.drawImage(0, 1, silhouette(glowShape, glow, 5));

        QLinearGradient fill(card.topLeft(), card.bottomLeft());
        fill.setColorAt(0.0, QColor(255, 255, 255));
        fill.setColorAt(1.0, QColor(226, 239, 253));
        painter.fillPath(shape, fill);
        QColor edge = hoverBlue;
        edge.setAlpha(120);
        painter.setPen(QPen(edge, 1.0));
        painter.drawPath(shape);
    }

    const QImage icon = renderSvg(job.icons.value(0), side);
    const QPointF topLeft((size.width() - side) / 2.0, (size.height() - side) / 2.0);
    drawIconWithShadow(painter, icon, topLeft, job.highlighted ? 90 : 60);
    return image;
}
