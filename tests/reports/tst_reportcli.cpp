#include "ClientRecord.h"
#include "FaultInjection.h"
#include "Readers.h"
#include "SyntheticClients.h"
#include "TestFolders.h"
#include "UDMbanco.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

struct Result
{
    int exitCode = -1;
    QString out;
    QString err;
};

Result runCli(const QStringList &arguments)
{
    QProcess p;
    p.start(vosmira::test::templateProgramFolder() + u"/vosmira-report"_s, arguments);
    Result r;
    if (!p.waitForFinished(120000))
        return r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

QString readText(const QString &file)
{
    QFile f(file);
    f.open(QIODevice::ReadOnly);
    return QString::fromUtf8(f.readAll());
}

} // namespace

class TstReportCli : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void sameListingInEveryFormat();
    void dictionaryOrderAndMobileNumbers_data();
    void dictionaryOrderAndMobileNumbers();
    void companiesWithRegistration();
    void listsTheReportsAndOptions();
    void nameWithoutExtension();
    void failures_data();
    void failures();
    void fullDiskKeepsTheOldFile();

private:
    QStringList base() const { return {u"--program-folder"_s, m_folder.path()}; }

    vosmira::test::TempProgramFolder m_folder;
    vosmira::test::TempProgramFolder m_accented; // names that begin with accents
    QTemporaryDir m_out;
    QStringList m_names;
};

void TstReportCli::initTestCase()
{
    QVERIFY(m_folder.isValid());
    QVERIFY(m_out.isValid());
    TDMbanco data(m_folder.path());
    data.connectSequence();
    auto people = rtest::makeClients(200, rtest::Kind::Fisica);
    rtest::storeClients(*data.CDSCliente, *people);
    rtest::storeClients(*data.CDSCliente, *rtest::makeClients(60, rtest::Kind::Juridica));
    for (people->First(); !people->Eof(); people->Next())
        m_names.append(people->DisplayText(1));

    QVERIFY(m_accented.isValid());
    TDMbanco accented(m_accented.path());
    accented.connectSequence();
    TClientDataSet &clients = *accented.CDSCliente;
    for (const QString &name : {u"ZULU"_s, u"ÚRSULA"_s, u"OTÁVIO"_s, u"ÉRICA"_s, u"ÇAGRI"_s, u"BRUNO"_s, u"ÂNGELA"_s,
                                u"ÁLVARO"_s, u"ANA"_s, u"ALVARO"_s, u"OTAVIO"_s}) {
        clients.Append();
        accented.CDSClienteNOME->SetAsString(name + u" SOUZA"_s);
        accented.CDSClienteTIPO->SetAsString(ClientRecord::pessoaFisica());
        if (name == u"ANA"_s)
            accented.CDSClienteTELEFONE1->SetAsString(u"11987654321"_s);
        if (name == u"BRUNO"_s)
            accented.CDSClienteTELEFONE1->SetAsString(u"2133334444"_s);
        clients.Post();
    }
    clients.ApplyUpdates(-1);
}

void TstReportCli::sameListingInEveryFormat()
{
    const QStringList sections = {u"--kind"_s, u"pf"_s, u"--sections"_s, u"contato,endereco,prof,obs"_s};
    QMap<QString, QString> texts;
    int pages = -1;
    for (const QString &format : {u"pdf"_s, u"html"_s, u"rtf"_s, u"txt"_s}) {
        const QString file = m_out.filePath(u"lista."_s + format);
        const Result r = runCli(base() + sections + QStringList{u"--output"_s, file});
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        const QRegularExpressionMatch m =
            QRegularExpression(u"200 cliente\\(s\\), (\\d+) página\\(s\\)"_s).match(r.out);
        QVERIFY2(m.hasMatch(), qPrintable(r.out));
        if (pages < 0)
            pages = m.captured(1).toInt();
        QCOMPARE(m.captured(1).toInt(), pages);
    }
    QVERIFY(pages > 20);

    QCOMPARE(rtest::pdfPageCount(m_out.filePath(u"lista.pdf"_s)), pages);
    texts[u"pdf"_s] = rtest::pdfText(m_out.filePath(u"lista.pdf"_s));
    const rtest::HtmlContent html = rtest::htmlContent(m_out.filePath(u"lista.html"_s));
    QVERIFY2(html.wellFormed, qPrintable(html.error));
    QCOMPARE(html.pages.size(), pages);
    texts[u"html"_s] = html.text();
    const rtest::RtfContent rtf = rtest::rtfContent(m_out.filePath(u"lista.rtf"_s));
    QVERIFY(rtf.ok);
    QCOMPARE(rtf.pageBreaks, pages - 1);
    texts[u"rtf"_s] = rtf.text;
    texts[u"txt"_s] = readText(m_out.filePath(u"lista.txt"_s));
    QCOMPARE(texts[u"txt"_s].count(u'\f'), pages - 1);

    for (auto it = texts.cbegin(); it != texts.cend(); ++it) {
        const QString flat = rtest::flat(it.value());
        QVERIFY2(flat.contains(u"Total de clientes: 200"_s), qPrintable(it.key()));
        QVERIFY2(flat.contains(u"Página %1 de %1"_s.arg(pages)), qPrintable(it.key()));
        QVERIFY2(flat.contains(u"Pessoa Física"_s), qPrintable(it.key()));
        QVERIFY2(!flat.contains(u"Pessoa Juridica"_s), qPrintable(it.key()));
        for (const QString &name : std::as_const(m_names))
            QVERIFY2(flat.contains(name), qPrintable(it.key() + u": "_s + name));
    }
}

