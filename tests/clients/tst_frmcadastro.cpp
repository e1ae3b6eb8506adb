#include "Clock.h"
#include "TDBComboBox.h"
#include "TDBEdit.h"
#include "TDBMemo.h"
#include "TDateEdit.h"
#include "UFrmCADASTROclientes.h"

#include "DataFixture.h"
#include "ScriptedDialogs.h"
#include "TImage.h"
#include "TShape.h"
#include "VosmiraApplication.h"

#include "ClientRecord.h"
#include "UDMbanco.h"

#include <QAccessible>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QRadioButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

#include <memory>

using namespace Qt::Literals::StringLiterals;
using namespace vosmira;
using vosmira::test::ScriptedDialogs;

namespace {

const QDate kToday(2024, 3, 15);
const QString kZero = u"1899-12-30"_s;
const QColor kGrey(165, 172, 180);

// A registration window over a temporary database file, shown and active.
struct Registration
{
    TempDatabase db;
    std::unique_ptr<TDMbanco> dm;
    std::unique_ptr<TFrmCADASTROcliente> form;

    explicit Registration(bool withClient = false)
    {
        if (withClient)
            db.addClient(u"ZULU"_s, ClientRecord::pessoaFisica());
        dm = openDataModule(db);
        if (!dm)
            return;
        DMbanco = dm.get();
        form = std::make_unique<TFrmCADASTROcliente>();
        form->show();
        QApplication::setActiveWindow(form.get());
    }

    ~Registration()
    {
        form.reset();
        DMbanco = nullptr;
    }

    bool ready() { return form && QTest::qWaitForWindowActive(form.get()); }

    void type(QWidget *control, const QString &keys)
    {
        if (auto *date = qobject_cast<TDateEdit *>(control))
            control = date->lineEdit();
        control->setFocus(Qt::OtherFocusReason);
        if (auto *line = qobject_cast<QLineEdit *>(control)) {
            if (!line->inputMask().isEmpty())
                line->setCursorPosition(0);
        }
        // QTest types ASCII only; other letters arrive as a key event with text.
        for (const QChar c : keys) {
            if (c.unicode() < 128) {
                QTest::keyClick(control, c.toLatin1());
            } else {
                QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
                QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
                QApplication::sendEvent(control, &press);
                QApplication::sendEvent(control, &release);
            }
        }
    }

    void key(Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); }

    // The control of the keyboard order that holds the focus.
    QString focused() const
    {
        QWidget *focus = QApplication::focusWidget();
        for (QWidget *w : form->keyboardOrder()) {
            if (w == focus || w->isAncestorOf(focus))
                return w->objectName();
        }
        return focus ? focus->objectName() : u"(none)"_s;
    }

    void save() { QTest::mouseClick(form->SpeedButton1, Qt::LeftButton); }

    int storedCount() { return db.scalar(u"SELECT COUNT(*) FROM CAD_CLIENTE"_s).toInt(); }
    // A column of the client named `name`, read from the file itself.
    QVariant stored(const QString &column, const QString &name)
    {
        const QVariant value = db.scalar(u"SELECT \"%1\" FROM CAD_CLIENTE WHERE NOME = ?"_s.arg(column), {name});
        return value.isNull() ? QVariant() : QVariant(value.toString());
    }
};

} // namespace

class TstFrmCadastro : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void openingState();
    void windowAndControls();
    void blankNameIsRefused();
    void declinedConfirmationKeepsEverything();
    void kindSwitchEmptiesTheForm();
    void datesStoredForEachKind_data();
    void datesStoredForEachKind();
    void personStoredForms();
    void companyStoredForms();
    void enterOrder_data();
    void enterOrder();
    void tabOrderWrapsThroughTheKindButton_data();
    void tabOrderWrapsThroughTheKindButton();
    void enterInTheMemoIsSwallowed();
    void memoLimitAndCounter();
    void creditBorderFollowsTheStatus();
    void leavingWithoutSaveDiscards_data();
    void leavingWithoutSaveDiscards();
    void escapeNeverClosesTheWindow();
    void cpfExitCheck_data();
    void cpfExitCheck();
    void partialCpfCannotBeLeft();
    void cnpjExitCheck_data();
    void cnpjExitCheck();
    void validNumberLeftUnchangedPassesAgain();
    void numberAnotherClientHoldsWarns_data();
    void numberAnotherClientHoldsWarns();
    void numberBeingTypedIsCheckedOnSave();
    void incompleteMaskStopsTheSave();
    void saveRunsOncePerRow();
    void refusedSaveKeepsTheWindow();
    void nameTurnsUpperCaseAsTyped_data();
    void nameTurnsUpperCaseAsTyped();
    void nextWindowStartsFromNothing();

private:
    std::unique_ptr<ScriptedDialogs> m_dialogs;
};

void TstFrmCadastro::initTestCase()
{
    Clock::set([] { return kToday; });
}

void TstFrmCadastro::init()
{
    m_dialogs = std::make_unique<ScriptedDialogs>();
}

void TstFrmCadastro::cleanup()
{
    m_dialogs.reset();
}

void TstFrmCadastro::openingState()
{
    Registration r;
    QVERIFY(r.ready());
    TFrmCADASTROcliente &f = *r.form;
    QVERIFY(f.RadioButton1->isChecked());
    QVERIFY(!f.RadioButton2->isChecked());
    QVERIFY(f.DBEdit9->isVisible());
    QVERIFY(!f.DBEdit16->isVisible());
    QVERIFY(f.Label17->isVisible());
    QVERIFY(!f.Label44->isVisible());
    QCOMPARE(f.DateTimePicker1->Date(), kToday);
    QCOMPARE(f.TimePeck_DESDE->Date(), kToday);
    QVERIFY(f.TimePeck_NACIMENTO->isEmpty());
    QCOMPARE(f.ComboBox1->currentText(), u"Em analise"_s);
    QCOMPARE(f.Shape6->penColor(), kGrey);
    QCOMPARE(f.Shape7->penColor(), kGrey);
    QCOMPARE(f.LbContador->text(), u"400"_s);
    QCOMPARE(r.focused(), u"DBEdit12"_s);
    QCOMPARE(r.dm->CDSCliente->State(), dsInsert);
    QCOMPARE(FrmCADASTROcliente, &f);
    QVERIFY(m_dialogs->messages().isEmpty());
}

