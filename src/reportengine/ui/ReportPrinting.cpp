#include "ReportPrinting.h"

#include "PagePainter.h"
#include "ReportError.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>

namespace rel {

void preparePrinter(QPrinter &printer, const PageSetup &setup, const QString &jobTitle)
{
    printer.setDocName(jobTitle);
    printer.setFullPage(true);
    const QPageSize size(QSizeF(qMin(setup.width, setup.height) / 20.0, qMax(setup.width, setup.height) / 20.0),
                         QPageSize::Point, QString(), QPageSize::FuzzyMatch);
    printer.setPageLayout(QPageLayout(size, setup.width > setup.height ? QPageLayout::Landscape : QPageLayout::Portrait,
                                      QMarginsF()));
}

void printStream(QIODevice *stream, QPrinter &printer, const std::function<bool(int)> &progress)
{
    PageStreamReader reader(stream);
    const QList<qint64> offsets = reader.pageOffsets();
    int from = printer.fromPage() > 0 ? printer.fromPage() : 1;
    int to = printer.toPage() > 0 ? printer.toPage() : int(offsets.size());
    to = qMin(to, int(offsets.size()));
    if (from > to)
        return;

    QPainter painter;
    if (!painter.begin(&printer))
        throw ReportError(QStringLiteral("Não foi possível iniciar a impressão do relatório."));
    const qreal scale = printer.resolution() / qreal(TwipsPerInch);
    // Printers that cannot reach the paper's edge shift the page by their margin.
    const QPointF origin = printer.fullPage() ? QPointF() : -printer.pageRect(QPrinter::DevicePixel).topLeft();
    painter.translate(origin);
    painter.scale(scale, scale);
    const PagePainter pages(reader.setup(), reader.pageCount());
    Page page;
    for (int n = from; n <= to; ++n) {
        if (progress && !progress(n)) {
            printer.abort();
            break;
        }
        if (n > from)
            printer.newPage();
        reader.readPageAt(offsets.at(n - 1), page);
        pages.paint(painter, page);
    }
    painter.end();
}

} // namespace rel
