#include "DbCommand.h"

#include "ClientRecord.h"
#include "DisplaySettings.h"
#include "IniFile.h"
#include "TableWriter.h"
#include "TestFolders.h"

#include "DataFixture.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

using namespace Qt::Literals::StringLiterals;

namespace {

struct Outcome
{
    int exitCode = -1;
    QString said; // standard output and error together
};

Outcome runCommand(QStringList arguments, const QString &programFolder)
{
    arguments.prepend(u"vosmira-db"_s);
    Outcome o;
    QTextStream stream(&o.said);
    o.exitCode = vosmira::runDbCommand(arguments, programFolder, stream, stream);
    return o;
}

} // namespace

class TstDbCommand : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void commandLine_data();
    void commandLine();
    void serverSettings_data();
    void serverSettings();
    void preparesAndFeedsAServer();
    void executableAnswersInPortuguese();

private:
    TempDatabase m_db;
    QTemporaryDir m_dir;
};

void TstDbCommand::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(m_db.addClient(u"ANA"_s, ClientRecord::pessoaFisica(), {{u"CPF"_s, u"12345678909"_s}}));
    QVERIFY(m_db.addClient(u"BETA LTDA"_s, ClientRecord::pessoaJuridica()));
    QFile good(m_dir.filePath(u"bom.csv"_s));
    QVERIFY(good.open(QIODevice::WriteOnly));
    good.write("Nome;CPF\nCARLOS;529.982.247-25\n");
    good.close();
    QFile bad(m_dir.filePath(u"ruim.csv"_s));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("Nome;CPF\nDORA;111.222.333-44\nEVA;\nANA DE NOVO;12345678909\n");
    bad.close();
    QVERIFY(QDir().mkpath(m_dir.filePath(u"ruim/Banco"_s)));
    QFile foreign(m_dir.filePath(u"ruim/Banco/Vosmira BANCO.mdb"_s));
    QVERIFY(foreign.open(QIODevice::WriteOnly));
    foreign.write("not a database at all, just some text here to fill");
    foreign.close();
    QVERIFY(QFile::copy(foreign.fileName(), m_dir.filePath(u"texto.mdb"_s)));
}

