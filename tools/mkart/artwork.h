#pragma once

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

// What one run of the tool is asked to paint.
struct ArtJob
{
    QStringList icons; // SVG files, the first is the main one
    QSize size;        // output size in pixels
    bool highlighted = false;
    QString note; // extra words after a logo's subtitle
};

// The window colour the main window and its picture buttons share.
inline const QColor windowColour{224, 223, 227};
// The colour a caption label takes under the pointer; the highlight follows it.
inline const QColor hoverBlue{0, 121, 242};

QImage paintButton(const ArtJob &job);
QImage paintLogo(const ArtJob &job);
QImage paintBanner(const ArtJob &job);
QImage paintBackdrop(const ArtJob &job);
QImage paintIcon(const ArtJob &job);
