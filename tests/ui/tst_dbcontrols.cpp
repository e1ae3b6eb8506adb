#include "MaskedText.h"
#include "TDBComboBox.h"
#include "TDBEdit.h"
#include "TDBMemo.h"
#include "TDataSource.h"
#include "TDateEdit.h"

#include "DataFixture.h"
#include "ScriptedDialogs.h"
#include "VosmiraApplication.h"

#include "ClientRecord.h"
#include "DataErrors.h"
#include "UDMbanco.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QKeyEvent>
#include <QTest>

#include <memory>

using namespace Qt::Literals::StringLiterals;
using namespace vosmira;
using vosmira::test::ScriptedDialogs;

namespace {

// A window with edits bound to the pending row of a fresh clients dataset.
struct Bench
{
    TempDatabase db;
    std::unique_ptr<TDMbanco> dm = openDataModule(db);
    QDialog window;
    TDataSource *source = nullptr;
    TDBEdit *cpf = nullptr;
    TDBEdit *cnpj = nullptr;
    TDBEdit *phone = nullptr;
    TDBEdit *cep = nullptr;
    TDBEdit *name = nullptr;
    TDBEdit *contact1 = nullptr;
    TDBEdit *contact2 = nullptr;
    TDBComboBox *state = nullptr;
    TDBMemo *memo = nullptr;
    TDateEdit *date = nullptr;

    Bench()
    {
        if (!dm)
            return;
        dm->CDSCliente->Append();
        source = new TDataSource(dm->CDSCliente, &window);
        auto edit = [this](TField *field, int y) {
            auto *e = new TDBEdit(&window);
            e->setGeometry(10, y, 150, 21);
            e->setDataField(source, field);
            return e;
        };
        cpf = edit(dm->CDSClienteCPF, 10);
        cnpj = edit(dm->CDSClienteCNPJ, 35);
        cnpj->setAlphanumericPositions(12);
        phone = edit(dm->CDSClienteTELEFONE1, 60);
        cep = edit(dm->CDSClienteCEP, 85);
        name = edit(dm->CDSClienteNOME, 110);
        contact1 = edit(dm->CDSClienteCONTATO, 135);
        contact2 = edit(dm->CDSClienteCONTATO, 160);
        state = new TDBComboBox(&window);
        state->setGeometry(10, 185, 60, 21);
        state->addItems({u"AC"_s, u"SP"_s, u"RJ"_s});
        state->setDataField(source, dm->CDSClienteUF);
        memo = new TDBMemo(&window);
        memo->setGeometry(200, 10, 200, 100);
        memo->setMaxLength(400);
        memo->setDataField(source, dm->CDSClienteOBS);
        date = new TDateEdit(&window);
        date->setGeometry(200, 120, 120, 21);
        window.resize(420, 220);
        window.show();
        QApplication::setActiveWindow(&window);
    }

    bool ready() { return dm && QTest::qWaitForWindowActive(&window); }

    void type(QWidget *edit, const QString &keys, int cursor = 0)
    {
        edit->setFocus(Qt::OtherFocusReason);
        if (auto *line = qobject_cast<QLineEdit *>(edit))
            line->setCursorPosition(cursor);
        // QTest types ASCII only; other characters arrive as a key event with text.
        for (const QChar c : keys) {
            if (c.unicode() < 128) {
                QTest::keyClick(edit, c.toLatin1());
            } else {
                QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
                QApplication::sendEvent(edit, &press);
            }
        }
    }
};

TField *field(TDMbanco *dm, QStringView name)
{
    return dm->CDSCliente->FieldByName(name);
}

} // namespace

class TstDbControls : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void inputMasks_data();
    void inputMasks();
    void typedValues_data();
    void typedValues();
    void phoneLayoutWhileTyping_data();
    void phoneLayoutWhileTyping();
    void gapsKeepTheirPlaces();
    void untouchedEditsStoreNull();
    void storedValuesShowInTheirMask();
    void incompleteMaskRefusesTab();
    void incompleteMaskRefusesClick();
    void escapeAbandonsTheChange();
    void emptiedMaskedEditMayBeLeft();
    void incompleteValueStopsThePost();
    void sameColumnFollowsTheOtherEdit();
    void clearEmptiesTheColumn();
    void textFromAnAssistiveToolIsStored();
    void listWithoutItemIsNull();
    void memoRefusesBeyondItsLimit();
    void dateEdit_data();
    void dateEdit();
    void dateEditRefusesPartialDate();

