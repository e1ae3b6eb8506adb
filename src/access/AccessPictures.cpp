#include "AccessPictures.h"

#include "ButtonPictures.h"

#include <QGuiApplication>
#include <QPainter>
#include <QSvgRenderer>

namespace vosmira {

namespace {

QPixmap render(const QString &resource, int size)
{
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    QImage image(QSize(size, size) * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    QSvgRenderer(resource).render(&painter, QRectF(0, 0, size, size));
    painter.end();
    return QPixmap::fromImage(image);
}

} // namespace

QPixmap lockPicture(int size)
{
    return render(QStringLiteral(":/access/64x64/apps/system-lock-screen.svg"), size);
}

QPixmap accountPicture(int size)
{
    return render(QStringLiteral(":/access/64x64/apps/preferences-desktop-user-password.svg"), size);
}

QPixmap confirmPicture(const QColor &color)
{
    return tintedPicture(QStringLiteral(":/access/24x24/actions/go-next.svg"), color);
}

QPixmap createPicture(const QColor &color)
{
    return tintedPicture(QStringLiteral(":/access/24x24/actions/list-add.svg"), color);
}

QPixmap deletePicture(const QColor &color)
{
    return tintedPicture(QStringLiteral(":/access/24x24/actions/edit-delete.svg"), color);
}

} // namespace vosmira
