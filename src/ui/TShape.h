#pragma once

#include <QColor>
#include <QWidget>

namespace vosmira {

// A filled rectangle with an outline; decoration only.
class TShape : public QWidget
{
    Q_OBJECT
public:
    explicit TShape(QWidget *parent = nullptr);

    void setBrushColor(const QColor &color);
    void setPenColor(const QColor &color);
    void setPenWidth(int width);

    QColor brushColor() const { return m_brush; }
    QColor penColor() const { return m_pen; }
    int penWidth() const { return m_penWidth; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_brush = Qt::white;
    QColor m_pen = Qt::black;
    int m_penWidth = 1;
};

// Colours are kept as 24-bit numbers with red in the low byte.
QColor colorFromBgr(quint32 value);

} // namespace vosmira
