#include "UFrm_PRINT_RELATORIO.h"

#include "DataFixture.h"
#include "Readers.h"
#include "ScriptedDialogs.h"
#include "SyntheticClients.h"
#include "TDBGrid.h"
#include "TDataSource.h"
#include "TImage.h"

#include "ClientRecord.h"
#include "ProgramFolder.h"
#include "TRelPreviewForm.h"
#include "TRelProject.h"
#include "UDMbanco.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include <memory>

using namespace Qt::Literals::StringLiterals;
using namespace vosmira;
using vosmira::test::ScriptedDialogs;

namespace {

const QString PF = ClientRecord::pessoaFisica();
const QString PJ = ClientRecord::pessoaJuridica();

// In name order, as the datasets load them.
const QStringList kPersons{u"ANA SOUZA"_s, u"BRUNO LIMA"_s, u"CARLA DIAS"_s};
const QStringList kCompanies{u"ALFA COMERCIO LTDA"_s, u"BETA SERVICOS SA"_s, u"DELTA TRANSPORTES"_s,
                             u"GAMA INDUSTRIA"_s, u"OMEGA CONSULTORIA"_s};

enum class Project { Shipped, Missing, WithoutFullReport, Damaged };

// A report window over a temporary program folder holding three private
// persons, five companies and the report project.
struct ReportWindow
{
    TempDatabase db;
    std::unique_ptr<TDMbanco> dm;
    std::unique_ptr<TFrmPRINT_REALTORIO> form;

    explicit ReportWindow(Project project = Project::Shipped)
    {
        for (const QString &name : kPersons)
            db.addClient(name, PF, {{u"CIDADE"_s, u"Recife"_s}, {u"CPF"_s, u"52998224725"_s}});
        for (const QString &name : kCompanies) {
            db.addClient(name, PJ,
                         {{u"LOGRADOURO"_s, QString(u"Rua "_s + name.section(u' ', 0, 0))},
                          {u"CIDADE"_s, u"Belém"_s},
                          {u"OBS"_s, QString(u"Nota de "_s + name)},
                          {u"CNPJ"_s, u"11.222.333/0001-81"_s}});
        }
        // Left behind in the file: the selection starts empty all the same.
        db.exec(u"INSERT INTO PED_CLIENTE (NOME, TIPO) VALUES ('RESTO', ?)"_s, {PF});
        if (project != Project::Missing) {
            QDir().mkpath(db.programFolder() + u"Reports"_s);
            QFile source(rtest::sourceProjectFile());
            source.open(QIODevice::ReadOnly);
            QByteArray text = source.readAll();
            if (project == Project::WithoutFullReport)
                text.truncate(text.indexOf("report RV_VOSMIRA_4"));
            if (project == Project::Damaged)
                text.prepend("style nada size nan\n");
            QFile target(db.programFolder() + u"Reports/Reports_Vosmira.rav"_s);
            target.open(QIODevice::WriteOnly);
            target.write(text);
        }
        setProgramFolder(db.programFolder());
        dm = openDataModule(db);
        if (!dm)
            return;
        DMbanco = dm.get();
        open();
    }

    ~ReportWindow()
    {
        form.reset();
        DMbanco = nullptr;
        setProgramFolder(QString());
    }

    void open()
    {
        form = std::make_unique<TFrmPRINT_REALTORIO>();
        form->show();
        QCoreApplication::processEvents();
    }

    bool ready() const { return form && form->isVisible(); }

    TClientDataSet &clients() { return *dm->CDSCliente; }
    TClientDataSet &selection() { return *dm->CDS_PED_Cliente; }

