#pragma once

#include "PageStream.h"

#include <QFont>

#include <vector>

class QPainter;

namespace rel {

// Draws recorded pages on any painter whose unit is the twip (a PDF writer
// at 1440 dpi, or a screen or printer painter scaled to it).
class PagePainter
{
public:
    explicit PagePainter(const PageSetup &setup, int pageCount);

    void paint(QPainter &painter, const Page &page) const;

private:
    std::vector<QFont> m_fonts;
    int m_pageCount;
};

} // namespace rel
