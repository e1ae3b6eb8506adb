#pragma once

#include "ClientForm.h"

#include <QDialog>

class QKeyEvent;
class QLineEdit;

namespace vosmira {

class TImage;

// One client, the clients dataset's current row, laid out as in the registration
// window: read-only in dark blue at first; "Alterar Dados" makes it editable, and
// a confirmed save or delete reaches the database file at once.
class TFrmCONSULTARcliente : public QDialog, public ClientForm
{
    Q_OBJECT
public:
    explicit TFrmCONSULTARcliente(QWidget *parent = nullptr);
    ~TFrmCONSULTARcliente() override;

    void done(int result) override;

    // Whether the window offers the record for editing (" :: CONTATO - Alterar").
    bool isEditing() const { return m_editing; }
    // The boxes, lists and memo bound to the record, as the colours and the
    // viewing guard treat them.
    const QList<QWidget *> &dataControls() const { return m_dataControls; }

    TShape *Shape1 = nullptr;
    QLineEdit *Edit1 = nullptr;
    // The bound boxes that show the dates and the credit status while viewing.
    TDBEdit *DBEdit37 = nullptr;
    TDBEdit *DBEdit38 = nullptr;
    TDBEdit *DBEdit36 = nullptr;
    TDBEdit *DBEdit35 = nullptr;
    TDBEdit *DBEdit34 = nullptr;

    TImage *SpeedButton1 = nullptr;
    TImage *SpeedButton4 = nullptr;
    TImage *SpeedButton3 = nullptr;
    TImage *SpeedButton2 = nullptr;

public Q_SLOTS:
    void FormShow();
    void FormActivate();
    void RadioButton1Click();
    void RadioButton2Click();
    void ShowDadosPF();
    void ShowDadosPJ();
    void CorConsulta();
    void CorEditar();
    void DBEdit12Enter();
    void Memo1Change();
    void ComboBox1Select(int index);
    void SpeedButton4Click();
    void SpeedButton1Click();
    void SpeedButton3Click();
    void SpeedButton2Click();
    void FormCloseQuery();
    // While editing: a valid CPF or CNPJ that another client holds is named.
    void DBEdit9Exit();
    void DBEdit16Exit();

    // True when the key is swallowed: Enter never breaks a line in the memo.
    bool Memo1KeyPress(const QKeyEvent *event);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void showKind(bool person);
    void setDataTextColour(const QColor &colour);
    bool viewing() const;

    QList<QWidget *> m_dataControls;
    bool m_person = true; // the presentation shown
    bool m_editing = false;
    bool m_shown = false;
    bool m_saving = false;
    bool m_rowChanged = false; // another desk changed the client: read it again on leaving
};

// The record view while it is open.
extern TFrmCONSULTARcliente *FrmCONSULTARcliente;

} // namespace vosmira
