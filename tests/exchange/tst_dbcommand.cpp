#include "DbCommand.h"

#include "ClientRecord.h"
#include "TestFolders.h"

#include "DataFixture.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

using namespace Qt::Literals::StringLiterals;

class TstDbCommand : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void commandLine_data();
    void commandLine();
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
}

void TstDbCommand::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments"); // {dir} is the temporary folder
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("said");
    QTest::addColumn<int>("clients"); // in the table afterwards

    QTest::newRow("help") << QStringList{u"--help"_s} << 0 << u"Uso: vosmira-db export ARQUIVO"_s << 2;
    QTest::newRow("nothing to do") << QStringList() << 2 << u"indique o que fazer"_s << 2;
    QTest::newRow("unknown command") << QStringList{u"apagar"_s, u"x.csv"_s} << 2 << u"comando desconhecido"_s << 2;
    QTest::newRow("no file") << QStringList{u"export"_s} << 2 << u"indique o arquivo"_s << 2;
    QTest::newRow("unknown format") << QStringList{u"export"_s, u"{dir}/x.xls"_s} << 2 << u"indique o formato"_s << 2;
    QTest::newRow("import with --kind") << QStringList{u"import"_s, u"{dir}/bom.csv"_s, u"--kind"_s, u"pf"_s} << 2
                                        << u"--kind é só de export"_s << 2;
    QTest::newRow("unknown kind") << QStringList{u"export"_s, u"{dir}/x.csv"_s, u"--kind"_s, u"pq"_s} << 2
                                  << u"tipo de pessoa desconhecido"_s << 2;
    QTest::newRow("export of companies") << QStringList{u"export"_s, u"{dir}/pj.vcf"_s, u"--kind"_s, u"pj"_s} << 0
                                         << u"pj.vcf: 1 cliente(s)"_s << 2;
    QTest::newRow("export into a missing folder") << QStringList{u"export"_s, u"{dir}/nada/x.csv"_s} << 1
                                                  << u"Não foi possível gravar em {dir}/nada/x.csv: "_s << 2;
    QTest::newRow("import of a missing file")
        << QStringList{u"import"_s, u"{dir}/nada.csv"_s} << 1
        << u"Não foi possível ler {dir}/nada.csv: o arquivo ou a pasta não existe."_s << 2;
    QTest::newRow("import of a folder") << QStringList{u"import"_s, u"{dir}"_s} << 1
                                        << u"Não foi possível ler {dir}: o caminho é uma pasta."_s << 2;
    QTest::newRow("no database") << QStringList{u"export"_s, u"{dir}/x.csv"_s, u"--program-folder"_s, u"{dir}"_s} << 1
                                 << u"O seguinte arquivo não foi encontrado"_s << 2;
    QTest::newRow("not a database")
        << QStringList{u"export"_s, u"{dir}/x.csv"_s, u"--program-folder"_s, u"{dir}/ruim"_s} << 1
        << u"Não foi possível abrir o banco de dados ({dir}/ruim/Banco/Vosmira BANCO.mdb): o arquivo não é um banco de dados do Vosmira."_s
        << 2;
    // Whatever the spelling, the export never replaces the file it reads.
    QTest::newRow("export over the database")
        << QStringList{u"export"_s, u"{db}Banco/../Banco/Vosmira BANCO.mdb"_s, u"--format"_s, u"csv"_s} << 2
        << u"é o banco de dados"_s << 2;
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
    arguments.prepend(u"vosmira-db"_s);
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    QCOMPARE(vosmira::runDbCommand(arguments, m_db.programFolder(), outStream, errStream), exitCode);
    const QString all = out + err;
    QVERIFY2(all.contains(said), qPrintable(all));
    QCOMPARE(m_db.scalar(u"SELECT COUNT(*) FROM CAD_CLIENTE"_s).toInt(), clients);
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