void TstFrmCadastro::windowAndControls()
{
    Registration r;
    QVERIFY(r.ready());
    TFrmCADASTROcliente &f = *r.form;
    QCOMPARE(f.windowTitle(), u" :: CONTATO - Cadastro"_s);
    QCOMPARE(f.size(), QSize(939, 398));
    QCOMPARE(f.pos(), QPoint(41, 210)); // not centred over its owner
    QVERIFY(f.windowFlags() & Qt::Tool);
    QCOMPARE(f.palette().color(QPalette::Window), QColor(224, 223, 227));
    QCOMPARE(f.Label1->palette().color(QPalette::WindowText), QColor(0, 62, 153));
    QVERIFY(f.Label1->font().bold());
    QVERIFY(!f.Label18->font().bold());
    QCOMPARE(f.Label23->text(), u"Carácteres restantes:"_s);

    // Every stop of the keyboard order carries its name and says what it is.
    for (QWidget *w : f.keyboardOrder()) {
        QVERIFY2(!w->objectName().isEmpty(), "unnamed control");
        QVERIFY2(!w->accessibleName().isEmpty() || qobject_cast<QRadioButton *>(w), qPrintable(w->objectName()));
    }
    QCOMPARE(f.DBEdit9->accessibleName(), u"CPF"_s);
    QCOMPARE(f.Memo1->accessibleName(), u"Observações"_s);
    for (TImage *button : {f.SpeedButton1, f.SpeedButton2}) {
        QCOMPARE(button->focusPolicy(), Qt::NoFocus);
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(button);
        QVERIFY(a && a->actionInterface());
        QVERIFY(a->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
    }
    QCOMPARE(f.SpeedButton1->accessibleName(), u"Salvar"_s);
    QCOMPARE(f.SpeedButton2->accessibleName(), u"Voltar"_s);

    QCOMPARE(f.DBComboBox1->count(), 27);
    QCOMPARE(f.DBComboBox2->itemText(26), u"TO"_s);
    QCOMPARE(f.DBComboBox3->itemText(4), u"Funcionário Púbico"_s);
    QCOMPARE(f.DBComboBox5->itemText(4), u"Pos-Graduação"_s);
    QCOMPARE(f.DBEdit12->maxLength(), 50);
    QCOMPARE(f.DBEdit26->maxLength(), 35);
    QCOMPARE(f.DBEdit27->maxLength(), 4);
    QCOMPARE(f.DBEdit5->maxLength(), 38);
}

void TstFrmCadastro::blankNameIsRefused()
{
    Registration r;
    QVERIFY(r.ready());
    r.type(r.form->DBEdit12, u"   "_s);
    r.type(r.form->DBEdit10, u"1133334444"_s);
    r.save();
    QCOMPARE(m_dialogs->messages().size(), 1);
    const MessageRequest box = m_dialogs->messages().first();
    QCOMPARE(box.kind, MessageKind::Plain);
    QCOMPARE(box.caption, u"Vosmira v1.0"_s);
    QCOMPARE(box.text, u"O campo nome é de preenchimento obrigatório."_s);
    QVERIFY(r.form->DBEdit12->text().isEmpty());
    QCOMPARE(r.focused(), u"DBEdit12"_s);
    QCOMPARE(r.dm->CDSCliente->State(), dsInsert);
    QVERIFY(r.form->isVisible());
    QCOMPARE(r.form->DBEdit10->displayText(), u"(11)3333-4444"_s);
    QCOMPARE(r.storedCount(), 0);
}

void TstFrmCadastro::declinedConfirmationKeepsEverything()
{
    Registration r;
    QVERIFY(r.ready());
    TFrmCADASTROcliente &f = *r.form;
    r.type(f.DBEdit12, u"ana conceição"_s);
    r.type(f.DBEdit9, u"12345678909"_s);
    r.type(f.TimePeck_NACIMENTO, u"05031980"_s);
    r.type(f.Memo1, u"Cliente antiga"_s);
    f.ComboBox1->setFocus();
    r.key(Qt::Key_Down);
    m_dialogs->answerNext(Answer::No);
    r.save();
    QCOMPARE(m_dialogs->messages().size(), 1);
    const MessageRequest box = m_dialogs->messages().first();
    QCOMPARE(box.kind, MessageKind::Question);
    QCOMPARE(box.caption, u"Confirmação"_s);
    QCOMPARE(box.text, u"Confirma cadastramento?"_s);
    QCOMPARE(box.icon, MessageIcon::Question);
    QVERIFY(f.isVisible());
    QCOMPARE(f.DBEdit12->text(), u"ANA CONCEIÇÃO"_s);
    QCOMPARE(f.DBEdit9->displayText(), u"123.456.789-09"_s);
    QCOMPARE(f.TimePeck_NACIMENTO->Date(), QDate(1980, 3, 5));
    QCOMPARE(f.Memo1->toPlainText(), u"Cliente antiga"_s);
    QCOMPARE(f.ComboBox1->currentText(), u"Aprovado"_s);
    QCOMPARE(r.dm->CDSCliente->State(), dsInsert);
    QCOMPARE(r.storedCount(), 0);

    r.save();
    QVERIFY(!f.isVisible());
    QCOMPARE(r.storedCount(), 1);
    QCOMPARE(r.stored(u"CPF"_s, u"ANA CONCEIÇÃO"_s).toString(), u"12345678909"_s);
    QCOMPARE(r.stored(u"NACIMENTO"_s, u"ANA CONCEIÇÃO"_s).toString(), u"1980-03-05"_s);
    QCOMPARE(r.stored(u"OBS"_s, u"ANA CONCEIÇÃO"_s).toString(), u"Cliente antiga"_s);
    QCOMPARE(r.stored(u"CRED_STATUS"_s, u"ANA CONCEIÇÃO"_s).toString(), u"Aprovado"_s);
}

void TstFrmCadastro::kindSwitchEmptiesTheForm()
{
    Registration r;
    QVERIFY(r.ready());
    TFrmCADASTROcliente &f = *r.form;
    r.type(f.DBEdit12, u"ana"_s);
    r.type(f.DBEdit9, u"12345678909"_s);
    r.type(f.DBEdit4, u"Pedro"_s);
    r.type(f.TimePeck_NACIMENTO, u"05031980"_s);
    r.type(f.Memo1, u"abc"_s);
    f.ComboBox1->setFocus();
    r.key(Qt::Key_Down);
    r.key(Qt::Key_Down);
    QCOMPARE(f.Shape6->penColor(), QColor(230, 78, 28));
    QTest::mouseClick(f.RadioButton2, Qt::LeftButton);
    QVERIFY(f.RadioButton2->isChecked());
    QVERIFY(f.DBEdit12->text().isEmpty());
    QVERIFY(f.DBEdit3->text().isEmpty());
    QVERIFY(f.DBEdit16->isVisible());
    QVERIFY(!f.DBEdit9->isVisible());
    QVERIFY(f.TimePeck_NACIMENTO->isEmpty());
    QCOMPARE(f.ComboBox1->currentIndex(), 0);
    QCOMPARE(f.Shape6->penColor(), kGrey);
    QCOMPARE(f.LbContador->text(), u"400"_s);
    QCOMPARE(f.DateTimePicker1->Date(), kToday); // the credit dates stay
    QVERIFY(r.dm->CDSClienteNOME->IsNull());
    QVERIFY(r.dm->CDSClienteCPF->IsNull());
    QVERIFY(r.dm->CDSClienteCONTATO->IsNull());

    // Choosing the kind already chosen changes nothing.
    r.type(f.DBEdit12, u"empresa"_s);
    QTest::mouseClick(f.RadioButton2, Qt::LeftButton);
    QCOMPARE(f.DBEdit12->text(), u"EMPRESA"_s);

    r.save();
    QCOMPARE(r.storedCount(), 1);
    QVERIFY(r.stored(u"CPF"_s, u"EMPRESA"_s).isNull());
    QVERIFY(r.stored(u"CONTATO"_s, u"EMPRESA"_s).isNull());
    QVERIFY(r.stored(u"OBS"_s, u"EMPRESA"_s).isNull());
    QCOMPARE(r.stored(u"TIPO"_s, u"EMPRESA"_s).toString(), ClientRecord::pessoaJuridica());
}

void TstFrmCadastro::datesStoredForEachKind_data()
{
    QTest::addColumn<bool>("company");
    QTest::addColumn<QString>("birth");
    QTest::addColumn<QString>("foundation");
    QTest::addColumn<QVariant>("NACIMENTO");
    QTest::addColumn<QVariant>("FUNDACAO");

    QTest::newRow("person without birth date") << false << QString() << QString() << QVariant(kZero) << QVariant();
    QTest::newRow("person with birth date")
        << false << u"05031980"_s << QString() << QVariant(u"1980-03-05"_s) << QVariant();
    QTest::newRow("company with foundation")
        << true << QString() << u"01021999"_s << QVariant(kZero) << QVariant(u"1999-02-01"_s);
    QTest::newRow("company without foundation") << true << QString() << QString() << QVariant(kZero) << QVariant(kZero);
}

void TstFrmCadastro::datesStoredForEachKind()
{
    QFETCH(bool, company);
    QFETCH(QString, birth);
    QFETCH(QString, foundation);
    QFETCH(QVariant, NACIMENTO);
    QFETCH(QVariant, FUNDACAO);

    Registration r;
    QVERIFY(r.ready());
    TFrmCADASTROcliente &f = *r.form;
    if (company)
        QTest::mouseClick(f.RadioButton2, Qt::LeftButton);
    r.type(f.DBEdit12, u"x"_s);
    if (!birth.isEmpty())
        r.type(f.TimePeck_NACIMENTO, birth);
    if (!foundation.isEmpty())
        r.type(f.TimePeck_FUNDACAO, foundation);
    r.type(f.TimePeck_DESDE, u"02012020"_s);
    r.save();
    QVERIFY(!f.isVisible());
    QCOMPARE(r.stored(u"NACIMENTO"_s, u"X"_s), NACIMENTO);
    QCOMPARE(r.stored(u"FUNDACAO"_s, u"X"_s), FUNDACAO);
    QCOMPARE(r.stored(u"CRED_DESDE"_s, u"X"_s).toString(), u"2020-01-02"_s);
    QCOMPARE(r.stored(u"CRED_CONSULTA"_s, u"X"_s).toString(), kToday.toString(Qt::ISODate));
    QCOMPARE(r.stored(u"CRED_STATUS"_s, u"X"_s).toString(), u"Em analise"_s);
    QCOMPARE(r.stored(u"TIPO"_s, u"X"_s).toString(),
             company ? ClientRecord::pessoaJuridica() : ClientRecord::pessoaFisica());
}

void TstFrmCadastro::personStoredForms()
{
    Registration r(true);
    QVERIFY(r.ready());
    TFrmCADASTROcliente &f = *r.form;
    r.type(f.DBEdit12, u"  maria da silva"_s);
    r.type(f.DBEdit9, u"52998224725"_s);
    r.type(f.DBEdit25, u"12.345.678-9"_s);
    r.type(f.DBEdit33, u"SSP"_s);
    f.DBComboBox2->setFocus();
    r.key(Qt::Key_End); // "TO"
    f.DBComboBox3->setFocus();
    for (int i = 0; i < 4; ++i)
        r.key(Qt::Key_Down); // "Carteira Assinada (CLT)"
    r.type(f.DBEdit26, u"Engenheira de alimentos e bebidas"_s);
    r.type(f.DBEdit10, u"1133334444"_s);
    r.type(f.DBEdit27, u"12345"_s); // 4 at most
    r.type(f.DBEdit30, u"21987654321"_s);
    r.type(f.DBEdit14, u"01310100"_s);
    r.type(f.DBEdit18, u"31999988887"_s);
    r.type(f.DBEdit4, u"Pedro"_s);
    r.key(Qt::Key_Tab);
    r.save();
    QVERIFY(!f.isVisible());
    QVERIFY(m_dialogs->texts() == QStringList{u"Confirma cadastramento?"_s});

    const QString name = u"  MARIA DA SILVA"_s;
    QCOMPARE(r.storedCount(), 2);
    QCOMPARE(r.stored(u"CPF"_s, name).toString(), u"52998224725"_s);
    QCOMPARE(r.stored(u"RG"_s, name).toString(), u"12.345.678-9"_s);
    QCOMPARE(r.stored(u"UF_ID"_s, name).toString(), u"TO"_s);
    QCOMPARE(r.stored(u"VINCULO"_s, name).toString(), u"Carteira Assinada (CLT)"_s);
    QCOMPARE(r.stored(u"PROFISSAO"_s, name).toString(), u"Engenheira de alimentos e bebidas"_s);
    QCOMPARE(r.stored(u"TELEFONE1"_s, name).toString(), u"1133334444"_s);
    QCOMPARE(r.stored(u"RAMAL1"_s, name).toString(), u"1234"_s);
    QVERIFY(r.stored(u"TELEFONE2"_s, name).isNull());
    QCOMPARE(r.stored(u"TELEFONE3"_s, name).toString(), u"21987654321"_s);
    QCOMPARE(r.stored(u"CEP"_s, name).toString(), u"01310100"_s);
    QCOMPARE(r.stored(u"CRED_TEL1"_s, name).toString(), u"31999988887"_s);
    QCOMPARE(r.stored(u"CONTATO"_s, name).toString(), u"Pedro"_s);
    QVERIFY(r.stored(u"CNPJ"_s, name).isNull());
    QVERIFY(r.stored(u"SEXO"_s, name).isNull());
    QVERIFY(r.stored(u"UF"_s, name).isNull());
    QCOMPARE(r.stored(u"TIPO"_s, name).toString(), u"Pessoa Física"_s);

    // The dataset is neither reloaded nor re-sorted: the new client comes last.
    TClientDataSet *clients = r.dm->CDSCliente;
    QCOMPARE(clients->State(), dsBrowse);
    QCOMPARE(clients->RecordCount(), 2);
    clients->Last();
    QCOMPARE(r.dm->CDSClienteNOME->AsString(), name);
}

void TstFrmCadastro::companyStoredForms()
{
    Registration r;
    QVERIFY(r.ready());
    TFrmCADASTROcliente &f = *r.form;
    QTest::mouseClick(f.RadioButton2, Qt::LeftButton);
    r.type(f.DBEdit12, u"acme ltda"_s);
    r.type(f.DBEdit16, u"12abc34501de35"_s);
    r.type(f.DBEdit1, u"110.042.490.114"_s);
    r.type(f.DBEdit17, u"1234567"_s);
    r.type(f.DBEdit11, u"Acme"_s);
    r.type(f.DBEdit3, u"Joana"_s);
    r.type(f.DBEdit24, u"Compras"_s);
    r.type(f.DBEdit28, u"1140041234"_s);
    r.key(Qt::Key_Tab);
    r.save();
    QVERIFY(!f.isVisible());
    QCOMPARE(m_dialogs->texts(), QStringList{u"Confirma cadastramento?"_s});

    const QString name = u"ACME LTDA"_s;
    QCOMPARE(r.stored(u"CNPJ"_s, name).toString(), u"12.ABC.345/01DE-35"_s);
    QCOMPARE(r.stored(u"IE"_s, name).toString(), u"110.042.490.114"_s);
    QCOMPARE(r.stored(u"IM"_s, name).toString(), u"1234567"_s);
    QCOMPARE(r.stored(u"NOME_FANTASIA"_s, name).toString(), u"Acme"_s);
    QCOMPARE(r.stored(u"CONTATO"_s, name).toString(), u"Joana"_s);
    QCOMPARE(r.stored(u"SETOR"_s, name).toString(), u"Compras"_s);
    QCOMPARE(r.stored(u"TELEFONE2"_s, name).toString(), u"1140041234"_s);
    QVERIFY(r.stored(u"CPF"_s, name).isNull());
    QCOMPARE(r.stored(u"TIPO"_s, name).toString(), u"Pessoa Juridica"_s);
}

void TstFrmCadastro::enterOrder_data()
{
    QTest::addColumn<bool>("company");
    QTest::addColumn<QStringList>("order");

    const QStringList rest = {u"DBEdit10"_s,  u"DBEdit27"_s, u"DBEdit28"_s, u"DBEdit29"_s,    u"DBEdit30"_s,
                              u"DBEdit31"_s,  u"DBEdit13"_s, u"DBEdit32"_s, u"DBEdit5"_s,     u"DBEdit6"_s,
                              u"DBEdit2"_s,   u"DBEdit7"_s,  u"DBEdit8"_s,  u"DBComboBox1"_s, u"DBEdit14"_s,
                              u"ComboBox1"_s, u"DBEdit20"_s, u"DBEdit18"_s, u"DBEdit19"_s,    u"DBEdit21"_s,
                              u"DBEdit22"_s,  u"DBEdit23"_s, u"Memo1"_s};
    QTest::newRow("person") << false
                            << QStringList{u"DBEdit12"_s,    u"DBEdit9"_s,     u"DBEdit25"_s,
                                           u"DBEdit33"_s,    u"DBComboBox2"_s, u"TimePeck_NACIMENTO"_s,
                                           u"DBComboBox4"_s, u"DBComboBox5"_s, u"DBEdit26"_s,
                                           u"DBComboBox3"_s, u"DBEdit4"_s}
                                   + rest;
    QTest::newRow("company") << true
                             << QStringList{u"DBEdit12"_s, u"DBEdit16"_s,          u"DBEdit1"_s,
                                            u"DBEdit17"_s, u"TimePeck_FUNDACAO"_s, u"DBEdit11"_s,
                                            u"DBEdit15"_s, u"DBEdit3"_s,           u"DBEdit24"_s}
                                    + rest;
}

void TstFrmCadastro::enterOrder()
{
    QFETCH(bool, company);
    QFETCH(QStringList, order);

    Registration r;
    QVERIFY(r.ready());
    TFrmCADASTROcliente &f = *r.form;
    if (company)
        QTest::mouseClick(f.RadioButton2, Qt::LeftButton);
    f.DBEdit12->setFocus();
    QStringList visited{r.focused()};
    for (int i = 1; i < order.size(); ++i) {
        r.key(Qt::Key_Return);
        visited.append(r.focused());
    }
    QCOMPARE(visited, order);
    // The memo keeps its Enter; the last of the order wraps to the name.
    r.key(Qt::Key_Enter);
    QCOMPARE(r.focused(), u"Memo1"_s);
    f.DateTimePicker1->setFocus();
    r.key(Qt::Key_Return);
    QCOMPARE(r.focused(), u"TimePeck_DESDE"_s);
    r.key(Qt::Key_Return);
    QCOMPARE(r.focused(), u"DBEdit12"_s);
    QVERIFY(m_dialogs->messages().isEmpty());
    QVERIFY(f.isVisible());
}

void TstFrmCadastro::tabOrderWrapsThroughTheKindButton_data()
{
    QTest::addColumn<bool>("company");
    QTest::newRow("person") << false;
    QTest::newRow("company") << true;
}

void TstFrmCadastro::tabOrderWrapsThroughTheKindButton()
{
    QFETCH(bool, company);
    Registration r;
    QVERIFY(r.ready());
    TFrmCADASTROcliente &f = *r.form;
    if (company)
        QTest::mouseClick(f.RadioButton2, Qt::LeftButton);
    f.Memo1->setFocus();
    r.key(Qt::Key_Tab);
    QCOMPARE(r.focused(), company ? u"RadioButton2"_s : u"RadioButton1"_s);
    r.key(Qt::Key_Tab);
    QCOMPARE(r.focused(), u"DateTimePicker1"_s);
    r.key(Qt::Key_Tab);
    QCOMPARE(r.focused(), u"TimePeck_DESDE"_s);
    r.key(Qt::Key_Tab);
    QCOMPARE(r.focused(), u"DBEdit12"_s);
    r.key(Qt::Key_Backtab);
    QCOMPARE(r.focused(), u"TimePeck_DESDE"_s);
    f.DBEdit12->setFocus();
    r.key(Qt::Key_Tab);
    QCOMPARE(r.focused(), company ? u"DBEdit16"_s : u"DBEdit9"_s);
}

void TstFrmCadastro::enterInTheMemoIsSwallowed()
{
    Registration r;
    QVERIFY(r.ready());
    r.type(r.form->Memo1, u"ab"_s);
    r.key(Qt::Key_Return);
    QTest::keyClick(r.form->Memo1, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(r.form->Memo1, u"c"_s);
    QCOMPARE(r.form->Memo1->toPlainText(), u"abc"_s);
    QCOMPARE(r.focused(), u"Memo1"_s);
    QCOMPARE(r.form->LbContador->text(), u"397"_s);
}

void TstFrmCadastro::memoLimitAndCounter()
{
    Registration r;
    QVERIFY(r.ready());
    TFrmCADASTROcliente &f = *r.form;
    r.type(f.DBEdit12, u"x"_s);
    r.type(f.Memo1, QString(399, u'a'));
    QCOMPARE(f.LbContador->text(), u"1"_s);
    QTest::keyClicks(f.Memo1, u"bc"_s);
    QCOMPARE(f.Memo1->length(), 400);
    QCOMPARE(f.LbContador->text(), u"0"_s);
    QTest::keyClick(f.Memo1, Qt::Key_Backspace);
    QCOMPARE(f.LbContador->text(), u"1"_s);
    QTest::keyClicks(f.Memo1, u"d"_s);
    r.save();
    QCOMPARE(r.stored(u"OBS"_s, u"X"_s).toString(), QString(399, u'a') + u'd');
}

void TstFrmCadastro::creditBorderFollowsTheStatus()
{
    Registration r;
    QVERIFY(r.ready());
    TFrmCADASTROcliente &f = *r.form;
    f.ComboBox1->setFocus();
    const QList<QColor> colours = {QColor(0, 128, 115), QColor(230, 78, 28)};
    for (const QColor &colour : colours) {
        r.key(Qt::Key_Down);
        QCOMPARE(f.Shape6->penColor(), colour);
        QCOMPARE(f.Shape7->penColor(), colour);
    }
    r.key(Qt::Key_Home);
    QCOMPARE(f.ComboBox1->currentText(), u"Em analise"_s);
    QCOMPARE(f.Shape6->penColor(), kGrey);
    f.ComboBox1Select(3); // outside the list: nothing
    QCOMPARE(f.Shape6->penColor(), kGrey);
}

void TstFrmCadastro::leavingWithoutSaveDiscards_data()
{
    QTest::addColumn<QString>("way");
    QTest::newRow("close box") << u"close"_s;
    QTest::newRow("back button") << u"back"_s;
    QTest::newRow("modal run ended") << u"reject"_s;
}

void TstFrmCadastro::leavingWithoutSaveDiscards()
{
    QFETCH(QString, way);
    Registration r(true);
    QVERIFY(r.ready());
    TFrmCADASTROcliente &f = *r.form;
    r.type(f.DBEdit12, u"ana"_s);
    r.type(f.DBEdit9, u"12345678909"_s);
    r.key(Qt::Key_Tab);
    if (way == u"close"_s)
        f.close();
    else if (way == u"back"_s)
        QTest::mouseClick(f.SpeedButton2, Qt::LeftButton);
    else
        f.reject();
    QVERIFY(!f.isVisible());
    QCOMPARE(r.dm->CDSCliente->State(), dsBrowse);
    QCOMPARE(r.dm->CDSCliente->RecordCount(), 1);
    QCOMPARE(r.dm->CDSCliente->ChangeCount(), 0);
    QCOMPARE(r.storedCount(), 1);
    QVERIFY(m_dialogs->messages().isEmpty());
}

void TstFrmCadastro::escapeNeverClosesTheWindow()
{
    Registration r;
    QVERIFY(r.ready());
    TFrmCADASTROcliente &f = *r.form;
    r.type(f.DBEdit10, u"113"_s);
    r.key(Qt::Key_Escape);
    QVERIFY(f.DBEdit10->storedValue().isNull());
    QVERIFY(f.isVisible());
    for (QWidget *w : {static_cast<QWidget *>(f.DBEdit12), static_cast<QWidget *>(f.DBComboBox1),
                       static_cast<QWidget *>(f.Memo1), static_cast<QWidget *>(f.ComboBox1),
                       static_cast<QWidget *>(f.TimePeck_DESDE), static_cast<QWidget *>(f.RadioButton1)}) {
        w->setFocus();
        r.key(Qt::Key_Escape);
        QVERIFY2(f.isVisible(), qPrintable(w->objectName()));
    }
    QCOMPARE(r.dm->CDSCliente->State(), dsInsert);
}

void TstFrmCadastro::cpfExitCheck_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<bool>("message");
    QTest::addColumn<QString>("stored");

    QTest::newRow("never typed") << QString() << false << QString();
    QTest::newRow("right") << u"12345678909"_s << false << u"12345678909"_s;
    QTest::newRow("wrong") << u"12345678908"_s << true << QString();
    QTest::newRow("eleven equal digits") << u"11111111111"_s << false << u"11111111111"_s;
}

void TstFrmCadastro::cpfExitCheck()
{
    QFETCH(QString, keys);
    QFETCH(bool, message);
    QFETCH(QString, stored);

    Registration r;
    QVERIFY(r.ready());
    TFrmCADASTROcliente &f = *r.form;
    r.type(f.DBEdit9, keys);
    r.key(Qt::Key_Tab);
    QCOMPARE(r.focused(), u"DBEdit25"_s); // the focus is not brought back
    if (message) {
        QCOMPARE(m_dialogs->texts(), QStringList{u"CPF Inválido !!"_s});
        QCOMPARE(m_dialogs->messages().first().kind, MessageKind::Plain);
        QCOMPARE(m_dialogs->messages().first().caption, u"Vosmira v1.0"_s);
        QCOMPARE(f.DBEdit9->displayText(), u"___.___.___-__"_s);
    } else {
        QVERIFY(m_dialogs->messages().isEmpty());
    }
    r.type(f.DBEdit12, u"x"_s);
    r.save();
    QCOMPARE(r.stored(u"CPF"_s, u"X"_s).toString(), stored);
}

void TstFrmCadastro::numberAnotherClientHoldsWarns_data()
{
    QTest::addColumn<bool>("company");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("warning");

    // ZULU holds the CPF as digits and the CNPJ with its punctuation; either
    // way of writing matches.
    QTest::newRow("CPF held") << false << u"12345678909"_s << u"Já existe um cliente com este CPF: ZULU."_s;
    QTest::newRow("CPF free") << false << u"52998224725"_s << QString();
    QTest::newRow("CNPJ held") << true << u"11222333000181"_s << u"Já existe um cliente com este CNPJ: ZULU."_s;
    QTest::newRow("alphanumeric CNPJ held")
        << true << u"12ABC34501DE35"_s << u"Já existe um cliente com este CNPJ: ZULU."_s;
    QTest::newRow("CNPJ free") << true << u"11444777000161"_s << QString();
}

void TstFrmCadastro::numberAnotherClientHoldsWarns()
{
    QFETCH(bool, company);
    QFETCH(QString, keys);
    QFETCH(QString, warning);

    Registration r;
    QVERIFY(r.db.addClient(u"ZULU"_s, ClientRecord::pessoaFisica(), {{u"CPF"_s, u"12345678909"_s}}));
    QVERIFY(r.db.addClient(u"ZULU"_s, ClientRecord::pessoaJuridica(), {{u"CNPJ"_s, u"11.222.333/0001-81"_s}}));
    QVERIFY(r.db.addClient(u"ZULU"_s, ClientRecord::pessoaJuridica(), {{u"CNPJ"_s, u"12.ABC.345/01DE-35"_s}}));
    QVERIFY(r.ready());
    TFrmCADASTROcliente &f = *r.form;
    if (company)
        f.RadioButton2->setChecked(true);
    TDBEdit *number = company ? f.DBEdit16 : f.DBEdit9;
    r.type(number, keys);
    r.key(Qt::Key_Tab);
    // A warning only: the focus goes on and the number stays.
    QCOMPARE(r.focused(), company ? u"DBEdit1"_s : u"DBEdit25"_s);
    QCOMPARE(m_dialogs->texts(), warning.isEmpty() ? QStringList() : QStringList{warning});
    if (!warning.isEmpty())
        QCOMPARE(m_dialogs->messages().first().kind, MessageKind::Plain);
    r.type(f.DBEdit12, u"novo"_s);
    r.save();
    QVERIFY(!f.isVisible());
    QCOMPARE(r.stored(company ? u"CNPJ"_s : u"CPF"_s, u"NOVO"_s).toString().remove(u'.').remove(u'/').remove(u'-'),
             keys);
}

void TstFrmCadastro::partialCpfCannotBeLeft()
{
    Registration r;
    QVERIFY(r.ready());
    TFrmCADASTROcliente &f = *r.form;
    r.type(f.DBEdit9, u"1234567"_s);
    r.key(Qt::Key_Tab);
    QCOMPARE(r.focused(), u"DBEdit9"_s);
    r.key(Qt::Key_Return);
    QCOMPARE(r.focused(), u"DBEdit9"_s);
    QTest::mouseClick(f.windowHandle(), Qt::LeftButton, {}, f.DBEdit25->geometry().center());
    QCOMPARE(r.focused(), u"DBEdit9"_s);
    QCOMPARE(m_dialogs->messages().size(), 3);
    for (const MessageRequest &box : m_dialogs->messages())
        QCOMPARE(box.text, u"Valor de entrada inválido. Use a tecla Esc para abandonar as alterações."_s);

    // Abandoned with Escape, it leaves without a check.
    r.key(Qt::Key_Escape);
    r.key(Qt::Key_Tab);
    QCOMPARE(r.focused(), u"DBEdit25"_s);
    QCOMPARE(m_dialogs->messages().size(), 3);
}

void TstFrmCadastro::cnpjExitCheck_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<bool>("deleteAll");
    QTest::addColumn<bool>("message");
    QTest::addColumn<QVariant>("stored");

    QTest::newRow("never typed") << QString() << false << false << QVariant();
    QTest::newRow("right") << u"11222333000181"_s << false << false << QVariant(u"11.222.333/0001-81"_s);
    QTest::newRow("11.111.111/1111-80") << u"11111111111180"_s << false << false << QVariant(u"11.111.111/1111-80"_s);
    QTest::newRow("wrong") << u"11111111111111"_s << false << true << QVariant();
    QTest::newRow("first eight digits") << u"11222333"_s << false << true << QVariant();
    QTest::newRow("digits all deleted") << u"11222333000181"_s << true << false << QVariant();
    QTest::newRow("alphanumeric, typed lower case")
        << u"12abc34501de35"_s << false << false << QVariant(u"12.ABC.345/01DE-35"_s);
    QTest::newRow("alphanumeric, wrong") << u"12ABC34501DE53"_s << false << true << QVariant();
}

