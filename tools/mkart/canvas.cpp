#include "canvas.h"

#include <QPainter>
#include <QSvgRenderer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

QImage transparentCanvas(QSize size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QImage renderSvg(const QString &file, int side)
{
    QSvgRenderer renderer(file);
    if (!renderer.isValid()) {
        std::fprintf(stderr, "vosmira-mkart: cannot read SVG %s\n", qPrintable(file));
        std::exit(1);
    }
    QImage image = transparentCanvas(QSize(side, side));
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    // Keep the drawing's aspect inside the square.
    const QSizeF natural = renderer.viewBoxF().size().isEmpty() ? QSizeF(renderer.defaultSize())
                                                                : renderer.viewBoxF().size();
    QSizeF fitted = natural.scaled(side, side, Qt::KeepAspectRatio);
    const QRectF target((side - fitted.width()) / 2, (side - fitted.height()) / 2, fitted.width(), fitted.height());
    renderer.render(&painter, target);
    return image;
}

namespace {

// One horizontal box pass over premultiplied ARGB, written transposed so that
// calling it twice covers both directions.
QImage boxPassTransposed(const QImage &src, int radius)
{
    const int w = src.width();
    const int h = src.height();
    QImage dst(h, w, QImage::Format_ARGB32_Premultiplied);
    const int window = 2 * radius + 1;
    std::vector<int> sums(4);
    for (int y = 0; y < h; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(src.constScanLine(y));
        // Outside the picture counts as transparent.
        auto pixel = [&](int x) { return x < 0 || x >= w ? QRgb(0) : line[x]; };
        std::fill(sums.begin(), sums.end(), 0);
        for (int x = -radius; x <= radius; ++x) {
            const QRgb c = pixel(x);
            sums[0] += qAlpha(c);
            sums[1] += qRed(c);
            sums[2] += qGreen(c);
            sums[3] += qBlue(c);
        }
        for (int x = 0; x < w; ++x) {
            auto *out = reinterpret_cast<QRgb *>(dst.scanLine(x));
            out[y] = qRgba(sums[1] / window, sums[2] / window, sums[3] / window, sums[0] / window);
            const QRgb a = pixel(x - radius);
            const QRgb b = pixel(x + radius + 1);
            sums[0] += qAlpha(b) - qAlpha(a);
            sums[1] += qRed(b) - qRed(a);
            sums[2] += qGreen(b) - qGreen(a);
            sums[3] += qBlue(b) - qBlue(a);
        }
    }
    return dst;
}

} // namespace

QImage blurred(const QImage &image, int radius)
{
    if (radius <= 0)
        return image;
    QImage work = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    // Three box passes of a third of the radius each approach a Gaussian.
    const int step = std::max(1, radius / 3);
    for (int pass = 0; pass < 3; ++pass)
        work = boxPassTransposed(boxPassTransposed(work, step), step);
    return work;
}

QImage silhouette(const QImage &image, const QColor &colour, int radius)
{
    QImage shape = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&shape);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(shape.rect(), colour);
    painter.end();
    return blurred(shape, radius);
}

void dither(QImage &image)
{
    // Fixed seed: the same picture on every build.
    std::minstd_rand noise(20240601u);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = line[x];
            const int a = qAlpha(c);
            if (a == 0)
                continue;
            const int d = int(noise() % 3) - 1;
            line[x] = qRgba(std::clamp(qRed(c) + d, 0, a), std::clamp(qGreen(c) + d, 0, a),
                            std::clamp(qBlue(c) + d, 0, a), a);
        }
    }
}

void drawIconWithShadow(QPainter &painter, const QImage &icon, QPointF topLeft, int shadowAlpha)
{
    const int margin = 8;
    QImage padded = transparentCanvas(icon.size() + QSize(2 * margin, 2 * margin));
    {
        QPainter p(&padded);
        p.drawImage(margin, margin, icon);
    }
    const int radius = std::max(3, icon.width() / 14);
    const QImage shadow = silhouette(padded, QColor(40, 40, 60, shadowAlpha), radius);
    const qreal drop = std::max(1.0, icon.width() / 28.0);
    painter.drawImage(topLeft + QPointF(-margin, -margin + drop), shadow);
    painter.drawImage(topLeft, icon);
}
