#include "TRelPageView.h"

#include <QPainter>

namespace rel {

namespace {
constexpr int Border = 16;
}

TRelPageView::TRelPageView(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("RelPageView"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TRelPageView::setDocument(const PageSetup &setup, int pageCount)
{
    m_setup = setup;
    m_painter = std::make_unique<PagePainter>(setup, pageCount);
    updateGeometry();
    resize(sizeHint());
}

void TRelPageView::setPage(const Page &page)
{
    m_page = page;
    update();
}

qreal TRelPageView::pixelsPerTwip() const
{
    return m_zoom / 100.0 * logicalDpiX() / TwipsPerInch;
}

QSize TRelPageView::pageSize() const
{
    return QSize(qRound(m_setup.width * pixelsPerTwip()), qRound(m_setup.height * pixelsPerTwip()));
}

void TRelPageView::setZoom(qreal percent)
{
    m_zoom = qBound<qreal>(10, percent, 800);
    updateGeometry();
    resize(sizeHint());
    update();
}

qreal TRelPageView::zoomForWidth(int width) const
{
    return 100.0 * (width - 2 * Border) / (m_setup.width * qreal(logicalDpiX()) / TwipsPerInch);
}

qreal TRelPageView::zoomForPage(const QSize &size) const
{
    const qreal byHeight = 100.0 * (size.height() - 2 * Border)
                           / (m_setup.height * qreal(logicalDpiY()) / TwipsPerInch);
    return qMin(zoomForWidth(size.width()), byHeight);
}

QSize TRelPageView::sizeHint() const
{
    return pageSize() + QSize(2 * Border, 2 * Border);
}

void TRelPageView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0x8a, 0x8f, 0x96));
    const QSize size = pageSize();
    const QPoint origin((width() - size.width()) / 2, Border);
    painter.fillRect(QRect(origin + QPoint(3, 3), size), QColor(0, 0, 0, 90));
    painter.fillRect(QRect(origin, size), Qt::white);
    if (!m_painter)
        return;
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setClipRect(QRect(origin, size));
    painter.translate(origin);
    painter.scale(pixelsPerTwip(), pixelsPerTwip());
    m_painter->paint(painter, m_page);
}

} // namespace rel
