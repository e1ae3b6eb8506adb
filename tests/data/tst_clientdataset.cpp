// In-memory behaviour of the client datasets, each case on a fresh database file.
#include "ClientSchema.h"
#include "DataFixture.h"
#include "UDMbanco.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace Qt::Literals::StringLiterals;
using ClientRecord::pessoaFisica;
using ClientRecord::pessoaJuridica;

class TestClientDataSet : public QObject
{
    Q_OBJECT

private slots:
    void emptyTable();
    void loadsInNameOrderWithNamedFields();
    void appendedRowsComeAfterLoadedOnes();
    void absentPrefixLeavesCursor();
    void caseInsensitivePrefix_data();
    void caseInsensitivePrefix();
    void exactCaseSensitiveLocate();
    void filterCountsAndNavigation();
    void wholeCopyWhileFiltered();
    void emptyKeepsFilter();
    void textsAreCutToFieldSize_data();
    void textsAreCutToFieldSize();
    void narrowerColumnNarrowsField();
    void emptyAppendIsDiscarded();
    void statesAndWritesOutsideEdit();
    void displayTexts_data();
    void displayTexts();
    void selectionAppendCopiesByPosition();
    void deleteMovesToFollowingRow();
    void editBackToLoadedValuesLogsNothing();
    void signalsFollowWritesAndMoves();
};

static QStringList names(TClientDataSet *ds)
{
    QStringList out;
    for (ds->First(); !ds->Eof(); ds->Next())
        out.append(ds->FieldByName(u"NOME")->AsString());
    return out;
}

void TestClientDataSet::emptyTable()
{
    TempDatabase db;
    auto dm = openDataModule(db);
    QVERIFY(dm);
    TClientDataSet *ds = dm->CDSCliente;
    QCOMPARE(ds->State(), dsBrowse);
    QCOMPARE(ds->RecordCount(), 0);
    QVERIFY(ds->IsEmpty());
    ds->First();
    QVERIFY(ds->Eof());
    QVERIFY(ds->Bof());
    QCOMPARE(ds->RecNo(), 0);
    QVERIFY(!ds->Locate(u"NOME", u"A"_s, loCaseInsensitive | loPartialKey));
    QVERIFY(dm->CDSClienteNOME->IsNull());
    QCOMPARE(dm->CDSClienteNOME->AsString(), QString());
    QCOMPARE(dm->CDS_PED_Cliente->RecordCount(), 0);
}

void TestClientDataSet::loadsInNameOrderWithNamedFields()
{
    // A dictionary's order, not the bytes': accents and case count only between
    // names otherwise equal, the unaccented one first.
    const QStringList order = {QString(),  u"ALVARO"_s, u"ÁLVARO"_s, u"ANA"_s,    u"ana"_s,    u"ÂNGELA"_s, u"Bruno"_s,
                               u"ÇAGRI"_s, u"ÉRICA"_s,  u"OTAVIO"_s, u"OTÁVIO"_s, u"ÚRSULA"_s, u"ZULU"_s,   u"ZULU"_s};
    TempDatabase db;
    for (const int i : {12, 5, 9, 0, 3, 11, 7, 1, 13, 4, 10, 2, 8, 6})
        QVERIFY(db.addClient(order.at(i), pessoaFisica(), {{u"RG"_s, i}}));
    QVERIFY(db.exec(u"INSERT INTO PED_CLIENTE (NOME, RG) SELECT NOME, RG FROM CAD_CLIENTE"_s));
    auto dm = openDataModule(db);
    QVERIFY(dm);
    QCOMPARE(names(dm->CDSCliente), order);
    QCOMPARE(names(dm->CDS_PED_Cliente), order);
    // Equal names stay in the order the table holds them.
    dm->CDSCliente->Last();
    QCOMPARE(dm->CDSClienteRG->AsString(), u"13"_s);

    QCOMPARE(dm->CDSClienteNOME->objectName(), u"CDSClienteNOME"_s);
    QCOMPARE(dm->CDS_PED_ClienteTIPO->objectName(), u"CDS_PED_ClienteTIPO"_s);
    QCOMPARE(dm->CDSCliente->FieldByName(u"nome"), dm->CDSClienteNOME);
    QCOMPARE(dm->CDSCliente->Fields(0), dm->CDSClienteCODIGO_C);
    QCOMPARE(dm->CDSCliente->Fields(44), dm->CDSClienteTIPO);
    QCOMPARE(dm->CDSClienteCODIGO_C->DataType(), ClientRecord::Kind::Integer);
    QCOMPARE(dm->CDSClienteNACIMENTO->DataType(), ClientRecord::Kind::Date);
    QVERIFY(dm->CDSClienteCODIGO_C->ReadOnly());
    QVERIFY_THROWS_EXCEPTION(DataError, dm->CDSCliente->FieldByName(u"NAO_EXISTE"));
}

