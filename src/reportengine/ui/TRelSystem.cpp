#include "TRelSystem.h"

#include "Dialogs.h"
#include "ReportError.h"
#include "ReportPrinting.h"
#include "TRelDialogRunner.h"
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
        if (TRelDialogRunner::current().exec(setup) != QDialog::Accepted)
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
        const bool done = layoutReport(job, writer, [&](int page) {
            return !status || status->showPage(StatusFormat, page);
        });
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
        TRelDialogRunner::current().exec(preview);
        break;
    }
    case TReportDest::Printer: {
        QPrinter printer(QPrinter::HighResolution);
        preparePrinter(printer, PageStreamReader(&pages).setup(), TitlePrint);
        printer.setCopyCount(m_last.copies);
        QPrintDialog dialog(&printer, parent);
        dialog.setObjectName(QStringLiteral("RelPrintDialog"));
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
        if (TRelDialogRunner::current().exec(dialog) != QDialog::Accepted)
            return false;
        std::unique_ptr<TRelStatusWindow> status;
        if (ShowStatus)
            status = std::make_unique<TRelStatusWindow>(TitleStatus, parent);
        printStream(&pages, printer, [&](int page) { return !status || status->showPage(StatusPrintFormat, page); });
        break;
    }
    case TReportDest::File: {
        std::unique_ptr<TRelRender> renderer;
        switch (m_last.format) {
        case TFileFormat::PDF: renderer = std::make_unique<TRelRenderPDF>(); break;
        case TFileFormat::HTML: renderer = std::make_unique<TRelRenderHTML>(); break;
        case TFileFormat::RTF: renderer = std::make_unique<TRelRenderRTF>(); break;
        case TFileFormat::Text: renderer = std::make_unique<TRelRenderText>(); break;
        }
        renderer->PrintRender(&pages, m_last.fileName);
        break;
    }
    }
    return true;
}

} // namespace rel
