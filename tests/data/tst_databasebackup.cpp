// Backup and restore of the database file below the window: the check of a
// chosen backup, and the close, copy and reopen around the copy.
#include "ClientSchema.h"
#include "DataFixture.h"
#include "DatabaseBackup.h"
#include "UDMbanco.h"

#include "FaultInjection.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <sys/stat.h>

using namespace Qt::Literals::StringLiterals;
using ClientRecord::pessoaFisica;
using vosmira::test::FileSizeLimit;

namespace {

// n clients with full observations: a file of many pages.
bool fill(TempDatabase &db, int n)
{
    return db.exec(u"WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < ?) "
                   "INSERT INTO CAD_CLIENTE (NOME, TIPO, OBS) "
                   "SELECT 'CLIENTE ' || x, ?, substr(hex(zeroblob(200)), 1, 255) FROM c"_s,
                   {n, pessoaFisica()});
}

QByteArray digest(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&file);
    return hash.result();
}

bool truncateToHalf(const QString &path)
{
    QFile file(path);
    return file.resize(file.size() / 2);
}

// A change logged but not applied: closing the datasets would lose it.
void logPendingChange(TDMbanco &dm)
{
    dm.CDSCliente->Append();
    dm.CDSClienteNOME->SetAsString(u"PENDENTE"_s);
    dm.CDSCliente->Post();
}

QStringList hiddenFiles(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden).filter(QRegularExpression(u"^\\."_s));
}

} // namespace

class TstDatabaseBackup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void checkOfAChosenFile_data();
    void checkOfAChosenFile();
    void saveThenRestoreRereadsBothTables();
    void refusedBackupChangesNothing_data();
    void refusedBackupChangesNothing();
    void failedCopyKeepsTheOldFile_data();
    void failedCopyKeepsTheOldFile();
};

void TstDatabaseBackup::checkOfAChosenFile_data()
{
    QTest::addColumn<QString>("defect");
    QTest::addColumn<QString>("expected");
    QTest::newRow("valid backup") << QString() << QString();
    QTest::newRow("missing file") << u"missing"_s << u"O arquivo não existe."_s;
    QTest::newRow("a folder") << u"folder"_s << u"O caminho não é um arquivo."_s;
    QTest::newRow("text file") << u"text"_s << u"O arquivo não é um banco de dados."_s;
    QTest::newRow("empty file") << u"empty"_s << u"A tabela CAD_CLIENTE não existe no banco de dados."_s;
    QTest::newRow("truncated database") << u"truncated"_s << u"O banco de dados está danificado."_s;
    QTest::newRow("no selection table") << u"noped"_s << u"A tabela PED_CLIENTE não existe no banco de dados."_s;
    QTest::newRow("missing column") << u"nocolumn"_s << u"A coluna EMAIL não existe na tabela CAD_CLIENTE."_s;
}

void TstDatabaseBackup::checkOfAChosenFile()
{
    QFETCH(QString, defect);
    QFETCH(QString, expected);
    TempDatabase candidate(defect == "missing"_L1 || defect == "text"_L1 || defect == "empty"_L1
                                   || defect == "folder"_L1
                               ? TempDatabase::WithoutFile
                               : TempDatabase::WithTables);
    const QString path = candidate.path();
    if (defect == "folder"_L1) {
        QVERIFY(QDir().mkpath(path));
    } else if (defect == "text"_L1 || defect == "empty"_L1) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        if (defect == "text"_L1)
            file.write("Lista de compras:\npão, leite, café\n");
    } else if (defect == "truncated"_L1) {
        QVERIFY(fill(candidate, 300));
        QVERIFY(truncateToHalf(path));
    } else if (defect == "noped"_L1) {
        QVERIFY(candidate.exec(u"DROP TABLE PED_CLIENTE"_s));
    } else if (defect == "nocolumn"_L1) {
        QVERIFY(candidate.exec(u"DROP TABLE CAD_CLIENTE"_s));
        QVERIFY(
            candidate.exec(ClientSchema::createTableStatement(u"CAD_CLIENTE"_s).remove(u", \"EMAIL\" VARCHAR(200)"_s)));
    }
    const QByteArray before = digest(path);
    QCOMPARE(ClientSchema::checkDatabaseFile(path), expected);
    QCOMPARE(digest(path), before); // opened read-only
}