void TestClientDataSet::appendedRowsComeAfterLoadedOnes()
{
    TempDatabase db;
    QVERIFY(db.addClient(u"MARIA B"_s, pessoaFisica()));
    QVERIFY(db.addClient(u"PEDRO"_s, pessoaFisica()));
    auto dm = openDataModule(db);
    QVERIFY(dm);
    TClientDataSet *ds = dm->CDSCliente;
    ds->Append();
    dm->CDSClienteNOME->SetAsString(u"MARIA A"_s);
    ds->Post();
    QCOMPARE(ds->RecNo(), 3);
    QCOMPARE(names(ds), (QStringList{u"MARIA B"_s, u"PEDRO"_s, u"MARIA A"_s}));

    QVERIFY(ds->Locate(u"NOME", u"maria"_s, loCaseInsensitive | loPartialKey));
    QCOMPARE(dm->CDSClienteNOME->AsString(), u"MARIA B"_s);
    QVERIFY(ds->Locate(u"NOME", u"maria a"_s, loCaseInsensitive | loPartialKey));
    QCOMPARE(ds->RecNo(), 3);

    // Applied, it stays last until the table is read again.
    ds->ApplyUpdates(-1);
    QCOMPARE(names(ds).constLast(), u"MARIA A"_s);
    dm->closeAll();
    dm->openAll();
    QCOMPARE(names(ds), (QStringList{u"MARIA A"_s, u"MARIA B"_s, u"PEDRO"_s}));
}

void TestClientDataSet::absentPrefixLeavesCursor()
{
    TempDatabase db;
    for (const QString &n : {u"ALFA"_s, u"BETA"_s, u"GAMA"_s})
        QVERIFY(db.addClient(n, pessoaFisica()));
    auto dm = openDataModule(db);
    QVERIFY(dm);
    TClientDataSet *ds = dm->CDSCliente;
    QVERIFY(ds->Locate(u"NOME", u"be"_s, loCaseInsensitive | loPartialKey));
    QCOMPARE(ds->RecNo(), 2);
    QVERIFY(!ds->Locate(u"NOME", u"bex"_s, loCaseInsensitive | loPartialKey));
    QCOMPARE(ds->RecNo(), 2);
    QCOMPARE(dm->CDSClienteNOME->AsString(), u"BETA"_s);
    // A typed blank is part of the prefix.
    QVERIFY(!ds->Locate(u"NOME", u"gama "_s, loCaseInsensitive | loPartialKey));
    QCOMPARE(ds->RecNo(), 2);
}

