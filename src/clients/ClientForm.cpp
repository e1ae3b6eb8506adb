// The captions and fields that the registration window and the record view share.
#include "ClientForm.h"

#include "ClientRecord.h"
#include "FormBuilder.h"
#include "TDBComboBox.h"
#include "TDBEdit.h"
#include "TDBMemo.h"
#include "TDataSource.h"
#include "TDateEdit.h"
#include "TShape.h"
#include "UDMbanco.h"

#include <QComboBox>
#include <QLabel>
#include <QRadioButton>

namespace vosmira {

namespace {

const QColor kCounterColor(123, 126, 132);
const QColor kPersonColor(0, 100, 153);
const QColor kCompanyColor(255, 0, 0);

const QColor kStatusColors[] = {
    QColor(165, 172, 180), // Em analise
    QColor(0, 128, 115),   // Aprovado
    QColor(230, 78, 28),   // Reprovado
};

const QStringList &states()
{
    static const QStringList list = {
        QStringLiteral("AC"), QStringLiteral("AL"), QStringLiteral("AM"), QStringLiteral("AP"), QStringLiteral("BA"),
        QStringLiteral("CE"), QStringLiteral("DF"), QStringLiteral("ES"), QStringLiteral("GO"), QStringLiteral("MA"),
        QStringLiteral("MG"), QStringLiteral("MT"), QStringLiteral("MS"), QStringLiteral("PA"), QStringLiteral("PB"),
        QStringLiteral("PE"), QStringLiteral("PI"), QStringLiteral("PR"), QStringLiteral("RJ"), QStringLiteral("RN"),
        QStringLiteral("RR"), QStringLiteral("RO"), QStringLiteral("RS"), QStringLiteral("SC"), QStringLiteral("SE"),
        QStringLiteral("SP"), QStringLiteral("TO")};
    return list;
}

} // namespace

void ClientForm::buildClientControls(QWidget *form, FormBuilder &b, int firstRowShape)
{
    DataSource1 = new TDataSource(DMbanco->CDSCliente, form);
    DataSource1->setObjectName(QStringLiteral("DataSource1"));
    TDataSource *ds = DataSource1;
    TDMbanco *dm = DMbanco;

    // Sections first, so every control lies above their outlines.
    for (int row = 0; row < 4; ++row) {
        const QByteArray name = "Shape" + QByteArray::number(firstRowShape + row);
        b.shape(name.constData(), 6, 26 + 46 * row, 870, 44);
    }
    Shape6 = b.shape("Shape6", 6, 222, 430, 168);
    Shape7 = b.shape("Shape7", 14, 214, 66, 17, colorFromBgr(kWindowColor));
    b.shape("Shape8", 446, 222, 430, 168);
    b.shape("Shape9", 454, 214, 96, 17, colorFromBgr(kWindowColor));

    RadioButton1 = new QRadioButton(ClientRecord::pessoaFisica(), form);
    RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
    RadioButton1->setGeometry(12, 5, 110, 18);
    RadioButton1->setFont(pixelFont(QStringLiteral("Verdana"), 11, true));
    setTextColor(RadioButton1, kPersonColor);
    RadioButton2 = new QRadioButton(ClientRecord::pessoaJuridica(), form);
    RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
    RadioButton2->setGeometry(130, 5, 120, 18);
    RadioButton2->setFont(pixelFont(QStringLiteral("Verdana"), 11, true));
    setTextColor(RadioButton2, kCompanyColor);

    // First row.
    int ly = 30;
    int fy = 43;
    Label1 = b.label("Label1", QStringLiteral("Nome"), 14, ly);
    DBEdit12 = b.edit("DBEdit12", Label1, 14, fy, 294, ds, dm->CDSClienteNOME, 50);
    DBEdit12->setUpperCase(true);
    Label17 = b.label("Label17", QStringLiteral("CPF"), 316, ly);
    DBEdit9 = b.edit("DBEdit9", Label17, 316, fy, 138, ds, dm->CDSClienteCPF);
    Label44 = b.label("Label44", QStringLiteral("CNPJ"), 316, ly);
    DBEdit16 = b.edit("DBEdit16", Label44, 316, fy, 138, ds, dm->CDSClienteCNPJ);
    DBEdit16->setAlphanumericPositions(12);
    Label26 = b.label("Label26", QStringLiteral("Identidade"), 462, ly);
    DBEdit25 = b.edit("DBEdit25", Label26, 462, fy, 108, ds, dm->CDSClienteRG, 13);
    Label28 = b.label("Label28", QStringLiteral("Emissor"), 578, ly);
    DBEdit33 = b.edit("DBEdit33", Label28, 578, fy, 100, ds, dm->CDSClienteEMISSOR, 13);
    Label29 = b.label("Label29", QStringLiteral("UF"), 686, ly);
    DBComboBox2 = b.list("DBComboBox2", Label29, 686, fy, 52, ds, dm->CDSClienteUF_ID, states());
    Label30 = b.label("Label30", QStringLiteral("Insc. Estadual"), 462, ly);
    DBEdit1 = b.edit("DBEdit1", Label30, 462, fy, 134, ds, dm->CDSClienteIE);
    DBEdit1->setToolTip(QStringLiteral("Inscrição Estadual"));
    Label31 = b.label("Label31", QStringLiteral("Insc. Municipal"), 604, ly);
    DBEdit17 = b.edit("DBEdit17", Label31, 604, fy, 134, ds, dm->CDSClienteIM);
    DBEdit17->setToolTip(QStringLiteral("Inscrição Municipal"));
    Label37 = b.label("Label37", QStringLiteral("Nascimento"), 746, ly);
    TimePeck_NACIMENTO = b.date("TimePeck_NACIMENTO", Label37, 746, fy, 122);
    Label32 = b.label("Label32", QStringLiteral("Fundação"), 746, ly);
    TimePeck_FUNDACAO = b.date("TimePeck_FUNDACAO", Label32, 746, fy, 122);

    // Second row: the person's fields lie over the company's.
    ly = 76;
    fy = 89;
    Label11 = b.label("Label11", QStringLiteral("Nome Fantasia"), 14, ly);
    DBEdit11 = b.edit("DBEdit11", Label11, 14, fy, 260, ds, dm->CDSClienteNOME_FANTASIA);
    Label19 = b.label("Label19", QStringLiteral("Atividade"), 282, ly);
    DBEdit15 = b.edit("DBEdit15", Label19, 282, fy, 230, ds, dm->CDSClienteATIVIDADE);
    Label3 = b.label("Label3", QStringLiteral("Contato"), 520, ly);
    DBEdit3 = b.edit("DBEdit3", Label3, 520, fy, 170, ds, dm->CDSClienteCONTATO);
    Label25 = b.label("Label25", QStringLiteral("Setor"), 698, ly);
    DBEdit24 = b.edit("DBEdit24", Label25, 698, fy, 170, ds, dm->CDSClienteSETOR);
    Label9 = b.label("Label9", QStringLiteral("Sexo"), 14, ly);
    DBComboBox4 = b.list("DBComboBox4", Label9, 14, fy, 100, ds, dm->CDSClienteSEXO,
                         {QStringLiteral("Masculino"), QStringLiteral("Feminino")});
    Label12 = b.label("Label12", QStringLiteral("Escolaridade"), 122, ly);
    DBComboBox5 = b.list("DBComboBox5", Label12, 122, fy, 140, ds, dm->CDSClienteESCOLARIDADE,
                         {QStringLiteral("Analfabeto"), QStringLiteral("Ensino Fundamental"),
                          QStringLiteral("Ensino Medio"), QStringLiteral("Ensino Superior"),
                          QStringLiteral("Pos-Graduação"), QStringLiteral("Mestrado"), QStringLiteral("Doutorado")});
    Label27 = b.label("Label27", QStringLiteral("Profissão"), 270, ly);
    DBEdit26 = b.edit("DBEdit26", Label27, 270, fy, 200, ds, dm->CDSClientePROFISSAO, 35);
    Label14 = b.label("Label14", QStringLiteral("Vinculo"), 478, ly);
    DBComboBox3 = b.list("DBComboBox3", Label14, 478, fy, 180, ds, dm->CDSClienteVINCULO,
                         {QStringLiteral("Trabalhador Autônomo"), QStringLiteral("Empresário"),
                          QStringLiteral("Sócio de Empresa"), QStringLiteral("Carteira Assinada (CLT)"),
                          QStringLiteral("Funcionário Púbico")});
    Label16 = b.label("Label16", QStringLiteral("Contato"), 666, ly);
    DBEdit4 = b.edit("DBEdit4", Label16, 666, fy, 202, ds, dm->CDSClienteCONTATO);

    // Third row.
    ly = 122;
    fy = 135;
    Label10 = b.label("Label10", QStringLiteral("Telefone"), 14, ly);
    DBEdit10 = b.edit("DBEdit10", Label10, 14, fy, 100, ds, dm->CDSClienteTELEFONE1);
    Label18 = b.label("Label18", QStringLiteral("Ramal"), 120, ly, false);
    DBEdit27 = b.edit("DBEdit27", Label18, 120, fy, 45, ds, dm->CDSClienteRAMAL1, 4);
    Label33 = b.label("Label33", QStringLiteral("Telefone"), 173, ly);
    DBEdit28 = b.edit("DBEdit28", Label33, 173, fy, 100, ds, dm->CDSClienteTELEFONE2);
    Label34 = b.label("Label34", QStringLiteral("Ramal"), 279, ly, false);
    DBEdit29 = b.edit("DBEdit29", Label34, 279, fy, 45, ds, dm->CDSClienteRAMAL2, 4);
    Label35 = b.label("Label35", QStringLiteral("Fax"), 332, ly);
    DBEdit30 = b.edit("DBEdit30", Label35, 332, fy, 100, ds, dm->CDSClienteTELEFONE3);
    Label36 = b.label("Label36", QStringLiteral("Ramal"), 438, ly, false);
    DBEdit31 = b.edit("DBEdit31", Label36, 438, fy, 45, ds, dm->CDSClienteRAMAL3, 4);
    Label13 = b.label("Label13", QStringLiteral("E-mail"), 491, ly);
    DBEdit13 = b.edit("DBEdit13", Label13, 491, fy, 200, ds, dm->CDSClienteEMAIL);
    Label15 = b.label("Label15", QStringLiteral("Site"), 699, ly);
    DBEdit32 = b.edit("DBEdit32", Label15, 699, fy, 169, ds, dm->CDSClienteSITE);

    // Fourth row.
    ly = 168;
    fy = 181;
    Label5 = b.label("Label5", QStringLiteral("Logradouro"), 14, ly);
    DBEdit5 = b.edit("DBEdit5", Label5, 14, fy, 240, ds, dm->CDSClienteLOGRADOURO, 38);
    Label6 = b.label("Label6", QStringLiteral("Nº"), 262, ly);
    DBEdit6 = b.edit("DBEdit6", Label6, 262, fy, 45, ds, dm->CDSClienteN, 4);
    Label41 = b.label("Label41", QStringLiteral("Complemento"), 315, ly);
    DBEdit2 = b.edit("DBEdit2", Label41, 315, fy, 110, ds, dm->CDSClienteCOMPLEMENTO, 13);
    Label7 = b.label("Label7", QStringLiteral("Bairro"), 433, ly);
    DBEdit7 = b.edit("DBEdit7", Label7, 433, fy, 150, ds, dm->CDSClienteBAIRRO, 23);
    Label8 = b.label("Label8", QStringLiteral("Cidade"), 591, ly);
    DBEdit8 = b.edit("DBEdit8", Label8, 591, fy, 140, ds, dm->CDSClienteCIDADE, 25);
    Label2 = b.label("Label2", QStringLiteral("UF"), 739, ly);
    DBComboBox1 = b.list("DBComboBox1", Label2, 739, fy, 52, ds, dm->CDSClienteUF, states());
    Label42 = b.label("Label42", QStringLiteral("CEP"), 799, ly);
    DBEdit14 = b.edit("DBEdit14", Label42, 799, fy, 69, ds, dm->CDSClienteCEP);

    // Credit.
    Label20 = b.label("Label20", QStringLiteral("Crédito"), 14, 216);
    Label20->setGeometry(Shape7->geometry());
    Label20->setAlignment(Qt::AlignCenter);
    ComboBox1 = b.control<QComboBox>("ComboBox1", Label20, 14, 246, 115);
    ComboBox1->addItems({QStringLiteral("Em analise"), QStringLiteral("Aprovado"), QStringLiteral("Reprovado")});
    ComboBox1->setCurrentIndex(0);
    Label22 = b.label("Label22", QStringLiteral("Consulta"), 139, 233);
    DateTimePicker1 = b.date("DateTimePicker1", Label22, 139, 246, 115);
    Label4 = b.label("Label4", QStringLiteral("Cliente Desde"), 264, 233);
    TimePeck_DESDE = b.date("TimePeck_DESDE", Label4, 264, 246, 115);
    Label21 = b.label("Label21", QStringLiteral("Referências"), 14, 276);
    DBEdit20 = b.edit("DBEdit20", Label21, 14, 289, 250, ds, dm->CDSClienteCRED_REF1);
    DBEdit19 = b.edit("DBEdit19", Label21, 14, 315, 250, ds, dm->CDSClienteCRED_REF2);
    DBEdit22 = b.edit("DBEdit22", Label21, 14, 341, 250, ds, dm->CDSClienteCRED_REF3);
    Label24 = b.label("Label24", QStringLiteral("Telefone"), 272, 276);
    DBEdit18 = b.edit("DBEdit18", Label24, 272, 289, 107, ds, dm->CDSClienteCRED_TEL1);
    DBEdit21 = b.edit("DBEdit21", Label24, 272, 315, 107, ds, dm->CDSClienteCRED_TEL2);
    DBEdit23 = b.edit("DBEdit23", Label24, 272, 341, 107, ds, dm->CDSClienteCRED_TEL3);
    Label21->setBuddy(DBEdit20);
    Label24->setBuddy(DBEdit18);
    const QList<QWidget *> references{DBEdit20, DBEdit19, DBEdit22, DBEdit18, DBEdit21, DBEdit23};
    for (int i = 0; i < references.size(); ++i)
        references[i]->setAccessibleDescription(QString::number(i % 3 + 1));

    // Observations.
    Label43 = b.label("Label43", QStringLiteral("Observações"), 454, 216);
    Label43->setGeometry(454, 214, 96, 17);
    Label43->setAlignment(Qt::AlignCenter);
    Label23 = b.label("Label23", QStringLiteral("Carácteres restantes:"), 0, 231, false, kCounterColor);
    LbContador = b.label("LbContador", QStringLiteral("400"), 0, 231, false, kCounterColor);
    LbContador->setGeometry(840, 231, 28, 13);
    LbContador->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label23->move(LbContador->x() - Label23->width() - 3, 231);
    Memo1 = new TDBMemo(form);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(454, 248, 414, 134);
    Memo1->setAccessibleName(Label43->text());
    Memo1->setMaxLength(400);
    Memo1->setDataField(ds, dm->CDSClienteOBS);
    Label43->setBuddy(Memo1);

    m_personControls = {Label17,     DBEdit9, Label26,     DBEdit25,    Label28, DBEdit33,    Label29,
                        DBComboBox2, Label37, Label9,      DBComboBox4, Label12, DBComboBox5, Label27,
                        DBEdit26,    Label14, DBComboBox3, Label16,     DBEdit4};
    m_companyControls = {Label44,  DBEdit16, Label30,  DBEdit1, Label31, DBEdit17, Label32, Label11,
                         DBEdit11, Label19,  DBEdit15, Label3,  DBEdit3, Label25,  DBEdit24};

    m_order = {DBEdit12,      DBEdit16, DBEdit1,      DBEdit17,          DBEdit9,
               DBEdit25,      DBEdit33, DBComboBox2,  TimePeck_FUNDACAO, TimePeck_NACIMENTO,
               DBEdit11,      DBEdit15, DBEdit3,      DBEdit24,          DBComboBox4,
               DBComboBox5,   DBEdit26, DBComboBox3,  DBEdit4,           DBEdit10,
               DBEdit27,      DBEdit28, DBEdit29,     DBEdit30,          DBEdit31,
               DBEdit13,      DBEdit32, DBEdit5,      DBEdit6,           DBEdit2,
               DBEdit7,       DBEdit8,  DBComboBox1,  DBEdit14,          ComboBox1,
               DBEdit20,      DBEdit18, DBEdit19,     DBEdit21,          DBEdit22,
               DBEdit23,      Memo1,    RadioButton2, RadioButton1,      DateTimePicker1,
               TimePeck_DESDE};
    for (qsizetype i = 1; i < m_order.size(); ++i)
        QWidget::setTabOrder(m_order.at(i - 1), m_order.at(i));
}

void ClientForm::colourCredit(int index)
{
    if (index < 0 || index > 2)
        return;
    Shape6->setPenColor(kStatusColors[index]);
    Shape7->setPenColor(kStatusColors[index]);
}

} // namespace vosmira
