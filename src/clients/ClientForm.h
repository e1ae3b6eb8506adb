#pragma once

#include <QList>

class QComboBox;
class QLabel;
class QRadioButton;
class QWidget;

namespace vosmira {

class FormBuilder;
class TDBComboBox;
class TDBEdit;
class TDBMemo;
class TDataSource;
class TDateEdit;
class TShape;

// The controls that the registration window and the record view share: the
// kind buttons, the four rows of fields with their captions, the credit and the
// observation sections, placed alike in both windows and bound to the clients
// dataset through DataSource1.
class ClientForm
{
public:
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

protected:
    ClientForm() = default;
    ~ClientForm() = default;

    // Builds every shared control on the form and sets the keyboard order. The
    // four row outlines are named Shape<firstRowShape> onwards.
    void buildClientControls(QWidget *form, FormBuilder &b, int firstRowShape);

    // The credit frame's outline for a status index: 0 "Em analise", 1
    // "Aprovado", 2 "Reprovado"; any other index leaves it.
    void colourCredit(int index);

    // Each kind's own captions and controls, the birth and foundation date edits
    // left out: the windows show and hide those themselves.
    QList<QWidget *> m_personControls;
    QList<QWidget *> m_companyControls;
    QList<QWidget *> m_order;
};

} // namespace vosmira
