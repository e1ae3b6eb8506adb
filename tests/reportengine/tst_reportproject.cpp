#include "ProjectParser.h"
#include "ReportError.h"
#include "SyntheticClients.h"
#include "TRelPageWriter.h"
#include "TRelProject.h"
#include "TRelRender.h"
#include "Template.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TstReportProject : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void shippedProjectHoldsTheFiveReports();
    void openTwiceAndClose();
    void missingProjectNamesTheFile();
    void malformedProject_data();
    void malformedProject();
    void removedBetweenRuns();
    void changedBetweenRunsIsReadAgain();
    void parametersAreForgottenOnClose();
    void emptyTextClearsParameter();
    void unknownReportDoesNothing();
    void reportNameIgnoresCase();
    void runWithoutEngineOrConnectionFails();
    void templates_data();
    void templates();

private:
    QString writeProject(const QByteArray &content);

    QTemporaryDir m_dir;
};

void TstReportProject::init()
{
    QVERIFY(m_dir.isValid());
}

QString TstReportProject::writeProject(const QByteArray &content)
{
    const QString path = m_dir.filePath(u"Reports_Vosmira.rav"_s);
    QFile f(path);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(content);
    return path;
}

void TstReportProject::shippedProjectHoldsTheFiveReports()
{
    rel::TRelProject project;
    project.SetProjectFile(rtest::sourceProjectFile());
    QCOMPARE(project.ReportNames(), QStringList({u"RV_VOSMIRA_0"_s, u"RV_VOSMIRA_1"_s, u"RV_VOSMIRA_2"_s,
                                                 u"RV_VOSMIRA_3"_s, u"RV_VOSMIRA_4"_s}));
    for (int n = 0; n <= 4; ++n) {
        const rel::ReportDefinition *r = project.Definition().findReport(u"RV_VOSMIRA_"_s + QString::number(n));
        QVERIFY(r);
        QCOMPARE(r->slotNames.size(), n + 1);
        QCOMPARE(r->connection, u"RelDataSetConnection1"_s);
        for (int s = 0; s <= n; ++s)
            QCOMPARE(r->slotNames.at(s), u"GENERO"_s + QString::number(s + 1));
    }
    for (const char16_t *code :
         {u"Show_Nome", u"Show_Contato", u"Show_Endereco", u"Show_Prof", u"Show_Sec_Prof_Juridica", u"Show_OBS"}) {
        QVERIFY2(project.Definition().findSection(QString::fromUtf16(code)), qPrintable(QString::fromUtf16(code)));
    }
}

void TstReportProject::openTwiceAndClose()
{
    rel::TRelProject project;
    project.SetProjectFile(rtest::sourceProjectFile());
    QVERIFY(!project.Active());
    project.Close(); // nothing to close
    project.Open();
    QVERIFY(project.Active());
    project.SetParam(u"GENERO1"_s, u"Show_Nome"_s);
    project.Open(); // already open: keeps everything
    QCOMPARE(project.GetParam(u"GENERO1"_s), u"Show_Nome"_s);
    project.Close();
    QVERIFY(!project.Active());
}

void TstReportProject::missingProjectNamesTheFile()
{
    rel::TRelProject project;
    const QString path = m_dir.filePath(u"Reports/Reports_Vosmira.rav"_s);
    project.SetProjectFile(path);
    try {
        project.Open();
        QFAIL("opened a missing project");
    } catch (const rel::ProjectFileError &e) {
        QVERIFY2(e.text().contains(path), e.what());
        QCOMPARE(e.fileName(), path);
    }
    QVERIFY(!project.Active());
    // A folder where the file should be is unreadable, not a crash.
    QVERIFY(QDir(m_dir.path()).mkpath(u"Reports/Reports_Vosmira.rav"_s));
    QVERIFY_THROWS_EXCEPTION(rel::ProjectFileError, project.Open());
}