private:
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<Bench> m_bench;
};

void TstDbControls::init()
{
    m_dialogs = std::make_unique<ScriptedDialogs>();
    m_bench = std::make_unique<Bench>();
    DMbanco = m_bench->dm.get();
    QVERIFY(m_bench->ready());
}

void TstDbControls::cleanup()
{
    m_bench.reset();
    DMbanco = nullptr;
    m_dialogs.reset();
}

void TstDbControls::inputMasks_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<int>("alphanumeric");
    QTest::addColumn<QString>("input");

    // Qt reads 9 as a required digit and 0 as an optional one.
    QTest::newRow("cpf") << QString(ClientRecord::CpfMask) << 0 << u"999.999.999-99;_"_s;
    QTest::newRow("phone") << QString(ClientRecord::PhoneMask) << 0 << u"(99)9999-9999;_"_s;
    QTest::newRow("cep") << QString(ClientRecord::CepMask) << 0 << u"99999-999;_"_s;
    QTest::newRow("cnpj digits") << QString(ClientRecord::CnpjMask) << 0 << u"00.000.000/0000-00;_"_s;
    QTest::newRow("cnpj letters") << QString(ClientRecord::CnpjMask) << 12 << u">nn.nnn.nnn/nnnn-00;_"_s;
}

void TstDbControls::inputMasks()
{
    QFETCH(QString, mask);
    QFETCH(int, alphanumeric);
    QFETCH(QString, input);
    QCOMPARE(maskedtext::inputMask(EditMask::parse(mask), alphanumeric), input);
}

void TstDbControls::typedValues_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("text"); // as the exit checks see it
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("complete");

    QTest::newRow("cpf") << u"CPF"_s << u"12345678909"_s << u"12345678909"_s << u"12345678909"_s << true;
    QTest::newRow("cpf partial") << u"CPF"_s << u"12345"_s << u"12345      "_s << u"12345"_s << false;
    QTest::newRow("cpf letters refused") << u"CPF"_s << u"12a345b678c909"_s << u"12345678909"_s << u"12345678909"_s
                                         << true;
    QTest::newRow("phone") << u"TELEFONE1"_s << u"1133334444"_s << u"1133334444"_s << u"1133334444"_s << true;
    QTest::newRow("mobile") << u"TELEFONE1"_s << u"11987654321"_s << u"11987654321"_s << u"11987654321"_s << true;
    QTest::newRow("phone of nine digits")
        << u"TELEFONE1"_s << u"119876543"_s << u"119876543 "_s << u"119876543"_s << false;
    QTest::newRow("phone twelfth digit refused")
        << u"TELEFONE1"_s << u"119876543210"_s << u"11987654321"_s << u"11987654321"_s << true;
    QTest::newRow("cep") << u"CEP"_s << u"01310100"_s << u"01310100"_s << u"01310100"_s << true;
    QTest::newRow("cnpj") << u"CNPJ"_s << u"11222333000181"_s << u"11.222.333/0001-81"_s << u"11.222.333/0001-81"_s
                          << true;
    QTest::newRow("cnpj letters turn upper case")
        << u"CNPJ"_s << u"12abc34501de35"_s << u"12.ABC.345/01DE-35"_s << u"12.ABC.345/01DE-35"_s << true;
    QTest::newRow("cnpj letter refused in check place")
        << u"CNPJ"_s << u"1122233300018A"_s << u"11.222.333/0001-8 "_s << u"11.222.333/0001-8"_s << true;
    // Qt's digit and letter positions take any script's digits and letters;
    // Brazilian keyboards give superscript digits on AltGr+1, 2 and 3.
    QTest::newRow("phone superscript digit refused")
        << u"TELEFONE1"_s << u"11\u00b23333\u00b34444"_s << u"1133334444"_s << u"1133334444"_s << true;
    QTest::newRow("cep other-script digit refused")
        << u"CEP"_s << u"0131\u0663\u00b90100"_s << u"01310100"_s << u"01310100"_s << true;
    QTest::newRow("cnpj accented letter refused")
        << u"CNPJ"_s << u"12ab\u00e7c34501\u00dfde35"_s << u"12.ABC.345/01DE-35"_s << u"12.ABC.345/01DE-35"_s << true;
    QTest::newRow("cnpj first eight") << u"CNPJ"_s << u"11222333"_s << u"11.222.333/    -  "_s << u"11.222.333/    -"_s
                                      << true;
}

