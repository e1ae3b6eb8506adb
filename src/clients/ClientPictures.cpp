#include "ClientPictures.h"

#include "ButtonPictures.h"

namespace vosmira {

QPixmap viewDataPicture(const QColor &color)
{
    return tintedPicture(QStringLiteral(":/clients/document-preview.svg"), color);
}

QPixmap changeDataPicture(const QColor &color)
{
    return tintedPicture(QStringLiteral(":/clients/document-edit.svg"), color);
}

QPixmap deleteClientPicture(const QColor &color)
{
    return tintedPicture(QStringLiteral(":/clients/edit-delete.svg"), color);
}

} // namespace vosmira
