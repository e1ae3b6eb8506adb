#include "UFrm_PRINT_RELATORIO.h"

#include "ClientRecord.h"
#include "Handler.h"
#include "ProgramFolder.h"
#include "ReportCommand.h"
#include "ReportComposition.h"
#include "ReportError.h"
#include "TDBGrid.h"
#include "TDataSource.h"
#include "TImage.h"
#include "TRelDataSetConnection.h"
#include "TRelPageWriter.h"
#include "TRelProject.h"
#include "TRelRender.h"
#include "TRelSystem.h"
#include "UDMbanco.h"

#include <QBuffer>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QRadioButton>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <QToolButton>

namespace vosmira {

TFrmPRINT_REALTORIO *FrmPRINT_REALTORIO = nullptr;

namespace {

TClientDataSet &clients()
{
    return *DMbanco->CDSCliente;
}

TClientDataSet &selection()
{
    return *DMbanco->CDS_PED_Cliente;
}

const QString kConnection = QStringLiteral("RelDataSetConnection1");

} // namespace

TFrmPRINT_REALTORIO::TFrmPRINT_REALTORIO(QWidget *parent)
    : QDialog(parent)
{
    FrmPRINT_REALTORIO = this;

    RelSystem1 = new rel::TRelSystem(this);
    RelSystem1->setObjectName(QStringLiteral("RelSystem1"));
    RelPageWriter1 = new rel::TRelPageWriter(this);
    RelPageWriter1->setObjectName(QStringLiteral("RelPageWriter1"));
    RelProject1 = new rel::TRelProject(this);
    RelProject1->setObjectName(QStringLiteral("RelProject1"));
    RelProject1->SetEngine(RelSystem1);
    RelDataSetConnection1 = std::make_unique<TRelDataSetConnection>(kConnection, DMbanco->CDS_PED_Cliente);
    RelProject1->AddDataConnection(RelDataSetConnection1.get());

    SaveDialog1.mode = FileRequest::Mode::Save;
    SaveDialog1.directory = QDir::homePath();
    // The renderer adds its own extension to a name typed without one; an
    // existing file is replaced without a question.
    SaveDialog1.defaultSuffix.clear();
    SaveDialog1.confirmOverwrite = false;

    buildControls();
    connectHandlers();
}

TFrmPRINT_REALTORIO::~TFrmPRINT_REALTORIO()
{
    if (m_shown)
        runHandler([this] { FormClose(); });
    RelProject1->RemoveDataConnection(RelDataSetConnection1.get());
    if (FrmPRINT_REALTORIO == this)
        FrmPRINT_REALTORIO = nullptr;
}

void TFrmPRINT_REALTORIO::connectHandlers()
{
    const auto whenChecked = [this](QAbstractButton *button, void (TFrmPRINT_REALTORIO::*handler)()) {
        connectHandler(button, &QAbstractButton::toggled, this, [this, handler](bool on) {
            if (on)
                (this->*handler)();
        });
    };
    whenChecked(RG_PF, &TFrmPRINT_REALTORIO::RG_PFClick);
    whenChecked(RG_PJ, &TFrmPRINT_REALTORIO::RG_PJClick);
    whenChecked(RB_1, &TFrmPRINT_REALTORIO::RB_1Click);
    whenChecked(RB_2, &TFrmPRINT_REALTORIO::RB_2Click);
    whenChecked(RB_3, &TFrmPRINT_REALTORIO::RB_3Click);
    whenChecked(RB_4, &TFrmPRINT_REALTORIO::RB_4Click);
    whenChecked(RB_5, &TFrmPRINT_REALTORIO::RB_5Click);
    connectHandler(CheckBox2, &QAbstractButton::toggled, this, &TFrmPRINT_REALTORIO::CheckBox2Click);

    connectHandler(SpeedButton4, &QToolButton::clicked, this, &TFrmPRINT_REALTORIO::SpeedButton4Click);
    connectHandler(SpeedButton6, &QToolButton::clicked, this, &TFrmPRINT_REALTORIO::SpeedButton6Click);
    connectHandler(SpeedButton3, &QToolButton::clicked, this, &TFrmPRINT_REALTORIO::SpeedButton3Click);
    connectHandler(SpeedButton5, &QToolButton::clicked, this, &TFrmPRINT_REALTORIO::SpeedButton5Click);
    // A double click moves a client across, as the button between the grids does.
    connectHandler(DBGrid1, &TDBGrid::dblClicked, this, &TFrmPRINT_REALTORIO::SpeedButton4Click);
    connectHandler(DBGrid2, &TDBGrid::dblClicked, this, &TFrmPRINT_REALTORIO::SpeedButton6Click);
    connectHandler(SpeedButton1, &TImage::clicked, this, &TFrmPRINT_REALTORIO::SpeedButton1Click);
    connectHandler(SpeedButton2, &TImage::clicked, this, &TFrmPRINT_REALTORIO::SpeedButton2Click);
    connectHandler(SpeedButton7, &TImage::clicked, this, &TFrmPRINT_REALTORIO::SpeedButton7Click);
    connectHandler(SpeedButton8, &TImage::clicked, this, &TFrmPRINT_REALTORIO::SpeedButton8Click);
}

void TFrmPRINT_REALTORIO::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        runHandler([this] { FormShow(); });
    }
}

