#pragma once

#include "ClientForm.h"

#include <QDialog>

class QFrame;
class QKeyEvent;

namespace vosmira {

class TImage;

// Registers one new client, a private person or a company: appends a pending row
// to the clients dataset on opening, lets the user fill it, and on a confirmed
// save writes it to the database file at once; any other way out drops it.
class TFrmCADASTROcliente : public QDialog, public ClientForm
{
    Q_OBJECT
public:
    explicit TFrmCADASTROcliente(QWidget *parent = nullptr);
    ~TFrmCADASTROcliente() override;

    // CPF and CNPJ check digits (see CheckDigits.h); they use nothing of the window.
    static bool cpf(const QString &text);
    static bool cgc(const QString &text);

    void done(int result) override;

    QFrame *Bevel1 = nullptr;
    TImage *SpeedButton1 = nullptr;
    TImage *SpeedButton2 = nullptr;

public Q_SLOTS:
    void FormShow();
    void RadioButton1Click();
    void RadioButton2Click();
    void CleanALL();
    void ComboBox1Select(int index);
    void Memo1Change();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void FormCloseQuery();
    void DBEdit9Exit();
    void DBEdit16Exit();

    // Key presses of the edits, lists and date edits, and of the memo: true when
    // the key is swallowed (Enter moves on, or does nothing in the memo).
    bool DBEdit12KeyPress(const QKeyEvent *event);
    bool Memo1KeyPress(const QKeyEvent *event);

    // Moves the focus along the keyboard order to the next control that can take
    // it, wrapping at either end; false when the focused edit refuses to be left.
    bool moveFocus(bool forward);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void showKind(bool person);
    bool isStop(QWidget *widget) const;
    int orderIndexOf(QWidget *focused) const;

    bool m_shown = false;
    bool m_saving = false;
};

// The registration window while it is open.
extern TFrmCADASTROcliente *FrmCADASTROcliente;

} // namespace vosmira
