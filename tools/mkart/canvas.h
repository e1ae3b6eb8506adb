#pragma once

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QString>

class QPainter;

// A transparent canvas ready for antialiased painting.
QImage transparentCanvas(QSize size);

// Renders an SVG into a square of the given side; fails loudly on a bad file.
QImage renderSvg(const QString &file, int side);

// Blurs every channel of a premultiplied image (three box passes, close to a Gaussian).
QImage blurred(const QImage &image, int radius);

// The image's shape filled with one colour, blurred: a drop shadow or a glow.
QImage silhouette(const QImage &image, const QColor &colour, int radius);

// Adds a faint fixed noise so long, gentle gradients show no steps.
void dither(QImage &image);

// Draws an icon with a soft shadow below it.
void drawIconWithShadow(QPainter &painter, const QImage &icon, QPointF topLeft, int shadowAlpha);
