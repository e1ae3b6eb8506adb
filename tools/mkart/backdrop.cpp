#include "artwork.h"
#include "canvas.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

// The About window's background: a light, quiet card the texts are laid on,
// with soft waves at the foot and the program icon faintly in a corner.
QImage paintBackdrop(const ArtJob &job)
{
    const QSize size = job.size;
    const qreal w = size.width();
    const qreal h = size.height();
    QImage image = transparentCanvas(size);
    image.fill(windowColour);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);

    const QRectF card = QRectF(0, 0, w, h).adjusted(4, 4, -4, -4);
    QPainterPath cardShape;
    cardShape.addRoundedRect(card, 8, 8);
    QLinearGradient fill(card.topLeft(), card.bottomLeft());
    fill.setColorAt(0.0, QColor(247, 247, 250));
    fill.setColorAt(0.6, QColor(238, 238, 242));
    fill.setColorAt(1.0, QColor(226, 227, 233));
    painter.fillPath(cardShape, fill);

    painter.save();
    painter.setClipPath(cardShape);
    // A pale light behind the logo at the top.
    QRadialGradient light(QPointF(w / 2, 30), w * 0.62);
    for (int i = 0; i <= 10; ++i) {
        const qreal t = i / 10.0;
        light.setColorAt(t, QColor(255, 255, 255, int(190 * (1 - t) * (1 - t))));
    }
    painter.fillRect(card, light);

    // Two waves at the foot in the hover blue, barely there.
    auto wave = [&](qreal baseY, qreal amplitude, qreal phase, int alpha) {
        QPainterPath path;
        path.moveTo(0, baseY);
        path.cubicTo(w * 0.30, baseY - amplitude + phase, w * 0.60, baseY + amplitude, w, baseY - amplitude * 0.6);
        path.lineTo(w, h);
        path.lineTo(0, h);
        path.closeSubpath();
        QColor colour = hoverBlue;
        colour.setAlpha(alpha);
        QLinearGradient shade(QPointF(0, baseY - amplitude), QPointF(0, h));
        shade.setColorAt(0.0, colour);
        colour.setAlpha(alpha / 3);
        shade.setColorAt(1.0, colour);
        painter.fillPath(path, shade);
    };
    wave(h * 0.86, 26, 0, 16);
    wave(h * 0.91, 18, 10, 22);

    // The program icon as a faint watermark in the lower right corner.
    if (!job.icons.isEmpty()) {
        const int side = 180;
        QImage icon = renderSvg(job.icons.value(0), side).convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < icon.height(); ++y) {
            auto *line = reinterpret_cast<QRgb *>(icon.scanLine(y));
            for (int x = 0; x < icon.width(); ++x) {
                const int grey = qGray(line[x]);
                line[x] = qRgba(grey, grey, grey + 12 > 255 ? 255 : grey + 12, qAlpha(line[x]));
            }
        }
        painter.setOpacity(0.06);
        painter.drawImage(QPointF(w - side - 14, h - side - 70), icon);
        painter.setOpacity(1.0);
    }
    painter.restore();

    painter.setPen(QPen(QColor(134, 145, 155), 2.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(cardShape);
    painter.end();
    dither(image);
    return image;
}