void TstReportCli::dictionaryOrderAndMobileNumbers_data()
{
    QTest::addColumn<QString>("format");
    for (const QString &format : {u"pdf"_s, u"html"_s, u"rtf"_s, u"txt"_s})
        QTest::newRow(qPrintable(format)) << format;
}

void TstReportCli::dictionaryOrderAndMobileNumbers()
{
    QFETCH(QString, format);
    const QString file = m_out.filePath(u"acentos."_s + format);
    const Result r = runCli(
        {u"--program-folder"_s, m_accented.path(), u"--sections"_s, u"contato"_s, u"--output"_s, file});
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    QString text;
    if (format == u"pdf")
        text = rtest::pdfText(file);
    else if (format == u"html")
        text = rtest::htmlContent(file).text();
    else if (format == u"rtf")
        text = rtest::rtfContent(file).text;
    else
        text = readText(file);
    text = rtest::flat(text);

    qsizetype last = -1;
    for (const QString &name : {u"ALVARO"_s, u"ÁLVARO"_s, u"ANA"_s, u"ÂNGELA"_s, u"BRUNO"_s, u"ÇAGRI"_s, u"ÉRICA"_s,
                                u"OTAVIO"_s, u"OTÁVIO"_s, u"ÚRSULA"_s, u"ZULU"_s}) {
        const qsizetype at = text.indexOf(name + u" SOUZA"_s);
        QVERIFY2(at > last, qPrintable(name));
        last = at;
    }
    QVERIFY(text.contains(u"(11)98765-4321"_s));
    QVERIFY(text.contains(u"(21)3333-4444"_s));
}

void TstReportCli::companiesWithRegistration()
{
    const QString file = m_out.filePath(u"empresas.txt"_s);
    const Result r = runCli(base()
                            + QStringList{u"--kind"_s, u"pj"_s, u"--sections"_s, u"prof"_s, u"--output"_s, file});
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    QVERIFY(r.out.contains(u"60 cliente(s)"_s));
    const QString text = readText(file);
    QVERIFY(text.contains(u"CNPJ:"_s));
    QVERIFY(!text.contains(u"CPF:"_s));
    QVERIFY(!text.contains(u"Telefones:"_s));
    QVERIFY(text.contains(u"Total de clientes: 60"_s));
}

void TstReportCli::listsTheReportsAndOptions()
{
    const Result r = runCli(base() + QStringList{u"--list"_s});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(
        r.out.split(u'\n', Qt::SkipEmptyParts),
        QStringList({u"RV_VOSMIRA_0"_s, u"RV_VOSMIRA_1"_s, u"RV_VOSMIRA_2"_s, u"RV_VOSMIRA_3"_s, u"RV_VOSMIRA_4"_s}));

    const Result help = runCli({u"--help"_s});
    QCOMPARE(help.exitCode, 0);
    QVERIFY2(help.out.startsWith(u"Uso: vosmira-report [opções]\n"_s) && help.out.contains(u"--kind <pf|pj>"_s)
                 && !help.out.contains(u"Displays"_s),
             qPrintable(help.out));
}

void TstReportCli::nameWithoutExtension()
{
    const QString file = m_out.filePath(u"sem_extensao"_s);
    const Result r = runCli(base() + QStringList{u"--format"_s, u"rtf"_s, u"--output"_s, file});
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    QVERIFY(QFileInfo(file + u".rtf"_s).isFile());
    QVERIFY(!QFileInfo::exists(file));
}