    QString leftName() { return dm->CDSClienteNOME->AsString(); }
    QStringList selected()
    {
        QStringList names;
        for (int row = 0; row < selection().RecordCount(); ++row)
            names.append(selection().DisplayTextAt(row, ClientRecord::col_NOME));
        return names;
    }
    // The row the right grid highlights, once it has followed the cursor.
    int rightHighlight()
    {
        QCoreApplication::processEvents();
        return form->DBGrid2->currentIndex().row();
    }
    void goToClient(const QString &name) { QVERIFY(clients().Locate(u"NOME", name, 0)); }
    void select(const QString &name)
    {
        goToClient(name);
        form->SpeedButton4->click();
    }
    void showCompanies() { form->RG_PJ->click(); }
    // Three companies on the output page, "Endereço" and "Observações" ticked.
    void threeCompaniesWithAddressAndNotes()
    {
        showCompanies();
        for (const QString &name : {kCompanies[0], kCompanies[2], kCompanies[4]})
            select(name);
        form->SpeedButton1->click();
        form->CB_Endereco->click();
        form->CB_OBS->click();
    }
    QString outputFolder() const { return db.programFolder() + u"saida/"_s; }
};

// The text of a report file, read back by the reader of its format.
QString fileText(const QString &path)
{
    if (path.endsWith(u".pdf"))
        return rtest::pdfText(path);
    if (path.endsWith(u".html"))
        return rtest::htmlContent(path).text();
    if (path.endsWith(u".rtf"))
        return rtest::rtfContent(path).text;
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QString::fromUtf8(file.readAll());
}

} // namespace

class TstFrmPrintRelatorio : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void openingState();
    void closingEmptiesTheSelection();
    void kindSwitchEmptiesTheSelection();
    void selectOne();
    void selectOneOnTheLastRowAndOnAnEmptyList();
    void selectAllAndRemove();
    void goingOnNeedsASelection();
    void sectionsOfTheRun_data();
    void sectionsOfTheRun();
    void fileRun_data();
    void fileRun();
    void cancelledSaveWritesNothing();
    void outputOverAFileTheRunReadsIsRefused_data();
    void outputOverAFileTheRunReadsIsRefused();
    void failedRunKeepsTheWindow();
    void missingReportIsSaid();
    void unusableProjectClosesTheWindow_data();
    void unusableProjectClosesTheWindow();
    void printerRunReachesTheOutputSystem();
    void backUnticksTheSections();

private:
    std::unique_ptr<ScriptedDialogs> m_dialogs;
};

void TstFrmPrintRelatorio::init()
{
    m_dialogs = std::make_unique<ScriptedDialogs>();
}

void TstFrmPrintRelatorio::cleanup()
{
    m_dialogs.reset();
}

void TstFrmPrintRelatorio::openingState()
{
    ReportWindow w;
    QVERIFY(w.ready());
    TFrmPRINT_REALTORIO &f = *w.form;
    QCOMPARE(FrmPRINT_REALTORIO, &f);
    QCOMPARE(f.windowTitle(), u" :: RELATÓRIO"_s);
    QVERIFY(f.GB_1->isVisible());
    QVERIFY(!f.GB_2->isVisible());
    QVERIFY(f.RG_PF->isChecked());
    QCOMPARE(f.Label2->text(), u"Total de registros: 3"_s);
    QCOMPARE(f.Label3->text(), u"Registros selecionados: 0"_s);
    QCOMPARE(w.selection().RecordCount(), 0);
    w.selection().SetFiltered(false);
    QCOMPARE(w.selection().RecordCount(), 0); // the row of the file went too
    QCOMPARE(f.DBGrid1->model()->rowCount(), 3);

    QVERIFY(f.RB_1->isChecked());
    QVERIFY(f.CheckBox1->isChecked() && !f.CheckBox1->isEnabled());
    for (QCheckBox *box : {f.CB_Contato, f.CB_Endereco, f.CB_Prof, f.CB_OBS, f.CheckBox2})
        QVERIFY(!box->isChecked());
    QVERIFY(!f.Img_1->isHidden());
    for (TImage *image : {f.Img_2, f.Img_3, f.Img_4, f.Img_5})
        QVERIFY(image->isHidden());
    QVERIFY(f.RelProject1->Active());
    QVERIFY(m_dialogs->messages().isEmpty());

    // Only the checked destination's picture shows.
    f.RB_4->click();
    QVERIFY(!f.Img_4->isHidden());
    for (TImage *image : {f.Img_1, f.Img_2, f.Img_3, f.Img_5})
        QVERIFY(image->isHidden());
}

