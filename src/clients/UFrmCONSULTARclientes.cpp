#include "UFrmCONSULTARclientes.h"

#include "ButtonPictures.h"
#include "ClientPictures.h"
#include "Dialogs.h"
#include "DuplicateWarning.h"
#include "FormBuilder.h"
#include "Handler.h"
#include "TDBComboBox.h"
#include "TDBEdit.h"
#include "TDBMemo.h"
#include "TDataSource.h"
#include "TDateEdit.h"
#include "TImage.h"
#include "TShape.h"

#include "CheckDigits.h"
#include "ClientRecord.h"
#include "DataErrors.h"
#include "UDMbanco.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScopedValueRollback>

#include <optional>
#include <utility>

namespace vosmira {

TFrmCONSULTARcliente *FrmCONSULTARcliente = nullptr;

namespace {

const QColor kCaptionColor(0, 62, 153);
const QColor kViewingColor = colorFromBgr(8404992);
const QStringList kCreditStatus = {QStringLiteral("Em analise"), QStringLiteral("Aprovado"),
                                   QStringLiteral("Reprovado")};

bool isEnter(const QKeyEvent *event)
{
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

} // namespace

TFrmCONSULTARcliente::TFrmCONSULTARcliente(QWidget *parent)
    : QDialog(parent)
{
    FrmCONSULTARcliente = this;
    buildControls();

    connectHandler(RadioButton1, &QRadioButton::clicked, this, &TFrmCONSULTARcliente::RadioButton1Click);
    connectHandler(RadioButton2, &QRadioButton::clicked, this, &TFrmCONSULTARcliente::RadioButton2Click);
    connectHandler(ComboBox1, &QComboBox::activated, this, &TFrmCONSULTARcliente::ComboBox1Select);
    connectHandler(Memo1, &QPlainTextEdit::textChanged, this, &TFrmCONSULTARcliente::Memo1Change);
    connectHandler(SpeedButton1, &TImage::clicked, this, &TFrmCONSULTARcliente::SpeedButton1Click);
    connectHandler(SpeedButton4, &TImage::clicked, this, &TFrmCONSULTARcliente::SpeedButton4Click);
    connectHandler(SpeedButton3, &TImage::clicked, this, &TFrmCONSULTARcliente::SpeedButton3Click);
    connectHandler(SpeedButton2, &TImage::clicked, this, &TFrmCONSULTARcliente::SpeedButton2Click);
    connectHandler(DBEdit9, &TDBEdit::exited, this, &TFrmCONSULTARcliente::DBEdit9Exit);
    connectHandler(DBEdit16, &TDBEdit::exited, this, &TFrmCONSULTARcliente::DBEdit16Exit);

    for (QWidget *control : std::as_const(m_dataControls)) {
        control->installEventFilter(this);
        if (control == Memo1)
            Memo1->viewport()->installEventFilter(this);
    }
}

TFrmCONSULTARcliente::~TFrmCONSULTARcliente()
{
    if (m_shown)
        runHandler([this] { FormCloseQuery(); });
    if (FrmCONSULTARcliente == this)
        FrmCONSULTARcliente = nullptr;
}

void TFrmCONSULTARcliente::buildControls()
{
    FormBuilder b(this);
    b.window("FrmCONSULTARcliente", QStringLiteral(" :: CONTATO - Consultar"));
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(941, 401);
    move(41, 210);

    // Below the kind buttons and the name box, which cover them.
    Shape1 = b.shape("Shape1", 6, 2, 250, 22);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(14, 43, 294, 21);
    Edit1->setFocusPolicy(Qt::ClickFocus); // never a Tab stop of its own

    buildClientControls(this, b, 2);

    TDataSource *ds = DataSource1;
    TDMbanco *dm = DMbanco;
    // Each in the place of the control that replaces it while editing.
    const auto over = [&](const char *name, QWidget *editControl, QLabel *caption, TField *field, int maxLength) {
        const QRect place = editControl->geometry();
        return b.edit(name, caption, place.x(), place.y(), place.width(), ds, field, maxLength);
    };
    DBEdit37 = over("DBEdit37", TimePeck_NACIMENTO, Label37, dm->CDSClienteNACIMENTO, 10);
    DBEdit38 = over("DBEdit38", TimePeck_FUNDACAO, Label32, dm->CDSClienteFUNDACAO, 10);
    DBEdit36 = over("DBEdit36", ComboBox1, Label20, dm->CDSClienteCRED_STATUS, 0);
    DBEdit35 = over("DBEdit35", DateTimePicker1, Label22, dm->CDSClienteCRED_CONSULTA, 10);
    DBEdit34 = over("DBEdit34", TimePeck_DESDE, Label4, dm->CDSClienteCRED_DESDE, 10);
    for (QWidget *editOnly : {static_cast<QWidget *>(TimePeck_NACIMENTO), static_cast<QWidget *>(TimePeck_FUNDACAO),
                              static_cast<QWidget *>(DateTimePicker1), static_cast<QWidget *>(TimePeck_DESDE),
                              static_cast<QWidget *>(ComboBox1)})
        editOnly->hide();

    // The boxes here take what their columns hold; the house number keeps its four.
    for (TDBEdit *edit : findChildren<TDBEdit *>()) {
        if (!edit->isMasked() && edit->Field()->DataType() == ClientRecord::Kind::Text)
            edit->setMaxLength(edit == DBEdit6 ? 4 : edit->Field()->Size());
        edit->setCursorPosition(0); // a new limit puts it at the end
    }
    // Values stored by older versions, or by other programs, show as they are.
    for (TDBComboBox *list : findChildren<TDBComboBox *>())
        list->setKeepsForeignValues(true);

    m_companyControls.append(DBEdit38);
    m_personControls.append(DBEdit37);

    for (TDBEdit *edit : findChildren<TDBEdit *>())
        m_dataControls.append(edit);
    for (TDBComboBox *list : findChildren<TDBComboBox *>())
        m_dataControls.append(list);
    m_dataControls.append(Memo1);

    SpeedButton1 = b.pictureButton("SpeedButton1", 893, 26, 40, 40, savePicture(kCaptionColor),
                                   QStringLiteral("Salvar"));
    SpeedButton4 = b.pictureButton("SpeedButton4", 893, 74, 40, 40, changeDataPicture(kCaptionColor),
                                   QStringLiteral("Alterar Dados"));
    SpeedButton3 = b.pictureButton("SpeedButton3", 893, 122, 40, 40, deleteClientPicture(kCaptionColor),
                                   QStringLiteral("Deletar Cliente"));
    SpeedButton2 = b.pictureButton("SpeedButton2", 893, 170, 40, 40, backPicture(kCaptionColor),
                                   QStringLiteral("Voltar"));
}

void TFrmCONSULTARcliente::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        runHandler([this] { FormShow(); });
        // Once, as the window opens: activations after a message box would undo
        // a kind the user picked.
        runHandler([this] { FormActivate(); });
    }
}

