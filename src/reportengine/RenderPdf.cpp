#include "PagePainter.h"
#include "ReportError.h"
#include "TRelRender.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace rel {

TRelRenderPDF::TRelRenderPDF(QObject *parent)
    : TRelRender(QStringLiteral("Adobe Acrobat (PDF)"), QStringLiteral("*.pdf"), parent)
{
}

void TRelRenderPDF::render(PageStreamReader &reader, QIODevice &out)
{
    const PageSetup &setup = reader.setup();
    QPdfWriter pdf(&out);
    pdf.setResolution(TwipsPerInch);
    pdf.setTitle(setup.title);
    pdf.setCreator(QStringLiteral("Vosmira"));
    const QPageSize size(QSizeF(qMin(setup.width, setup.height) / 20.0, qMax(setup.width, setup.height) / 20.0),
                         QPageSize::Point, QString(), QPageSize::FuzzyMatch);
    const QPageLayout::Orientation orientation = setup.width > setup.height ? QPageLayout::Landscape
                                                                            : QPageLayout::Portrait;
    pdf.setPageLayout(QPageLayout(size, orientation, QMarginsF()));

    QPainter painter;
    if (!painter.begin(&pdf))
        throw ReportError(QStringLiteral("Não foi possível iniciar o documento PDF."));
    painter.setRenderHint(QPainter::TextAntialiasing);
    const PagePainter pages(setup, reader.pageCount());
    Page page;
    bool first = true;
    while (reader.readPage(page)) {
        if (!first)
            pdf.newPage();
        first = false;
        pages.paint(painter, page);
    }
    painter.end();
}

} // namespace rel