void TstFrmPrintRelatorio::closingEmptiesTheSelection()
{
    ReportWindow w;
    QVERIFY(w.ready());
    w.form->SpeedButton3->click();
    QCOMPARE(w.selection().RecordCount(), 3);
    w.form->SpeedButton2->click();
    QVERIFY(!w.form->isVisible());
    w.selection().SetFiltered(false);
    QCOMPARE(w.selection().RecordCount(), 0);
    // The clients keep the window's kind filter.
    QVERIFY(w.clients().Filtered());
    QCOMPARE(w.clients().RecordCount(), 3);

    // Whatever the datasets hold in between, the next opening starts afresh.
    w.clients().SetFilter(ClientRecord::kindFilter(PJ));
    w.selection().CopyDataFrom(w.clients());
    w.open();
    QCOMPARE(w.selection().RecordCount(), 0);
    QCOMPARE(w.form->Label2->text(), u"Total de registros: 3"_s);
}

void TstFrmPrintRelatorio::kindSwitchEmptiesTheSelection()
{
    ReportWindow w;
    QVERIFY(w.ready());
    TFrmPRINT_REALTORIO &f = *w.form;
    w.select(kPersons[0]);
    w.select(kPersons[1]);
    f.RG_PF->click(); // already checked: nothing changes
    QCOMPARE(w.selected().size(), 2);

    w.showCompanies();
    QCOMPARE(f.Label2->text(), u"Total de registros: 5"_s);
    QCOMPARE(f.Label3->text(), u"Registros selecionados: 0"_s);
    w.select(kCompanies[1]);
    QCOMPARE(f.Label3->text(), u"Registros selecionados: 1"_s);

    f.RG_PF->click();
    QCOMPARE(f.Label2->text(), u"Total de registros: 3"_s);
    QCOMPARE(f.Label3->text(), u"Registros selecionados: 0"_s);
    w.selection().SetFiltered(false);
    QCOMPARE(w.selection().RecordCount(), 0);
}

void TstFrmPrintRelatorio::selectOne()
{
    ReportWindow w;
    QVERIFY(w.ready());
    TFrmPRINT_REALTORIO &f = *w.form;
    w.showCompanies();
    w.select(kCompanies[0]);
    w.select(kCompanies[3]);
    QCOMPARE(w.selected(), QStringList({kCompanies[0], kCompanies[3]}));
    QCOMPARE(w.leftName(), kCompanies[4]); // ready for the next click
    QCOMPARE(f.Label3->text(), u"Registros selecionados: 2"_s);
    QCOMPARE(w.rightHighlight(), 1);

    // Each row carries the client's own record number.
    for (int row = 0; row < 2; ++row) {
        const QVariant code = w.db.scalar(u"SELECT CODIGO_C FROM CAD_CLIENTE WHERE NOME = ?"_s, {w.selected()[row]});
        QCOMPARE(w.selection().ValueAt(row, ClientRecord::col_CODIGO_C).toLongLong(), code.toLongLong());
        QCOMPARE(w.selection().DisplayTextAt(row, ClientRecord::col_CIDADE), u"Belém"_s);
    }

    // The same client again: refused, the earlier copy highlighted.
    w.select(kCompanies[0]);
    QCOMPARE(m_dialogs->texts(), QStringList{u"Registro já selecionado."_s});
    QCOMPARE(m_dialogs->messages().constFirst().kind, MessageKind::Plain);
    QCOMPARE(w.selected().size(), 2);
    QCOMPARE(w.rightHighlight(), 0);
    QCOMPARE(w.leftName(), kCompanies[0]);

    // A double click moves a client across and back.
    const auto doubleClick = [](TDBGrid *grid, int row) {
        QCoreApplication::processEvents(); // the grid follows the cursor first, as between two clicks
        const QRect cell = grid->visualRect(grid->model()->index(row, 0));
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    };
    doubleClick(f.DBGrid1, 2);
    QCOMPARE(w.selected(), QStringList({kCompanies[0], kCompanies[3], kCompanies[2]}));
    doubleClick(f.DBGrid2, 0);
    QCOMPARE(w.selected(), QStringList({kCompanies[3], kCompanies[2]}));
}