void TstFrmCadastro::cnpjExitCheck()
{
    QFETCH(QString, keys);
    QFETCH(bool, deleteAll);
    QFETCH(bool, message);
    QFETCH(QVariant, stored);

    Registration r;
    QVERIFY(r.ready());
    TFrmCADASTROcliente &f = *r.form;
    QTest::mouseClick(f.RadioButton2, Qt::LeftButton);
    r.type(f.DBEdit16, keys);
    if (deleteAll) {
        f.DBEdit16->selectAll();
        r.key(Qt::Key_Delete);
    }
    r.key(Qt::Key_Tab);
    QCOMPARE(r.focused(), u"DBEdit1"_s);
    if (message) {
        QCOMPARE(m_dialogs->texts(), QStringList{u"CNPJ Inválido !!"_s});
        QCOMPARE(m_dialogs->messages().first().kind, MessageKind::Plain);
        QCOMPARE(f.DBEdit16->displayText(), u"__.___.___/____-__"_s);
    } else {
        QVERIFY(m_dialogs->messages().isEmpty());
    }
    r.type(f.DBEdit12, u"x"_s);
    r.save();
    QCOMPARE(r.stored(u"CNPJ"_s, u"X"_s), stored);
}

void TstFrmCadastro::validNumberLeftUnchangedPassesAgain()
{
    Registration r;
    QVERIFY(r.ready());
    TFrmCADASTROcliente &f = *r.form;
    r.type(f.DBEdit9, u"12345678909"_s);
    r.key(Qt::Key_Tab);
    r.key(Qt::Key_Backtab);
    QCOMPARE(r.focused(), u"DBEdit9"_s);
    r.key(Qt::Key_Tab);
    QCOMPARE(r.focused(), u"DBEdit25"_s);
    QCOMPARE(f.DBEdit9->displayText(), u"123.456.789-09"_s);
    QVERIFY(m_dialogs->messages().isEmpty());
}

