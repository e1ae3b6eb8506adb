#include "ButtonPictures.h"

#include <QGuiApplication>
#include <QPainter>
#include <QSvgRenderer>

namespace vosmira {

namespace {

constexpr int kButton = 40;
constexpr int kIcon = 34;

} // namespace

QPixmap tintedPicture(const QString &resource, const QColor &color)
{
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    QImage image(QSize(kButton, kButton) * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    QSvgRenderer svg(resource);
    const int margin = (kButton - kIcon) / 2;
    svg.render(&painter, QRectF(margin, margin, kIcon, kIcon));
    // The icon's own shape, in the colour asked for.
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(QRect(0, 0, kButton, kButton), color);
    painter.end();
    return QPixmap::fromImage(image);
}

QPixmap savePicture(const QColor &color)
{
    return tintedPicture(QStringLiteral(":/ui/document-save.svg"), color);
}

QPixmap backPicture(const QColor &color)
{
    return tintedPicture(QStringLiteral(":/ui/go-previous.svg"), color);
}

} // namespace vosmira