void TstFrmPrintRelatorio::selectOneOnTheLastRowAndOnAnEmptyList()
{
    ReportWindow w;
    QVERIFY(w.ready());
    w.select(kPersons[2]);
    QCOMPARE(w.selected(), QStringList{kPersons[2]});
    QCOMPARE(w.leftName(), kPersons[2]); // the last row stays
    w.form->SpeedButton4->click();
    QCOMPARE(m_dialogs->texts(), QStringList{u"Registro já selecionado."_s});
    QCOMPARE(w.selected().size(), 1);

    // No client of the kind: nothing is added, nothing is said.
    m_dialogs->clear();
    w.clients().SetFilter(ClientRecord::kindFilter(u"Outro"_s));
    w.form->SpeedButton4->click();
    QCOMPARE(w.selected().size(), 1);
    QVERIFY(m_dialogs->messages().isEmpty());
}

void TstFrmPrintRelatorio::selectAllAndRemove()
{
    ReportWindow w;
    QVERIFY(w.ready());
    TFrmPRINT_REALTORIO &f = *w.form;
    w.showCompanies();
    w.form->SpeedButton6->click(); // nothing to remove
    QCOMPARE(f.Label3->text(), u"Registros selecionados: 0"_s);

    w.select(kCompanies[2]);
    w.select(kCompanies[3]);
    f.SpeedButton3->click();
    QCOMPARE(w.selected(), kCompanies); // no duplicates, in the clients' order
    QCOMPARE(f.Label3->text(), u"Registros selecionados: 5"_s);
    w.selection().SetFiltered(false);
    QCOMPARE(w.selection().RecordCount(), 8); // the persons came along, out of sight
    w.selection().SetFiltered(true);

    QVERIFY(w.selection().Locate(u"NOME", kCompanies[1], 0));
    f.SpeedButton6->click();
    QCOMPARE(w.selected(), QStringList({kCompanies[0], kCompanies[2], kCompanies[3], kCompanies[4]}));
    QCOMPARE(f.Label3->text(), u"Registros selecionados: 4"_s);
    QCOMPARE(f.Label2->text(), u"Total de registros: 5"_s);

    f.SpeedButton5->click();
    QCOMPARE(f.Label3->text(), u"Registros selecionados: 0"_s);
    w.selection().SetFiltered(false);
    QCOMPARE(w.selection().RecordCount(), 0);
}

void TstFrmPrintRelatorio::goingOnNeedsASelection()
{
    ReportWindow w;
    QVERIFY(w.ready());
    TFrmPRINT_REALTORIO &f = *w.form;
    f.SpeedButton1->click();
    QCOMPARE(m_dialogs->texts(), QStringList{u"Selecione os registro a serem impressos."_s});
    QVERIFY(f.GB_1->isVisible() && !f.GB_2->isVisible());

    // Companies selected under the other kind do not count.
    w.showCompanies();
    f.SpeedButton3->click();
    f.RG_PF->click();
    f.SpeedButton1->click();
    QCOMPARE(m_dialogs->messages().size(), 2);

    w.select(kPersons[0]);
    f.SpeedButton1->click();
    QVERIFY(f.GB_2->isVisible() && !f.GB_1->isVisible());
    QCOMPARE(m_dialogs->messages().size(), 2);
}

