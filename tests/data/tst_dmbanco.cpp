// The data module against the database file: opening, and changes reaching the file.
#include "ClientSchema.h"
#include "DataFixture.h"
#include "DatabaseBackup.h"
#include "UDMbanco.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>

using namespace Qt::Literals::StringLiterals;
using ClientRecord::pessoaFisica;
using ClientRecord::pessoaJuridica;

namespace {

const QString OtherUser = u"O registro foi alterado ou excluído por outro usuário."_s;

int fileCount(TempDatabase &db)
{
    return db.scalar(u"SELECT COUNT(*) FROM CAD_CLIENTE"_s).toInt();
}

} // namespace

class TestDMbanco : public QObject
{
    Q_OBJECT

private slots:
    void databasePath();
    void connectFailures_data();
    void connectFailures();
    void shippedDatabaseOpens();
    void insertEditDeleteInOneRunReachFile();
    void refusedPendingRowReturnsToEditing();
    void refusedDeleteIsTakenBack_data();
    void refusedDeleteIsTakenBack();
    void changeOfVanishedRowIsResent();
    void refusalSaysWhy_data();
    void refusalSaysWhy();
    void resultCodesGiveReasons_data();
    void resultCodesGiveReasons();
    void everyChangeIsAttempted();
    void updateComparesEveryColumn();
    void nullsRoundTrip();
    void widenedColumnsKeepWholeTexts();
    void datesStoredAsIsoText();
    void foreignValuesLoadAndStayEditable();
    void codesBeyond32BitsStayEditable();
    void backupAndRestoreKeepEveryValue();
    void veryLongForeignTextsLoadAndStayEditable();
    void secondInstanceSharesTheFile();
    void closeAndOpenRereadsTheFile();
    void selectionIsNeverWritten();
};

void TestDMbanco::databasePath()
{
    TDMbanco withSeparator(u"/opt/vosmira/"_s);
    QCOMPARE(withSeparator.databasePath(), u"/opt/vosmira/Banco/Vosmira BANCO.mdb"_s);
    TDMbanco without(u"/opt/vosmira"_s);
    QCOMPARE(without.databasePath(), u"/opt/vosmira/Banco/Vosmira BANCO.mdb"_s);
    QVERIFY(!without.Connected());
    QCOMPARE(without.CDSCliente->objectName(), u"CDSCliente"_s);
    QCOMPARE(without.CDS_PED_Cliente->objectName(), u"CDS_PED_Cliente"_s);
}

void TestDMbanco::connectFailures_data()
{
    using Reason = DatabaseError::Reason;
    QTest::addColumn<QString>("defect");
    QTest::addColumn<Reason>("reason");
    QTest::newRow("missing file") << u"missing"_s << Reason::Missing;
    QTest::newRow("not a database") << u"text"_s << Reason::NotADatabase;
    QTest::newRow("a folder in its place") << u"folder"_s << Reason::NotADatabase;
    QTest::newRow("no tables") << u"notables"_s << Reason::NotADatabase;
    QTest::newRow("missing selection table") << u"noped"_s << Reason::NotADatabase;
    QTest::newRow("missing column") << u"nocolumn"_s << Reason::NotADatabase;
    QTest::newRow("text column declared integer") << u"nometype"_s << Reason::NotADatabase;
    QTest::newRow("date column declared text") << u"datetype"_s << Reason::NotADatabase;
    QTest::newRow("key declared text") << u"keytype"_s << Reason::NotADatabase;
    QTest::newRow("damaged pages") << u"damaged"_s << Reason::Damaged;
    QTest::newRow("locked by another program") << u"locked"_s << Reason::InUse;
}