void TstFrmCadastro::numberBeingTypedIsCheckedOnSave()
{
    Registration r;
    QVERIFY(r.ready());
    TFrmCADASTROcliente &f = *r.form;
    r.type(f.DBEdit12, u"x"_s);
    r.type(f.DBEdit9, u"12345678908"_s);
    r.save(); // the focus is still in the CPF edit
    QCOMPARE(m_dialogs->texts(), (QStringList{u"CPF Inválido !!"_s, u"Confirma cadastramento?"_s}));
    QVERIFY(!f.isVisible());
    QCOMPARE(r.storedCount(), 1);
    QVERIFY(r.stored(u"CPF"_s, u"X"_s).isNull());
}

void TstFrmCadastro::incompleteMaskStopsTheSave()
{
    Registration r;
    QVERIFY(r.ready());
    TFrmCADASTROcliente &f = *r.form;
    r.type(f.DBEdit12, u"x"_s);
    r.type(f.DBEdit14, u"0131"_s);
    r.save(); // the focus is still in the CEP edit
    QCOMPARE(m_dialogs->messages().size(), 2);
    QCOMPARE(m_dialogs->messages().at(1).kind, MessageKind::Error);
    QVERIFY(f.isVisible());
    QCOMPARE(r.dm->CDSCliente->State(), dsInsert);
    QCOMPARE(r.storedCount(), 0);

    r.type(f.DBEdit14, u"0131010"_s);
    f.DBEdit14->setCursorPosition(0);
    QTest::keyClicks(f.DBEdit14, u"01310100"_s);
    r.save();
    QVERIFY(!f.isVisible());
    QCOMPARE(r.stored(u"CEP"_s, u"X"_s).toString(), u"01310100"_s);
}