void TstFrmPrintRelatorio::sectionsOfTheRun_data()
{
    QTest::addColumn<bool>("companies");
    QTest::addColumn<QStringList>("ticked");
    QTest::addColumn<QString>("subtitle");
    QTest::addColumn<QString>("registrationLabel"); // "" when the section is absent
    const QString pf = PF;
    const QString pj = PJ;
    QTest::newRow("name only") << false << QStringList{} << pf << QString();
    QTest::newRow("all through Marcar todos, companies")
        << true << QStringList{u"CheckBox2"_s} << pj + u"  ·  Contato, Endereço, Registro, Observações"_s << u"CNPJ"_s;
    QTest::newRow("all one by one, persons")
        << false << QStringList{u"CB_OBS"_s, u"CB_Prof"_s, u"CB_Contato"_s, u"CB_Endereco"_s}
        << pf + u"  ·  Contato, Endereço, Registro, Observações"_s << u"CPF"_s;
    QTest::newRow("contact and notes, no gap")
        << false << QStringList{u"CB_Contato"_s, u"CB_OBS"_s} << pf + u"  ·  Contato, Observações"_s << QString();
    QTest::newRow("registration alone, companies")
        << true << QStringList{u"CB_Prof"_s} << pj + u"  ·  Registro"_s << u"CNPJ"_s;
    QTest::newRow("registration alone, persons")
        << false << QStringList{u"CB_Prof"_s} << pf + u"  ·  Registro"_s << u"CPF"_s;
}

void TstFrmPrintRelatorio::sectionsOfTheRun()
{
    QFETCH(bool, companies);
    QFETCH(QStringList, ticked);
    QFETCH(QString, subtitle);
    QFETCH(QString, registrationLabel);
    ReportWindow w;
    QVERIFY(w.ready());
    TFrmPRINT_REALTORIO &f = *w.form;
    if (companies)
        w.showCompanies();
    f.SpeedButton3->click();
    f.SpeedButton1->click();
    for (const QString &name : ticked)
        f.findChild<QCheckBox *>(name)->click();
    f.RB_5->click();

    const QString path = w.outputFolder() + u"lista.txt"_s;
    QDir().mkpath(w.outputFolder());
    m_dialogs->chooseFile(path);
    f.SpeedButton7->click();
    QVERIFY2(m_dialogs->messages().isEmpty(), qPrintable(m_dialogs->texts().join(u'\n')));
    const QString text = fileText(path);
    QVERIFY2(text.contains(subtitle + u'\n'), qPrintable(text));
    QCOMPARE(text.contains(u"CNPJ"_s), registrationLabel == u"CNPJ");
    QCOMPARE(text.contains(u"CPF"_s), registrationLabel == u"CPF");
    QCOMPARE(text.contains(u"Total de clientes: "_s + QString::number(companies ? 5 : 3)), true);
    QVERIFY(!f.RelProject1->Active());
    QVERIFY(f.GB_2->isVisible()); // ready for another run
}

void TstFrmPrintRelatorio::fileRun_data()
{
    QTest::addColumn<QString>("destination");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written");
    QTest::newRow("PDF") << u"RB_2"_s << u"Arquivos de PDF | *.pdf"_s << u"lista"_s << u"lista.pdf"_s;
    QTest::newRow("HTML") << u"RB_3"_s << u"Arquivos de HTML | *.html"_s << u"lista.html"_s << u"lista.html"_s;
    QTest::newRow("RTF, written as .DOC says")
        << u"RB_4"_s << u"Arquivos de RTF | *.rtf"_s << u"lista"_s << u"lista.rtf"_s;
    QTest::newRow("text, over an existing file")
        << u"RB_5"_s << u"Arquivos de Texto | *.txt"_s << u"velho.txt"_s << u"velho.txt"_s;
    QTest::newRow("text under another extension")
        << u"RB_5"_s << u"Arquivos de Texto | *.txt"_s << u"lista.dat"_s << u"lista.dat"_s;
}