void TestDMbanco::connectFailures()
{
    QFETCH(QString, defect);
    if (testingOnServer() && QStringList{u"text"_s, u"folder"_s, u"damaged"_s, u"locked"_s}.contains(defect))
        QSKIP("a defect of a file");
    TempDatabase db(defect == u"missing"_s                         ? TempDatabase::WithoutFile
                    : defect == u"notables"_s                      ? TempDatabase::EmptyFile
                    : defect == u"text"_s || defect == u"folder"_s ? TempDatabase::WithoutFile
                                                                   : TempDatabase::WithTables);
    auto recreate = [&](const QString &table, const QString &from, const QString &to) {
        QString ddl = ClientSchema::createTableStatement(table, db.onServer());
        QVERIFY(ddl.contains(from));
        ddl.replace(from, to);
        QVERIFY(db.exec(u"DROP TABLE "_s + table));
        QVERIFY(db.exec(ddl));
    };
    if (defect == u"text"_s) {
        QFile file(db.path());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(4096, 'x'));
    } else if (defect == u"noped"_s) {
        QVERIFY(db.exec(u"DROP TABLE PED_CLIENTE"_s));
    } else if (defect == u"nocolumn"_s) {
        recreate(u"CAD_CLIENTE"_s, u", \"EMAIL\" VARCHAR(200)"_s, QString());
    } else if (defect == u"nometype"_s) {
        recreate(u"PED_CLIENTE"_s, u"\"NOME\" VARCHAR(100)"_s, u"\"NOME\" INTEGER"_s);
    } else if (defect == u"datetype"_s) {
        recreate(u"CAD_CLIENTE"_s, u"\"FUNDACAO\" DATE"_s, u"\"FUNDACAO\" VARCHAR(10)"_s);
    } else if (defect == u"keytype"_s) {
        recreate(u"CAD_CLIENTE"_s,
                 ClientSchema::createTableStatement(u"T"_s, db.onServer()).section(u", "_s, 0, 0).section(u'(', 1),
                 u"\"CODIGO_C\" TEXT"_s);
    } else if (defect == u"folder"_s) {
        QVERIFY(QDir().mkpath(db.path()));
    } else if (defect == u"damaged"_s) {
        for (int i = 0; i < 300; ++i)
            QVERIFY(db.addClient(u"Cliente %1"_s.arg(i), pessoaFisica(), {{u"OBS"_s, QString(200, u'o')}}));
        QFile file(db.path());
        QVERIFY(file.open(QIODevice::ReadWrite) && file.size() > 8 * 4096);
        QVERIFY(file.seek(2 * 4096)); // the schema on the first page stays readable
        file.write(QByteArray(file.size() - 2 * 4096, '\xAA'));
    }
    std::optional<QSqlDatabase> other;
    if (defect == u"locked"_s) {
        other = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"other-program"_s);
        other->setDatabaseName(db.path());
        QVERIFY(other->open());
        QVERIFY(QSqlQuery(*other).exec(u"BEGIN EXCLUSIVE"_s));
    }

    TDMbanco dm(db.programFolder());
    try {
        dm.connectSequence();
        QFAIL("connected to a database that cannot be used");
    } catch (const DatabaseError &e) {
        QFETCH(DatabaseError::Reason, reason);
        // A server that lacks the database, or its tables, refuses the desk and says what to run.
        QCOMPARE(e.reason(), db.onServer() ? DatabaseError::Reason::Refused : reason);
        if (db.onServer() && defect != u"missing"_s)
            QVERIFY2(e.text().endsWith(u"\"vosmira-db init\"."_s), qPrintable(e.text()));
        const QString message = connectFailureMessage(e, db.path());
        QVERIFY2(message.contains(db.path()), qPrintable(message));
        // Only a missing file may suggest reinstalling over it.
        QCOMPARE(message.contains(u"reinstalação"_s), e.reason() == DatabaseError::Reason::Missing);
    }
    if (other) {
        QSqlQuery(*other).exec(u"ROLLBACK"_s);
        other->close();
        other.reset();
        QSqlDatabase::removeDatabase(u"other-program"_s);
    }
    QVERIFY(!dm.CDSCliente->Active() || !dm.CDS_PED_Cliente->Active());
    if (defect == u"missing"_s)
        QVERIFY2(!QFile::exists(db.path()), "the program must never create the database file");
    if (defect == u"text"_s)
        QCOMPARE(QFileInfo(db.path()).size(), 4096);
}

void TestDMbanco::shippedDatabaseOpens()
{
    SKIP_ON_SERVER("the shipped file");
    const QString shipped = qEnvironmentVariable("VOSMIRA_TEMPLATE_FOLDER") + u"/Banco/Vosmira BANCO.mdb"_s;
    if (!QFile::exists(shipped))
        QSKIP("the shipped database has not been built");
    TempDatabase db(TempDatabase::WithoutFile);
    QVERIFY(QFile::copy(shipped, db.path()));
    QFile(db.path()).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    auto dm = openDataModule(db);
    QVERIFY(dm);
    QCOMPARE(dm->CDSCliente->RecordCount(), 0);
    QCOMPARE(dm->CDS_PED_Cliente->RecordCount(), 0);
    QCOMPARE(dm->CDSClienteOBS->Size(), 400);
    QCOMPARE(dm->CDSClienteVINCULO->Size(), 30);
    QCOMPARE(dm->CDSClientePROFISSAO->Size(), 35);
}

void TestDMbanco::insertEditDeleteInOneRunReachFile()
{
    TempDatabase db;
    QVERIFY(db.addClient(u"Zeca"_s, pessoaFisica()));
    auto dm = openDataModule(db);
    QVERIFY(dm);
    TClientDataSet *ds = dm->CDSCliente;

    ds->Append();
    dm->CDSClienteNOME->SetAsString(u"Ana"_s);
    dm->CDSClienteTIPO->SetAsString(pessoaFisica());
    ds->ApplyUpdates(-1);
    QCOMPARE(ds->ChangeCount(), 0);
    QVERIFY(!dm->CDSClienteCODIGO_C->IsNull());
    const int code = dm->CDSClienteCODIGO_C->AsInteger();
    QCOMPARE(db.scalar(u"SELECT NOME FROM CAD_CLIENTE WHERE CODIGO_C = ?"_s, {code}).toString(), u"Ana"_s);

    ds->Edit();
    dm->CDSClienteNOME->SetAsString(u"Ana Maria"_s);
    ds->ApplyUpdates(-1);
    QCOMPARE(ds->LastApplyErrorCount(), 0);
    QCOMPARE(db.scalar(u"SELECT NOME FROM CAD_CLIENTE WHERE CODIGO_C = ?"_s, {code}).toString(), u"Ana Maria"_s);

    ds->Delete();
    ds->ApplyUpdates(-1);
    QCOMPARE(ds->ChangeCount(), 0);
    QCOMPARE(fileCount(db), 1);
    QCOMPARE(db.scalar(u"SELECT NOME FROM CAD_CLIENTE"_s).toString(), u"Zeca"_s);
}

