#pragma once

#include <QIcon>

// The embedded artwork lives under ":/art" (logo.png, banner.png, icon.png,
// about_logo.png, about_background.png, backup.png, button1.png ... button6.png).
namespace Art {

// The program icon with its hand-drawn small sizes, so title bars stay crisp.
QIcon programIcon();

} // namespace Art
