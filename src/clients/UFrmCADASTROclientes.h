#pragma once

#include <QDialog>
#include <QList>

class QComboBox;
class QFrame;
class QKeyEvent;
class QLabel;
class QRadioButton;

namespace vosmira {

class TDBComboBox;
class TDBEdit;
class TDBMemo;
class TDataSource;
class TDateEdit;
class TImage;
class TShape;

// Registers one new client, a private person or a company: appends a pending row
// to the clients dataset on opening, lets the user fill it, and on a confirmed
// save writes it to the database file at once; any other way out drops it.
class TFrmCADASTROcliente : public QDialog
{
    Q_OBJECT
public:
    explicit TFrmCADASTROcliente(QWidget *parent = nullptr);
    ~TFrmCADASTROcliente() override;

    // CPF and CNPJ check digits (see CheckDigits.h); they use nothing of the window.
    static bool cpf(const QString &text);
    static bool cgc(const QString &text);

    void done(int result) override;

    // The keyboard order, hidden controls included.
    const QList<QWidget *> &keyboardOrder() const { return m_order; }

    TDataSource *DataSource1 = nullptr;

    QRadioButton *RadioButton1 = nullptr;
    QRadioButton *RadioButton2 = nullptr;

    // First row: name and identity.
    QLabel *Label1 = nullptr;
    TDBEdit *DBEdit12 = nullptr;
    QLabel *Label17 = nullptr;
    TDBEdit *DBEdit9 = nullptr;
    QLabel *Label44 = nullptr;
    TDBEdit *DBEdit16 = nullptr;
    QLabel *Label26 = nullptr;
    TDBEdit *DBEdit25 = nullptr;
    QLabel *Label28 = nullptr;
    TDBEdit *DBEdit33 = nullptr;
    QLabel *Label29 = nullptr;
    TDBComboBox *DBComboBox2 = nullptr;
    QLabel *Label30 = nullptr;
    TDBEdit *DBEdit1 = nullptr;
    QLabel *Label31 = nullptr;
    TDBEdit *DBEdit17 = nullptr;
    QLabel *Label37 = nullptr;
    TDateEdit *TimePeck_NACIMENTO = nullptr;
    QLabel *Label32 = nullptr;
    TDateEdit *TimePeck_FUNDACAO = nullptr;

    // Second row: personal or business details.
    QLabel *Label9 = nullptr;
    TDBComboBox *DBComboBox4 = nullptr;
    QLabel *Label12 = nullptr;
    TDBComboBox *DBComboBox5 = nullptr;
    QLabel *Label27 = nullptr;
    TDBEdit *DBEdit26 = nullptr;
    QLabel *Label14 = nullptr;
    TDBComboBox *DBComboBox3 = nullptr;
    QLabel *Label16 = nullptr;
    TDBEdit *DBEdit4 = nullptr;
    QLabel *Label11 = nullptr;
    TDBEdit *DBEdit11 = nullptr;
    QLabel *Label19 = nullptr;
    TDBEdit *DBEdit15 = nullptr;
    QLabel *Label3 = nullptr;
    TDBEdit *DBEdit3 = nullptr;
    QLabel *Label25 = nullptr;
    TDBEdit *DBEdit24 = nullptr;

    // Third row: telephones, e-mail, site.
    QLabel *Label10 = nullptr;
    TDBEdit *DBEdit10 = nullptr;
    QLabel *Label18 = nullptr;
    TDBEdit *DBEdit27 = nullptr;
    QLabel *Label33 = nullptr;
    TDBEdit *DBEdit28 = nullptr;
    QLabel *Label34 = nullptr;
    TDBEdit *DBEdit29 = nullptr;
    QLabel *Label35 = nullptr;
    TDBEdit *DBEdit30 = nullptr;
    QLabel *Label36 = nullptr;
    TDBEdit *DBEdit31 = nullptr;
    QLabel *Label13 = nullptr;
    TDBEdit *DBEdit13 = nullptr;
    QLabel *Label15 = nullptr;
    TDBEdit *DBEdit32 = nullptr;

    // Fourth row: address.
    QLabel *Label5 = nullptr;
    TDBEdit *DBEdit5 = nullptr;
    QLabel *Label6 = nullptr;
    TDBEdit *DBEdit6 = nullptr;
    QLabel *Label41 = nullptr;
    TDBEdit *DBEdit2 = nullptr;
    QLabel *Label7 = nullptr;
    TDBEdit *DBEdit7 = nullptr;
    QLabel *Label8 = nullptr;
    TDBEdit *DBEdit8 = nullptr;
    QLabel *Label2 = nullptr;
    TDBComboBox *DBComboBox1 = nullptr;
    QLabel *Label42 = nullptr;
    TDBEdit *DBEdit14 = nullptr;

    // Credit.
    TShape *Shape6 = nullptr;
    TShape *Shape7 = nullptr;
    QLabel *Label20 = nullptr;
    QComboBox *ComboBox1 = nullptr;
    QLabel *Label22 = nullptr;
    TDateEdit *DateTimePicker1 = nullptr;
    QLabel *Label4 = nullptr;
    TDateEdit *TimePeck_DESDE = nullptr;
    QLabel *Label21 = nullptr;
    TDBEdit *DBEdit20 = nullptr;
    TDBEdit *DBEdit19 = nullptr;
    TDBEdit *DBEdit22 = nullptr;
    QLabel *Label24 = nullptr;
    TDBEdit *DBEdit18 = nullptr;
    TDBEdit *DBEdit21 = nullptr;
    TDBEdit *DBEdit23 = nullptr;

    // Observations.
    QLabel *Label43 = nullptr;
    QLabel *Label23 = nullptr;
    QLabel *LbContador = nullptr;
    TDBMemo *Memo1 = nullptr;

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
    void buildKeyboardOrder();
    void showKind(bool person);
    bool isStop(QWidget *widget) const;
    int orderIndexOf(QWidget *focused) const;

    QList<QWidget *> m_order;
    QList<QWidget *> m_personControls;
    QList<QWidget *> m_companyControls;
    bool m_shown = false;
    bool m_saving = false;
};

// The registration window while it is open.
extern TFrmCADASTROcliente *FrmCADASTROcliente;

} // namespace vosmira