void TestDMbanco::refusedPendingRowReturnsToEditing()
{
    SKIP_ON_SERVER("the refusal is made by an SQLite trigger");
    TempDatabase db;
    QVERIFY(db.exec(u"CREATE TRIGGER recusa BEFORE INSERT ON CAD_CLIENTE WHEN NEW.NOME = 'Recusado' "
                    "BEGIN SELECT RAISE(ABORT, 'cliente recusado pelo banco'); END"_s));
    auto dm = openDataModule(db);
    QVERIFY(dm);
    TClientDataSet *ds = dm->CDSCliente;
    ds->Append();
    dm->CDSClienteNOME->SetAsString(u"Recusado"_s);
    try {
        ds->ApplyUpdates(-1);
        QFAIL("a refused change must raise");
    } catch (const DatabaseError &e) {
        QVERIFY2(e.text().contains(u"cliente recusado pelo banco"_s), e.what());
    }
    // The refused row is pending again, as typed, and nothing of it is logged.
    QCOMPARE(ds->State(), dsInsert);
    QCOMPARE(dm->CDSClienteNOME->AsString(), u"Recusado"_s);
    QCOMPARE(ds->ChangeCount(), 0);
    QCOMPARE(ds->RecordCount(), 0);
    QCOMPARE(ds->LastApplyErrorCount(), 1);
    QVERIFY(dm->CDSClienteCODIGO_C->IsNull());
    QCOMPARE(fileCount(db), 0);

    // Trying again sends it.
    QVERIFY(db.exec(u"DROP TRIGGER recusa"_s));
    ds->ApplyUpdates(-1);
    QCOMPARE(ds->ChangeCount(), 0);
    QCOMPARE(fileCount(db), 1);
    QCOMPARE(dm->CDSClienteCODIGO_C->AsInteger(), db.scalar(u"SELECT CODIGO_C FROM CAD_CLIENTE"_s).toInt());
}

void TestDMbanco::changeOfVanishedRowIsResent()
{
    TempDatabase db;
    QVERIFY(db.addClient(u"Ana"_s, pessoaFisica(), {{u"EMAIL"_s, u"ana@exemplo.com.br"_s}}));
    const int code = db.scalar(u"SELECT CODIGO_C FROM CAD_CLIENTE"_s).toInt();
    auto dm = openDataModule(db);
    QVERIFY(dm);
    TClientDataSet *ds = dm->CDSCliente;
    // Another program deletes the row after it was loaded.
    QVERIFY(db.exec(u"DELETE FROM CAD_CLIENTE"_s));
    ds->Edit();
    dm->CDSClienteNOME->SetAsString(u"Ana Paula"_s);
    try {
        ds->ApplyUpdates(-1);
        QFAIL("an update that finds no row must raise");
    } catch (const DatabaseError &e) {
        QCOMPARE(e.text(), OtherUser);
        QCOMPARE(e.reason(), DatabaseError::Reason::RowChanged);
    }
    QCOMPARE(ds->State(), dsEdit);
    QCOMPARE(dm->CDSClienteNOME->AsString(), u"Ana Paula"_s);
    QCOMPARE(ds->ChangeCount(), 0);

    // Once the row is back as it was loaded, the edit goes through.
    QVERIFY(db.addClient(u"Ana"_s, pessoaFisica(), {{u"EMAIL"_s, u"ana@exemplo.com.br"_s}, {u"CODIGO_C"_s, code}}));
    ds->ApplyUpdates(-1);
    QCOMPARE(ds->ChangeCount(), 0);
    QCOMPARE(db.scalar(u"SELECT NOME FROM CAD_CLIENTE"_s).toString(), u"Ana Paula"_s);
    QCOMPARE(db.scalar(u"SELECT EMAIL FROM CAD_CLIENTE"_s).toString(), u"ana@exemplo.com.br"_s);
}

void TestDMbanco::refusalSaysWhy_data()
{
    QTest::addColumn<bool>("locked");
    QTest::addColumn<QString>("message");
    QTest::newRow("read-only") << false
                               << u"O cliente não foi salvo: o arquivo do banco de dados pode ser lido, mas não "
                                  "alterado."_s;
    QTest::newRow("locked by another program")
        << true
        << u"O cliente não foi salvo: o banco de dados está em uso por outro programa; tente de novo em instantes."_s;
}

