#include "TRelSystem.h"

#include "Dialogs.h"
#include "ReportError.h"
#include "ReportPrinting.h"
#include "TRelPreviewForm.h"
#include "TRelRender.h"
#include "TRelStatusWindow.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QTemporaryFile>

#include <memory>

namespace rel {

TRelSystem::TRelSystem(QObject *parent)
    : TRelEngine(parent)
{
}

bool TRelSystem::Execute(ReportJob job)
{
    QWidget *parent = vosmira::dialogParent();
    m_last = DefaultOptions;
    if (ShowSetupDialog) {
        TRelOutputOptions setup(TitleSetup, DefaultOptions, parent);
        if (vosmira::execModal(setup) != QDialog::Accepted)
            return false;
        m_last = setup.options();
    }

    QTemporaryFile pages;
    if (!pages.open())
        throw ReportError(QStringLiteral("Não foi possível criar o arquivo temporário das páginas do relatório."));
    job.title = TitlePrint;
    {
        std::unique_ptr<TRelStatusWindow> status;
        if (ShowStatus)
            status = std::make_unique<TRelStatusWindow>(TitleStatus, parent);
        PageStreamWriter writer(&pages);
        const bool done = layoutReport(job, writer,
                                       [&](int page) { return !status || status->showPage(StatusFormat, page); });
        if (!done)
            return false;
    }

    switch (m_last.destination) {
    case TReportDest::Preview: {
        TPreviewSettings settings;
        settings.title = TitlePreview;
        settings.jobTitle = TitlePrint;
        settings.printStatus = StatusPrintFormat;
        settings.statusTitle = TitleStatus;
        settings.zoom = PreviewZoom;
        settings.maximized = PreviewMaximized;
        settings.allowPrint = AllowPrintFromPreview;
        settings.allowSave = AllowSaveFromPreview;
        TRelPreviewForm preview(&pages, settings, parent);
        vosmira::execModal(preview);
        break;
    }
    case TReportDest::Printer: {
        QPrinter printer(QPrinter::HighResolution);
        preparePrinter(printer, PageStreamReader(&pages).setup(), TitlePrint);
        printer.setCopyCount(m_last.copies);
        QPrintDialog dialog(&printer, parent);
        dialog.setObjectName(QStringLiteral("RelPrintDialog"));
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
        if (vosmira::execModal(dialog) != QDialog::Accepted)
            return false;
        std::unique_ptr<TRelStatusWindow> status;
        if (ShowStatus)
            status = std::make_unique<TRelStatusWindow>(TitleStatus, parent);
        printStream(&pages, printer, [&](int page) { return !status || status->showPage(StatusPrintFormat, page); });
        break;
    }
    case TReportDest::File: makeRenderer(m_last.format)->PrintRender(&pages, m_last.fileName); break;
    }
    return true;
}

} // namespace rel