void TFrmCONSULTARcliente::FormShow()
{
    Memo1Change();
    CorConsulta();
    const QString status = DMbanco->CDSClienteCRED_STATUS->AsString();
    const auto index = kCreditStatus.indexOf(status);
    if (index >= 0) {
        ComboBox1->setCurrentIndex(int(index));
        ComboBox1Select(int(index));
    } else if (!status.isEmpty()) {
        // Shown and saved as stored until the user picks one of the three.
        ComboBox1->addItem(status);
        ComboBox1->setCurrentIndex(ComboBox1->count() - 1);
    }
    RadioButton1->setFocus(Qt::OtherFocusReason);
}

void TFrmCONSULTARcliente::FormActivate()
{
    const QString kind = DMbanco->CDSClienteTIPO->AsString();
    if (kind == ClientRecord::pessoaFisica()) {
        ShowDadosPF();
        RadioButton1->setChecked(true);
    } else if (kind == ClientRecord::pessoaJuridica()) {
        ShowDadosPJ();
        RadioButton2->setChecked(true);
    } else {
        // Neither kind: the private person's fields, no kind chosen.
        ShowDadosPF();
    }
}

void TFrmCONSULTARcliente::RadioButton1Click()
{
    ShowDadosPF();
}

void TFrmCONSULTARcliente::RadioButton2Click()
{
    ShowDadosPJ();
}

void TFrmCONSULTARcliente::ShowDadosPF()
{
    showKind(true);
}

void TFrmCONSULTARcliente::ShowDadosPJ()
{
    showKind(false);
}

void TFrmCONSULTARcliente::showKind(bool person)
{
    m_person = person;
    for (QWidget *widget : std::as_const(m_personControls))
        widget->setVisible(person);
    for (QWidget *widget : std::as_const(m_companyControls))
        widget->setVisible(!person);
    // While editing, the kind's date edit stands in for its box, as filled on
    // entering edit mode, so a save writes the date the user sees.
    DBEdit37->setVisible(person && !m_editing);
    DBEdit38->setVisible(!person && !m_editing);
    TimePeck_NACIMENTO->setVisible(person && m_editing);
    TimePeck_FUNDACAO->setVisible(!person && m_editing);
}