void TestClientDataSet::caseInsensitivePrefix_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("found");

    QTest::newRow("accented capitals") << u"ÁGATA LIMA"_s << u"ágata"_s << true;
    QTest::newRow("tilde") << u"joão silva"_s << u"JOÃO S"_s << true;
    QTest::newRow("cedilla") << u"ÇAPA"_s << u"ça"_s << true;
    QTest::newRow("typed without the accent") << u"JOÃO DA SILVA"_s << u"JOAO"_s << true;
    QTest::newRow("typed with an accent the name lacks") << u"JOAO PEDRO"_s << u"JOÃO"_s << true;
    QTest::newRow("first letter accented") << u"ÁLVARO LIMA"_s << u"ALV"_s << true;
    QTest::newRow("c for ç") << u"ÇAGRI"_s << u"CAG"_s << true;
    QTest::newRow("accent stored apart") << u"A\u0301GATA"_s << u"ÁGA"_s << true;
    QTest::newRow("ss for ß") << u"STRAßE"_s << u"STRASS"_s << true;
    QTest::newRow("another letter") << u"ÁLVARO"_s << u"ALB"_s << false;
    QTest::newRow("digit first") << u"3M DO BRASIL"_s << u"3m"_s << true;
    QTest::newRow("no case outside letters") << u"@ ARROBA"_s << u"`"_s << false;
    QTest::newRow("whole name") << u"Zé"_s << u"ZÉ"_s << true;
    QTest::newRow("longer than name") << u"Zé"_s << u"zéz"_s << false;
    QTest::newRow("outside the BMP") << u"\U0001D400bc"_s << u"\U0001D400B"_s << true;
}

void TestClientDataSet::caseInsensitivePrefix()
{
    QFETCH(QString, stored);
    QFETCH(QString, typed);
    QFETCH(bool, found);
    TempDatabase db;
    QVERIFY(db.addClient(u"AAA"_s, pessoaFisica()));
    QVERIFY(db.addClient(stored, pessoaFisica()));
    auto dm = openDataModule(db);
    QVERIFY(dm);
    dm->CDSCliente->First();
    QCOMPARE(dm->CDSCliente->Locate(u"NOME", typed, loCaseInsensitive | loPartialKey), found);
    if (found)
        QCOMPARE(dm->CDSClienteNOME->AsString(), stored);
}

void TestClientDataSet::exactCaseSensitiveLocate()
{
    TempDatabase db;
    QVERIFY(db.addClient(u"ÁGATA LIMA"_s, pessoaFisica()));
    QVERIFY(db.addClient(u"Ágata Lima"_s, pessoaFisica()));
    auto dm = openDataModule(db);
    QVERIFY(dm);
    TClientDataSet *ds = dm->CDSCliente;
    QVERIFY(ds->Locate(u"NOME", u"Ágata Lima"_s, 0));
    QCOMPARE(dm->CDSClienteNOME->AsString(), u"Ágata Lima"_s);
    QVERIFY(!ds->Locate(u"NOME", u"Ágata"_s, 0));
    QVERIFY(!ds->Locate(u"NOME", u"ágata lima"_s, 0));
    // Accents count wherever case does.
    QVERIFY(!ds->Locate(u"NOME", u"AGATA LIMA"_s, 0));
    QVERIFY(!ds->Locate(u"NOME", u"AGATA"_s, loPartialKey));
}

