#pragma once

#include <QFont>

// Fonts the artwork is lettered in; the files are handed to the tool so the
// result does not depend on the machine's font configuration.
QFont titleFont(int pixelSize);
QFont textFont(int pixelSize, QFont::Weight weight = QFont::Normal);