void TFrmPRINT_REALTORIO::FormShow()
{
    // Other desks' changes since the last read.
    DMbanco->CatchUp();
    selection().EmptyDataSet();
    setKind(ClientRecord::pessoaFisica());
    RefreshLabels();
    RB_1->setChecked(true);
    CheckBox1->setChecked(true);
    // Closing from inside the show would leave the modal loop waiting on a hidden window.
    if (!prepareProject())
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

bool TFrmPRINT_REALTORIO::prepareProject()
{
    const QString path = reportProjectPath(programFolder());
    try {
        RelProject1->Close();
        RelProject1->SetProjectFile(path);
        RelProject1->Open();
        return true;
    } catch (const rel::ReportError &error) {
        // A project that is there but damaged is named with its file and line:
        // reinstalling is the answer only to a missing one.
        if (QFileInfo::exists(path))
            msg::plain(error.text());
        else
            msg::plain(QStringLiteral("O seguinte arquivo não foi encontrado: (") + QDir::toNativeSeparators(path)
                       + QStringLiteral(") a reinstalação do programa pode resolver o problema."));
        return false;
    }
}

void TFrmPRINT_REALTORIO::FormClose()
{
    if (DMbanco && selection().Active())
        selection().EmptyDataSet();
}

void TFrmPRINT_REALTORIO::closeEvent(QCloseEvent *event)
{
    runHandler([this] { FormClose(); });
    QDialog::closeEvent(event);
}

void TFrmPRINT_REALTORIO::done(int result)
{
    runHandler([this] { FormClose(); });
    QDialog::done(result);
}

void TFrmPRINT_REALTORIO::keyPressEvent(QKeyEvent *event)
{
    // Escape is the back button of the page in front: from the output page it
    // goes back to the selection, not out of the window.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        runHandler([this] {
            if (GB_2->isVisible())
                SpeedButton8Click();
            else
                SpeedButton2Click();
        });
        return;
    }
    QDialog::keyPressEvent(event);
}

void TFrmPRINT_REALTORIO::RefreshLabels()
{
    Label2->setText(QStringLiteral("Total de registros: ") + QString::number(clients().RecordCount()));
    Label2->adjustSize();
    Label3->setText(QStringLiteral("Registros selecionados: ") + QString::number(selection().RecordCount()));
    Label3->adjustSize();
}

void TFrmPRINT_REALTORIO::setKind(const QString &kind)
{
    const QString filter = ClientRecord::kindFilter(kind);
    for (TClientDataSet *dataSet : {&clients(), &selection()}) {
        dataSet->SetFilter(filter);
        dataSet->SetFiltered(true);
    }
}

void TFrmPRINT_REALTORIO::RG_PFClick()
{
    selection().EmptyDataSet();
    setKind(ClientRecord::pessoaFisica());
    RefreshLabels();
}

void TFrmPRINT_REALTORIO::RG_PJClick()
{
    selection().EmptyDataSet();
    setKind(ClientRecord::pessoaJuridica());
    RefreshLabels();
}

void TFrmPRINT_REALTORIO::SpeedButton4Click()
{
    // An empty list has no client to select; no empty row enters the selection.
    if (clients().IsEmpty())
        return;
    const QString name = DMbanco->CDSClienteNOME->AsString();
    if (selection().Locate(u"NOME", name, 0)) {
        msg::plain(QStringLiteral("Registro já selecionado."));
        return;
    }
    // The whole row, CODIGO_C included, so the selection can be traced to its client.
    selection().AppendRecordFrom(clients());
    RefreshLabels();
    clients().Next();
}

void TFrmPRINT_REALTORIO::SpeedButton6Click()
{
    if (!selection().IsEmpty())
        selection().Delete();
    RefreshLabels();
}

void TFrmPRINT_REALTORIO::SpeedButton3Click()
{
    selection().EmptyDataSet();
    // Both kinds come across; the selection's filter keeps the other kind out of sight.
    selection().CopyDataFrom(clients());
    RefreshLabels();
}

void TFrmPRINT_REALTORIO::SpeedButton5Click()
{
    selection().EmptyDataSet();
    RefreshLabels();
}

void TFrmPRINT_REALTORIO::SpeedButton1Click()
{
    if (selection().IsEmpty()) {
        msg::plain(QStringLiteral("Selecione os registro a serem impressos."));
        return;
    }
    showPage(GB_2);
}

