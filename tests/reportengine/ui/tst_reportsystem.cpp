#include "Readers.h"
#include "ScriptedDialogs.h"
#include "SyntheticClients.h"
#include "TRelOutputOptions.h"
#include "TRelPreviewForm.h"
#include "TRelProject.h"
#include "TRelStatusWindow.h"
#include "TRelSystem.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPageRanges>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

int acceptOptions(QDialog &dialog, const char *destination, int format = 0, const QString &file = QString())
{
    auto *options = qobject_cast<rel::TRelOutputOptions *>(&dialog);
    if (!options)
        return QDialog::Rejected;
    options->findChild<QRadioButton *>(QLatin1String(destination))->setChecked(true);
    options->findChild<QComboBox *>(u"cbFormat"_s)->setCurrentIndex(format);
    options->findChild<QLineEdit *>(u"edFileName"_s)->setText(file);
    return QDialog::Accepted;
}

std::function<int(QDialog &)> printTo(const QString &pdf, QString *docName = nullptr, QPageRanges ranges = {})
{
    return [pdf, docName, ranges](QDialog &dialog) {
        auto *print = qobject_cast<QPrintDialog *>(&dialog);
        if (!print)
            return int(QDialog::Rejected);
        if (docName)
            *docName = print->printer()->docName();
        print->printer()->setOutputFormat(QPrinter::PdfFormat);
        print->printer()->setOutputFileName(pdf);
        if (!ranges.isEmpty())
            print->printer()->setPageRanges(ranges);
        return int(QDialog::Accepted);
    };
}

} // namespace

class TstReportSystem : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void previewIsTheDefault();
    void cancelledOptionsMakeNothing();
    void printerDestination();
    void printFromPreview();
    void printAListOfPages();
    void fileDestination();
    void saveFromPreview_data();
    void saveFromPreview();
    void refusedSaveShowsTheError();
    void statusWindow();
    void statusWindowStops_data();
    void statusWindowStops();

private:
    bool run(rel::TRelSystem &system);

    QTemporaryDir m_dir;
    std::unique_ptr<rel::TRelMemoryConnection> m_data;
    vosmira::test::ScriptedDialogs m_dialogs;
};

void TstReportSystem::init()
{
    QVERIFY(m_dir.isValid());
    m_data = rtest::makeClients(30, rtest::Kind::Fisica);
    m_dialogs.clear();
}

void TstReportSystem::cleanup()
{
    m_data.reset();
}

bool TstReportSystem::run(rel::TRelSystem &system)
{
    rel::TRelProject project;
    project.SetProjectFile(rtest::sourceProjectFile());
    project.SetEngine(&system);
    project.AddDataConnection(m_data.get());
    project.Open();
    project.SetParam(u"GENERO1"_s, u"Show_Nome"_s);
    project.SetParam(u"GENERO2"_s, u"Show_Contato"_s);
    project.SetParam(u"GENERO3"_s, u"Show_OBS"_s);
    return project.ExecuteReport(u"RV_VOSMIRA_2"_s);
}

void TstReportSystem::previewIsTheDefault()
{
    m_dialogs.onNextWindow([](QDialog &dialog) {
        auto *options = qobject_cast<rel::TRelOutputOptions *>(&dialog);
        if (!options)
            return int(QDialog::Rejected);
        const bool preview = options->findChild<QRadioButton *>(u"rbPreview"_s)->isChecked();
        return int(preview ? QDialog::Accepted : QDialog::Rejected);
    });
    int pages = 0;
    m_dialogs.onNextWindow([&](QDialog &dialog) {
        auto *preview = qobject_cast<rel::TRelPreviewForm *>(&dialog);
        if (!preview)
            return int(QDialog::Rejected);
        [&] {
            QVERIFY(preview->windowState() & Qt::WindowMaximized);
            QCOMPARE(preview->zoom(), 100.0);
            pages = preview->pageCount();
            QVERIFY(pages > 1);
            QCOMPARE(preview->pageNumber(), 1);
            auto *label = preview->findChild<QLabel *>(u"lbPage"_s);
            QCOMPARE(label->text(), u"Página 1 de %1"_s.arg(pages));
            preview->nextPage();
            QCOMPARE(preview->pageNumber(), 2);
            preview->lastPage();
            QCOMPARE(preview->pageNumber(), pages);
            preview->nextPage();
            QCOMPARE(preview->pageNumber(), pages);
            preview->firstPage();
            preview->priorPage();
            QCOMPARE(preview->pageNumber(), 1);
            QVERIFY(!preview->currentPage().items.empty());
            preview->zoomIn();
            QCOMPARE(preview->zoom(), 125.0);
            preview->zoomOut();
            preview->zoomOut();
            QCOMPARE(preview->zoom(), 75.0);
            preview->resize(800, 600);
            preview->fitWidth();
            QVERIFY(preview->zoom() != 75.0);
        }();
        return int(QDialog::Accepted);
    });
    rel::TRelSystem system;
    QVERIFY(run(system));
    QCOMPARE(m_dialogs.pendingWindows(), 0);
    QCOMPARE(m_dialogs.windowTitles(), QStringList({u"Output Options"_s, u"Report Preview"_s}));
    QVERIFY(pages > 1);
    QVERIFY(m_dialogs.messages().isEmpty());
}

