#include "ReportPrinting.h"

#include "PagePainter.h"
#include "ReportError.h"

#include <QPageLayout>
#include <QPageRanges>
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
    printer.setPageLayout(
        QPageLayout(size, setup.width > setup.height ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF()));
}

void printStream(QIODevice *stream, QPrinter &printer, const std::function<bool(int)> &progress)
{
    PageStreamReader reader(stream);
    const QList<qint64> offsets = reader.pageOffsets();
    // The print dialog may give a list ("1-3, 7"), not only a first and last page.
    const QPageRanges ranges = printer.pageRanges();
    QList<int> wanted;
    for (int n = 1; n <= int(offsets.size()); ++n) {
        if (ranges.isEmpty() || ranges.contains(n))
            wanted.append(n);
    }
    if (wanted.isEmpty())
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
    for (const int n : std::as_const(wanted)) {
        if (progress && !progress(n)) {
            printer.abort();
            break;
        }
        if (n != wanted.constFirst())
            printer.newPage();
        reader.readPageAt(offsets.at(n - 1), page);
        pages.paint(painter, page);
    }
    painter.end();
}

} // namespace rel
