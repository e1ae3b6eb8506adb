#pragma once

#include "TRelEngine.h"
#include "TRelOutputOptions.h"

namespace rel {

// The standard output system: asks where the report goes ("Output Options"),
// makes the pages with "Report Status" showing, then shows them in the modal
// "Report Preview", prints them, or writes them to a file. Pages are kept in
// a temporary file, so memory does not grow with the report.
class TRelSystem : public TRelEngine
{
    Q_OBJECT

public:
    explicit TRelSystem(QObject *parent = nullptr);

    QString TitleSetup = QStringLiteral("Output Options");
    QString TitleStatus = QStringLiteral("Report Status");
    QString TitlePreview = QStringLiteral("Report Preview");
    QString TitlePrint = QStringLiteral("Relatório Vosmira"); // print job and document title
    QString StatusFormat = QStringLiteral("Generating page %p");
    QString StatusPrintFormat = QStringLiteral("Printing page %p");
    bool ShowSetupDialog = true;
    bool ShowStatus = true;
    bool PreviewMaximized = true;
    qreal PreviewZoom = 100;
    bool AllowPrintFromPreview = true;
    bool AllowSaveFromPreview = true;
    TOutputOptions DefaultOptions; // destination preview unless changed

    // Where the last run went (after the options dialog); for callers and tests.
    TOutputOptions LastOptions() const { return m_last; }

    bool Execute(ReportJob job) override;

private:
    TOutputOptions m_last;
};

} // namespace rel
