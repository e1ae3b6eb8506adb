#pragma once

#include <QColor>
#include <QPixmap>

namespace vosmira {

// The padlock of the login prompt and the key of the account pages, size x size.
QPixmap lockPicture(int size);
QPixmap accountPicture(int size);

// 40 x 40 picture buttons, drawn in one colour.
QPixmap confirmPicture(const QColor &color);
QPixmap createPicture(const QColor &color);
QPixmap deletePicture(const QColor &color);

} // namespace vosmira