void TstFrmPrintRelatorio::fileRun()
{
    QFETCH(QString, destination);
    QFETCH(QString, filter);
    QFETCH(QString, typed);
    QFETCH(QString, written);
    ReportWindow w;
    QVERIFY(w.ready());
    QDir().mkpath(w.outputFolder());
    QFile old(w.outputFolder() + u"velho.txt"_s);
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write("RELATORIO ANTIGO") > 0);
    old.close();

    w.threeCompaniesWithAddressAndNotes();
    w.form->findChild<QRadioButton *>(destination)->click();
    m_dialogs->chooseFile(w.outputFolder() + typed);
    w.form->SpeedButton7->click();
    QVERIFY2(m_dialogs->messages().isEmpty(), qPrintable(m_dialogs->texts().join(u'\n')));

    QCOMPARE(m_dialogs->fileRequests().size(), 1);
    const FileRequest request = m_dialogs->fileRequests().constFirst();
    QCOMPARE(request.mode, FileRequest::Mode::Save);
    QCOMPARE(request.filter, filter);
    QVERIFY(request.defaultSuffix.isEmpty());
    QVERIFY(!request.confirmOverwrite);

    const QString path = w.outputFolder() + written;
    QVERIFY(!QFile::exists(path + u".txt"_s));
    const QString text = rtest::flat(fileText(path));
    QVERIFY2(!text.contains(u"RELATORIO ANTIGO"_s), qPrintable(text));
    for (int i = 0; i < kCompanies.size(); ++i)
        QCOMPARE(text.contains(kCompanies[i]), i % 2 == 0);
    for (const QString &person : kPersons)
        QVERIFY(!text.contains(person));
    QVERIFY(text.contains(u"Rua ALFA"_s));
    QVERIFY(text.contains(u"Nota de OMEGA CONSULTORIA"_s));
    QVERIFY(text.contains(u"Total de clientes: 3"_s));
    QVERIFY(!w.form->RelProject1->Active());
}

void TstFrmPrintRelatorio::cancelledSaveWritesNothing()
{
    ReportWindow w;
    QVERIFY(w.ready());
    w.threeCompaniesWithAddressAndNotes();
    w.form->RB_2->click();
    w.form->SpeedButton7->click(); // the scripted dialog is cancelled
    QCOMPARE(m_dialogs->fileRequests().size(), 1);
    QVERIFY(m_dialogs->messages().isEmpty());
    QVERIFY(!QDir(w.outputFolder()).exists());
    QVERIFY(!w.form->RelProject1->Active());
    QVERIFY(w.form->GB_2->isVisible());
    QVERIFY(w.form->CB_OBS->isChecked());
}

// Nothing asks before a file is replaced, so a name typed over the database
// would have taken every client with it.
void TstFrmPrintRelatorio::outputOverAFileTheRunReadsIsRefused_data()
{
    QTest::addColumn<QString>("typed"); // from the output folder
    QTest::addColumn<QString>("input"); // from the program folder
    QTest::newRow("the database") << u"../Banco/./Vosmira BANCO.mdb"_s << u"Banco/Vosmira BANCO.mdb"_s;
    QTest::newRow("the report project") << u"..//Reports/Reports_Vosmira.rav"_s << u"Reports/Reports_Vosmira.rav"_s;
}

void TstFrmPrintRelatorio::outputOverAFileTheRunReadsIsRefused()
{
    QFETCH(QString, typed);
    QFETCH(QString, input);
    if (testingOnServer() && input.startsWith(u"Banco"_s))
        QSKIP("no database file on a server");
    ReportWindow w;
    QVERIFY(w.ready());
    QDir().mkpath(w.outputFolder());
    QFile file(w.db.programFolder() + input);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();

    w.threeCompaniesWithAddressAndNotes();
    w.form->RB_5->click();
    m_dialogs->chooseFile(w.outputFolder() + typed);
    w.form->SpeedButton7->click();
    QCOMPARE(m_dialogs->messages().size(), 1);
    QCOMPARE(m_dialogs->messages().constFirst().kind, MessageKind::Plain);
    QVERIFY2(m_dialogs->texts().constFirst().endsWith(u"é um arquivo que o relatório lê ("_s
                                                      + QDir::toNativeSeparators(w.db.programFolder() + input)
                                                      + u"); escolha outro nome."_s),
             qPrintable(m_dialogs->texts().constFirst()));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), before);
    QVERIFY(w.form->isVisible() && w.form->GB_2->isVisible());
}