void TFrmCONSULTARcliente::setDataTextColour(const QColor &colour)
{
    for (QWidget *control : std::as_const(m_dataControls)) {
        QPalette palette = control->palette();
        for (const QPalette::ColorRole role : {QPalette::Text, QPalette::ButtonText, QPalette::WindowText})
            palette.setColor(role, colour.isValid() ? colour : QApplication::palette().color(role));
        control->setPalette(palette);
    }
}

void TFrmCONSULTARcliente::CorConsulta()
{
    setDataTextColour(kViewingColor);
}

void TFrmCONSULTARcliente::CorEditar()
{
    setDataTextColour(QColor());
}

bool TFrmCONSULTARcliente::viewing() const
{
    return !DMbanco || DMbanco->CDSCliente->State() != dsEdit;
}

void TFrmCONSULTARcliente::DBEdit12Enter()
{
    if (viewing())
        Edit1->setFocus(Qt::OtherFocusReason);
}

void TFrmCONSULTARcliente::Memo1Change()
{
    LbContador->setText(QString::number(Memo1->MaxLength() - Memo1->length()));
}

bool TFrmCONSULTARcliente::Memo1KeyPress(const QKeyEvent *event)
{
    return isEnter(event);
}

void TFrmCONSULTARcliente::ComboBox1Select(int index)
{
    colourCredit(index);
}

void TFrmCONSULTARcliente::SpeedButton4Click()
{
    // A second press while editing would put back the stored dates over those chosen.
    if (m_editing)
        return;
    TDMbanco *dm = DMbanco;
    // From the stored dates themselves: an empty date opens an empty date edit.
    TimePeck_NACIMENTO->setDate(dm->CDSClienteNACIMENTO->AsDate());
    TimePeck_FUNDACAO->setDate(dm->CDSClienteFUNDACAO->AsDate());
    DateTimePicker1->setDate(dm->CDSClienteCRED_CONSULTA->AsDate());
    TimePeck_DESDE->setDate(dm->CDSClienteCRED_DESDE->AsDate());
    dm->CDSCliente->Edit();
    m_editing = true;
    showKind(m_person);
    ComboBox1->show();
    DateTimePicker1->show();
    TimePeck_DESDE->show();
    DBEdit36->hide();
    DBEdit35->hide();
    DBEdit34->hide();
    CorEditar();
    setWindowTitle(QStringLiteral(" :: CONTATO - Alterar"));
    setAccessibleName(windowTitle());
}

namespace {

// The client on show, which may keep its own number.
std::optional<qint64> shownClient()
{
    const TField *code = DMbanco->CDSClienteCODIGO_C;
    return code->IsNull() ? std::nullopt : std::optional<qint64>(code->AsInteger());
}

} // namespace

void TFrmCONSULTARcliente::DBEdit9Exit()
{
    // This window checks no check digits: an invalid number is just not looked up.
    if (m_editing && checkdigits::cpfExit(DBEdit9->Text()) == checkdigits::ExitResult::Valid)
        warnDuplicateDocument(ClientDocuments::Document::Cpf, DBEdit9->Text(), shownClient());
}

void TFrmCONSULTARcliente::DBEdit16Exit()
{
    if (m_editing && checkdigits::cnpjExit(DBEdit16->Text()) == checkdigits::ExitResult::Valid)
        warnDuplicateDocument(ClientDocuments::Document::Cnpj, DBEdit16->Text(), shownClient());
}

void TFrmCONSULTARcliente::SpeedButton1Click()
{
    // Silent while viewing; once per press, even while the question is open.
    TClientDataSet *clients = DMbanco ? DMbanco->CDSCliente : nullptr;
    if (m_saving || !clients || (clients->State() != dsEdit && clients->State() != dsInsert))
        return;
    const QScopedValueRollback<bool> saving(m_saving, true);
    if (!msg::question(QStringLiteral("Confirmação"), QStringLiteral("Confirma cadastramento?")))
        return;

    TDMbanco *dm = DMbanco;
    dm->CDSClienteFUNDACAO->SetAsDate(TimePeck_FUNDACAO->Date());
    dm->CDSClienteNACIMENTO->SetAsDate(TimePeck_NACIMENTO->Date());
    dm->CDSClienteCRED_DESDE->SetAsDate(TimePeck_DESDE->Date());
    dm->CDSClienteCRED_CONSULTA->SetAsDate(DateTimePicker1->Date());
    dm->CDSClienteCRED_STATUS->SetAsString(ComboBox1->currentText());
    if (RadioButton1->isChecked())
        dm->CDSClienteTIPO->SetAsString(RadioButton1->text());
    else if (RadioButton2->isChecked())
        dm->CDSClienteTIPO->SetAsString(RadioButton2->text());

    // An incomplete masked box stops the save here, the edit still pending.
    DataSource1->UpdateRecord();
    try {
        clients->ApplyUpdates(-1);
    } catch (const DatabaseError &refused) {
        // The table did not take the change: the edit is pending again, as typed.
        if (clients->State() == dsEdit) {
            m_rowChanged = m_rowChanged || refused.reason() == DatabaseError::Reason::RowChanged;
            msg::plain(refusedSaveMessage(refused));
            return;
        }
        close();
        msg::plain(QStringLiteral("O cliente foi salvo, mas uma alteração anterior ainda não foi gravada: %1.")
                       .arg(reasonText(refused.reason())));
        return;
    }
    close();
}