void TstDatabaseBackup::saveThenRestoreRereadsBothTables()
{
    TempDatabase db;
    QVERIFY(db.addClient(u"ANA"_s, pessoaFisica()));
    QVERIFY(db.exec(u"INSERT INTO PED_CLIENTE (NOME, TIPO) VALUES ('SELECIONADA', ?)"_s, {pessoaFisica()}));
    QVERIFY(::chmod(QFile::encodeName(db.path()).constData(), 0640) == 0);
    auto dm = openDataModule(db);
    QVERIFY(dm);

    QTemporaryDir elsewhere;
    const QString backup = elsewhere.path() + u"/Bck_Vosmira_08-12-25.mdb"_s;
    QCOMPARE(DatabaseBackup::save(*dm, backup).status, DatabaseBackup::Result::Done);
    QVERIFY(dm->Connected() && dm->CDSCliente->Active() && dm->CDS_PED_Cliente->Active());
    QCOMPARE(digest(backup), digest(db.path()));
    QCOMPARE(QFileInfo(backup).lastModified(), QFileInfo(db.path()).lastModified());
    QCOMPARE(QFile(backup).permissions(), QFile(db.path()).permissions());

    // Work done after the backup: a client registered, the selection emptied.
    dm->CDSCliente->Append();
    dm->CDSClienteNOME->SetAsString(u"BRUNO"_s);
    dm->CDSCliente->ApplyUpdates();
    QVERIFY(db.exec(u"DELETE FROM PED_CLIENTE"_s));
    QCOMPARE(db.scalar(u"SELECT COUNT(*) FROM CAD_CLIENTE"_s).toInt(), 2);

    // A backup kept on a read-only medium still gives a database the program can write.
    QVERIFY(::chmod(QFile::encodeName(backup).constData(), 0444) == 0);
    const DatabaseBackup::Result restored = DatabaseBackup::restore(*dm, backup);
    QVERIFY2(restored.done(), qPrintable(restored.reason));
    db.reconnect();
    QCOMPARE(db.scalar(u"SELECT COUNT(*) FROM CAD_CLIENTE"_s).toInt(), 1);
    QCOMPARE(dm->CDSCliente->RecordCount(), 1);
    QCOMPARE(dm->CDSClienteNOME->AsString(), u"ANA"_s);
    QCOMPARE(dm->CDS_PED_Cliente->RecordCount(), 1);
    QCOMPARE(dm->CDS_PED_ClienteNOME->AsString(), u"SELECIONADA"_s);
    QCOMPARE(QFileInfo(db.path()).lastModified(), QFileInfo(backup).lastModified());
    struct stat st
    {
    };
    QVERIFY(::stat(QFile::encodeName(db.path()).constData(), &st) == 0);
    QCOMPARE(st.st_mode & 07777, 0644u);
    QVERIFY(hiddenFiles(db.programFolder() + u"Banco"_s).isEmpty());

    // And the restored file takes changes again.
    dm->CDSCliente->Append();
    dm->CDSClienteNOME->SetAsString(u"CARLA"_s);
    dm->CDSCliente->ApplyUpdates();
    QCOMPARE(db.scalar(u"SELECT COUNT(*) FROM CAD_CLIENTE"_s).toInt(), 2);
}

void TstDatabaseBackup::refusedBackupChangesNothing_data()
{
    QTest::addColumn<QString>("defect");
    QTest::newRow("text file") << u"text"_s;
    QTest::newRow("truncated database") << u"truncated"_s;
    QTest::newRow("missing file") << u"missing"_s;
}

void TstDatabaseBackup::refusedBackupChangesNothing()
{
    QFETCH(QString, defect);
    TempDatabase db;
    QVERIFY(db.addClient(u"ANA"_s, pessoaFisica()));
    auto dm = openDataModule(db);
    QVERIFY(dm);
    logPendingChange(*dm);
    const QByteArray before = digest(db.path());

    TempDatabase candidate(defect == "truncated"_L1 ? TempDatabase::WithTables : TempDatabase::WithoutFile);
    if (defect == "text"_L1) {
        QFile file(candidate.path());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(64 * 1024, 'x'));
    } else if (defect == "truncated"_L1) {
        QVERIFY(fill(candidate, 300));
        QVERIFY(truncateToHalf(candidate.path()));
    }
    const DatabaseBackup::Result result = DatabaseBackup::restore(*dm, candidate.path());
    QCOMPARE(result.status, DatabaseBackup::Result::NotADatabase);
    QVERIFY(!result.reason.isEmpty());
    QCOMPARE(digest(db.path()), before);
    QVERIFY(dm->Connected());
    QCOMPARE(dm->CDSCliente->ChangeCount(), 1); // nothing was closed
    QCOMPARE(dm->CDSCliente->RecordCount(), 2);
}

void TstDatabaseBackup::failedCopyKeepsTheOldFile_data()
{
    QTest::addColumn<bool>("restoring");
    QTest::newRow("save") << false;
    QTest::newRow("restore") << true;
}

void TstDatabaseBackup::failedCopyKeepsTheOldFile()
{
    QFETCH(bool, restoring);
    TempDatabase db;
    QVERIFY(fill(db, restoring ? 3 : 300));
    auto dm = openDataModule(db);
    QVERIFY(dm);
    TempDatabase backup;
    QVERIFY(fill(backup, restoring ? 300 : 3));
    const QByteArray database = digest(db.path());
    const QByteArray oldBackup = digest(backup.path());
    const int clients = dm->CDSCliente->RecordCount();

    DatabaseBackup::Result result;
    {
        // The disk fills up after 32 KiB of the copy.
        const FileSizeLimit limit(32 * 1024);
        result = restoring ? DatabaseBackup::restore(*dm, backup.path()) : DatabaseBackup::save(*dm, backup.path());
    }
    QCOMPARE(result.status, DatabaseBackup::Result::Failed);
    QVERIFY2(result.reason.contains(u"excede o tamanho máximo"_s), qPrintable(result.reason));
    QCOMPARE(digest(db.path()), database);
    QCOMPARE(digest(backup.path()), oldBackup);
    QVERIFY(hiddenFiles(db.programFolder() + u"Banco"_s).isEmpty());
    QVERIFY(hiddenFiles(backup.programFolder() + u"Banco"_s).isEmpty());
    // Opened again on the file as it was.
    QVERIFY(dm->Connected() && dm->CDS_PED_Cliente->Active());
    QCOMPARE(dm->CDSCliente->RecordCount(), clients);
}

QTEST_GUILESS_MAIN(TstDatabaseBackup)
#include "tst_databasebackup.moc"
