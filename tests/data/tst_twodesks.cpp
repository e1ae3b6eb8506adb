// Two desks against one PostgreSQL server. This process is the first desk; the
// same executable started with --desk is the second, a program of its own with
// its own settings, driven one line at a time through its standard input.
// The suite starts its own throw-away server, so that it may stop and start it.
#include "ClientRecord.h"
#include "DataFixture.h"
#include "DisplaySettings.h"
#include "IniFile.h"
#include "UDMbanco.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <iostream>
#include <memory>
#include <string>

using namespace Qt::Literals::StringLiterals;
using Reason = DatabaseError::Reason;

namespace {

const QString kServerScript = QStringLiteral(VOSMIRA_PG_SERVER_SCRIPT);
const QString kOtherUser = u"O registro foi alterado ou excluído por outro usuário."_s;

// One desk's data module, driven by lines: "open", "go NAME", "edit COLUMN VALUE",
// "append NAME", "delete", "undo", "cancel", "apply", "catchup", "show COLUMN".
// Answers "ok [...]", "refused REASON TEXT" for a DatabaseError, "error TEXT".
class Desk
{
public:
    virtual ~Desk() = default;
    virtual QString ask(const QString &line) = 0;
};

class LocalDesk : public Desk
{
public:
    explicit LocalDesk(const QString &programFolder)
        : m_dm(programFolder)
    {
    }
    QString ask(const QString &line) override;

private:
    TDMbanco m_dm;
};

QString stateName(TDataSetState state)
{
    switch (state) {
    case dsBrowse: return u"browse"_s;
    case dsEdit: return u"edit"_s;
    case dsInsert: return u"insert"_s;
    case dsInactive: break;
    }
    return u"inactive"_s;
}

QString LocalDesk::ask(const QString &line)
{
    const QString command = line.section(u' ', 0, 0);
    const QString rest = line.section(u' ', 1);
    TClientDataSet *clients = m_dm.CDSCliente;
    const auto ok = [](const QVariant &value = QVariant()) {
        return value.isValid() ? u"ok "_s + value.toString() : u"ok"_s;
    };
    try {
        if (command == "open"_L1) {
            m_dm.connectSequence();
            return ok(clients->RecordCount());
        }
        if (command == "go"_L1)
            return clients->Locate(u"NOME", rest, 0) ? ok(clients->FieldByName(u"CODIGO_C")->AsString()) : u"missing"_s;
        if (command == "edit"_L1) {
            if (clients->State() == dsBrowse)
                clients->Edit();
            clients->FieldByName(rest.section(u' ', 0, 0))->SetAsString(rest.section(u' ', 1));
            return ok();
        }
        if (command == "append"_L1) {
            clients->Append();
            m_dm.CDSClienteNOME->SetAsString(rest);
            m_dm.CDSClienteTIPO->SetAsString(ClientRecord::pessoaFisica());
            return ok();
        }
        if (command == "delete"_L1) {
            clients->Delete();
            return ok();
        }
        if (command == "undo"_L1)
            return clients->UndoLastDelete() ? ok() : u"nothing"_s;
        if (command == "cancel"_L1) {
            clients->Cancel();
            return ok();
        }
        if (command == "apply"_L1) {
            clients->ApplyUpdates(-1);
            return ok(clients->IsEmpty() ? QString() : m_dm.CDSClienteCODIGO_C->AsString());
        }
        if (command == "catchup"_L1) {
            m_dm.CatchUp();
            return ok(clients->RecordCount());
        }
        if (command == "show"_L1)
            return stateName(clients->State()) + u' ' + clients->FieldByName(rest)->AsString();
    } catch (const DatabaseError &e) {
        return u"refused %1 %2"_s.arg(int(e.reason())).arg(e.text().replace(u'\n', u' '));
    } catch (const std::exception &e) {
        return u"error "_s + QString::fromUtf8(e.what());
    }
    return u"error unknown command "_s + command;
}

QString refused(Reason reason, const QString &text)
{
    return u"refused %1 %2"_s.arg(int(reason)).arg(text);
}

// The second desk: this executable again, in a process of its own.
class OtherDesk : public Desk
{
public:
    explicit OtherDesk(const QString &database)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"XDG_CONFIG_HOME"_s, m_settings.path());
        m_process.setProcessEnvironment(environment);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QCoreApplication::applicationFilePath(), {u"--desk"_s, database});
    }
    ~OtherDesk() override
    {
        m_process.write("quit\n");
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(10000))
            m_process.kill();
    }

    QString ask(const QString &line) override
    {
        m_process.write(line.toUtf8() + '\n');
        while (!m_process.canReadLine()) {
            if (!m_process.waitForReadyRead(30000))
                return u"error no answer: "_s + m_process.errorString();
        }
        return QString::fromUtf8(m_process.readLine()).chopped(1);
    }