void TestClientDataSet::filterCountsAndNavigation()
{
    TempDatabase db;
    QVERIFY(db.addClient(u"A PF"_s, pessoaFisica()));
    QVERIFY(db.addClient(u"B PJ"_s, pessoaJuridica()));
    QVERIFY(db.addClient(u"C PF"_s, pessoaFisica()));
    QVERIFY(db.addClient(u"D sem tipo"_s, QString()));
    QVERIFY(db.addClient(u"E PJ"_s, pessoaJuridica()));
    auto dm = openDataModule(db);
    QVERIFY(dm);
    TClientDataSet *ds = dm->CDSCliente;
    QVERIFY(ds->Locate(u"NOME", u"C"_s, loCaseInsensitive | loPartialKey));

    ds->SetFilter(ClientRecord::kindFilter(pessoaJuridica()));
    QCOMPARE(ds->Filter(), u"TIPO = 'Pessoa Juridica'"_s);
    QCOMPARE(ds->RecordCount(), 5); // the expression alone filters nothing
    ds->SetFiltered(true);
    QCOMPARE(ds->RecordCount(), 2);
    QCOMPARE(names(ds), (QStringList{u"B PJ"_s, u"E PJ"_s}));
    QVERIFY(!ds->Locate(u"NOME", u"A"_s, loCaseInsensitive | loPartialKey));

    ds->SetFilter(ClientRecord::kindFilter(pessoaFisica()));
    QCOMPARE(ds->RecordCount(), 2);
    QVERIFY(ds->Locate(u"NOME", u"C"_s, loCaseInsensitive | loPartialKey));
    ds->SetFiltered(false);
    QCOMPARE(ds->RecordCount(), 5);
    QCOMPARE(dm->CDSClienteNOME->AsString(), u"C PF"_s); // the current row stays
    QCOMPARE(ds->Filter(), u"TIPO = 'Pessoa Física'"_s);

    // A row appended while filtered counts only when it passes.
    ds->SetFiltered(true);
    ds->Append();
    dm->CDSClienteNOME->SetAsString(u"F PJ"_s);
    dm->CDSClienteTIPO->SetAsString(pessoaJuridica());
    ds->Post();
    QCOMPARE(ds->RecordCount(), 2);
    ds->SetFiltered(false);
    QCOMPARE(ds->RecordCount(), 6);

    // A post that leaves nothing visible leaves the cursor at both ends.
    ds->SetFilter(u"NOME = 'E PJ'"_s);
    ds->SetFiltered(true);
    QCOMPARE(ds->RecordCount(), 1);
    ds->Edit();
    dm->CDSClienteNOME->SetAsString(u"E2 PJ"_s);
    ds->Post();
    QCOMPARE(ds->RecordCount(), 0);
    QVERIFY(ds->Eof() && ds->Bof());
    QCOMPARE(ds->RecNo(), 0);
    ds->Append();
    dm->CDSClienteNOME->SetAsString(u"G PJ"_s);
    ds->Post();
    QCOMPARE(ds->RecordCount(), 0);
    QVERIFY(ds->Eof() && ds->Bof());
    ds->SetFiltered(false);

    QVERIFY_THROWS_EXCEPTION(DataError, ds->SetFilter(u"TIPO LIKE 'x'"_s));
}

void TestClientDataSet::wholeCopyWhileFiltered()
{
    TempDatabase db;
    QVERIFY(db.addClient(u"A"_s, pessoaFisica()));
    QVERIFY(db.addClient(u"B"_s, pessoaJuridica()));
    QVERIFY(db.addClient(u"C"_s, pessoaFisica()));
    auto dm = openDataModule(db);
    QVERIFY(dm);
    TClientDataSet *cli = dm->CDSCliente;
    TClientDataSet *sel = dm->CDS_PED_Cliente;
    // A change not yet applied travels with the copy.
    QVERIFY(cli->Locate(u"NOME", u"C"_s, 0));
    cli->Edit();
    dm->CDSClienteNOME->SetAsString(u"C alterado"_s);
    cli->Post();

    cli->SetFilter(ClientRecord::kindFilter(pessoaJuridica()));
    cli->SetFiltered(true);
    sel->SetFilter(ClientRecord::kindFilter(pessoaFisica()));
    sel->SetFiltered(true);
    sel->CopyDataFrom(*cli);
    QCOMPARE(sel->RecordCount(), 2);
    QCOMPARE(names(sel), (QStringList{u"A"_s, u"C alterado"_s}));
    sel->SetFiltered(false);
    QCOMPARE(sel->RecordCount(), 3);
    QVERIFY(!dm->CDS_PED_ClienteCODIGO_C->IsNull());
    QCOMPARE(sel->ChangeCount(), 0);

    // The copy is independent: editing it leaves the clients as they are.
    sel->First();
    sel->Edit();
    dm->CDS_PED_ClienteNOME->SetAsString(u"outro"_s);
    sel->Post();
    cli->SetFiltered(false);
    cli->First();
    QCOMPARE(dm->CDSClienteNOME->AsString(), u"A"_s);
    QCOMPARE(cli->RecordCount(), 3);
}