void TestDMbanco::refusalSaysWhy()
{
    SKIP_ON_SERVER("the refusals are made by SQLite locks and pragmas");
    QFETCH(bool, locked);
    QFETCH(QString, message);
    TempDatabase db;
    QVERIFY(db.addClient(u"Ana"_s, pessoaFisica()));
    auto dm = openDataModule(db);
    QVERIFY(dm);
    QSqlQuery own(dm->database());
    QSqlDatabase other = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"other-program"_s);
    other.setDatabaseName(db.path());
    QVERIFY(other.open());
    QSqlQuery hold(other);
    if (locked) {
        QVERIFY(own.exec(u"PRAGMA busy_timeout = 50"_s));
        QVERIFY(hold.exec(u"BEGIN EXCLUSIVE"_s));
    } else {
        QVERIFY(own.exec(u"PRAGMA query_only = ON"_s));
    }
    TClientDataSet *ds = dm->CDSCliente;
    ds->Edit();
    dm->CDSClienteNOME->SetAsString(u"Ana Paula"_s);
    try {
        ds->ApplyUpdates(-1);
        QFAIL("the change must be refused");
    } catch (const DatabaseError &e) {
        QCOMPARE(refusedSaveMessage(e), message);
    }
    QCOMPARE(ds->State(), dsEdit);
    QCOMPARE(dm->CDSClienteNOME->AsString(), u"Ana Paula"_s);

    // Once the other program lets go, the same save goes through.
    if (locked)
        QVERIFY(hold.exec(u"ROLLBACK"_s));
    else
        QVERIFY(own.exec(u"PRAGMA query_only = OFF"_s));
    ds->ApplyUpdates(-1);
    QCOMPARE(db.scalar(u"SELECT NOME FROM CAD_CLIENTE"_s).toString(), u"Ana Paula"_s);
    hold = QSqlQuery();
    other.close();
    other = QSqlDatabase();
    QSqlDatabase::removeDatabase(u"other-program"_s);
}

void TestDMbanco::refusedDeleteIsTakenBack_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("name"); // of the row taken back
    QTest::addColumn<int>("recNo");
    QTest::newRow("browsing") << QString() << u"C"_s << 3;
    QTest::newRow("ending an edit") << u"edit"_s << u"C3"_s << 3;
    QTest::newRow("with an update still logged") << u"update"_s << u"C2"_s << 3;
    QTest::newRow("filtered") << u"filter"_s << u"C"_s << 2;
}

void TestDMbanco::refusedDeleteIsTakenBack()
{
    SKIP_ON_SERVER("the refusal is made by an SQLite pragma");
    QFETCH(QString, before);
    QFETCH(QString, name);
    QFETCH(int, recNo);
    TempDatabase db;
    QVERIFY(db.addClient(u"A"_s, pessoaFisica()));
    QVERIFY(db.addClient(u"B"_s, pessoaJuridica()));
    QVERIFY(db.addClient(u"C"_s, pessoaFisica()));
    QVERIFY(db.addClient(u"D"_s, pessoaFisica()));
    auto dm = openDataModule(db);
    QVERIFY(dm);
    TClientDataSet *ds = dm->CDSCliente;
    if (before == u"filter"_s) {
        ds->SetFilter(ClientRecord::kindFilter(pessoaFisica()));
        ds->SetFiltered(true);
    }
    QVERIFY(ds->Locate(u"NOME", u"C"_s, 0));
    if (before == u"update"_s || before == u"edit"_s) {
        ds->Edit();
        dm->CDSClienteNOME->SetAsString(before == u"edit"_s ? u"C3"_s : u"C2"_s);
        if (before == u"update"_s)
            ds->Post();
    }
    QSqlQuery own(dm->database());
    QVERIFY(own.exec(u"PRAGMA query_only = ON"_s));
    ds->Delete();
    QVERIFY_THROWS_EXCEPTION(DatabaseError, ds->ApplyUpdates(-1));
    QVERIFY(ds->UndoLastDelete());
    QVERIFY(!ds->UndoLastDelete());
    QCOMPARE(ds->RecordCount(), before == u"filter"_s ? 3 : 4);
    QCOMPARE(ds->RecNo(), recNo);
    QCOMPARE(dm->CDSClienteNOME->AsString(), name);
    QCOMPARE(ds->State(), before == u"edit"_s ? dsEdit : dsBrowse);
    QCOMPARE(ds->ChangeCount(), before == u"update"_s ? 1 : 0);

    // What was there before the delete reaches the file; the row stays in it.
    QVERIFY(own.exec(u"PRAGMA query_only = OFF"_s));
    ds->ApplyUpdates(-1);
    QCOMPARE(fileCount(db), 4);
    QCOMPARE(db.scalar(u"SELECT COUNT(*) FROM CAD_CLIENTE WHERE NOME = ?"_s, {name}).toInt(), 1);

    // An applied delete, or one of a row the table never had, is not taken back.
    ds->Delete();
    ds->ApplyUpdates(-1);
    QVERIFY(!ds->UndoLastDelete());
    ds->Append();
    dm->CDSClienteNOME->SetAsString(u"E"_s);
    dm->CDSClienteTIPO->SetAsString(pessoaFisica());
    ds->Post();
    ds->Delete();
    QVERIFY(!ds->UndoLastDelete());
    QCOMPARE(fileCount(db), 3);
}