void TstDbControls::typedValues()
{
    QFETCH(QString, column);
    QFETCH(QString, keys);
    QFETCH(QString, text);
    QFETCH(QString, stored);
    QFETCH(bool, complete);

    Bench &b = *m_bench;
    TDBEdit *edit = column == u"CPF"_s ? b.cpf : column == u"CNPJ"_s ? b.cnpj : column == u"CEP"_s ? b.cep : b.phone;
    b.type(edit, keys);
    QCOMPARE(edit->Text(), text);
    QCOMPARE(edit->storedValue(), stored);
    QCOMPARE(edit->problem().isEmpty(), complete);
    if (complete) {
        b.source->UpdateRecord();
        QCOMPARE(field(b.dm.get(), column)->AsString(), stored);
    }
}

void TstDbControls::phoneLayoutWhileTyping_data()
{
    QTest::addColumn<QString>("keys"); // < Backspace, > Delete, ^ Home, $ End, V paste "(21) 98765-4321"
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("cursor");

    QTest::newRow("partial") << u"119"_s << u"(11)9___-____"_s << 5;
    QTest::newRow("landline") << u"1133334444"_s << u"(11)3333-4444"_s << 13;
    QTest::newRow("eleventh digit moves the hyphen") << u"11987654321"_s << u"(11)98765-4321"_s << 14;
    QTest::newRow("twelfth digit refused") << u"119876543210"_s << u"(11)98765-4321"_s << 14;
    QTest::newRow("letter refused") << u"11a9"_s << u"(11)9___-____"_s << 5;
    QTest::newRow("back to ten digits") << u"11987654321<"_s << u"(11)9876-5432"_s << 13;
    QTest::newRow("backspace reaches past the hyphen") << u"11333$<"_s << u"(11)33__-____"_s << 6;
    QTest::newRow("delete reaches past the bracket") << u"11333444^>"_s << u"(13)3344-4___"_s << 1;
    QTest::newRow("typed before the others") << u"1133334444^9"_s << u"(91)13333-4444"_s << 2;
    QTest::newRow("pasted with blanks") << u"V"_s << u"(21)98765-4321"_s << 14;
}

void TstDbControls::phoneLayoutWhileTyping()
{
    QFETCH(QString, keys);
    QFETCH(QString, shown);
    QFETCH(int, cursor);
    TDBEdit *phone = m_bench->phone;
    QApplication::clipboard()->setText(u"(21) 98765-4321"_s);
    phone->setFocus(Qt::OtherFocusReason);
    QCOMPARE(phone->displayText(), u"(__)____-____"_s);
    for (const QChar c : keys) {
        switch (c.unicode()) {
        case u'<': QTest::keyClick(phone, Qt::Key_Backspace); break;
        case u'>': QTest::keyClick(phone, Qt::Key_Delete); break;
        case u'^': QTest::keyClick(phone, Qt::Key_Home); break;
        case u'$': QTest::keyClick(phone, Qt::Key_End); break;
        case u'V': QTest::keyClick(phone, Qt::Key_V, Qt::ControlModifier); break;
        default: QTest::keyClick(phone, c.toLatin1());
        }
    }
    QCOMPARE(phone->displayText(), shown);
    QCOMPARE(phone->cursorPosition(), cursor);
}

void TstDbControls::gapsKeepTheirPlaces()
{
    Bench &b = *m_bench;
    // Typed after two skipped places: Qt's text() would pull the digits forward.
    b.type(b.cnpj, u"222333"_s, 3);
    QCOMPARE(b.cnpj->text(), u".222.333/-"_s);
    QCOMPARE(b.cnpj->Text(), u"  .222.333/    -  "_s);
    b.source->UpdateRecord();
    QCOMPARE(b.dm->CDSClienteCNPJ->AsString(), u"  .222.333/    -"_s);
}