private:
    QTemporaryDir m_settings;
    QProcess m_process;
};

// The --desk side: its own [Banco], naming the server of the environment.
int runOtherDesk(const QString &database)
{
    vosmira::IniFile ini(vosmira::DisplaySettings::fileName());
    ini.WriteString(u"Banco"_s, u"Servidor"_s, qEnvironmentVariable("PGHOST"));
    ini.WriteString(u"Banco"_s, u"Porta"_s, qEnvironmentVariable("PGPORT"));
    ini.WriteString(u"Banco"_s, u"Banco"_s, database);
    ini.WriteString(u"Banco"_s, u"Usuario"_s, qEnvironmentVariable("PGUSER"));
    QTemporaryDir programFolder;
    LocalDesk desk(programFolder.path());
    std::string line;
    while (std::getline(std::cin, line) && line != "quit")
        std::cout << desk.ask(QString::fromStdString(line)).toStdString() << std::endl;
    return 0;
}

bool serverInstalled()
{
    if (qEnvironmentVariableIsSet("PG_BINDIR"))
        return QFile::exists(qEnvironmentVariable("PG_BINDIR") + u"/pg_ctl"_s);
    for (const QString &version : QDir(u"/usr/lib/postgresql"_s).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (QFile::exists(u"/usr/lib/postgresql/%1/bin/pg_ctl"_s.arg(version)))
            return true;
    }
    return false;
}

// One client, Ana, loaded by both desks.
struct Office
{
    TempDatabase db;
    std::unique_ptr<Desk> here;
    std::unique_ptr<OtherDesk> there;

    bool open()
    {
        if (!db.addClient(u"Ana"_s, ClientRecord::pessoaFisica(), {{u"EMAIL"_s, u"ana@exemplo.com.br"_s}}))
            return false;
        here = std::make_unique<LocalDesk>(db.programFolder());
        there = std::make_unique<OtherDesk>(db.serverDatabase());
        return here->ask(u"open"_s) == "ok 1"_L1 && there->ask(u"open"_s) == "ok 1"_L1;
    }
    QString stored(const QString &column, const QString &code)
    {
        const QVariant value = db.scalar(u"SELECT "_s + column + u" FROM CAD_CLIENTE WHERE CODIGO_C = ?"_s,
                                         {code.toLongLong()});
        return value.isValid() ? value.toString() : u"(none)"_s;
    }
};

// What a desk types for a change: a column and its value, or a deletion.
struct Change
{
    QString column; // empty: delete
    QString value;
    bool deletes() const { return column.isEmpty(); }
    QString begin(Desk &desk) const { return desk.ask(deletes() ? u"delete"_s : u"edit "_s + column + u' ' + value); }
};

} // namespace

Q_DECLARE_METATYPE(Change)

class TestTwoDesks : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void secondChangeOfOneClientIsRefused_data();
    void secondChangeOfOneClientIsRefused();
    void registrationsMeetAfterARead();
    void serverStoppedMidSave_data();
    void serverStoppedMidSave();

private:
    bool serverScript(const QString &command);

    QTemporaryDir m_server{QDir::tempPath() + u"/twodesks-XXXXXX"_s};
};

bool TestTwoDesks::serverScript(const QString &command)
{
    QProcess script;
    script.setProcessChannelMode(QProcess::ForwardedChannels);
    script.start(u"bash"_s,
                 {kServerScript, command, m_server.path(), QString::number(QCoreApplication::applicationPid())});
    return script.waitForFinished(120000) && script.exitStatus() == QProcess::NormalExit && script.exitCode() == 0;
}

void TestTwoDesks::initTestCase()
{
    if (!serverInstalled())
        QSKIP("no PostgreSQL server is installed (Debian's postgresql package)");
    QVERIFY(m_server.isValid());
    QVERIFY(serverScript(u"start"_s));
    QFile env(m_server.filePath(u"env"_s));
    QVERIFY(env.open(QIODevice::ReadOnly));
    // export PGHOST=... PGPORT=... PGUSER=... PGDATABASE=...
    static const QRegularExpression assignment(u"(PG\\w+)=(\\S+)"_s);
    for (const QRegularExpressionMatch &m : assignment.globalMatch(QString::fromUtf8(env.readAll())))
        qputenv(m.captured(1).toUtf8().constData(), m.captured(2).toUtf8());
    qputenv("VOSMIRA_TEST_SERVER", "1");
}

