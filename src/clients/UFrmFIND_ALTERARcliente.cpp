#include "UFrmFIND_ALTERARcliente.h"

#include "ButtonPictures.h"
#include "ClientPictures.h"
#include "Dialogs.h"
#include "FormBuilder.h"
#include "Handler.h"
#include "TDBGrid.h"
#include "TDataSource.h"
#include "TImage.h"
#include "UFrmCONSULTARclientes.h"
#include "UpperCaseEntry.h"

#include "DataErrors.h"
#include "UDMbanco.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QScopeGuard>
#include <QScreen>

namespace vosmira {

TFrmFIND_ALTERARcliente *FrmFIND_ALTERARcliente = nullptr;

namespace {

const QColor kCaptionColor(0, 62, 153);

} // namespace

TFrmFIND_ALTERARcliente::TFrmFIND_ALTERARcliente(QWidget *parent)
    : QDialog(parent)
{
    FrmFIND_ALTERARcliente = this;
    FormBuilder b(this);
    b.window("FrmFIND_ALTERARcliente", QStringLiteral("   CLIENTES - Consulta"));
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(485, 257);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());

    DataSource1 = new TDataSource(DMbanco->CDSCliente, this);
    DataSource1->setObjectName(QStringLiteral("DataSource1"));

    Label20 = b.label("Label20", QStringLiteral("Buscar por:"), 10, 8);
    Edit1 = b.control<QLineEdit>("Edit1", Label20, 10, 22, 400);
    setUpperCaseEntry(Edit1);
    Edit1->setToolTip(QStringLiteral(".: Digite o nome do cliente"));

    DBGrid1 = new TDBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setGeometry(10, 50, 400, 176);
    DBGrid1->setAccessibleName(QStringLiteral("Clientes"));
    DBGrid1->setColumn(QStringLiteral("NOME"), 375);
    DBGrid1->setDataSource(DataSource1);

    Label2 = b.label("Label2", QStringLiteral("Total de registros:"), 10, 234, false);

    SpeedButton4 = b.pictureButton("SpeedButton4", 435, 22, 40, 40, viewDataPicture(kCaptionColor),
                                   QStringLiteral("Ver dados"));
    SpeedButton3 = b.pictureButton("SpeedButton3", 435, 70, 40, 40, deleteClientPicture(kCaptionColor),
                                   QStringLiteral("Deletar Cliente"));
    SpeedButton2 = b.pictureButton("SpeedButton2", 435, 207, 40, 40, backPicture(kCaptionColor),
                                   QStringLiteral("Voltar"));
    QWidget::setTabOrder(Edit1, DBGrid1);

    connectHandler(Edit1, &QLineEdit::textChanged, this, &TFrmFIND_ALTERARcliente::Edit1Change);
    connectHandler(DBGrid1, &TDBGrid::dblClicked, this, &TFrmFIND_ALTERARcliente::DBGrid1DblClick);
    connectHandler(SpeedButton4, &TImage::clicked, this, &TFrmFIND_ALTERARcliente::SpeedButton4Click);
    connectHandler(SpeedButton3, &TImage::clicked, this, &TFrmFIND_ALTERARcliente::SpeedButton3Click);
    connectHandler(SpeedButton2, &TImage::clicked, this, &TFrmFIND_ALTERARcliente::SpeedButton2Click);
}

TFrmFIND_ALTERARcliente::~TFrmFIND_ALTERARcliente()
{
    if (FrmFIND_ALTERARcliente == this)
        FrmFIND_ALTERARcliente = nullptr;
}

void TFrmFIND_ALTERARcliente::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        runHandler([this] { FormShow(); });
    }
}

void TFrmFIND_ALTERARcliente::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        runHandler([this] { SpeedButton4Click(); });
        return;
    }
    QDialog::keyPressEvent(event);
}

void TFrmFIND_ALTERARcliente::FormShow()
{
    // Other desks' changes since the last read.
    DMbanco->CatchUp();
    // The report window leaves its kind filter on; the list shows every client.
    DMbanco->CDSCliente->SetFiltered(false);
    VerLabel();
    Edit1->setFocus(Qt::OtherFocusReason);
}

void TFrmFIND_ALTERARcliente::VerLabel()
{
    Label2->setText(QStringLiteral("Total de registros: ") + QString::number(DMbanco->CDSCliente->RecordCount()));
    Label2->adjustSize();
}

void TFrmFIND_ALTERARcliente::Edit1Change()
{
    TClientDataSet *clients = DMbanco->CDSCliente;
    const QString text = Edit1->text();
    if (text.trimmed().isEmpty()) {
        clients->First();
        return;
    }
    // As typed, blanks included: a leading blank normally matches nothing.
    clients->Locate(u"NOME", text, loCaseInsensitive | loPartialKey);
}

void TFrmFIND_ALTERARcliente::DBGrid1DblClick()
{
    SpeedButton4Click();
}

bool TFrmFIND_ALTERARcliente::hasClients()
{
    if (!DMbanco->CDSCliente->IsEmpty())
        return true;
    msg::plain(QStringLiteral("Não existe nenhum registro salvo."));
    return false;
}

void TFrmFIND_ALTERARcliente::SpeedButton4Click()
{
    if (!hasClients())
        return;
    // The record view shows the current row; it may delete it.
    QPointer<TFrmCONSULTARcliente> view = new TFrmCONSULTARcliente(this);
    // Freed, and its reference cleared, however its run ends.
    const auto freeView = qScopeGuard([&view] { delete view.data(); });
    execModal(*view);
    VerLabel();
}

void TFrmFIND_ALTERARcliente::SpeedButton3Click()
{
    if (!hasClients())
        return;
    if (!msg::question(QStringLiteral("Confirmação"), QStringLiteral("Tem certeza que deseja excluir esse cliente?")))
        return;
    TClientDataSet *clients = DMbanco->CDSCliente;
    clients->Delete();
    try {
        clients->ApplyUpdates(-1);
    } catch (const DatabaseError &refused) {
        if (clients->UndoLastDelete()) {
            // Still in the file, so still in the grid, highlighted as before.
            msg::plain(refusedDeleteMessage(refused));
            // Another desk changed or deleted it: the list shows what it left.
            if (refused.reason() == DatabaseError::Reason::RowChanged)
                DMbanco->CatchUp();
            VerLabel();
            return;
        }
        VerLabel();
        msg::plain(QStringLiteral("O cliente foi excluído, mas uma alteração anterior ainda não foi gravada: %1.")
                       .arg(reasonText(refused.reason())));
        return;
    }
    VerLabel();
}

void TFrmFIND_ALTERARcliente::SpeedButton2Click()
{
    close();
}

} // namespace vosmira