void TstFrmCadastro::saveRunsOncePerRow()
{
    Registration r;
    QVERIFY(r.ready());
    TFrmCADASTROcliente &f = *r.form;
    r.type(f.DBEdit12, u"x"_s);
    // A second press while the question is open (the accessibility action is not
    // held back by the box), and another once the window has closed.
    m_dialogs->onNextMessage([&](const MessageRequest &) { r.save(); });
    r.save();
    QVERIFY(!f.isVisible());
    f.SpeedButton1Click();
    QCOMPARE(m_dialogs->texts(), QStringList{u"Confirma cadastramento?"_s});
    QCOMPARE(r.storedCount(), 1);
    QCOMPARE(r.dm->CDSCliente->ChangeCount(), 0);
}

void TstFrmCadastro::refusedSaveKeepsTheWindow()
{
    Registration r;
    QVERIFY(r.ready());
    TFrmCADASTROcliente &f = *r.form;
    OtherProgramLock lock(r.db, *r.dm);
    QVERIFY(lock.held());

    r.type(f.DBEdit12, u"joana"_s);
    r.type(f.DBEdit13, u"joana@exemplo.com.br"_s);
    r.save();
    QCOMPARE(m_dialogs->texts(),
             (QStringList{u"Confirma cadastramento?"_s,
                          u"O cliente não foi salvo: o banco de dados está em uso por outro programa; tente de novo "
                          "em instantes."_s}));
    QVERIFY(f.isVisible());
    QCOMPARE(f.DBEdit12->text(), u"JOANA"_s);
    QCOMPARE(f.DBEdit13->text(), u"joana@exemplo.com.br"_s);
    QCOMPARE(r.dm->CDSCliente->ChangeCount(), 0);

    // Once the lock is gone, the same press saves what was typed.
    lock.release();
    r.save();
    QVERIFY(!f.isVisible());
    QCOMPARE(r.storedCount(), 1);
    QCOMPARE(r.stored(u"EMAIL"_s, u"JOANA"_s).toString(), u"joana@exemplo.com.br"_s);
}