void TestTwoDesks::cleanupTestCase()
{
    if (QFile::exists(m_server.filePath(u"env"_s)))
        QVERIFY(serverScript(u"stop"_s));
}

void TestTwoDesks::secondChangeOfOneClientIsRefused_data()
{
    QTest::addColumn<bool>("hereFirst");
    QTest::addColumn<Change>("first");
    QTest::addColumn<Change>("second");
    const Change nameFirst{u"NOME"_s, u"Ana Primeira"_s};
    const Change nameSecond{u"NOME"_s, u"Ana Segunda"_s};
    const Change emailSecond{u"EMAIL"_s, u"segunda@exemplo.com.br"_s};
    const Change deletion;
    QTest::newRow("name against name") << true << nameFirst << nameSecond;
    QTest::newRow("name against name, the other desk first") << false << nameFirst << nameSecond;
    QTest::newRow("name against another column") << true << nameFirst << emailSecond;
    QTest::newRow("edit against delete") << false << nameFirst << deletion;
    QTest::newRow("delete against edit") << true << deletion << nameSecond;
}

// Both desks have the client on screen and change it; the first save wins, the
// second is refused, its typing kept, and goes through once it has seen the first.
void TestTwoDesks::secondChangeOfOneClientIsRefused()
{
    QFETCH(bool, hereFirst);
    QFETCH(Change, first);
    QFETCH(Change, second);
    Office office;
    QVERIFY(office.open());
    Desk &winner = hereFirst ? *office.here : *office.there;
    Desk &loser = hereFirst ? *office.there : *office.here;
    const QString code = winner.ask(u"go Ana"_s).mid(3);
    QCOMPARE(loser.ask(u"go Ana"_s), u"ok "_s + code);

    QCOMPARE(first.begin(winner), u"ok"_s);
    QCOMPARE(second.begin(loser), u"ok"_s);
    QVERIFY(winner.ask(u"apply"_s).startsWith(u"ok"_s));
    QCOMPARE(loser.ask(u"apply"_s), refused(Reason::RowChanged, kOtherUser));

    // The server keeps the first desk's change whole.
    if (first.deletes()) {
        QCOMPARE(office.stored(u"NOME"_s, code), u"(none)"_s);
    } else {
        QCOMPARE(office.stored(first.column, code), first.value);
        QCOMPARE(office.stored(u"EMAIL"_s, code), u"ana@exemplo.com.br"_s);
    }
    // The second desk's typing is still there to try again or give up.
    if (second.deletes()) {
        QCOMPARE(loser.ask(u"undo"_s), u"ok"_s);
        QCOMPARE(loser.ask(u"show NOME"_s), u"browse Ana"_s);
    } else {
        QCOMPARE(loser.ask(u"show "_s + second.column), u"edit "_s + second.value);
        QCOMPARE(loser.ask(u"apply"_s), refused(Reason::RowChanged, kOtherUser));
        QCOMPARE(loser.ask(u"cancel"_s), u"ok"_s);
    }

    // Read again, the second desk sees the first's change, and may make its own over it.
    QCOMPARE(loser.ask(u"catchup"_s), first.deletes() ? u"ok 0"_s : u"ok 1"_s);
    if (first.deletes())
        return;
    QCOMPARE(loser.ask(u"show NOME"_s), u"browse "_s + first.value);
    QCOMPARE(second.begin(loser), u"ok"_s);
    QVERIFY(loser.ask(u"apply"_s).startsWith(u"ok"_s));
    if (second.deletes()) {
        QCOMPARE(office.stored(u"NOME"_s, code), u"(none)"_s);
    } else {
        QCOMPARE(office.stored(second.column, code), second.value);
        if (second.column != first.column)
            QCOMPARE(office.stored(first.column, code), first.value);
    }
}