void TestClientDataSet::emptyKeepsFilter()
{
    TempDatabase db;
    QVERIFY(db.addClient(u"A"_s, pessoaFisica()));
    auto dm = openDataModule(db);
    QVERIFY(dm);
    TClientDataSet *sel = dm->CDS_PED_Cliente;
    sel->SetFilter(ClientRecord::kindFilter(pessoaFisica()));
    sel->SetFiltered(true);
    sel->CopyDataFrom(*dm->CDSCliente);
    QCOMPARE(sel->RecordCount(), 1);
    sel->EmptyDataSet();
    QCOMPARE(sel->RecordCount(), 0);
    QVERIFY(sel->Filtered());
    QCOMPARE(sel->Filter(), ClientRecord::kindFilter(pessoaFisica()));
    QCOMPARE(sel->ChangeCount(), 0);
    QCOMPARE(db.scalar(u"SELECT COUNT(*) FROM PED_CLIENTE"_s).toInt(), 0);
}

void TestClientDataSet::textsAreCutToFieldSize_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("kept");

    QTest::newRow("NOME 101") << u"NOME"_s << QString(101, u'n') << 100;
    QTest::newRow("NOME 100") << u"NOME"_s << QString(100, u'n') << 100;
    QTest::newRow("OBS 401") << u"OBS"_s << QString(401, u'o') << 400;
    QTest::newRow("OBS 400 whole") << u"OBS"_s << QString(400, u'o') << 400;
    QTest::newRow("VINCULO CLT whole") << u"VINCULO"_s << u"Carteira Assinada (CLT)"_s << 23;
    QTest::newRow("VINCULO private company whole") << u"VINCULO"_s << u"Empregado de Empresa Privada"_s << 28;
    QTest::newRow("PROFISSAO 36") << u"PROFISSAO"_s << QString(36, u'p') << 35;
    QTest::newRow("UF 3") << u"UF"_s << u"SPX"_s << 2;
    QTest::newRow("CPF 16") << u"CPF"_s << QString(16, u'1') << 15;
    // A character outside the BMP across the limit goes whole, never half a pair.
    QTest::newRow("UF pair across the limit") << u"UF"_s << u"A\U0001F600"_s << 1;
    QTest::newRow("NOME pair across the limit") << u"NOME"_s << QString(99, u'e') + u"\U0001F600"_s << 99;
    QTest::newRow("NOME pair at the limit") << u"NOME"_s << QString(98, u'e') + u"\U0001F600!"_s << 100;
}

void TestClientDataSet::textsAreCutToFieldSize()
{
    QFETCH(QString, column);
    QFETCH(QString, text);
    QFETCH(int, kept);
    TempDatabase db;
    auto dm = openDataModule(db);
    QVERIFY(dm);
    TField *field = dm->CDSCliente->FieldByName(column);
    dm->CDSCliente->Append();
    field->SetAsString(text);
    QCOMPARE(field->AsString(), text.left(kept));
    dm->CDSCliente->ApplyUpdates(-1);
    QCOMPARE(db.scalar(u"SELECT %1 FROM CAD_CLIENTE"_s.arg(column)).toString(), text.left(kept));
}

void TestClientDataSet::narrowerColumnNarrowsField()
{
    TempDatabase db;
    QString ddl = ClientSchema::createTableStatement(u"CAD_CLIENTE"_s, db.onServer());
    ddl.replace(u"\"NOME\" VARCHAR(100)"_s, u"\"NOME\" VARCHAR(50)"_s);
    ddl.replace(u"\"OBS\" VARCHAR(400)"_s, u"\"OBS\" VARCHAR(255)"_s);
    QVERIFY(db.exec(u"DROP TABLE CAD_CLIENTE"_s));
    QVERIFY(db.exec(ddl));
    auto dm = openDataModule(db);
    QVERIFY(dm);
    QCOMPARE(dm->CDSClienteNOME->Size(), 50);
    QCOMPARE(dm->CDSClienteOBS->Size(), 255);
    QCOMPARE(dm->CDSClienteEMAIL->Size(), 200);
    QCOMPARE(dm->CDS_PED_ClienteNOME->Size(), 100);
    dm->CDSCliente->Append();
    dm->CDSClienteNOME->SetAsString(QString(60, u'x'));
    QCOMPARE(dm->CDSClienteNOME->AsString().size(), 50);
}