void TstReportProject::malformedProject_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("mentions");
    const QByteArray head = "vosmira-report-project 1\n";
    QTest::newRow("empty") << QByteArray() << u"vosmira-report-project"_s;
    QTest::newRow("not a project") << QByteArray("\x89PNG\r\n\x1a\n") << u"inválido"_s;
    QTest::newRow("other version") << QByteArray("vosmira-report-project 2\n") << u"linha 1"_s;
    QTest::newRow("not UTF-8") << QByteArray(head + "# Relat\xf3rio\n") << u"UTF-8"_s;
    QTest::newRow("unknown statement") << QByteArray(head + "\nbogus 1\n") << u"linha 3"_s;
    QTest::newRow("unclosed quote") << QByteArray(head + "font \"DejaVu\n") << u"linha 2"_s;
    QTest::newRow("report without end") << QByteArray(head + "report R\n  connection C\n  slots GENERO1\n") << u"end"_s;
    QTest::newRow("report without slots") << QByteArray(head + "report R\n  connection C\nend\n") << u"slots"_s;
    QTest::newRow("duplicate report") << QByteArray(head
                                                    + "report R\n connection C\n slots G\nend\n"
                                                      "report r\n connection C\n slots G\nend\n")
                                      << u"linha 6"_s;
    QTest::newRow("section without fields") << QByteArray(head + "section S\nend\n") << u"S"_s;
    QTest::newRow("bad span") << QByteArray(head + "section S\n field \"a\" \"{NOME}\" span x\nend\n") << u"linha 3"_s;
    QTest::newRow("undefined style") << QByteArray(head + "section S\n field \"a\" \"{NOME}\" style nada\nend\n")
                                     << u"nada"_s;
    QTest::newRow("bad colour") << QByteArray(head + "style value 9 color 12345G\n") << u"cor"_s;
    QTest::newRow("margins too big") << QByteArray(head + "margins 1 1 1\n") << u"linha 2"_s;
    QTest::newRow("size nan") << QByteArray(head + "style value nan\n") << u"linha 2: tamanho"_s;
    QTest::newRow("size inf") << QByteArray(head + "style value inf\n") << u"linha 2: tamanho"_s;
    // Evaluated or destroyed, such groups would take as many nested calls.
    QTest::newRow("groups nested 100000 deep")
        << QByteArray(head + "section S\n field \"a\" \"" + QByteArray("[a").repeated(100000) + "{NOME}"
                      + QByteArray("b]").repeated(100000) + "\"\nend\n")
        << u"linha 3: mais de"_s;
    QTest::newRow("unbalanced title") << QByteArray(head + "report R\n connection C\n slots G\n title \"[x\"\nend\n")
                                      << u"linha 5"_s;
}

void TstReportProject::malformedProject()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, mentions);
    const QString path = writeProject(content);
    rel::TRelProject project;
    project.SetProjectFile(path);
    try {
        project.Open();
        QFAIL("opened a malformed project");
    } catch (const rel::ProjectFileError &e) {
        QVERIFY2(e.text().contains(path), e.what());
        QVERIFY2(e.text().contains(mentions), e.what());
    }
    QVERIFY(!project.Active());
}

void TstReportProject::removedBetweenRuns()
{
    QFile::copy(rtest::sourceProjectFile(), m_dir.filePath(u"p.rav"_s));
    auto data = rtest::makeClients(3, rtest::Kind::Fisica);
    rel::TRelProject project;
    rel::TRelPageWriter writer;
    project.SetEngine(&writer);
    project.AddDataConnection(data.get());
    project.SetProjectFile(m_dir.filePath(u"p.rav"_s));
    project.SetParam(u"GENERO1"_s, u"Show_Nome"_s);
    QVERIFY(project.ExecuteReport(u"RV_VOSMIRA_0"_s));
    QCOMPARE(writer.PageCount(), 1);
    project.Close();
    QVERIFY(QFile::remove(m_dir.filePath(u"p.rav"_s)));
    QVERIFY_THROWS_EXCEPTION(rel::ProjectFileError, project.ExecuteReport(u"RV_VOSMIRA_0"_s));
}

void TstReportProject::changedBetweenRunsIsReadAgain()
{
    const QByteArray one =
        "vosmira-report-project 1\nreport ONE\n connection RelDataSetConnection1\n slots GENERO1\nend\n";
    const QString path = writeProject(one);
    rel::TRelProject project;
    project.SetProjectFile(path);
    QCOMPARE(project.ReportNames(), QStringList{u"ONE"_s});
    writeProject("vosmira-report-project 1\nreport TWO\n connection RelDataSetConnection1\n slots GENERO1\nend\n");
    QCOMPARE(project.ReportNames(), QStringList{u"ONE"_s}); // still open: not read again
    project.Close();
    QCOMPARE(project.ReportNames(), QStringList{u"TWO"_s});
}

void TstReportProject::parametersAreForgottenOnClose()
{
    rel::TRelProject project;
    project.SetProjectFile(rtest::sourceProjectFile());
    project.Open();
    project.SetParam(u"GENERO1"_s, u"Show_Nome"_s);
    project.SetParam(u"genero2"_s, u"Show_OBS"_s);
    QCOMPARE(project.GetParam(u"GENERO2"_s), u"Show_OBS"_s);
    project.Close();
    project.Open();
    QCOMPARE(project.GetParam(u"GENERO1"_s), QString());
    QCOMPARE(project.GetParam(u"GENERO2"_s), QString());
}

