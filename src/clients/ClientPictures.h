#pragma once

#include <QColor>
#include <QPixmap>

namespace vosmira {

// The pictures of the client list's and the record view's own picture buttons.
QPixmap viewDataPicture(const QColor &color);
QPixmap changeDataPicture(const QColor &color);
QPixmap deleteClientPicture(const QColor &color);

} // namespace vosmira