void TestClientDataSet::emptyAppendIsDiscarded()
{
    TempDatabase db;
    QVERIFY(db.addClient(u"A"_s, pessoaFisica()));
    auto dm = openDataModule(db);
    QVERIFY(dm);
    TClientDataSet *ds = dm->CDSCliente;
    ds->Append();
    QCOMPARE(ds->State(), dsInsert);
    QCOMPARE(ds->ApplyUpdates(-1), 0);
    QCOMPARE(ds->State(), dsBrowse);
    QCOMPARE(ds->RecordCount(), 1);
    QCOMPARE(ds->ChangeCount(), 0);
    QCOMPARE(db.scalar(u"SELECT COUNT(*) FROM CAD_CLIENTE"_s).toInt(), 1);

    // Written and cleared again still counts as written: an all-null row is posted.
    ds->Append();
    dm->CDSClienteNOME->SetAsString(u"x"_s);
    dm->CDSClienteNOME->Clear();
    ds->ApplyUpdates(-1);
    QCOMPARE(db.scalar(u"SELECT COUNT(*) FROM CAD_CLIENTE"_s).toInt(), 2);
}

void TestClientDataSet::statesAndWritesOutsideEdit()
{
    TempDatabase db;
    QVERIFY(db.addClient(u"A"_s, pessoaFisica()));
    TDMbanco dm(db.programFolder());
    QCOMPARE(dm.CDSCliente->State(), dsInactive);
    QVERIFY_THROWS_EXCEPTION(DataError, dm.CDSCliente->Append());
    dm.connectSequence();
    TClientDataSet *ds = dm.CDSCliente;
    QCOMPARE(ds->State(), dsBrowse);
    QVERIFY_THROWS_EXCEPTION(DataError, dm.CDSClienteNOME->SetAsString(u"B"_s));
    QVERIFY_THROWS_EXCEPTION(DataError, dm.CDSClienteCODIGO_C->SetAsString(u"7"_s));

    ds->Edit();
    QCOMPARE(ds->State(), dsEdit);
    QVERIFY(!ds->Modified());
    dm.CDSClienteNOME->SetAsString(u"B"_s);
    QVERIFY(ds->Modified());
    ds->Cancel();
    QCOMPARE(ds->State(), dsBrowse);
    QCOMPARE(dm.CDSClienteNOME->AsString(), u"A"_s);
    QCOMPARE(ds->ChangeCount(), 0);

    ds->Append();
    dm.CDSClienteNOME->SetAsString(u"novo"_s);
    ds->Cancel();
    QCOMPARE(ds->RecordCount(), 1);
    QCOMPARE(dm.CDSClienteNOME->AsString(), u"A"_s);

    // Moving the cursor posts a written row.
    ds->Edit();
    dm.CDSClienteNOME->SetAsString(u"A2"_s);
    ds->First();
    QCOMPARE(ds->State(), dsBrowse);
    QCOMPARE(dm.CDSClienteNOME->AsString(), u"A2"_s);
    QCOMPARE(ds->ChangeCount(), 1);

    QVERIFY_THROWS_EXCEPTION(DataError, dm.CDSClienteNACIMENTO->SetAsString(u"31/02/2020"_s));
    dm.closeAll();
    QCOMPARE(ds->State(), dsInactive);
    QCOMPARE(ds->ChangeCount(), 0);
}