void TstDbControls::untouchedEditsStoreNull()
{
    Bench &b = *m_bench;
    QCOMPARE(b.cpf->text(), u"..-"_s); // what Qt hands back for an empty mask
    QVERIFY(b.cpf->storedValue().isNull());
    QVERIFY(b.phone->storedValue().isNull());
    b.dm->CDSClienteNOME->SetAsString(u"X"_s);
    b.source->UpdateRecord();
    b.dm->CDSCliente->ApplyUpdates(-1);
    for (const QString &column : {u"CPF"_s, u"CNPJ"_s, u"TELEFONE1"_s, u"CEP"_s, u"UF"_s, u"OBS"_s})
        QVERIFY2(b.db.scalar(u"SELECT COUNT(*) FROM CAD_CLIENTE WHERE \"%1\" IS NULL"_s.arg(column)).toInt() == 1,
                 qPrintable(column));
}

void TstDbControls::storedValuesShowInTheirMask()
{
    Bench &b = *m_bench;
    b.dm->CDSClienteCPF->SetAsString(u"12345678909"_s);
    b.dm->CDSClienteCNPJ->SetAsString(u"12.ABC.345/01DE-35"_s);
    b.dm->CDSClienteTELEFONE1->SetAsString(u"1133334444"_s);
    QCOMPARE(b.cpf->displayText(), u"123.456.789-09"_s);
    QCOMPARE(b.cnpj->displayText(), u"12.ABC.345/01DE-35"_s);
    QCOMPARE(b.phone->displayText(), u"(11)3333-4444"_s);
    b.dm->CDSClienteTELEFONE1->SetAsString(u"11987654321"_s);
    QCOMPARE(b.phone->displayText(), u"(11)98765-4321"_s);
    // A gap stored as a blank comes back in its place.
    b.dm->CDSClienteCNPJ->SetAsString(u"  .222.333/    -"_s);
    QCOMPARE(b.cnpj->displayText(), u"__.222.333/____-__"_s);
}

void TstDbControls::incompleteMaskRefusesTab()
{
    Bench &b = *m_bench;
    b.type(b.phone, u"113334444"_s); // nine digits
    QTest::keyClick(b.phone, Qt::Key_Tab);
    QVERIFY(b.phone->hasFocus());
    QCOMPARE(m_dialogs->messages().size(), 1);
    QCOMPARE(m_dialogs->messages().first().kind, MessageKind::Error);
    QCOMPARE(m_dialogs->messages().first().text, incompleteMaskMessage());
    QCOMPARE(b.phone->cursorPosition(), 12); // on the first gap: "(11)3334-444_"
    QVERIFY(b.dm->CDSClienteTELEFONE1->IsNull());

    b.type(b.phone, u"4"_s, 12);
    QTest::keyClick(b.phone, Qt::Key_Tab);
    QVERIFY(!b.phone->hasFocus());
    QCOMPARE(m_dialogs->messages().size(), 1);
    QCOMPARE(b.dm->CDSClienteTELEFONE1->AsString(), u"1133344444"_s);
}

void TstDbControls::incompleteMaskRefusesClick()
{
    Bench &b = *m_bench;
    b.type(b.cpf, u"123"_s);
    // Through the window, as the window system delivers a click.
    QWindow *window = b.window.windowHandle();
    QTest::mouseClick(window, Qt::LeftButton, {}, b.name->geometry().center());
    QVERIFY(b.cpf->hasFocus());
    QCOMPARE(m_dialogs->texts(), QStringList{incompleteMaskMessage()});
    // Where nothing takes the focus, pressing is no leaving.
    QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(400, 200));
    QVERIFY(b.cpf->hasFocus());
    QCOMPARE(m_dialogs->messages().size(), 1);
    b.type(b.cpf, u"45678909"_s, 4);
    QTest::mouseClick(window, Qt::LeftButton, {}, b.name->geometry().center());
    QVERIFY(b.name->hasFocus());
    QCOMPARE(m_dialogs->messages().size(), 1);
    QCOMPARE(b.dm->CDSClienteCPF->AsString(), u"12345678909"_s);
}

void TstDbControls::escapeAbandonsTheChange()
{
    Bench &b = *m_bench;
    b.type(b.phone, u"1133334444"_s);
    QTest::keyClick(b.phone, Qt::Key_Tab);
    b.type(b.phone, u"99"_s, 1);
    QTest::keyClick(b.phone, Qt::Key_Escape);
    QCOMPARE(b.phone->displayText(), u"(11)3333-4444"_s);
    QVERIFY(b.window.isVisible());

    b.type(b.cpf, u"123"_s);
    QTest::keyClick(b.cpf, Qt::Key_Escape);
    QVERIFY(b.cpf->storedValue().isNull());
    QTest::keyClick(b.cpf, Qt::Key_Tab);
    QVERIFY(!b.cpf->hasFocus());
    QVERIFY(m_dialogs->messages().isEmpty());
    QVERIFY(b.window.isVisible());
}

