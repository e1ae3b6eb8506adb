#pragma once

#include "PagePainter.h"

#include <QWidget>

#include <memory>

namespace rel {

// One recorded page on screen, at a zoom where 100 is the paper's real size.
class TRelPageView : public QWidget
{
    Q_OBJECT

public:
    explicit TRelPageView(QWidget *parent = nullptr);

    void setDocument(const PageSetup &setup, int pageCount);
    void setPage(const Page &page);
    const Page &page() const { return m_page; }

    qreal zoom() const { return m_zoom; }
    void setZoom(qreal percent);
    // The zoom at which a page's width (or whole page) fits the given size.
    qreal zoomForWidth(int width) const;
    qreal zoomForPage(const QSize &size) const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    qreal pixelsPerTwip() const;
    QSize pageSize() const;

    PageSetup m_setup;
    std::unique_ptr<PagePainter> m_painter;
    Page m_page;
    qreal m_zoom = 100;
};

} // namespace rel