void TestClientDataSet::displayTexts_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("clients");   // display text in the clients dataset
    QTest::addColumn<QString>("selection"); // and in the selection dataset

    QTest::newRow("cpf") << u"CPF"_s << QVariant(u"12345678909"_s) << u"123.456.789-09"_s << u"123.456.789-09"_s;
    QTest::newRow("phone") << u"TELEFONE2"_s << QVariant(u"1134567890"_s) << u"(11)3456-7890"_s << u"(11)3456-7890"_s;
    QTest::newRow("mobile") << u"TELEFONE1"_s << QVariant(u"11987654321"_s) << u"(11)98765-4321"_s
                            << u"(11)98765-4321"_s;
    QTest::newRow("credit mobile") << u"CRED_TEL2"_s << QVariant(u"21999998888"_s) << u"(21)99999-8888"_s
                                   << u"(21)99999-8888"_s;
    QTest::newRow("credit phone") << u"CRED_TEL3"_s << QVariant(u"34567890"_s) << u"(__)3456-7890"_s
                                  << u"(__)3456-7890"_s;
    QTest::newRow("cep") << u"CEP"_s << QVariant(u"01310100"_s) << u"01310-100"_s << u"01310-100"_s;
    QTest::newRow("cnpj digits") << u"CNPJ"_s << QVariant(u"11222333000181"_s) << u"11.222.333/0001-81"_s
                                 << u"11222333000181"_s;
    QTest::newRow("cnpj punctuated") << u"CNPJ"_s << QVariant(u"11.222.333/0001-81"_s) << u"11.222.333/0001-81"_s
                                     << u"11.222.333/0001-81"_s;
    QTest::newRow("zero date") << u"NACIMENTO"_s << QVariant(ClientRecord::zeroDate()) << u"30/12/1899"_s
                               << u"30/12/1899"_s;
    QTest::newRow("date from text") << u"CRED_DESDE"_s << QVariant(u"05/01/2024"_s) << u"05/01/2024"_s
                                    << u"05/01/2024"_s;
    QTest::newRow("null date") << u"FUNDACAO"_s << QVariant() << QString() << QString();
    QTest::newRow("plain text") << u"RG"_s << QVariant(u"12.345"_s) << u"12.345"_s << u"12.345"_s;
}

void TestClientDataSet::displayTexts()
{
    QFETCH(QString, column);
    QFETCH(QVariant, value);
    QFETCH(QString, clients);
    QFETCH(QString, selection);
    TempDatabase db;
    auto dm = openDataModule(db);
    QVERIFY(dm);
    for (TClientDataSet *ds : {dm->CDSCliente, dm->CDS_PED_Cliente}) {
        ds->Append();
        ds->FieldByName(column)->SetValue(value);
        ds->Post();
        QCOMPARE(ds->FieldByName(column)->DisplayText(), ds == dm->CDSCliente ? clients : selection);
        QCOMPARE(ds->DisplayTextAt(ds->RecNo() - 1, ds->FieldByName(column)->Index()),
                 ds->FieldByName(column)->DisplayText());
    }
    QCOMPARE(dm->CDSClienteCNPJ->EditMask(), QString(ClientRecord::CnpjMask));
    QCOMPARE(dm->CDS_PED_ClienteCNPJ->EditMask(), QString());
    QCOMPARE(dm->CDS_PED_ClienteTELEFONE1->EditMask(), QString(ClientRecord::PhoneMask));
}

void TestClientDataSet::selectionAppendCopiesByPosition()
{
    TempDatabase db;
    QVERIFY(db.addClient(u"Ana"_s, pessoaFisica(), {{u"CPF"_s, u"12345678909"_s}, {u"NACIMENTO"_s, u"1980-03-15"_s}}));
    auto dm = openDataModule(db);
    QVERIFY(dm);
    TClientDataSet *cli = dm->CDSCliente;
    TClientDataSet *sel = dm->CDS_PED_Cliente;
    cli->First();
    sel->Append();
    for (int i = 1; i < cli->FieldCount(); ++i)
        sel->Fields(i)->SetValue(cli->Fields(i)->Value());
    sel->Post();
    QCOMPARE(sel->RecordCount(), 1);
    QVERIFY(dm->CDS_PED_ClienteCODIGO_C->IsNull());
    QCOMPARE(dm->CDS_PED_ClienteCPF->AsString(), u"12345678909"_s);
    QCOMPARE(dm->CDS_PED_ClienteNACIMENTO->AsDate(), QDate(1980, 3, 15));
    QCOMPARE(dm->CDS_PED_ClienteNACIMENTO->AsDateTime(), QDateTime(QDate(1980, 3, 15), QTime(0, 0)));
    sel->Append();
    sel->Cancel();
    QVERIFY(sel->Locate(u"NOME", u"Ana"_s, 0));
    sel->Delete();
    QCOMPARE(sel->RecordCount(), 0);
    QCOMPARE(db.scalar(u"SELECT COUNT(*) FROM PED_CLIENTE"_s).toInt(), 0);
}