void TestDMbanco::resultCodesGiveReasons_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("reason");
    using R = DatabaseError::Reason;
    QTest::newRow("full") << 13 << int(R::DiskFull);
    QTest::newRow("write error (extended)") << (10 | (3 << 8)) << int(R::DiskError);
    QTest::newRow("corrupt") << 11 << int(R::Damaged);
    QTest::newRow("not a database") << 26 << int(R::NotADatabase);
    QTest::newRow("busy (extended)") << (5 | (1 << 8)) << int(R::InUse);
    QTest::newRow("constraint") << 19 << int(R::Other);
}

void TestDMbanco::resultCodesGiveReasons()
{
    QFETCH(int, code);
    QFETCH(int, reason);
    QCOMPARE(int(sqliteReason(code)), reason);
}

void TestDMbanco::everyChangeIsAttempted()
{
    SKIP_ON_SERVER("checked with SQLite functions");
    TempDatabase db;
    QVERIFY(db.addClient(u"A"_s, pessoaFisica()));
    QVERIFY(db.addClient(u"B"_s, pessoaFisica()));
    auto dm = openDataModule(db);
    QVERIFY(dm);
    TClientDataSet *ds = dm->CDSCliente;
    QVERIFY(db.exec(u"DELETE FROM CAD_CLIENTE WHERE NOME = 'A'"_s));
    ds->First();
    ds->Delete(); // A: already gone from the file
    ds->Edit();
    dm->CDSClienteNOME->SetAsString(u"B2"_s);
    ds->Post();
    ds->Append();
    dm->CDSClienteNOME->SetAsString(u"C"_s);
    ds->Post();
    QCOMPARE(ds->ChangeCount(), 3);
    QVERIFY_THROWS_EXCEPTION(DatabaseError, ds->ApplyUpdates(-1));
    QCOMPARE(ds->LastApplyErrorCount(), 1);
    QCOMPARE(ds->ChangeCount(), 1);
    QCOMPARE(
        db.scalar(u"SELECT group_concat(NOME, ',') FROM (SELECT NOME FROM CAD_CLIENTE ORDER BY NOME)"_s).toString(),
        u"B2,C"_s);
    // Still failing on the next apply, still logged.
    QVERIFY_THROWS_EXCEPTION(DatabaseError, ds->ApplyUpdates(-1));
    QCOMPARE(ds->ChangeCount(), 1);
}

void TestDMbanco::updateComparesEveryColumn()
{
    TempDatabase db;
    QVERIFY(db.addClient(u"Ana"_s, pessoaFisica(), {{u"CIDADE"_s, u"Recife"_s}}));
    auto dm = openDataModule(db);
    QVERIFY(dm);
    // Another program changes a column this one does not touch.
    QVERIFY(db.exec(u"UPDATE CAD_CLIENTE SET CIDADE = 'Olinda'"_s));
    dm->CDSCliente->Edit();
    dm->CDSClienteEMAIL->SetAsString(u"ana@exemplo.com.br"_s);
    QVERIFY_THROWS_EXCEPTION(DatabaseError, dm->CDSCliente->ApplyUpdates(-1));
    QVERIFY(db.scalar(u"SELECT EMAIL FROM CAD_CLIENTE"_s).isNull());
    QCOMPARE(db.scalar(u"SELECT CIDADE FROM CAD_CLIENTE"_s).toString(), u"Olinda"_s);
}

void TestDMbanco::nullsRoundTrip()
{
    SKIP_ON_SERVER("checks how a file stores its values");
    TempDatabase db;
    // A text stored empty (not null) is compared as such.
    QVERIFY(db.addClient(u"Vazio"_s, pessoaFisica(), {{u"RG"_s, u""_s}}));
    auto dm = openDataModule(db);
    QVERIFY(dm);
    TClientDataSet *ds = dm->CDSCliente;
    QVERIFY(!dm->CDSClienteRG->IsNull());
    QVERIFY(dm->CDSClienteCPF->IsNull());
    ds->Edit();
    dm->CDSClienteCIDADE->SetAsString(u"Natal"_s);
    ds->ApplyUpdates(-1);
    QCOMPARE(db.scalar(u"SELECT CIDADE FROM CAD_CLIENTE"_s).toString(), u"Natal"_s);

    ds->Append();
    dm->CDSClienteNOME->SetAsString(u"Nulo"_s);
    dm->CDSClienteEMAIL->SetAsString(QString());
    ds->ApplyUpdates(-1);
    QCOMPARE(
        db.scalar(u"SELECT typeof(EMAIL) || typeof(NACIMENTO) || typeof(TIPO) FROM CAD_CLIENTE WHERE NOME = 'Nulo'"_s)
            .toString(),
        u"nullnullnull"_s);

    dm->closeAll();
    dm->openAll();
    QVERIFY(ds->Locate(u"NOME", u"Nulo"_s, 0));
    QVERIFY(dm->CDSClienteEMAIL->IsNull());
    QVERIFY(dm->CDSClienteNACIMENTO->IsNull());
    QVERIFY(!dm->CDSClienteNACIMENTO->Value().isValid());
    ds->Edit();
    dm->CDSClienteNOME->SetAsString(u"Nulo Editado"_s);
    ds->Post();
    ds->Delete();
    ds->Edit(); // edit of the remaining row, then its deletion, both by IS NULL matching
    ds->ApplyUpdates(-1);
    QCOMPARE(ds->LastApplyErrorCount(), 0);
    QCOMPARE(fileCount(db), 1);
}