void TstDbControls::emptiedMaskedEditMayBeLeft()
{
    Bench &b = *m_bench;
    for (const auto &[edit, keys] : {std::pair{b.cep, u"01310100"_s}, std::pair{b.phone, u"11987654321"_s}}) {
        b.type(edit, keys);
        QTest::keyClick(edit, Qt::Key_Tab);
        QCOMPARE(edit->Field()->AsString(), keys);
        edit->setFocus(Qt::OtherFocusReason);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClick(edit, Qt::Key_Tab);
        QVERIFY(!edit->hasFocus());
        QVERIFY(m_dialogs->messages().isEmpty());
        QVERIFY(edit->Field()->IsNull());
    }
}

void TstDbControls::incompleteValueStopsThePost()
{
    Bench &b = *m_bench;
    b.type(b.cep, u"0131"_s);
    QVERIFY_THROWS_EXCEPTION(DataError, b.source->UpdateRecord());
    QCOMPARE(b.dm->CDSCliente->State(), dsInsert);
    QVERIFY(b.cep->DataLink()->Modified());
}

void TstDbControls::sameColumnFollowsTheOtherEdit()
{
    Bench &b = *m_bench;
    b.type(b.contact1, u"Maria"_s);
    QTest::keyClick(b.contact1, Qt::Key_Tab);
    QCOMPARE(b.contact2->text(), u"Maria"_s);
    // A post while the first is still being typed in does not let the second
    // write back what it showed before.
    b.type(b.contact1, u"na"_s, 5);
    b.source->UpdateRecord();
    QCOMPARE(b.dm->CDSClienteCONTATO->AsString(), u"Mariana"_s);
    QCOMPARE(b.contact2->text(), u"Mariana"_s);
}

void TstDbControls::clearEmptiesTheColumn()
{
    Bench &b = *m_bench;
    b.type(b.name, u"ANA"_s);
    QTest::keyClick(b.name, Qt::Key_Tab);
    QCOMPARE(b.dm->CDSClienteNOME->AsString(), u"ANA"_s);
    b.name->Clear();
    QVERIFY(b.name->text().isEmpty());
    QVERIFY(b.dm->CDSClienteNOME->IsNull());

    // Outside edit state the edit is emptied and the row left alone.
    b.dm->CDSClienteNOME->SetAsString(u"ANA"_s);
    b.dm->CDSCliente->Post();
    b.name->Clear();
    QVERIFY(b.name->text().isEmpty());
    QCOMPARE(b.dm->CDSClienteNOME->AsString(), u"ANA"_s);
}

// A screen reader or a dictation tool sets the text without keys; it is the
// user's text all the same, and takes the case typing would give it.
void TstDbControls::textFromAnAssistiveToolIsStored()
{
    Bench &b = *m_bench;
    b.name->setUpperCase(true);
    QAccessibleInterface *edit = QAccessible::queryAccessibleInterface(b.name);
    QVERIFY(edit && edit->editableTextInterface());
    edit->editableTextInterface()->replaceText(0, 0, u"maria da silva"_s);
    QCOMPARE(b.name->text(), u"MARIA DA SILVA"_s);
    edit->setText(QAccessible::Value, u"joão"_s);
    b.source->UpdateRecord();
    QCOMPARE(b.dm->CDSClienteNOME->AsString(), u"JOÃO"_s);
}

void TstDbControls::listWithoutItemIsNull()
{
    Bench &b = *m_bench;
    QCOMPARE(b.state->currentIndex(), -1);
    b.state->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(b.state, Qt::Key_Down);
    QCOMPARE(b.dm->CDSClienteUF->AsString(), b.state->currentText());
    b.state->Clear();
    QCOMPARE(b.state->currentIndex(), -1);
    QVERIFY(b.dm->CDSClienteUF->IsNull());
    // A value outside the list shows no item.
    b.dm->CDSClienteUF->SetAsString(u"XX"_s);
    QCOMPARE(b.state->currentIndex(), -1);
    b.dm->CDSClienteUF->SetAsString(u"RJ"_s);
    QCOMPARE(b.state->currentText(), u"RJ"_s);
}

