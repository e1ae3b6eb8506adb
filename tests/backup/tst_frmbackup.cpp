#include "UFrmBACKUP.h"

#include "Clock.h"
#include "DataFixture.h"
#include "FaultInjection.h"
#include "ScriptedDialogs.h"
#include "TImage.h"
#include "UDMbanco.h"
#include "VosmiraApplication.h"

#include <QCryptographicHash>
#include <QFile>
#include <QLabel>
#include <QRadioButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>

using namespace Qt::Literals::StringLiterals;
using namespace vosmira;
using ClientRecord::pessoaFisica;
using vosmira::test::FileSizeLimit;
using vosmira::test::ScriptedDialogs;

namespace {

const QString kQuestion =
    u"Este procedimento ira substituir todos os seus dados atuais pelo backup selecionado.\rConfirma?"_s;

QByteArray digest(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&file);
    return hash.result();
}

// The backup window over a temporary database holding one client, shown.
struct Backup
{
    TempDatabase db;
    std::unique_ptr<TDMbanco> dm;
    std::unique_ptr<TFrmBACKUP> form;

    Backup()
    {
        db.addClient(u"ANA"_s, pessoaFisica());
        dm = openDataModule(db);
        DMbanco = dm.get();
        open();
    }
    ~Backup()
    {
        form.reset();
        DMbanco = nullptr;
    }
    void open()
    {
        form = std::make_unique<TFrmBACKUP>();
        form->show();
    }
    bool ready() const { return dm && QTest::qWaitForWindowExposed(form.get()); }
    void run() { QTest::mouseClick(form->SpeedButton1, Qt::LeftButton); }
    void chooseRestore() { QTest::mouseClick(form->Label2, Qt::LeftButton); }
    // A change logged but not applied: closing the datasets would lose it.
    void logPendingChange()
    {
        dm->CDSCliente->Append();
        dm->CDSClienteNOME->SetAsString(u"PENDENTE"_s);
        dm->CDSCliente->Post();
    }
    int stored() { return db.scalar(u"SELECT COUNT(*) FROM CAD_CLIENTE"_s).toInt(); }
};

} // namespace

class TstFrmBackup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void windowAndControls();
    void proposedName_data();
    void proposedName();
    void cancelOrNoChangesNothing_data();
    void cancelOrNoChangesNothing();
    void saveRegisterRestore();
    void refusalsAndFailuresKeepTheWindow_data();
    void refusalsAndFailuresKeepTheWindow();

private:
    std::unique_ptr<ScriptedDialogs> m_dialogs;
};

void TstFrmBackup::initTestCase()
{
    Clock::set([] { return QDate(2025, 12, 8); });
}

void TstFrmBackup::init()
{
    m_dialogs = std::make_unique<ScriptedDialogs>();
}

void TstFrmBackup::cleanup()
{
    m_dialogs.reset();
}

void TstFrmBackup::windowAndControls()
{
    Backup b;
    QVERIFY(b.ready());
    TFrmBACKUP &f = *b.form;
    QCOMPARE(FrmBACKUP, &f);
    QCOMPARE(f.objectName(), u"FrmBACKUP"_s);
    QCOMPARE(f.windowTitle(), u" :: BACKUP"_s);
    QCOMPARE(f.size(), QSize(336, 135));
    QCOMPARE(f.minimumSize(), f.maximumSize());
    QVERIFY(f.windowFlags() & Qt::Tool);
    // Centred on the desktop, give or take the frame.
    const QPoint offCentre = f.geometry().center() - QGuiApplication::primaryScreen()->availableGeometry().center();
    QVERIFY(offCentre.manhattanLength() <= 8);
    QCOMPARE(f.Image1->size(), QSize(72, 72));
    QVERIFY(!f.Image1->picture().isNull());
    QCOMPARE(f.Label1->text(), u"Salvar backup."_s);
    QCOMPARE(f.Label2->text(), u"Carregar backup."_s);
    QVERIFY(f.RadioButton1->text().isEmpty() && f.RadioButton2->text().isEmpty());
    QCOMPARE(f.SpeedButton2->toolTip(), u"Voltar"_s);
    QVERIFY(f.SpeedButton1->toolTip().isEmpty());
    QCOMPARE(f.SpeedButton1->focusPolicy(), Qt::NoFocus);

    // The labels check their option buttons; showing again starts on saving.
    QVERIFY(f.RadioButton1->isChecked());
    QTest::mouseClick(f.Label2, Qt::LeftButton);
    QVERIFY(f.RadioButton2->isChecked() && !f.RadioButton1->isChecked());
    QTest::mouseClick(f.Label1, Qt::LeftButton);
    QVERIFY(f.RadioButton1->isChecked());
    QTest::mouseClick(f.Label2, Qt::LeftButton);
    f.hide();
    f.show();
    QVERIFY(f.RadioButton1->isChecked());

    // Enter performs the chosen action, since the picture buttons take no focus.
    QTest::keyClick(&f, Qt::Key_Return);
    QCOMPARE(m_dialogs->fileRequests().size(), 1);

    QTest::mouseClick(f.SpeedButton2, Qt::LeftButton);
    QVERIFY(!f.isVisible());
    QVERIFY(m_dialogs->messages().isEmpty());
    b.form.reset();
    QCOMPARE(FrmBACKUP, nullptr);
}