// Each desk registers a client while the other does too: both are kept, with
// numbers of their own, and each desk sees the other's once it reads again.
void TestTwoDesks::registrationsMeetAfterARead()
{
    Office office;
    QVERIFY(office.open());
    Desk &here = *office.here;
    Desk &there = *office.there;
    QCOMPARE(here.ask(u"append Bruno"_s), u"ok"_s);
    QCOMPARE(there.ask(u"append Carla"_s), u"ok"_s);
    const QString bruno = here.ask(u"apply"_s);
    const QString carla = there.ask(u"apply"_s);
    QVERIFY2(bruno.startsWith(u"ok "_s) && carla.startsWith(u"ok "_s) && bruno != carla,
             qPrintable(bruno + u" / "_s + carla));
    QCOMPARE(office.stored(u"NOME"_s, bruno.mid(3)), u"Bruno"_s);
    QCOMPARE(office.stored(u"NOME"_s, carla.mid(3)), u"Carla"_s);

    QCOMPARE(here.ask(u"go Carla"_s), u"missing"_s);
    for (Desk *desk : {&here, &there}) {
        QCOMPARE(desk->ask(u"catchup"_s), u"ok 3"_s);
        QCOMPARE(desk->ask(u"go Bruno"_s), bruno);
        QCOMPARE(desk->ask(u"go Carla"_s), carla);
    }
    // A desk in the middle of a change keeps it and reads later.
    QCOMPARE(here.ask(u"append Davi"_s), u"ok"_s);
    QCOMPARE(there.ask(u"append Elisa"_s), u"ok"_s);
    QVERIFY(there.ask(u"apply"_s).startsWith(u"ok "_s));
    QCOMPARE(here.ask(u"catchup"_s), u"ok 3"_s);
    QCOMPARE(here.ask(u"show NOME"_s), u"insert Davi"_s);
    QVERIFY(here.ask(u"apply"_s).startsWith(u"ok "_s));
    QCOMPARE(here.ask(u"catchup"_s), u"ok 5"_s);
}

void TestTwoDesks::serverStoppedMidSave_data()
{
    QTest::addColumn<QString>("typing");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("clients");
    QTest::newRow("edit") << u"edit NOME Ana Paula"_s << u"edit Ana Paula"_s << 1;
    QTest::newRow("registration") << u"append Bruno"_s << u"insert Bruno"_s << 2;
}

// The server goes away between the typing and the save: the save is refused as
// unreachable, the typing kept; once the server is back the same save goes
// through, once, and the other desk sees it when it reads again.
void TestTwoDesks::serverStoppedMidSave()
{
    QFETCH(QString, typing);
    QFETCH(QString, shown);
    QFETCH(int, clients);
    Office office;
    QVERIFY(office.open());
    Desk &here = *office.here;
    Desk &there = *office.there;
    QVERIFY(here.ask(u"go Ana"_s).startsWith(u"ok "_s));
    QCOMPARE(here.ask(typing), u"ok"_s);

    QVERIFY(serverScript(u"stop"_s));
    auto restart = qScopeGuard([this] { serverScript(u"restart"_s); });
    const QString unreachable = u"refused %1 "_s.arg(int(Reason::Unreachable));
    for (int attempt = 0; attempt < 2; ++attempt) {
        const QString answer = here.ask(u"apply"_s);
        QVERIFY2(answer.startsWith(unreachable), qPrintable(answer));
        QCOMPARE(here.ask(u"show NOME"_s), shown);
    }
    const QString answer = there.ask(u"catchup"_s);
    QVERIFY2(answer.startsWith(unreachable), qPrintable(answer));

    restart.dismiss();
    QVERIFY(serverScript(u"restart"_s));
    QVERIFY(here.ask(u"apply"_s).startsWith(u"ok "_s));
    QCOMPARE(here.ask(u"show NOME"_s), u"browse "_s + shown.section(u' ', 1));
    office.db.reconnect();
    QCOMPARE(office.db.scalar(u"SELECT COUNT(*) FROM CAD_CLIENTE"_s).toInt(), clients);
    QCOMPARE(office.db.scalar(u"SELECT COUNT(*) FROM CAD_CLIENTE WHERE NOME = ?"_s, {shown.section(u' ', 1)}).toInt(),
             1);
    QCOMPARE(there.ask(u"catchup"_s), u"ok %1"_s.arg(clients));
    QVERIFY(there.ask(u"go "_s + shown.section(u' ', 1)).startsWith(u"ok "_s));
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--desk") == 0)
        return runOtherDesk(QString::fromLocal8Bit(argv[2]));
    TestTwoDesks test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_twodesks.moc"
