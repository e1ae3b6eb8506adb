#pragma once

#include <QSize>

#include <memory>

namespace vosmira {

// The display of the primary screen, as far as the resolution guard needs it.
// Sizes are in device pixels, as the display mode counts them.
class DisplayModes
{
public:
    virtual ~DisplayModes();

    virtual QSize primarySize() const = 0;
    // Puts the primary display into a mode of that size for this session only;
    // colour depth and refresh rate are left to the platform. False when the
    // platform refuses or has no such mode; the display is then as it was.
    virtual bool setPrimarySize(QSize size) = 0;
};

// The X Resize and Rotate extension on X11; elsewhere (Wayland, offscreen) one
// that reports the screen and refuses every change.
std::unique_ptr<DisplayModes> platformDisplayModes();

// The primary screen's size in device pixels, or an empty size without a screen.
QSize primaryScreenPixels();

} // namespace vosmira