void TstFrmCadastro::nextWindowStartsFromNothing()
{
    Registration r;
    QVERIFY(r.ready());
    {
        TFrmCADASTROcliente &f = *r.form;
        r.type(f.DBEdit12, u"primeiro"_s);
        r.type(f.DBEdit9, u"12345678909"_s);
        r.type(f.Memo1, u"nota"_s);
        r.type(f.DBEdit14, u"0131"_s);
        r.save(); // stopped by the incomplete CEP, row half-written
        QCOMPARE(r.dm->CDSCliente->State(), dsInsert);
        f.close();
    }
    r.form.reset();
    QCOMPARE(FrmCADASTROcliente, nullptr);
    QCOMPARE(r.dm->CDSCliente->State(), dsBrowse);

    r.form = std::make_unique<TFrmCADASTROcliente>();
    r.form->show();
    QApplication::setActiveWindow(r.form.get());
    QVERIFY(r.ready());
    TFrmCADASTROcliente &g = *r.form;
    QVERIFY(g.DBEdit12->text().isEmpty());
    QCOMPARE(g.DBEdit9->displayText(), u"___.___.___-__"_s);
    QCOMPARE(g.LbContador->text(), u"400"_s);
    r.type(g.DBEdit12, u"segundo"_s);
    m_dialogs->clear();
    r.save();
    QVERIFY(!g.isVisible());
    QCOMPARE(r.storedCount(), 1);
    QCOMPARE(r.db.scalar(u"SELECT COUNT(*) FROM CAD_CLIENTE WHERE CPF IS NULL AND OBS IS NULL AND CEP IS NULL"
                         " AND FUNDACAO IS NULL AND NOME = 'SEGUNDO'"_s)
                 .toInt(),
             1);
    QCOMPARE(r.stored(u"NACIMENTO"_s, u"SEGUNDO"_s).toString(), kZero);
}

void TstFrmCadastro::nameTurnsUpperCaseAsTyped_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("name");
    QTest::newRow("accents") << u"joão conceição"_s << u"JOÃO CONCEIÇÃO"_s;
    // Upper case is longer here: the cursor must stay behind what was typed.
    QTest::newRow("sharp s") << u"straße"_s << u"STRASSE"_s;
    QTest::newRow("ligature") << u"\ufb01lho"_s << u"FILHO"_s;
}

void TstFrmCadastro::nameTurnsUpperCaseAsTyped()
{
    QFETCH(QString, keys);
    QFETCH(QString, name);
    Registration r;
    QVERIFY(r.ready());
    r.type(r.form->DBEdit12, keys);
    QCOMPARE(r.form->DBEdit12->text(), name);
    r.save();
    QCOMPARE(r.storedCount(), 1);
    QCOMPARE(r.db.scalar(u"SELECT NOME FROM CAD_CLIENTE"_s).toString(), name);
}

int main(int argc, char *argv[])
{
    VosmiraApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    TstFrmCadastro test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_frmcadastro.moc"