void TFrmCONSULTARcliente::SpeedButton3Click()
{
    if (!msg::question(QStringLiteral("Confirmação"), QStringLiteral("Tem certeza que deseja excluir esse cliente?")))
        return;
    TClientDataSet *clients = DMbanco->CDSCliente;

    // Should the table refuse the deletion, the edit comes back as it was typed:
    // what the controls hold goes into the row first, and a half-typed masked
    // value, which no column takes, is put back into its box afterwards.
    QList<QPair<TDBEdit *, QString>> halfTyped;
    if (clients->State() == dsEdit) {
        for (TDBEdit *edit : findChildren<TDBEdit *>()) {
            if (!edit->DataLink()->Modified())
                continue;
            if (edit->problem().isEmpty())
                edit->DataLink()->UpdateRecord();
            else
                halfTyped.append({edit, edit->displayText()});
        }
        Memo1->DataLink()->UpdateRecord();
    }

    clients->Delete();
    try {
        clients->ApplyUpdates(-1);
    } catch (const DatabaseError &refused) {
        if (clients->UndoLastDelete()) {
            for (const auto &[edit, text] : std::as_const(halfTyped)) {
                edit->setText(text);
                edit->DataLink()->Modified(true);
            }
            m_rowChanged = m_rowChanged || refused.reason() == DatabaseError::Reason::RowChanged;
            msg::plain(refusedDeleteMessage(refused));
            return;
        }
        close();
        msg::plain(QStringLiteral("O cliente foi excluído, mas uma alteração anterior ainda não foi gravada: %1.")
                       .arg(reasonText(refused.reason())));
        return;
    }
    close();
}

void TFrmCONSULTARcliente::SpeedButton2Click()
{
    close();
}

void TFrmCONSULTARcliente::FormCloseQuery()
{
    if (DMbanco)
        DMbanco->CDSCliente->Cancel();
    // So that the list, and the client opened again, show what the other desk left.
    if (DMbanco && std::exchange(m_rowChanged, false))
        DMbanco->CatchUp();
}

void TFrmCONSULTARcliente::closeEvent(QCloseEvent *event)
{
    runHandler([this] { FormCloseQuery(); });
    QDialog::closeEvent(event);
}

void TFrmCONSULTARcliente::done(int result)
{
    runHandler([this] { FormCloseQuery(); });
    QDialog::done(result);
}

void TFrmCONSULTARcliente::keyPressEvent(QKeyEvent *event)
{
    // Escape belongs to the boxes (it abandons a change); closing the window with
    // it would drop every change typed.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TFrmCONSULTARcliente::focusNextPrevChild(bool next)
{
    if (!viewing())
        return QDialog::focusNextPrevChild(next);
    // While viewing, Tab goes between the kind button and the hidden box only.
    QWidget *kind = RadioButton2->isChecked() ? RadioButton2 : RadioButton1;
    QWidget *target = QApplication::focusWidget() == kind ? static_cast<QWidget *>(Edit1) : kind;
    target->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

bool TFrmCONSULTARcliente::eventFilter(QObject *watched, QEvent *event)
{
    // Installed on every data control, and on the memo's viewport.
    switch (event->type()) {
    case QEvent::FocusIn: runHandler([this] { DBEdit12Enter(); }); break;
    case QEvent::KeyPress:
        if (watched == Memo1 && runHandlerOr(true, [&] { return Memo1KeyPress(static_cast<QKeyEvent *>(event)); }))
            return true;
        if (viewing())
            return true;
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (viewing()) {
            runHandler([this] { DBEdit12Enter(); });
            return true;
        }
        break;
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove:
    case QEvent::ContextMenu:
    case QEvent::Drop:
        if (viewing())
            return true;
        break;
    case QEvent::Wheel:
        // The observation may still be scrolled through while viewing.
        if (viewing() && watched != Memo1->viewport())
            return true;
        break;
    default: break;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace vosmira