void TstFrmBackup::proposedName_data()
{
    QTest::addColumn<QDate>("day");
    QTest::addColumn<QString>("name");
    QTest::newRow("8 December 2025") << QDate(2025, 12, 8) << u"Bck_Vosmira_08-12-25.mdb"_s;
    QTest::newRow("31 January 2000") << QDate(2000, 1, 31) << u"Bck_Vosmira_31-01-00.mdb"_s;
    QTest::newRow("1 May 1999") << QDate(1999, 5, 1) << u"Bck_Vosmira_01-05-99.mdb"_s;
}

void TstFrmBackup::proposedName()
{
    QFETCH(QDate, day);
    QFETCH(QString, name);
    QCOMPARE(TFrmBACKUP::proposedName(day), name);
}

void TstFrmBackup::cancelOrNoChangesNothing_data()
{
    QTest::addColumn<bool>("restoring");
    QTest::addColumn<bool>("answerNo");
    QTest::newRow("save dialog cancelled") << false << false;
    QTest::newRow("restore question answered No") << true << true;
    QTest::newRow("restore dialog cancelled") << true << false;
}

void TstFrmBackup::cancelOrNoChangesNothing()
{
    QFETCH(bool, restoring);
    QFETCH(bool, answerNo);
    Backup b;
    QVERIFY(b.ready());
    b.logPendingChange();
    if (restoring)
        b.chooseRestore();
    if (answerNo)
        m_dialogs->answerNext(Answer::No);
    b.run();

    QVERIFY(b.form->isVisible());
    QVERIFY(b.dm->Connected());
    QCOMPARE(b.dm->CDSCliente->ChangeCount(), 1); // the datasets were never closed
    if (restoring) {
        QCOMPARE(m_dialogs->messages().size(), 1);
        const MessageRequest &box = m_dialogs->messages().first();
        QCOMPARE(box.kind, MessageKind::Question);
        QCOMPARE(box.caption, u"Confirmação"_s);
        QCOMPARE(box.text, kQuestion);
        QCOMPARE(box.icon, MessageIcon::Question);
    } else {
        QVERIFY(m_dialogs->messages().isEmpty());
    }
    QCOMPARE(m_dialogs->fileRequests().size(), answerNo ? 0 : 1);
    if (answerNo)
        return;
    const FileRequest &request = m_dialogs->fileRequests().first();
    QCOMPARE(request.filter, u"Banco Vosmira|*.mdb"_s);
    QCOMPARE(request.defaultSuffix, u".mdb"_s);
    if (restoring) {
        QCOMPARE(request.mode, FileRequest::Mode::Open);
        QVERIFY(!request.mustExist);
    } else {
        QCOMPARE(request.mode, FileRequest::Mode::Save);
        QCOMPARE(request.fileName, u"Bck_Vosmira_08-12-25.mdb"_s);
        QVERIFY(!request.confirmOverwrite);
    }
}