void TestDMbanco::widenedColumnsKeepWholeTexts()
{
    TempDatabase db;
    auto dm = openDataModule(db);
    QVERIFY(dm);
    const QString obs = QString(399, u'o') + u'ç';
    const QString profession = QString(35, u'p');
    dm->CDSCliente->Append();
    dm->CDSClienteNOME->SetAsString(u"Largo"_s);
    dm->CDSClienteOBS->SetAsString(obs + u"corte"_s);
    dm->CDSClienteVINCULO->SetAsString(u"Empregado de Empresa Privada"_s);
    dm->CDSClientePROFISSAO->SetAsString(profession);
    dm->CDSCliente->ApplyUpdates(-1);
    QCOMPARE(db.scalar(u"SELECT OBS FROM CAD_CLIENTE"_s).toString(), obs);
    QCOMPARE(db.scalar(u"SELECT VINCULO FROM CAD_CLIENTE"_s).toString(), u"Empregado de Empresa Privada"_s);
    QCOMPARE(db.scalar(u"SELECT PROFISSAO FROM CAD_CLIENTE"_s).toString(), profession);
    QVERIFY(ClientSchema::createTableStatement(u"CAD_CLIENTE"_s).contains(u"\"OBS\" VARCHAR(400)"_s));
}

void TestDMbanco::datesStoredAsIsoText()
{
    SKIP_ON_SERVER("checks how a file stores its dates");
    TempDatabase db;
    auto dm = openDataModule(db);
    QVERIFY(dm);
    dm->CDSCliente->Append();
    dm->CDSClienteNOME->SetAsString(u"Datas"_s);
    dm->CDSClienteNACIMENTO->SetAsString(u"15/03/1980"_s);
    dm->CDSClienteFUNDACAO->SetAsDate(QDate(1899, 12, 30));
    dm->CDSClienteCRED_DESDE->SetAsDateTime(QDateTime(QDate(2024, 2, 29), QTime(13, 45)));
    dm->CDSClienteCRED_CONSULTA->SetValue(QDate(2001, 1, 2));
    dm->CDSCliente->ApplyUpdates(-1);
    QCOMPARE(db.scalar(u"SELECT typeof(NACIMENTO) || ' ' || NACIMENTO || ' ' || FUNDACAO || ' ' || CRED_DESDE "
                       "|| ' ' || CRED_CONSULTA FROM CAD_CLIENTE"_s)
                 .toString(),
             u"text 1980-03-15 1899-12-30 2024-02-29 2001-01-02"_s);

    // A day stored with a time after it still loads, and its row can be edited.
    QVERIFY(db.exec(u"UPDATE CAD_CLIENTE SET CRED_DESDE = '2024-02-29 00:00:00'"_s));
    dm->closeAll();
    dm->openAll();
    QCOMPARE(dm->CDSClienteNACIMENTO->AsDate(), QDate(1980, 3, 15));
    QCOMPARE(dm->CDSClienteFUNDACAO->DisplayText(), u"30/12/1899"_s);
    QCOMPARE(dm->CDSClienteCRED_DESDE->AsString(), u"29/02/2024"_s);
    dm->CDSCliente->Edit();
    dm->CDSClienteNOME->SetAsString(u"Datas 2"_s);
    dm->CDSCliente->ApplyUpdates(-1);
    QCOMPARE(db.scalar(u"SELECT NOME FROM CAD_CLIENTE"_s).toString(), u"Datas 2"_s);
}