void TstDbControls::memoRefusesBeyondItsLimit()
{
    Bench &b = *m_bench;
    b.memo->setFocus(Qt::OtherFocusReason);
    QTest::keyClicks(b.memo, QString(399, u'a'));
    QCOMPARE(b.memo->length(), 399);
    QTest::keyClicks(b.memo, u"bc"_s);
    QCOMPARE(b.memo->length(), 400);
    QVERIFY(b.memo->toPlainText().endsWith(u"ab"_s));

    // Pasted text is cut to what fits, in place of the selection.
    b.memo->selectAll();
    QApplication::clipboard()->setText(QString(500, u'x'));
    b.memo->paste();
    QCOMPARE(b.memo->toPlainText(), QString(400, u'x'));
    QTest::keyClick(b.memo, Qt::Key_Backspace);
    QTest::keyClicks(b.memo, u"yz"_s);
    QCOMPARE(b.memo->toPlainText(), QString(399, u'x') + u'y');

    // A character beyond the basic plane is two UTF-16 units: never half of it.
    const QString smile = u"\U0001F600"_s;
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, smile);
    QApplication::sendEvent(b.memo, &press);
    QCOMPARE(b.memo->toPlainText(), QString(399, u'x') + u'y');
    QTest::keyClick(b.memo, Qt::Key_Backspace);
    QTest::keyClick(b.memo, Qt::Key_Backspace);
    QApplication::clipboard()->setText(u"z"_s + smile + smile);
    b.memo->paste();
    QCOMPARE(b.memo->toPlainText(), QString(398, u'x') + u'z');

    QTest::keyClick(b.memo, Qt::Key_Tab); // Tab leaves the memo
    QVERIFY(!b.memo->hasFocus());
    QCOMPARE(b.dm->CDSClienteOBS->AsString().size(), 399);
}

void TstDbControls::dateEdit_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<bool>("error");

    QTest::newRow("empty") << QString() << ClientRecord::zeroDate() << false;
    QTest::newRow("day") << u"05032024"_s << QDate(2024, 3, 5) << false;
    QTest::newRow("leap day") << u"29022024"_s << QDate(2024, 2, 29) << false;
    QTest::newRow("no such day") << u"29022023"_s << QDate() << true;
    QTest::newRow("partial") << u"0503"_s << QDate() << true;
    QTest::newRow("superscript digit refused") << u"05\u00b2032024"_s << QDate(2024, 3, 5) << false;
}

void TstDbControls::dateEdit()
{
    QFETCH(QString, keys);
    QFETCH(QDate, date);
    QFETCH(bool, error);

    Bench &b = *m_bench;
    b.type(b.date->lineEdit(), keys);
    if (error) {
        QVERIFY_THROWS_EXCEPTION(DataError, b.date->Date());
        QVERIFY(!b.date->problem().isEmpty());
    } else {
        QCOMPARE(b.date->Date(), date);
        QVERIFY(b.date->problem().isEmpty());
    }
    b.date->setDate(QDate(2001, 1, 2));
    QCOMPARE(b.date->text(), u"02/01/2001"_s);
    b.date->setDate(ClientRecord::zeroDate());
    QVERIFY(b.date->isEmpty());
}

void TstDbControls::dateEditRefusesPartialDate()
{
    Bench &b = *m_bench;
    b.type(b.date->lineEdit(), u"3102"_s);
    QTest::keyClick(b.date->lineEdit(), Qt::Key_Tab);
    QVERIFY(b.date->lineEdit()->hasFocus());
    b.type(b.date->lineEdit(), u"2023"_s, 6);
    QTest::keyClick(b.date->lineEdit(), Qt::Key_Tab);
    QVERIFY(b.date->lineEdit()->hasFocus());
    QCOMPARE(m_dialogs->texts(), (QStringList{incompleteMaskMessage(), u"'31/02/2023' não é uma data válida."_s}));
    QTest::keyClick(b.date->lineEdit(), Qt::Key_Escape);
    QVERIFY(b.date->isEmpty());
    QTest::keyClick(b.date->lineEdit(), Qt::Key_Tab);
    QVERIFY(!b.date->lineEdit()->hasFocus());
    QVERIFY(b.window.isVisible());
}

int main(int argc, char *argv[])
{
    VosmiraApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    TstDbControls test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_dbcontrols.moc"
