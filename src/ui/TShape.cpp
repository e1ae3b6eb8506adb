#include "TShape.h"

#include <QPainter>

namespace vosmira {

TShape::TShape(QWidget *parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TShape::setBrushColor(const QColor &color)
{
    m_brush = color;
    update();
}

void TShape::setPenColor(const QColor &color)
{
    m_pen = color;
    update();
}

void TShape::setPenWidth(int width)
{
    m_penWidth = width;
    update();
}

void TShape::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    // The outline lies inside the bounds, as the pen of a shape control does.
    const int half = m_penWidth / 2;
    const QRect inner = rect().adjusted(half, half, -(m_penWidth - half), -(m_penWidth - half));
    painter.setPen(m_penWidth > 0 ? QPen(m_pen, m_penWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin)
                                  : QPen(Qt::NoPen));
    painter.setBrush(m_brush);
    painter.drawRect(inner);
}

QColor colorFromBgr(quint32 value)
{
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

} // namespace vosmira