// SQLite numbers rows with 64 bits; a row numbered past 2^32 by another program
// is held whole, so its changes find it.
void TestDMbanco::codesBeyond32BitsStayEditable()
{
    TempDatabase db;
    QVERIFY(db.addClient(u"Alto"_s, pessoaFisica(), {{u"CODIGO_C"_s, 4294967297LL}}));
    QVERIFY(db.addClient(u"Baixo"_s, pessoaFisica(), {{u"CODIGO_C"_s, 1}}));
    auto dm = openDataModule(db);
    QVERIFY(dm);
    TClientDataSet *ds = dm->CDSCliente;
    QCOMPARE(dm->CDSClienteCODIGO_C->AsInteger(), 4294967297LL);
    QCOMPARE(dm->CDSClienteCODIGO_C->AsString(), u"4294967297"_s);
    ds->Edit();
    dm->CDSClienteCIDADE->SetAsString(u"Natal"_s);
    ds->ApplyUpdates(-1);
    QCOMPARE(ds->LastApplyErrorCount(), 0);
    QCOMPARE(db.scalar(u"SELECT CIDADE FROM CAD_CLIENTE WHERE CODIGO_C = 4294967297"_s).toString(), u"Natal"_s);
    ds->Delete();
    ds->ApplyUpdates(-1);
    QCOMPARE(ds->LastApplyErrorCount(), 0);
    QCOMPARE(db.scalar(u"SELECT NOME FROM CAD_CLIENTE"_s).toString(), u"Baixo"_s);

    // A new client is numbered after it, and knows its number. A server, whose
    // numbering those explicit numbers left behind, numbers after the highest left.
    ds->Append();
    dm->CDSClienteNOME->SetAsString(u"Novo"_s);
    ds->ApplyUpdates(-1);
    QCOMPARE(dm->CDSClienteCODIGO_C->AsInteger(), db.onServer() ? 2 : 4294967298LL);
}

// Out into a backup file and back in, on either kind of database: texts that
// need escaping in any format, nulls, dates and the clients' numbers.
void TestDMbanco::backupAndRestoreKeepEveryValue()
{
    TempDatabase db;
    const QString tricky = u"Aspas \" e 'apóstrofo', barra \\ e \\u0041,\ttab\nlinha; ç ÃO 中"_s;
    QVERIFY(db.addClient(tricky, pessoaFisica(), {{u"CODIGO_C"_s, 7}, {u"NACIMENTO"_s, u"1980-03-15"_s}}));
    QVERIFY(db.addClient(u"Nulo"_s, pessoaJuridica(), {{u"CODIGO_C"_s, 4294967297LL}}));
    QVERIFY(db.exec(u"INSERT INTO PED_CLIENTE (NOME, TIPO) VALUES ('SELECIONADA', ?)"_s, {pessoaFisica()}));
    auto dm = openDataModule(db);
    QVERIFY(dm);
    QTemporaryDir dir;
    const QString backup = dir.filePath(u"Bck.mdb"_s);
    QVERIFY(DatabaseBackup::save(*dm, backup).done());
    QVERIFY(db.exec(u"DELETE FROM CAD_CLIENTE"_s));
    QVERIFY(db.exec(u"UPDATE PED_CLIENTE SET NOME = 'OUTRA'"_s));
    const DatabaseBackup::Result restored = DatabaseBackup::restore(*dm, backup);
    QVERIFY2(restored.done(), qPrintable(restored.reason));
    db.reconnect();

    QCOMPARE(db.scalar(u"SELECT COUNT(*) FROM CAD_CLIENTE"_s).toInt(), 2);
    QCOMPARE(db.scalar(u"SELECT NOME FROM CAD_CLIENTE WHERE CODIGO_C = 7"_s).toString(), tricky);
    QCOMPARE(db.scalar(u"SELECT NACIMENTO FROM CAD_CLIENTE WHERE CODIGO_C = 7"_s).toDate(), QDate(1980, 3, 15));
    QVERIFY(db.scalar(u"SELECT EMAIL FROM CAD_CLIENTE WHERE CODIGO_C = 4294967297"_s).isNull());
    QVERIFY(db.scalar(u"SELECT NACIMENTO FROM CAD_CLIENTE WHERE CODIGO_C = 4294967297"_s).isNull());
    QCOMPARE(db.scalar(u"SELECT NOME FROM PED_CLIENTE"_s).toString(), u"SELECIONADA"_s);
    // The datasets show the restored clients, and the next client comes after them.
    QCOMPARE(dm->CDSCliente->RecordCount(), 2);
    dm->CDSCliente->Append();
    dm->CDSClienteNOME->SetAsString(u"Novo"_s);
    dm->CDSCliente->ApplyUpdates(-1);
    QCOMPARE(dm->CDSClienteCODIGO_C->AsInteger(), 4294967298LL);
}

void TestDMbanco::foreignValuesLoadAndStayEditable()
{
    SKIP_ON_SERVER("values only a file can hold");
    // Values another program may have left: a date that is no date, a name longer
    // than its column (the file does not enforce declared lengths).
    TempDatabase db;
    const QString longName = QString(120, u'L');
    QVERIFY(db.addClient(longName, pessoaFisica(), {{u"NACIMENTO"_s, u"ontem"_s}}));
    QVERIFY(db.addClient(u"M"_s, pessoaFisica(), {{u"FUNDACAO"_s, u"sem data"_s}}));
    auto dm = openDataModule(db);
    QVERIFY(dm);
    TClientDataSet *ds = dm->CDSCliente;
    QCOMPARE(dm->CDSClienteNOME->AsString(), longName);
    QVERIFY(dm->CDSClienteNACIMENTO->IsNull());
    ds->Edit();
    dm->CDSClienteCIDADE->SetAsString(u"Natal"_s);
    ds->Post();
    ds->Next();
    ds->Delete();
    ds->ApplyUpdates(-1);
    QCOMPARE(ds->LastApplyErrorCount(), 0);
    QCOMPARE(db.scalar(u"SELECT CIDADE || ' ' || NACIMENTO FROM CAD_CLIENTE"_s).toString(), u"Natal ontem"_s);
    QCOMPARE(fileCount(db), 1);
}