void TstFrmBackup::saveRegisterRestore()
{
    Backup b;
    QVERIFY(b.ready());
    QTemporaryDir elsewhere;
    const QString backup = elsewhere.path() + u"/Bck_Vosmira_08-12-25.mdb"_s;
    m_dialogs->chooseFile(backup);
    b.run();
    QCOMPARE(m_dialogs->texts(), QStringList{u"Backup salvo com sucesso."_s});
    QCOMPARE(m_dialogs->messages().first().kind, MessageKind::Plain);
    QVERIFY(!b.form->isVisible());
    QVERIFY(QFile::exists(backup));

    b.dm->CDSCliente->Append();
    b.dm->CDSClienteNOME->SetAsString(u"BRUNO"_s);
    b.dm->CDSCliente->ApplyUpdates();
    QCOMPARE(b.stored(), 2);

    m_dialogs->clear();
    b.open();
    QVERIFY(b.ready());
    b.chooseRestore();
    m_dialogs->chooseFile(backup);
    b.run();
    QCOMPARE(m_dialogs->texts(), (QStringList{kQuestion, u"Backup carregado com sucesso."_s}));
    QCOMPARE(m_dialogs->messages().last().kind, MessageKind::Plain);
    QVERIFY(!b.form->isVisible());
    QCOMPARE(b.dm->CDSCliente->RecordCount(), 1);
    QCOMPARE(b.dm->CDSClienteNOME->AsString(), u"ANA"_s);
    b.db.reconnect();
    QCOMPARE(b.stored(), 1);
}

void TstFrmBackup::refusalsAndFailuresKeepTheWindow_data()
{
    QTest::addColumn<QString>("situation");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("closed"); // the datasets closed and opened again
    QTest::newRow("garbage offered as a backup")
        << u"garbage"_s
        << u"O arquivo selecionado não é um backup válido do Vosmira.\n\n%1\nO arquivo não é um banco de dados."_s
        << false;
    QTest::newRow("restore fails midway")
        << u"midway"_s
        << u"O backup %1 não pôde ser carregado.\n\nNão foi possível gravar em %2: o arquivo excede o tamanho máximo permitido. O arquivo existente não foi alterado."_s
        << true;
    QTest::newRow("save into a missing folder") << u"nofolder"_s << u"O backup não pôde ser salvo em %1.\n\n"_s << true;
    QTest::newRow("the database itself")
        << u"itself"_s << u"O arquivo selecionado é o próprio banco de dados do Vosmira; nada foi copiado."_s << false;
}

void TstFrmBackup::refusalsAndFailuresKeepTheWindow()
{
    QFETCH(QString, situation);
    QFETCH(QString, expected);
    QFETCH(bool, closed);
    if (testingOnServer() && (situation == "midway"_L1 || situation == "itself"_L1))
        QSKIP("a refusal of the database file");
    // A server's clients are copied out with the datasets left open.
    closed = closed && !testingOnServer();
    Backup b;
    QVERIFY(b.ready());
    const QByteArray before = digest(b.db.path());
    b.logPendingChange();

    TempDatabase other(situation == "midway"_L1 ? TempDatabase::WithTables : TempDatabase::WithoutFile,
                       TempDatabase::AsFile);
    QString chosen = other.path();
    if (situation == "garbage"_L1) {
        QFile file(chosen);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(100 * 1024, '\x5a'));
    } else if (situation == "midway"_L1) {
        QVERIFY(other.exec(u"WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < 1000) "
                           "INSERT INTO CAD_CLIENTE (NOME, OBS) SELECT 'CLIENTE ' || x, hex(zeroblob(120)) FROM c"_s));
    } else if (situation == "nofolder"_L1) {
        chosen = other.programFolder() + u"não existe/Bck_Vosmira_08-12-25.mdb"_s;
    } else {
        chosen = b.db.path();
    }
    if (situation != "nofolder"_L1)
        b.chooseRestore();
    m_dialogs->chooseFile(chosen);
    {
        std::optional<FileSizeLimit> limit;
        if (situation == "midway"_L1)
            limit.emplace(128 * 1024);
        b.run();
    }
    const QString text = m_dialogs->messages().last().text;
    QVERIFY2(text.startsWith(expected.replace(u"%1"_s, chosen).replace(u"%2"_s, b.db.path())), qPrintable(text));
    QCOMPARE(m_dialogs->messages().last().kind, MessageKind::Plain);
    QVERIFY(b.form->isVisible());
    QCOMPARE(digest(b.db.path()), before);
    QVERIFY(b.dm->Connected());
    // Opened again on the file as it was, or never closed: the unapplied row tells.
    QCOMPARE(b.dm->CDSCliente->ChangeCount(), closed ? 0 : 1);
    QCOMPARE(b.dm->CDSCliente->RecordCount(), closed ? 1 : 2);
}

int main(int argc, char *argv[])
{
    VosmiraApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    TstFrmBackup test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_frmbackup.moc"
