#include "UFrmCADASTROclientes.h"

#include "CheckDigits.h"
#include "ClientRecord.h"
#include "Clock.h"
#include "DataErrors.h"
#include "Dialogs.h"
#include "DuplicateWarning.h"
#include "Handler.h"
#include "LeaveGuard.h"
#include "TDBComboBox.h"
#include "TDBEdit.h"
#include "TDBMemo.h"
#include "TDataSource.h"
#include "TDateEdit.h"
#include "TImage.h"
#include "TShape.h"
#include "UDMbanco.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScopedValueRollback>

namespace vosmira {

TFrmCADASTROcliente *FrmCADASTROcliente = nullptr;

namespace {

bool isEnter(const QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent *>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

TFrmCADASTROcliente::TFrmCADASTROcliente(QWidget *parent)
    : QDialog(parent)
{
    FrmCADASTROcliente = this;
    buildControls();

    connectHandler(RadioButton1, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            RadioButton1Click();
    });
    connectHandler(RadioButton2, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            RadioButton2Click();
    });
    connectHandler(ComboBox1, &QComboBox::activated, this, &TFrmCADASTROcliente::ComboBox1Select);
    connectHandler(Memo1, &QPlainTextEdit::textChanged, this, &TFrmCADASTROcliente::Memo1Change);
    connectHandler(SpeedButton1, &TImage::clicked, this, &TFrmCADASTROcliente::SpeedButton1Click);
    connectHandler(SpeedButton2, &TImage::clicked, this, &TFrmCADASTROcliente::SpeedButton2Click);
    connectHandler(DBEdit9, &TDBEdit::exited, this, &TFrmCADASTROcliente::DBEdit9Exit);
    connectHandler(DBEdit16, &TDBEdit::exited, this, &TFrmCADASTROcliente::DBEdit16Exit);

    // Enter moves on from every edit, list and date edit; the memo swallows it.
    for (QWidget *widget : std::as_const(m_order)) {
        if (widget == Memo1 || widget == RadioButton1 || widget == RadioButton2)
            continue;
        if (auto *date = qobject_cast<TDateEdit *>(widget))
            date->lineEdit()->installEventFilter(this);
        else
            widget->installEventFilter(this);
    }
    Memo1->installEventFilter(this);
}

TFrmCADASTROcliente::~TFrmCADASTROcliente()
{
    if (m_shown)
        runHandler([this] { FormCloseQuery(); });
    if (FrmCADASTROcliente == this)
        FrmCADASTROcliente = nullptr;
}

bool TFrmCADASTROcliente::cpf(const QString &text)
{
    return checkdigits::cpf(text);
}

bool TFrmCADASTROcliente::cgc(const QString &text)
{
    return checkdigits::cgc(text);
}

void TFrmCADASTROcliente::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        runHandler([this] { FormShow(); });
    }
}

void TFrmCADASTROcliente::FormShow()
{
    // Neither kind is selected yet, so this runs RadioButton1Click.
    RadioButton1->setChecked(true);
    DMbanco->CDSCliente->Append();
    TimePeck_DESDE->setDate(Clock::today());
    DateTimePicker1->setDate(Clock::today());
    DBEdit12->setFocus(Qt::OtherFocusReason);
}

void TFrmCADASTROcliente::showKind(bool person)
{
    for (QWidget *widget : std::as_const(m_personControls))
        widget->setVisible(person);
    for (QWidget *widget : std::as_const(m_companyControls))
        widget->setVisible(!person);
}

void TFrmCADASTROcliente::RadioButton1Click()
{
    if (RadioButton1->isChecked())
        showKind(true);
    CleanALL();
}

void TFrmCADASTROcliente::RadioButton2Click()
{
    if (RadioButton2->isChecked())
        showKind(false);
    CleanALL();
}

void TFrmCADASTROcliente::CleanALL()
{
    for (TDBEdit *edit : findChildren<TDBEdit *>())
        edit->Clear();
    for (TDBComboBox *list : findChildren<TDBComboBox *>())
        list->Clear();
    Memo1->Clear();
    ComboBox1->setCurrentIndex(0);
    // The border goes back with the status it shows.
    ComboBox1Select(0);
    TimePeck_NACIMENTO->Clear();
    TimePeck_FUNDACAO->Clear();
    Memo1Change();
}

void TFrmCADASTROcliente::ComboBox1Select(int index)
{
    colourCredit(index);
}

void TFrmCADASTROcliente::Memo1Change()
{
    LbContador->setText(QString::number(Memo1->MaxLength() - Memo1->length()));
}

void TFrmCADASTROcliente::DBEdit9Exit()
{
    const checkdigits::ExitResult result = checkdigits::cpfExit(DBEdit9->Text());
    if (result == checkdigits::ExitResult::Valid)
        warnDuplicateDocument(ClientDocuments::Document::Cpf, DBEdit9->Text());
    if (result != checkdigits::ExitResult::Invalid)
        return;
    msg::plain(QStringLiteral("CPF Inválido !!"));
    DBEdit9->Clear();
}

void TFrmCADASTROcliente::DBEdit16Exit()
{
    const checkdigits::ExitResult result = checkdigits::cnpjExit(DBEdit16->Text());
    if (result == checkdigits::ExitResult::Valid)
        warnDuplicateDocument(ClientDocuments::Document::Cnpj, DBEdit16->Text());
    if (result != checkdigits::ExitResult::Invalid)
        return;
    msg::plain(QStringLiteral("CNPJ Inválido !!"));
    DBEdit16->Clear();
}

