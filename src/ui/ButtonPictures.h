#pragma once

#include <QColor>
#include <QPixmap>

namespace vosmira {

// The pictures of the client windows' 40 x 40 picture buttons: an icon drawn in
// one colour, centred.
QPixmap savePicture(const QColor &color);
QPixmap backPicture(const QColor &color);
// The same for any one-colour SVG icon, e.g. from a window's own resources.
QPixmap tintedPicture(const QString &svgResource, const QColor &color);

} // namespace vosmira