void TstReportProject::emptyTextClearsParameter()
{
    rel::TRelProject project;
    project.SetProjectFile(rtest::sourceProjectFile());
    project.Open();
    project.SetParam(u"GENERO3"_s, u"Show_Contato"_s);
    project.SetParam(u"GENERO3"_s, QString());
    QCOMPARE(project.GetParam(u"GENERO3"_s), QString());
}

void TstReportProject::unknownReportDoesNothing()
{
    auto data = rtest::makeClients(3, rtest::Kind::Fisica);
    rel::TRelProject project;
    QBuffer stream;
    rel::TRelPageWriter writer;
    writer.SetStreamMode(rel::smUserStream);
    writer.SetStream(&stream);
    project.SetEngine(&writer);
    project.AddDataConnection(data.get());
    project.SetProjectFile(rtest::sourceProjectFile());
    QVERIFY(!project.ExecuteReport(u"RV_VOSMIRA_9"_s));
    QVERIFY(project.Active()); // the run opened the project
    QCOMPARE(stream.size(), 0);
    // Rendering a run that recorded nothing writes no file and says so.
    rel::TRelRenderPDF pdf;
    const QString target = m_dir.filePath(u"nada.pdf"_s);
    QVERIFY_THROWS_EXCEPTION(rel::ReportError, pdf.PrintRender(&stream, target));
    QVERIFY(!QFile::exists(target));
}

void TstReportProject::reportNameIgnoresCase()
{
    auto data = rtest::makeClients(2, rtest::Kind::Juridica);
    rel::TRelProject project;
    rel::TRelPageWriter writer;
    project.SetEngine(&writer);
    project.AddDataConnection(data.get());
    project.SetProjectFile(rtest::sourceProjectFile());
    project.SetParam(u"GENERO1"_s, u"Show_Nome"_s);
    QVERIFY(project.ExecuteReport(u"rv_vosmira_0"_s));
    QVERIFY(writer.Stream()->size() > 0);
}

void TstReportProject::runWithoutEngineOrConnectionFails()
{
    rel::TRelProject project;
    project.SetProjectFile(rtest::sourceProjectFile());
    QVERIFY_THROWS_EXCEPTION(rel::ReportError, project.ExecuteReport(u"RV_VOSMIRA_0"_s));
    rel::TRelPageWriter writer;
    project.SetEngine(&writer);
    try {
        project.ExecuteReport(u"RV_VOSMIRA_0"_s);
        QFAIL("ran without its data connection");
    } catch (const rel::ReportError &e) {
        QVERIFY2(e.text().contains(u"RelDataSetConnection1"_s), e.what());
    }
    // A user stream that was never given.
    auto data = rtest::makeClients(1, rtest::Kind::Fisica);
    project.AddDataConnection(data.get());
    writer.SetStreamMode(rel::smUserStream);
    QVERIFY_THROWS_EXCEPTION(rel::ReportError, project.ExecuteReport(u"RV_VOSMIRA_0"_s));
}

void TstReportProject::templates_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("column") << u"{NOME}"_s << u"Zé"_s;
    QTest::newRow("null column outside a group") << u"a{OBS}b"_s << u"ab"_s;
    QTest::newRow("group kept") << u"{NOME}[ ({TIPO})]"_s << u"Zé (Pessoa Física)"_s;
    QTest::newRow("group dropped on null") << u"{NOME}[ obs {OBS}]"_s << u"Zé"_s;
    QTest::newRow("nested group") << u"[{NOME}[ - {OBS}]!]"_s << u"Zé!"_s;
    QTest::newRow("macros") << u"{@PAGE}/{@PAGES}"_s << u"3/{@PAGES}"_s;
    QTest::newRow("empty macro drops group") << u"x[ · {@SECTIONS}]"_s << u"x"_s;
    QTest::newRow("escapes") << u"{{[[x]]}}"_s << u"{[x]}"_s;
    QTest::newRow("case-insensitive column") << u"{nome}"_s << u"Zé"_s;
}

void TstReportProject::templates()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    rel::TRelMemoryConnection data(u"c"_s, rtest::clientColumns());
    data.AppendRow(rtest::bareClient(u"Zé"_s, QString(), rtest::Kind::Fisica));
    data.First();
    QString error;
    const rel::Template t = rel::Template::compile(text, data.ColumnNames(), &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    rel::TemplateContext context;
    context.row = &data;
    context.page = u"3"_s;
    QCOMPARE(t.evaluate(context), expected);
}

QTEST_MAIN(TstReportProject)
#include "tst_reportproject.moc"