void TFrmCADASTROcliente::SpeedButton1Click()
{
    // One save per row: a second press while the question is open (an accessibility
    // action is not held back by the box) or after the row has gone does nothing.
    if (m_saving || !DMbanco || DMbanco->CDSCliente->State() != dsInsert)
        return;
    const QScopedValueRollback<bool> saving(m_saving, true);

    // The save button takes no focus, so a number still being typed has not
    // been checked yet: check it now, as leaving its edit would.
    QWidget *focused = QApplication::focusWidget();
    if (focused == DBEdit9)
        DBEdit9Exit();
    else if (focused == DBEdit16)
        DBEdit16Exit();

    if (DBEdit12->text().trimmed().isEmpty()) {
        msg::plain(QStringLiteral("O campo nome é de preenchimento obrigatório."));
        DBEdit12->Clear();
        DBEdit12->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (!msg::question(QStringLiteral("Confirmação"), QStringLiteral("Confirma cadastramento?")))
        return;

    TDMbanco *dm = DMbanco;
    dm->CDSClienteFUNDACAO->SetAsDate(TimePeck_FUNDACAO->Date());
    dm->CDSClienteNACIMENTO->SetAsDate(TimePeck_NACIMENTO->Date());
    dm->CDSClienteCRED_DESDE->SetAsDate(TimePeck_DESDE->Date());
    dm->CDSClienteCRED_STATUS->SetAsString(ComboBox1->currentText());
    dm->CDSClienteCRED_CONSULTA->SetAsDate(DateTimePicker1->Date());
    if (RadioButton1->isChecked()) {
        dm->CDSClienteTIPO->SetAsString(ClientRecord::pessoaFisica());
        dm->CDSClienteFUNDACAO->Clear();
    } else if (RadioButton2->isChecked()) {
        dm->CDSClienteTIPO->SetAsString(ClientRecord::pessoaJuridica());
    }

    // An incomplete masked edit stops the save here, the row still pending.
    DataSource1->UpdateRecord();
    try {
        dm->CDSCliente->ApplyUpdates(-1);
    } catch (const DatabaseError &refused) {
        // The table did not take the client: it is pending again, as typed, and
        // the window stays open for another try or for giving up.
        if (dm->CDSCliente->State() == dsInsert) {
            msg::plain(refusedSaveMessage(refused));
            return;
        }
        // The client was saved; an earlier change, still logged, was refused again.
        close();
        msg::plain(QStringLiteral("O cliente foi salvo, mas uma alteração anterior ainda não foi gravada: %1.")
                       .arg(reasonText(refused.reason())));
        return;
    }
    close();
}

void TFrmCADASTROcliente::SpeedButton2Click()
{
    DMbanco->CDSCliente->Cancel();
    close();
}

void TFrmCADASTROcliente::FormCloseQuery()
{
    if (DMbanco)
        DMbanco->CDSCliente->Cancel();
}

void TFrmCADASTROcliente::closeEvent(QCloseEvent *event)
{
    runHandler([this] { FormCloseQuery(); });
    QDialog::closeEvent(event);
}

void TFrmCADASTROcliente::done(int result)
{
    runHandler([this] { FormCloseQuery(); });
    QDialog::done(result);
}

void TFrmCADASTROcliente::keyPressEvent(QKeyEvent *event)
{
    // Escape belongs to the edits (it abandons a change); it never closes the window.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TFrmCADASTROcliente::isStop(QWidget *widget) const
{
    if (!widget->isVisibleTo(this) || !widget->isEnabled() || !(widget->focusPolicy() & Qt::TabFocus))
        return false;
    if (auto *radio = qobject_cast<QRadioButton *>(widget))
        return radio->isChecked();
    return true;
}

int TFrmCADASTROcliente::orderIndexOf(QWidget *focused) const
{
    if (!focused)
        return -1;
    for (int i = 0; i < m_order.size(); ++i) {
        QWidget *widget = m_order.at(i);
        if (widget == focused || widget->isAncestorOf(focused))
            return i;
    }
    return -1;
}

bool TFrmCADASTROcliente::moveFocus(bool forward)
{
    QWidget *focused = QApplication::focusWidget();
    if (focused && focused->window() == this && !LeaveGuard::mayLeave(focused))
        return false;
    const int count = int(m_order.size());
    int at = orderIndexOf(focused);
    if (at < 0)
        at = forward ? -1 : count;
    for (int step = 1; step <= count; ++step) {
        QWidget *next = m_order.at(((at + (forward ? step : -step)) % count + count) % count);
        if (isStop(next)) {
            next->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
    return false;
}

bool TFrmCADASTROcliente::focusNextPrevChild(bool next)
{
    moveFocus(next);
    return true;
}

bool TFrmCADASTROcliente::DBEdit12KeyPress(const QKeyEvent *event)
{
    if (!isEnter(event))
        return false;
    moveFocus(true);
    return true;
}

bool TFrmCADASTROcliente::Memo1KeyPress(const QKeyEvent *event)
{
    return isEnter(event);
}

bool TFrmCADASTROcliente::eventFilter(QObject *watched, QEvent *event)
{
    // Installed on the memo and on every edit, list and date edit of the order.
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<const QKeyEvent *>(event);
        if (runHandlerOr(true, [&] { return watched == Memo1 ? Memo1KeyPress(key) : DBEdit12KeyPress(key); }))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace vosmira