void TstDbCommand::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments"); // {dir} is the temporary folder
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("said");
    QTest::addColumn<int>("clients"); // in the table afterwards

    const bool server = testingOnServer();
    QTest::newRow("help") << QStringList{u"--help"_s} << 0 << u"Uso: vosmira-db init | export ARQUIVO"_s << 2;
    QTest::newRow("nothing to do") << QStringList() << 2 << u"indique o que fazer"_s << 2;
    QTest::newRow("unknown command") << QStringList{u"apagar"_s, u"x.csv"_s} << 2 << u"comando desconhecido"_s << 2;
    QTest::newRow("no file") << QStringList{u"export"_s} << 2 << u"indique o arquivo"_s << 2;
    QTest::newRow("init with a file") << QStringList{u"init"_s, u"x.mdb"_s} << 2 << u"init não usa arquivo"_s << 2;
    QTest::newRow("unknown format") << QStringList{u"export"_s, u"{dir}/x.xls"_s} << 2 << u"indique o formato"_s << 2;
    QTest::newRow("import with --kind") << QStringList{u"import"_s, u"{dir}/bom.csv"_s, u"--kind"_s, u"pf"_s} << 2
                                        << u"--kind é só de export"_s << 2;
    QTest::newRow("unknown kind") << QStringList{u"export"_s, u"{dir}/x.csv"_s, u"--kind"_s, u"pq"_s} << 2
                                  << u"tipo de pessoa desconhecido"_s << 2;
    QTest::newRow("export of companies") << QStringList{u"export"_s, u"{dir}/pj.vcf"_s, u"--kind"_s, u"pj"_s} << 0
                                         << u"pj.vcf: 1 cliente(s)"_s << 2;
    QTest::newRow("export to a database file")
        << QStringList{u"export"_s, u"{dir}/todos.mdb"_s} << 0 << u"todos.mdb: 2 cliente(s)"_s << 2;
    QTest::newRow("companies to a database file, by --format")
        << QStringList{u"export"_s, u"{dir}/pj.dat"_s, u"--format"_s, u"mdb"_s, u"--kind"_s, u"pj"_s} << 0
        << u"pj.dat: 1 cliente(s)"_s << 2;
    QTest::newRow("export into a missing folder") << QStringList{u"export"_s, u"{dir}/nada/x.csv"_s} << 1
                                                  << u"Não foi possível gravar em {dir}/nada/x.csv: "_s << 2;
    QTest::newRow("import of a missing file")
        << QStringList{u"import"_s, u"{dir}/nada.csv"_s} << 1
        << u"Não foi possível ler {dir}/nada.csv: o arquivo ou a pasta não existe."_s << 2;
    QTest::newRow("import of a folder") << QStringList{u"import"_s, u"{dir}"_s} << 1
                                        << u"Não foi possível ler {dir}: o caminho é uma pasta."_s << 2;
    QTest::newRow("a database file takes no --skip-invalid")
        << QStringList{u"import"_s, u"{dir}/todos.mdb"_s, u"--skip-invalid"_s} << 2 << u"é só de import de planilha"_s
        << 2;
    // Known by its content whatever its name; only a server with no clients takes it.
    QTest::newRow("database file into a database with clients")
        << QStringList{u"import"_s, u"{dir}/pj.dat"_s} << 1
        << (server ? u"já tem 2 cliente(s); nada foi copiado"_s : u"use \"Carregar backup.\" na janela de backup"_s)
        << 2;
    if (server) {
        QTest::newRow("a .mdb that is no database")
            << QStringList{u"import"_s, u"{dir}/texto.mdb"_s} << 1
            << u"Não foi possível ler {dir}/texto.mdb: O arquivo não é um banco de dados."_s << 2;
    } else {
        QTest::newRow("init without a server")
            << QStringList{u"init"_s} << 2 << u"init prepara um servidor PostgreSQL nomeado na seção [Banco] de "_s
            << 2;
        QTest::newRow("no database") << QStringList{u"export"_s, u"{dir}/x.csv"_s, u"--program-folder"_s, u"{dir}"_s}
                                     << 1 << u"O seguinte arquivo não foi encontrado"_s << 2;
        QTest::newRow("not a database")
            << QStringList{u"export"_s, u"{dir}/x.csv"_s, u"--program-folder"_s, u"{dir}/ruim"_s} << 1
            << u"Não foi possível abrir o banco de dados ({dir}/ruim/Banco/Vosmira BANCO.mdb): o arquivo não é um banco de dados do Vosmira."_s
            << 2;
        // Whatever the spelling, the export never replaces the file it reads.
        QTest::newRow("export over the database")
            << QStringList{u"export"_s, u"{db}Banco/../Banco/Vosmira BANCO.mdb"_s, u"--format"_s, u"mdb"_s} << 2
            << u"é o banco de dados"_s << 2;
    }
    QTest::newRow("refused rows") << QStringList{u"import"_s, u"{dir}/ruim.csv"_s} << 1
                                  << u"Linha 2: CPF inválido: 111.222.333-44."_s << 2;
    QTest::newRow("dry run") << QStringList{u"import"_s, u"{dir}/ruim.csv"_s, u"--dry-run"_s, u"--skip-invalid"_s} << 0
                             << u"1 cliente(s) de 3 linha(s) seriam importados; 1 linha(s) recusada(s), "
                                "1 duplicado(s) não importado(s). Nada foi gravado."_s
                             << 2;
    QTest::newRow("skip invalid") << QStringList{u"import"_s, u"{dir}/ruim.csv"_s, u"--skip-invalid"_s} << 0
                                  << u"Linha 4: Já existe um cliente com este CPF: ANA. Não importado."_s << 3;
    QTest::newRow("import") << QStringList{u"import"_s, u"{dir}/bom.csv"_s} << 0
                            << u"1 cliente(s) importado(s) de 1 linha(s)."_s << 4;
}

void TstDbCommand::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, said);
    QFETCH(int, clients);

    arguments.replaceInStrings(u"{dir}"_s, m_dir.path()).replaceInStrings(u"{db}"_s, m_db.programFolder());
    said.replace(u"{dir}"_s, m_dir.path());
    const Outcome o = runCommand(arguments, m_db.programFolder());
    QVERIFY2(o.said.contains(said), qPrintable(o.said));
    QCOMPARE(o.exitCode, exitCode);
    QCOMPARE(m_db.scalar(u"SELECT COUNT(*) FROM CAD_CLIENTE"_s).toInt(), clients);
}

// A [Banco] section the command cannot use is named as the program names it.
void TstDbCommand::serverSettings_data()
{
    QTest::addColumn<QString>("port");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("said");

    const QString unreachable =
        u"Não foi possível conectar ao servidor de banco de dados: (servidor 127.0.0.1:1/escritorio) "
        "verifique se o servidor está ligado"_s;
    QTest::newRow("init, nothing listening") << u"1"_s << QStringList{u"init"_s} << unreachable;
    QTest::newRow("export, nothing listening") << u"1"_s << QStringList{u"export"_s, u"{dir}/x.mdb"_s} << unreachable;
    const QString noPort = u"Não foi possível conectar ao servidor de banco de dados (seção [Banco] de {ini}): a porta "
                           "\"porta\" não é um número de 1 a 65535."_s;
    QTest::newRow("init, a port that is no port") << u"porta"_s << QStringList{u"init"_s} << noPort;
    QTest::newRow("export, a port that is no port")
        << u"porta"_s << QStringList{u"export"_s, u"{dir}/x.mdb"_s} << noPort;
}