void TstReportCli::failures_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("breakFile"); // relative to the program folder: removed or spoilt
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    const QStringList out = {u"--output"_s, u"OUT/x.pdf"_s};
    QTest::newRow("unknown option") << QStringList{u"--nada"_s} << QString() << 2
                                    << u"vosmira-report: opção desconhecida: --nada"_s;
    QTest::newRow("value not taken") << (QStringList{u"--preview=sim"_s} + out) << QString() << 2
                                     << u"a opção --preview não aceita valor"_s;
    QTest::newRow("missing value") << QStringList{u"--output"_s} << QString() << 2
                                   << u"falta o valor da opção --output"_s;
    QTest::newRow("unknown kind") << (QStringList{u"--kind"_s, u"px"_s} + out) << QString() << 2
                                  << u"Tipo de pessoa desconhecido: px"_s;
    QTest::newRow("unknown section") << (QStringList{u"--sections"_s, u"contato,fotos"_s} + out) << QString() << 2
                                     << u"Seção desconhecida: fotos"_s;
    QTest::newRow("unknown format") << QStringList{u"--format"_s, u"doc"_s, u"--output"_s, u"OUT/x"_s} << QString() << 2
                                    << u"Formato desconhecido: doc"_s;
    QTest::newRow("no output") << QStringList() << QString() << 2 << u"--output"_s;
    QTest::newRow("unwritable output") << QStringList{u"--output"_s, u"OUT/arquivo.txt/x.pdf"_s} << QString() << 1
                                       << u"Não foi possível gravar o arquivo"_s;
    QTest::newRow("missing database") << out << u"-Banco/Vosmira BANCO.mdb"_s << 1
                                      << u"O seguinte arquivo não foi encontrado: ("_s;
    QTest::newRow("missing project") << out << u"-Reports/Reports_Vosmira.rav"_s << 1
                                     << u"Reports/Reports_Vosmira.rav"_s;
    QTest::newRow("malformed project") << out << u"~Reports/Reports_Vosmira.rav"_s << 1 << u"inválido"_s;
    QTest::newRow("not a database") << out << u"~Banco/Vosmira BANCO.mdb"_s << 1
                                    << u"Não foi possível abrir o banco de dados ("_s;
    // Whatever the spelling, the listing never writes over what it reads.
    QTest::newRow("output is the database")
        << QStringList{u"--format"_s, u"txt"_s, u"--output"_s, u"PROG/Banco/../Banco/./Vosmira BANCO.mdb"_s}
        << QString() << 2 << u"é um arquivo que o relatório lê"_s;
    QTest::newRow("output is the project")
        << QStringList{u"--format"_s, u"rtf"_s, u"--output"_s, u"PROG//Reports/Reports_Vosmira.rav"_s} << QString() << 2
        << u"é um arquivo que o relatório lê"_s;
    QTest::newRow("output is a folder") << QStringList{u"--format"_s, u"txt"_s, u"--output"_s, u"OUT/."_s} << QString()
                                        << 1 << u"já existe uma pasta"_s;
}

void TstReportCli::failures()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, breakFile);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    vosmira::test::TempProgramFolder folder;
    QVERIFY(folder.isValid());
    QTemporaryDir out;
    {
        QFile regular(out.filePath(u"arquivo.txt"_s));
        regular.open(QIODevice::WriteOnly);
        regular.write("x");
    }
    if (breakFile.startsWith(u'-'))
        QVERIFY(QFile::remove(folder.path() + breakFile.mid(1)));
    if (breakFile.startsWith(u'~')) {
        QFile spoilt(folder.path() + breakFile.mid(1));
        QVERIFY(spoilt.open(QIODevice::WriteOnly | QIODevice::Truncate));
        spoilt.write("vosmira-report-project 1\nreport RV_VOSMIRA_0\n");
    }
    for (QString &a : arguments)
        a.replace(u"OUT/"_s, out.path() + u'/').replace(u"PROG/"_s, folder.path());
    const Result r = runCli(QStringList{u"--program-folder"_s, folder.path()} + arguments);
    QCOMPARE(r.exitCode, exitCode);
    QVERIFY2(r.err.contains(message), qPrintable(r.err));
    // Only a missing file may suggest reinstalling, which would replace the database.
    QCOMPARE(r.err.contains(u"reinstalação"_s), breakFile == u"-Banco/Vosmira BANCO.mdb"_s);
    QCOMPARE(QDir(out.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"arquivo.txt"_s});
    if (!breakFile.contains(u"Banco"_s)) {
        QFile database(folder.databasePath());
        QVERIFY(database.open(QIODevice::ReadOnly));
        QCOMPARE(database.read(16), QByteArray("SQLite format 3\0", 16));
    }
    if (!breakFile.contains(u"Reports"_s))
        QVERIFY(readText(folder.path() + u"Reports/Reports_Vosmira.rav"_s).contains(u"RV_VOSMIRA_4"_s));
}

void TstReportCli::fullDiskKeepsTheOldFile()
{
    vosmira::test::SmallFileSystem disk(128 * 1024);
    if (!disk.isMounted())
        QSKIP(disk.whyNot());
    const QString file = disk.path() + u"/clientes.html"_s;
    const QByteArray old = "<p>a lista de ontem</p>";
    {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(old);
    }
    QVERIFY(disk.fill(0));
    const Result r = runCli(base() + QStringList{u"--sections"_s, u"contato,obs"_s, u"--output"_s, file});
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains(u"não há espaço suficiente no disco"_s) && r.out.isEmpty(), qPrintable(r.err + r.out));
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), old);
    QCOMPARE(QDir(disk.path()).entryList(QDir::Files | QDir::Hidden), (QStringList{u".filler"_s, u"clientes.html"_s}));
}

QTEST_MAIN(TstReportCli)
#include "tst_reportcli.moc"