void TstFrmPrintRelatorio::failedRunKeepsTheWindow()
{
    ReportWindow w;
    QVERIFY(w.ready());
    w.threeCompaniesWithAddressAndNotes();
    w.form->RB_3->click();
    m_dialogs->chooseFile(w.outputFolder() + u"sem/pasta/lista.html"_s);
    w.form->SpeedButton7->click();
    QCOMPARE(m_dialogs->messages().size(), 1);
    QCOMPARE(m_dialogs->messages().constFirst().kind, MessageKind::Error);
    QVERIFY(m_dialogs->texts().constFirst().contains(u"lista.html"_s));
    QVERIFY(!w.form->RelProject1->Active());
    QVERIFY(w.form->isVisible() && w.form->GB_2->isVisible());

    // The next run reads the project file again and succeeds.
    QDir().mkpath(w.outputFolder());
    m_dialogs->chooseFile(w.outputFolder() + u"lista.html"_s);
    w.form->SpeedButton7->click();
    QCOMPARE(m_dialogs->messages().size(), 1);
    QVERIFY(rtest::htmlContent(w.outputFolder() + u"lista.html"_s).wellFormed);
}

void TstFrmPrintRelatorio::missingReportIsSaid()
{
    ReportWindow w(Project::WithoutFullReport);
    QVERIFY(w.ready());
    TFrmPRINT_REALTORIO &f = *w.form;
    f.SpeedButton3->click();
    f.SpeedButton1->click();
    f.CheckBox2->click();
    f.RB_5->click();
    QDir().mkpath(w.outputFolder());
    m_dialogs->chooseFile(w.outputFolder() + u"lista.txt"_s);
    f.SpeedButton7->click();
    QCOMPARE(m_dialogs->messages().size(), 1);
    QVERIFY(m_dialogs->texts().constFirst().contains(u"RV_VOSMIRA_4; nenhum arquivo foi gravado."_s));
    QVERIFY(!QFile::exists(w.outputFolder() + u"lista.txt"_s));

    f.RB_1->click();
    f.SpeedButton7->click();
    QVERIFY(m_dialogs->windowTitles().isEmpty());
    QVERIFY(m_dialogs->texts().last().contains(u"RV_VOSMIRA_4; nada foi impresso."_s));
}

void TstFrmPrintRelatorio::unusableProjectClosesTheWindow_data()
{
    QTest::addColumn<Project>("project");
    QTest::addColumn<QString>("said"); // {path}: the project file
    QTest::newRow("missing") << Project::Missing
                             << u"O seguinte arquivo não foi encontrado: ({path}) a reinstalação do programa pode "
                                u"resolver o problema."_s;
    // Never an invitation to reinstall over a file that is there.
    QTest::newRow("damaged") << Project::Damaged << u"Arquivo de projeto de relatórios inválido: {path}"_s;
}

void TstFrmPrintRelatorio::unusableProjectClosesTheWindow()
{
    QFETCH(Project, project);
    QFETCH(QString, said);
    ReportWindow w(project);
    QVERIFY(w.form);
    QCoreApplication::processEvents();
    QVERIFY(!w.form->isVisible());
    const QString path = QDir::toNativeSeparators(w.db.programFolder() + u"Reports/Reports_Vosmira.rav"_s);
    QCOMPARE(m_dialogs->texts().size(), 1);
    QVERIFY2(m_dialogs->texts().constFirst().startsWith(said.replace(u"{path}"_s, path)),
             qPrintable(m_dialogs->texts().constFirst()));
    QCOMPARE(m_dialogs->messages().constFirst().kind, MessageKind::Plain);
    w.selection().SetFiltered(false);
    QCOMPARE(w.selection().RecordCount(), 0);
}

