#include "artwork.h"
#include "canvas.h"
#include "fonts.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

// The strip at the foot of the main window that invites a visit to the maker's page.
QImage paintBanner(const ArtJob &job)
{
    const QSize size = job.size;
    QImage image = transparentCanvas(size);
    image.fill(windowColour);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform | QPainter::TextAntialiasing);

    const QRectF strip = QRectF(QPointF(0, 0), QSizeF(size)).adjusted(1.5, 1.5, -1.5, -1.5);
    const qreal radius = 9;
    QPainterPath shape;
    shape.addRoundedRect(strip, radius, radius);

    QLinearGradient fill(strip.topLeft(), strip.topRight());
    fill.setColorAt(0.0, QColor(206, 226, 250));
    fill.setColorAt(0.45, QColor(240, 246, 254));
    fill.setColorAt(1.0, QColor(250, 251, 253));
    painter.fillPath(shape, fill);
    // A gloss on the upper half.
    QLinearGradient gloss(strip.topLeft(), strip.bottomLeft());
    gloss.setColorAt(0.0, QColor(255, 255, 255, 150));
    gloss.setColorAt(0.5, QColor(255, 255, 255, 0));
    painter.fillPath(shape, gloss);
    painter.setPen(QPen(QColor(150, 182, 222), 1.2));
    painter.drawPath(shape);

    const qreal h = size.height();
    const int side = int(h * 0.72);
    const QImage globe = renderSvg(job.icons.value(0), side);
    drawIconWithShadow(painter, globe, QPointF(14, (h - side) / 2), 60);

    const QFont plain = textFont(15);
    const QFont strong = textFont(15, QFont::Bold);
    const QString invitation = QStringLiteral("Conheça outros programas Vosmira em ");
    const QString address = QStringLiteral("www.vosmira.com.br");
    const QFontMetricsF plainMetrics(plain);
    const qreal baseline = (h + plainMetrics.ascent() - plainMetrics.descent()) / 2;
    qreal x = 14 + side + 14;
    painter.setFont(plain);
    painter.setPen(QColor(58, 70, 86));
    painter.drawText(QPointF(x, baseline), invitation);
    x += plainMetrics.horizontalAdvance(invitation);
    painter.setFont(strong);
    painter.setPen(QColor(0, 98, 204));
    painter.drawText(QPointF(x, baseline), address);

    // A round "go" mark at the right end says the strip is clickable.
    const qreal mark = h * 0.56;
    const QRectF circle(size.width() - 16 - mark, (h - mark) / 2, mark, mark);
    QLinearGradient ball(circle.topLeft(), circle.bottomLeft());
    ball.setColorAt(0.0, QColor(64, 156, 250));
    ball.setColorAt(1.0, QColor(0, 106, 214));
    painter.setPen(Qt::NoPen);
    painter.setBrush(ball);
    painter.drawEllipse(circle);
    QPainterPath chevron;
    const QPointF c = circle.center();
    const qreal s = mark * 0.18;
    chevron.moveTo(c + QPointF(-s * 0.6, -s * 1.2));
    chevron.lineTo(c + QPointF(s * 0.7, 0));
    chevron.lineTo(c + QPointF(-s * 0.6, s * 1.2));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::white, mark * 0.11, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(chevron);
    return image;
}