void TstDbCommand::serverSettings()
{
    QFETCH(QString, port);
    QFETCH(QStringList, arguments);
    QFETCH(QString, said);
    if (!QSqlDatabase::isDriverAvailable(u"QPSQL"_s))
        QSKIP("Qt's PostgreSQL driver is not installed");

    const vosmira::test::TempSettingsFolder settings;
    vosmira::IniFile ini(vosmira::DisplaySettings::fileName());
    ini.WriteString(u"Banco"_s, u"Servidor"_s, u"127.0.0.1"_s);
    ini.WriteString(u"Banco"_s, u"Porta"_s, port);
    ini.WriteString(u"Banco"_s, u"Banco"_s, u"escritorio"_s);
    said.replace(u"{ini}"_s, settings.iniPath(vosmira::DisplaySettings::fileName()));
    const Outcome o = runCommand(arguments.replaceInStrings(u"{dir}"_s, m_dir.path()), m_db.programFolder());
    QVERIFY2(o.said.contains(said), qPrintable(o.said));
    QCOMPARE(o.exitCode, 1);
    QVERIFY(!QFile::exists(m_dir.filePath(u"x.mdb"_s)));
}

// An office's file into a new server: init, import, the numbers going on after
// the highest, and the server's clients out again into a file.
void TstDbCommand::preparesAndFeedsAServer()
{
    if (!testingOnServer())
        QSKIP("needs a PostgreSQL server (VOSMIRA_TEST_SERVER)");
    TempDatabase server(TempDatabase::EmptyFile); // a database with no table at all
    TempDatabase office(TempDatabase::WithTables, TempDatabase::AsFile);
    QVERIFY(office.addClient(u"SETE"_s, ClientRecord::pessoaFisica(), {{u"CODIGO_C"_s, 7}}));
    QVERIFY(office.addClient(u"QUARENTA E DOIS"_s, ClientRecord::pessoaJuridica(), {{u"CODIGO_C"_s, 42}}));
    QVERIFY(office.exec(u"INSERT INTO PED_CLIENTE (CODIGO_C, NOME, TIPO) VALUES (7, 'SETE', 'Pessoa Física')"_s));
    const QString file = office.path();
    const QString copy = m_dir.filePath(u"do servidor.mdb"_s);

    const struct
    {
        QStringList arguments;
        int exitCode;
        QString said;
    } steps[] = {
        {{u"export"_s, copy}, 1, u"ainda não tem as tabelas dos clientes; prepare-o com \"vosmira-db init\""_s},
        {{u"init"_s}, 0, u"Tabelas CAD_CLIENTE e PED_CLIENTE criadas no servidor "_s},
        {{u"init"_s}, 1, u"já tem a tabela CAD_CLIENTE ou PED_CLIENTE"_s},
        {{u"import"_s, file, u"--dry-run"_s}, 0, u"Verificação: 2 cliente(s) de "_s},
        {{u"import"_s, file}, 0, u"2 cliente(s) importado(s) de "_s},
        {{u"import"_s, file}, 1, u"já tem 2 cliente(s)"_s},
        {{u"import"_s, file, u"--dry-run"_s}, 1, u"já tem 2 cliente(s)"_s},
    };
    for (const auto &step : steps) {
        const Outcome o = runCommand(step.arguments, m_db.programFolder());
        QVERIFY2(o.said.contains(step.said), qPrintable(step.arguments.join(u' ') + u": "_s + o.said));
        QCOMPARE(o.exitCode, step.exitCode);
    }
    QCOMPARE(server.scalar(u"SELECT COUNT(*) FROM PED_CLIENTE"_s).toInt(), 1);
    QVERIFY(server.addClient(u"NOVO"_s, ClientRecord::pessoaFisica()));
    QCOMPARE(server.scalar(u"SELECT CODIGO_C FROM CAD_CLIENTE WHERE NOME = 'NOVO'"_s).toLongLong(), 43);

    const Outcome o = runCommand({u"export"_s, copy}, m_db.programFolder());
    QVERIFY2(o.exitCode == 0, qPrintable(o.said));
    const ClientTables back = readDatabaseFile(copy);
    QList<qint64> codes;
    for (const PackedRow &row : back.clients)
        codes.append(row.code());
    QCOMPARE(codes, (QList<qint64>{43, 42, 7})); // in the order of their names
    QCOMPARE(back.selection.size(), 1u);
}

void TstDbCommand::executableAnswersInPortuguese()
{
    QProcess p;
    p.start(vosmira::test::templateProgramFolder() + u"/vosmira-db"_s, {u"--version"_s});
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 0);
    QVERIFY(p.readAllStandardOutput().startsWith("vosmira-db versão "));
    p.start(vosmira::test::templateProgramFolder() + u"/vosmira-db"_s, {u"--desconhecida"_s});
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 2);
    QVERIFY(p.readAllStandardError().contains("opção desconhecida: --desconhecida"));
}

QTEST_GUILESS_MAIN(TstDbCommand)
#include "tst_dbcommand.moc"