void TFrmPRINT_REALTORIO::SpeedButton2Click()
{
    close();
}

void TFrmPRINT_REALTORIO::showPage(QGroupBox *page)
{
    // The page behind is hidden too, so neither the focus nor the mouse reaches it.
    for (QGroupBox *each : {GB_1, GB_2})
        each->setVisible(each == page);
    page->raise();
}

void TFrmPRINT_REALTORIO::CheckBox2Click()
{
    const bool on = CheckBox2->isChecked();
    for (QCheckBox *box : {CB_Contato, CB_Endereco, CB_Prof, CB_OBS})
        box->setChecked(on);
}

void TFrmPRINT_REALTORIO::HideImg()
{
    for (TImage *image : {Img_1, Img_2, Img_3, Img_4, Img_5})
        image->hide();
}

void TFrmPRINT_REALTORIO::RB_1Click()
{
    HideImg();
    Img_1->show();
}

void TFrmPRINT_REALTORIO::RB_2Click()
{
    HideImg();
    Img_2->show();
}

void TFrmPRINT_REALTORIO::RB_3Click()
{
    HideImg();
    Img_3->show();
}

void TFrmPRINT_REALTORIO::RB_4Click()
{
    HideImg();
    Img_4->show();
}

void TFrmPRINT_REALTORIO::RB_5Click()
{
    HideImg();
    Img_5->show();
}

void TFrmPRINT_REALTORIO::SpeedButton8Click()
{
    for (QCheckBox *box : {CB_Contato, CB_Endereco, CB_Prof, CB_OBS, CheckBox2})
        box->setChecked(false);
    showPage(GB_1);
}

void TFrmPRINT_REALTORIO::SpeedButton7Click()
{
    // An accessibility press is not held back by the engine's modal windows.
    if (m_running)
        return;
    const QScopedValueRollback<bool> running(m_running, true);
    // Every run ends with the project closed, so the next reads the file afresh.
    const auto closeProject = qScopeGuard([this] { RelProject1->Close(); });
    RelProject1->Open();
    const ReportSections sections{CB_Contato->isChecked(), CB_Endereco->isChecked(), CB_Prof->isChecked(),
                                  CB_OBS->isChecked()};
    const QString report = composeReport(*RelProject1, sections, !RG_PF->isChecked());
    if (!RB_1->isChecked()) {
        runToFile(report);
        return;
    }
    RelProject1->SetEngine(RelSystem1);
    if (!RelProject1->ExecuteReport(report))
        msg::plain(QStringLiteral("O arquivo de relatórios (%1) não tem o relatório %2; nada foi impresso.")
                       .arg(QDir::toNativeSeparators(RelProject1->ProjectFile()), report));
}

void TFrmPRINT_REALTORIO::runToFile(const QString &report)
{
    rel::TFileFormat format = rel::TFileFormat::Text;
    if (RB_2->isChecked()) {
        format = rel::TFileFormat::PDF;
        SaveDialog1.filter = QStringLiteral("Arquivos de PDF | *.pdf");
    } else if (RB_3->isChecked()) {
        format = rel::TFileFormat::HTML;
        SaveDialog1.filter = QStringLiteral("Arquivos de HTML | *.html");
    } else if (RB_4->isChecked()) {
        format = rel::TFileFormat::RTF;
        SaveDialog1.filter = QStringLiteral("Arquivos de RTF | *.rtf");
    } else {
        SaveDialog1.filter = QStringLiteral("Arquivos de Texto | *.txt");
    }
    const QString fileName = DialogService::current().fileName(this, SaveDialog1);
    if (fileName.isEmpty())
        return;
    SaveDialog1.directory = QFileInfo(fileName).absolutePath();
    const QString target = rel::makeRenderer(format)->TargetFileName(fileName);
    if (const QString input = reportInputAt(target, DMbanco->databasePath(), RelProject1->ProjectFile());
        !input.isEmpty()) {
        msg::plain(outputIsAnInputMessage(target, input));
        return;
    }

    QBuffer stream;
    RelPageWriter1->SetStream(&stream);
    RelPageWriter1->SetStreamMode(rel::smUserStream);
    RelProject1->SetEngine(RelPageWriter1);
    // Outside a file run the project's target is the output system.
    const auto restore = qScopeGuard([this] {
        RelProject1->SetEngine(RelSystem1);
        RelPageWriter1->SetStream(nullptr);
    });
    if (!RelProject1->ExecuteReport(report)) {
        msg::plain(QStringLiteral("O arquivo de relatórios (%1) não tem o relatório %2; nenhum arquivo foi gravado.")
                       .arg(QDir::toNativeSeparators(RelProject1->ProjectFile()), report));
        return;
    }
    rel::makeRenderer(format)->PrintRender(&stream, fileName);
}

} // namespace vosmira