void TstReportSystem::cancelledOptionsMakeNothing()
{
    m_dialogs.onNextWindow([](QDialog &) { return int(QDialog::Rejected); });
    rel::TRelSystem system;
    QVERIFY(run(system)); // the report exists; the user stopped it
    QCOMPARE(m_dialogs.windowTitles(), QStringList{u"Output Options"_s});
}

void TstReportSystem::printerDestination()
{
    const QString pdf = m_dir.filePath(u"impresso.pdf"_s);
    QString docName;
    m_dialogs.onNextWindow([](QDialog &d) { return acceptOptions(d, "rbPrinter"); });
    m_dialogs.onNextWindow(printTo(pdf, &docName));
    rel::TRelSystem system;
    QVERIFY(run(system));
    QCOMPARE(m_dialogs.pendingWindows(), 0);
    QCOMPARE(docName, u"Relatório Vosmira"_s);
    QCOMPARE(system.LastOptions().destination, rel::TReportDest::Printer);
    const QString text = rtest::flat(rtest::pdfText(pdf));
    m_data->First();
    QVERIFY2(text.contains(m_data->DisplayText(1)), qPrintable(text.left(300)));
    QVERIFY(text.contains(u"Total de clientes: 30"_s));
    QVERIFY(rtest::pdfPageCount(pdf) > 1);
}

void TstReportSystem::printFromPreview()
{
    const QString pdf = m_dir.filePath(u"da_previa.pdf"_s);
    int pages = 0;
    m_dialogs.onNextWindow([](QDialog &d) { return acceptOptions(d, "rbPreview"); });
    m_dialogs.onNextWindow([&](QDialog &dialog) {
        auto *preview = qobject_cast<rel::TRelPreviewForm *>(&dialog);
        pages = preview->pageCount();
        m_dialogs.onNextWindow(printTo(pdf));
        preview->print();
        return int(QDialog::Accepted);
    });
    rel::TRelSystem system;
    QVERIFY(run(system));
    QCOMPARE(m_dialogs.pendingWindows(), 0);
    QCOMPARE(rtest::pdfPageCount(pdf), pages);
    QVERIFY(rtest::pdfText(pdf, pages).contains(u"Página %1 de %1"_s.arg(pages)));
}

void TstReportSystem::printAListOfPages()
{
    const QString pdf = m_dir.filePath(u"paginas.pdf"_s);
    int pages = 0;
    QPageRanges firstAndThird;
    firstAndThird.addPage(1);
    firstAndThird.addPage(3);
    m_dialogs.onNextWindow([](QDialog &d) { return acceptOptions(d, "rbPreview"); });
    m_dialogs.onNextWindow([&](QDialog &dialog) {
        auto *preview = qobject_cast<rel::TRelPreviewForm *>(&dialog);
        pages = preview->pageCount();
        m_dialogs.onNextWindow(printTo(pdf, nullptr, firstAndThird));
        preview->print();
        return int(QDialog::Accepted);
    });
    rel::TRelSystem system;
    QVERIFY(run(system));
    QCOMPARE(m_dialogs.pendingWindows(), 0);
    QVERIFY(pages >= 3);
    QCOMPARE(rtest::pdfPageCount(pdf), 2);
    QVERIFY(rtest::pdfText(pdf, 1).contains(u"Página 1 de %1"_s.arg(pages)));
    QVERIFY(rtest::pdfText(pdf, 2).contains(u"Página 3 de %1"_s.arg(pages)));
}

