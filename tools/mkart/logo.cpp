#include "artwork.h"
#include "canvas.h"
#include "fonts.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>

#include <algorithm>

// The product logo: the program icon beside the name and what the program is for.
// Transparent, so it sits on whatever the window paints behind it.
QImage paintLogo(const ArtJob &job)
{
    const QSize size = job.size;
    QImage image = transparentCanvas(size);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform | QPainter::TextAntialiasing);

    const qreal h = size.height();
    const int side = int(h * 0.80);
    const QFont title = titleFont(int(h * 0.50));
    const QFont subtitle = textFont(std::max(11, int(h * 0.145)));
    const QString name = QStringLiteral("Vosmira");
    const QString purpose = job.note.isEmpty() ? QStringLiteral("Cadastro de Clientes")
                                               : QStringLiteral("Cadastro de Clientes  \u00b7  ") + job.note;

    const QFontMetricsF titleMetrics(title);
    const QFontMetricsF subtitleMetrics(subtitle);
    const qreal gap = h * 0.12;
    const qreal textWidth = std::max(titleMetrics.horizontalAdvance(name), subtitleMetrics.horizontalAdvance(purpose));
    const qreal left = std::max(2.0, (size.width() - side - gap - textWidth) / 2);

    const QImage icon = renderSvg(job.icons.value(0), side);
    drawIconWithShadow(painter, icon, QPointF(left, (h - side) / 2), 70);

    // Name on top, a thin rule in the hover blue, then the purpose.
    const qreal textLeft = left + side + gap;
    const qreal blockHeight = titleMetrics.ascent() + h * 0.10 + subtitleMetrics.height();
    const qreal top = (h - blockHeight) / 2;
    const qreal baseline = top + titleMetrics.ascent();

    painter.setFont(title);
    painter.setPen(QColor(255, 255, 255, 160));
    painter.drawText(QPointF(textLeft, baseline + 1), name);
    painter.setPen(QColor(43, 58, 85));
    painter.drawText(QPointF(textLeft, baseline), name);

    const qreal ruleY = baseline + h * 0.05;
    QLinearGradient rule(QPointF(textLeft, ruleY), QPointF(textLeft + textWidth, ruleY));
    QColor start = hoverBlue;
    QColor end = hoverBlue;
    end.setAlpha(0);
    rule.setColorAt(0.0, start);
    rule.setColorAt(1.0, end);
    painter.fillRect(QRectF(textLeft, ruleY, textWidth, std::max(1.5, h * 0.016)), rule);

    painter.setFont(subtitle);
    painter.setPen(QColor(95, 102, 112));
    painter.drawText(QPointF(textLeft, ruleY + h * 0.05 + subtitleMetrics.ascent()), purpose);
    return image;
}