void TestDMbanco::veryLongForeignTextsLoadAndStayEditable()
{
    SKIP_ON_SERVER("a server keeps to the declared lengths");
    // Another program may leave texts far beyond their columns; one such row must
    // not keep the whole table from opening, nor hide the columns after it.
    TempDatabase db;
    const QString obs = QString(40000, u'ç') + u"fim"_s;
    QVERIFY(db.addClient(u"Longo"_s, pessoaFisica(), {{u"OBS"_s, obs}, {u"SITE"_s, QString(30000, u's')}}));
    QVERIFY(db.addClient(u"Curto"_s, pessoaJuridica()));
    auto dm = openDataModule(db);
    QVERIFY(dm);
    TClientDataSet *ds = dm->CDSCliente;
    QVERIFY(ds->Locate(u"NOME", u"longo"_s, loCaseInsensitive | loPartialKey));
    QCOMPARE(dm->CDSClienteOBS->AsString(), obs);
    QCOMPARE(dm->CDSClienteTIPO->AsString(), pessoaFisica());
    ds->SetFilter(ClientRecord::kindFilter(pessoaFisica()));
    ds->SetFiltered(true);
    QCOMPARE(ds->RecordCount(), 1);
    ds->Edit();
    dm->CDSClienteCIDADE->SetAsString(u"Natal"_s);
    ds->ApplyUpdates(-1);
    QCOMPARE(ds->LastApplyErrorCount(), 0);
    QCOMPARE(db.scalar(u"SELECT CIDADE FROM CAD_CLIENTE WHERE OBS = ?"_s, {obs}).toString(), u"Natal"_s);
    ds->Delete();
    ds->ApplyUpdates(-1);
    QCOMPARE(fileCount(db), 1);
}

void TestDMbanco::secondInstanceSharesTheFile()
{
    TempDatabase db;
    QVERIFY(db.addClient(u"Ana"_s, pessoaFisica()));
    auto first = openDataModule(db);
    QVERIFY(first);
    auto second = openDataModule(db);
    QVERIFY(second);
    QVERIFY(first->connectionName() != second->connectionName());
    QCOMPARE(second->CDSCliente->RecordCount(), 1);

    first->CDSCliente->Append();
    first->CDSClienteNOME->SetAsString(u"Bia"_s);
    first->CDSCliente->ApplyUpdates(-1);
    second->closeAll();
    second->openAll();
    QCOMPARE(second->CDSCliente->RecordCount(), 2);
}

void TestDMbanco::closeAndOpenRereadsTheFile()
{
    TempDatabase db;
    QVERIFY(db.addClient(u"Marcos"_s, pessoaFisica()));
    auto dm = openDataModule(db);
    QVERIFY(dm);
    TClientDataSet *ds = dm->CDSCliente;
    ds->Append();
    dm->CDSClienteNOME->SetAsString(u"Aldo"_s);
    ds->ApplyUpdates(-1);
    QCOMPARE(ds->RecNo(), 2);

    ds->Append();
    dm->CDSClienteNOME->SetAsString(u"Pendente"_s);
    ds->Post();
    dm->closeAll();
    QVERIFY(!dm->Connected());
    dm->openAll();
    QVERIFY(dm->Connected());
    ds->First();
    QCOMPARE(dm->CDSClienteNOME->AsString(), u"Aldo"_s);
    QCOMPARE(ds->RecordCount(), 2); // the logged row was lost with the close
    QCOMPARE(ds->ChangeCount(), 0);
}

void TestDMbanco::selectionIsNeverWritten()
{
    TempDatabase db;
    QVERIFY(db.addClient(u"Ana"_s, pessoaFisica()));
    QVERIFY(db.exec(u"INSERT INTO PED_CLIENTE (NOME, TIPO) VALUES ('Velho', ?)"_s, {pessoaJuridica()}));
    auto dm = openDataModule(db);
    QVERIFY(dm);
    QCOMPARE(dm->CDS_PED_Cliente->RecordCount(), 1);
    dm->CDS_PED_Cliente->EmptyDataSet();
    dm->CDS_PED_Cliente->CopyDataFrom(*dm->CDSCliente);
    dm->connectSequence();
    QCOMPARE(dm->CDS_PED_Cliente->RecordCount(), 1);
    QCOMPARE(dm->CDS_PED_ClienteNOME->AsString(), u"Velho"_s);
    QCOMPARE(db.scalar(u"SELECT COUNT(*) FROM PED_CLIENTE"_s).toInt(), 1);
}

QTEST_GUILESS_MAIN(TestDMbanco)
#include "tst_dmbanco.moc"