void TestClientDataSet::deleteMovesToFollowingRow()
{
    TempDatabase db;
    for (const QString &n : {u"A"_s, u"B"_s, u"C"_s})
        QVERIFY(db.addClient(n, pessoaFisica()));
    auto dm = openDataModule(db);
    QVERIFY(dm);
    TClientDataSet *ds = dm->CDSCliente;
    QVERIFY(ds->Locate(u"NOME", u"B"_s, 0));
    ds->Delete();
    QCOMPARE(dm->CDSClienteNOME->AsString(), u"C"_s);
    ds->Delete();
    QCOMPARE(dm->CDSClienteNOME->AsString(), u"A"_s);
    QCOMPARE(ds->RecordCount(), 1);
    ds->Delete();
    QVERIFY(ds->IsEmpty());
    QVERIFY_THROWS_EXCEPTION(DataError, ds->Delete());
    QCOMPARE(ds->ChangeCount(), 3);
}

void TestClientDataSet::editBackToLoadedValuesLogsNothing()
{
    TempDatabase db;
    QVERIFY(db.addClient(u"A"_s, pessoaFisica()));
    auto dm = openDataModule(db);
    QVERIFY(dm);
    TClientDataSet *ds = dm->CDSCliente;
    ds->Edit();
    dm->CDSClienteNOME->SetAsString(u"B"_s);
    ds->Post();
    QCOMPARE(ds->ChangeCount(), 1);
    ds->Edit();
    dm->CDSClienteNOME->SetAsString(u"A"_s);
    ds->Post();
    QCOMPARE(ds->ChangeCount(), 0);
    // An appended row that is deleted again never reaches the table.
    ds->Append();
    dm->CDSClienteNOME->SetAsString(u"Z"_s);
    ds->Post();
    ds->Delete();
    QCOMPARE(ds->ChangeCount(), 0);
}

void TestClientDataSet::signalsFollowWritesAndMoves()
{
    TempDatabase db;
    QVERIFY(db.addClient(u"A"_s, pessoaFisica()));
    QVERIFY(db.addClient(u"B"_s, pessoaFisica()));
    auto dm = openDataModule(db);
    QVERIFY(dm);
    TClientDataSet *ds = dm->CDSCliente;
    QSignalSpy fieldSpy(dm->CDSClienteNOME, &TField::changed);
    QSignalSpy columnSpy(ds, &TClientDataSet::fieldChanged);
    QSignalSpy moveSpy(ds, &TClientDataSet::currentChanged);
    QSignalSpy stateSpy(ds, &TClientDataSet::stateChanged);
    QSignalSpy appendSpy(ds, &TClientDataSet::rowAppended);
    QSignalSpy removeSpy(ds, &TClientDataSet::rowRemoved);

    ds->Next();
    QCOMPARE(moveSpy.count(), 1);
    ds->Append();
    QCOMPARE(stateSpy.count(), 1);
    dm->CDSClienteNOME->SetAsString(u"C"_s);
    QCOMPARE(fieldSpy.count(), 1);
    QCOMPARE(columnSpy.count(), 1);
    QCOMPARE(columnSpy.at(0).at(0).toInt(), int(ClientRecord::col_NOME));
    ds->Post();
    QCOMPARE(appendSpy.count(), 1);
    QCOMPARE(appendSpy.at(0).at(0).toInt(), 2);
    ds->Delete();
    QCOMPARE(removeSpy.count(), 1);
    QCOMPARE(removeSpy.at(0).at(0).toInt(), 2);
}

QTEST_GUILESS_MAIN(TestClientDataSet)
#include "tst_clientdataset.moc"