void TstReportSystem::fileDestination()
{
    const QString name = m_dir.filePath(u"lista"_s);
    m_dialogs.onNextWindow([&](QDialog &d) { return acceptOptions(d, "rbFile", 1, name); });
    rel::TRelSystem system;
    QVERIFY(run(system));
    QCOMPARE(m_dialogs.windowTitles(), QStringList{u"Output Options"_s});
    const rtest::HtmlContent html = rtest::htmlContent(name + u".html"_s);
    QVERIFY2(html.wellFormed, qPrintable(html.error));
    QVERIFY(html.text().contains(u"Total de clientes: 30"_s));
}

void TstReportSystem::saveFromPreview_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("extension");
    QTest::newRow("pdf") << int(rel::TFileFormat::PDF) << u".pdf"_s;
    QTest::newRow("html") << int(rel::TFileFormat::HTML) << u".html"_s;
    QTest::newRow("rtf") << int(rel::TFileFormat::RTF) << u".rtf"_s;
    QTest::newRow("txt") << int(rel::TFileFormat::Text) << u".txt"_s;
}

void TstReportSystem::saveFromPreview()
{
    QFETCH(int, format);
    QFETCH(QString, extension);
    const QString name = m_dir.filePath(u"salvo"_s);
    m_dialogs.chooseFile(name);
    m_dialogs.onNextWindow([](QDialog &d) { return acceptOptions(d, "rbPreview"); });
    m_dialogs.onNextWindow([&](QDialog &dialog) {
        qobject_cast<rel::TRelPreviewForm *>(&dialog)->saveAs(rel::TFileFormat(format));
        return int(QDialog::Accepted);
    });
    rel::TRelSystem system;
    QVERIFY(run(system));
    QCOMPARE(m_dialogs.fileRequests().size(), 1);
    QCOMPARE(m_dialogs.fileRequests().constFirst().mode, vosmira::FileRequest::Mode::Save);
    QVERIFY(QFileInfo(name + extension).isFile());
    QVERIFY(m_dialogs.messages().isEmpty());
}

void TstReportSystem::refusedSaveShowsTheError()
{
    QDir(m_dir.path()).mkpath(u"ocupado.pdf"_s);
    m_dialogs.chooseFile(m_dir.filePath(u"ocupado.pdf"_s));
    m_dialogs.onNextWindow([](QDialog &d) { return acceptOptions(d, "rbPreview"); });
    m_dialogs.onNextWindow([&](QDialog &dialog) {
        qobject_cast<rel::TRelPreviewForm *>(&dialog)->saveAs(rel::TFileFormat::PDF);
        return int(QDialog::Accepted);
    });
    rel::TRelSystem system;
    QVERIFY(run(system));
    QCOMPARE(m_dialogs.messages().size(), 1);
    QCOMPARE(m_dialogs.messages().constFirst().kind, vosmira::MessageKind::Error);
    QVERIFY(m_dialogs.messages().constFirst().text.contains(m_dir.filePath(u"ocupado.pdf"_s)));
}

void TstReportSystem::statusWindow()
{
    rel::TRelStatusWindow status(u"Report Status"_s);
    QCOMPARE(status.windowTitle(), u"Report Status"_s);
    QVERIFY(status.showPage(u"Generating page %p"_s, 7));
    QCOMPARE(status.statusText(), u"Generating page 7"_s);
    QVERIFY(status.isVisible());
    status.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Cancel)->click();
    QVERIFY(!status.showPage(u"Printing page %p"_s, 8));
    QCOMPARE(status.statusText(), u"Printing page 8"_s);
}

void TstReportSystem::statusWindowStops_data()
{
    QTest::addColumn<int>("how");
    QTest::newRow("Cancel") << 0;
    QTest::newRow("Escape") << 1;
    QTest::newRow("close box") << 2;
}

// However the user dismisses "Report Status", the run stops there.
void TstReportSystem::statusWindowStops()
{
    QFETCH(int, how);
    rel::TRelStatusWindow status(u"Report Status"_s);
    QVERIFY(status.showPage(u"Generating page %p"_s, 1));
    if (how == 0)
        status.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Cancel)->click();
    else if (how == 1)
        QTest::keyClick(&status, Qt::Key_Escape);
    else
        QVERIFY(status.close());
    QVERIFY(status.cancelled());
    QVERIFY(!status.showPage(u"Generating page %p"_s, 2));
}

QTEST_MAIN(TstReportSystem)
#include "tst_reportsystem.moc"