void TstFrmPrintRelatorio::printerRunReachesTheOutputSystem()
{
    ReportWindow w;
    QVERIFY(w.ready());
    TFrmPRINT_REALTORIO &f = *w.form;
    w.threeCompaniesWithAddressAndNotes();

    // A file run first: the printer run after it still reaches the output system.
    f.RB_5->click();
    QDir().mkpath(w.outputFolder());
    m_dialogs->chooseFile(w.outputFolder() + u"antes.txt"_s);
    f.SpeedButton7->click();
    f.RB_1->click();

    QStringList generos;
    m_dialogs->onNextWindow([&](QDialog &) {
        for (int slot = 1; slot <= 5; ++slot)
            generos.append(f.RelProject1->GetParam(u"GENERO"_s + QString::number(slot)));
        return int(QDialog::Accepted); // the preview, chosen by default
    });
    QStringList shown;
    m_dialogs->onNextWindow([&](QDialog &window) {
        auto *preview = qobject_cast<rel::TRelPreviewForm *>(&window);
        if (preview) {
            for (const rel::PageItem &item : preview->currentPage().items)
                shown.append(item.text);
        }
        return int(QDialog::Accepted);
    });
    f.SpeedButton7->click();
    QVERIFY2(m_dialogs->messages().isEmpty(), qPrintable(m_dialogs->texts().join(u'\n')));
    QCOMPARE(m_dialogs->windowTitles(), QStringList({u"Output Options"_s, u"Report Preview"_s}));
    QCOMPARE(generos, QStringList({u"Show_Nome"_s, u"Show_Endereco"_s, u"Show_OBS"_s, QString(), QString()}));
    const QString page = shown.join(u'\n');
    for (int i = 0; i < kCompanies.size(); ++i)
        QCOMPARE(page.contains(kCompanies[i]), i % 2 == 0);
    QVERIFY(page.contains(u"Endereço"_s));
    QVERIFY(!f.RelProject1->Active());
}

void TstFrmPrintRelatorio::backUnticksTheSections()
{
    ReportWindow w;
    QVERIFY(w.ready());
    TFrmPRINT_REALTORIO &f = *w.form;
    w.select(kPersons[1]);
    f.SpeedButton1->click();
    f.CheckBox2->click();
    for (QCheckBox *box : {f.CB_Contato, f.CB_Endereco, f.CB_Prof, f.CB_OBS})
        QVERIFY(box->isChecked());
    f.CB_Prof->click(); // one by one leaves "Marcar todos" alone
    QVERIFY(f.CheckBox2->isChecked());
    f.RB_3->click();

    f.SpeedButton8->click();
    QVERIFY(f.GB_1->isVisible() && !f.GB_2->isVisible());
    QCOMPARE(w.selected(), QStringList{kPersons[1]});
    f.SpeedButton1->click();
    for (QCheckBox *box : {f.CB_Contato, f.CB_Endereco, f.CB_Prof, f.CB_OBS, f.CheckBox2})
        QVERIFY(!box->isChecked());
    QVERIFY(f.CheckBox1->isChecked());
    QVERIFY(f.RB_3->isChecked());

    // Escape is the back button of the page in front.
    QTest::keyClick(&f, Qt::Key_Escape);
    QVERIFY(f.GB_1->isVisible() && f.isVisible());
    QTest::keyClick(&f, Qt::Key_Escape);
    QVERIFY(!f.isVisible());
}

QTEST_MAIN(TstFrmPrintRelatorio)
#include "tst_frmprintrelatorio.moc"
