#include "ClientCsv.h"
#include "ClientExport.h"
#include "ClientImport.h"
#include "ClientRecord.h"
#include "DataErrors.h"
#include "DatabaseWriter.h"
#include "TableReader.h"
#include "TableWriter.h"
#include "UDMbanco.h"

#include "DataFixture.h"

#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::Literals::StringLiterals;
using namespace vosmira::exchange;
using ClientRecord::ColumnCount;

namespace {

// A connection of the program's own to a temporary database.
struct Connected
{
    TempDatabase db;
    std::unique_ptr<TDMbanco> dm;

    explicit Connected(TempDatabase::Tables tables = TempDatabase::WithTables)
        : db(tables)
    {
    }
    QSqlDatabase open()
    {
        dm = std::make_unique<TDMbanco>(db.programFolder());
        dm->openConnection();
        return dm->database();
    }
    int count() { return db.scalar(u"SELECT COUNT(*) FROM CAD_CLIENTE"_s).toInt(); }
};

// Every client as the program reads it, one line of text per client: the
// record number left out, an empty text the same as none.
QStringList clients(QSqlDatabase db)
{
    QStringList out;
    for (const PackedRow &row : readClientTable(db, u"CAD_CLIENTE"_s)) {
        QStringList fields;
        for (int c = 1; c < ColumnCount; ++c)
            fields.append(ClientRecord::column(c).kind == ClientRecord::Kind::Date ? row.date(c).toString(Qt::ISODate)
                                                                                   : row.text(c));
        out.append(fields.join(u'|'));
    }
    return out;
}

// Clients that try what a spreadsheet does to text: leading zeros, digits that
// read as dates and numbers, formulas, separators, quotes and line breaks,
// accents, an alphanumeric CNPJ, the zero date, an eleven-digit telephone.
void addAwkwardClients(TempDatabase &db)
{
    db.addClient(u"ÁGUA & CIA; \"AS\" ÇÃO"_s, ClientRecord::pessoaJuridica(),
                 {{u"CNPJ"_s, u"12.ABC.345/01DE-35"_s},
                  {u"IE"_s, u"00123"_s},
                  {u"IM"_s, u"123.456.789.012"_s},
                  {u"RAMAL1"_s, u"012"_s},
                  {u"N"_s, u"1/2"_s},
                  {u"COMPLEMENTO"_s, u"3-4"_s},
                  {u"TELEFONE1"_s, u"11987654321"_s},
                  {u"TELEFONE2"_s, u"1134567890"_s},
                  {u"CEP"_s, u"01310100"_s},
                  {u"FUNDACAO"_s, u"1899-12-30"_s},
                  {u"NACIMENTO"_s, u"1899-12-30"_s},
                  {u"OBS"_s, u"linha 1\nlinha 2; \"citação\", 50%"_s}});
    db.addClient(u"=SOMA(1;2)"_s, ClientRecord::pessoaFisica(),
                 {{u"CPF"_s, u"01234567890"_s},
                  {u"RG"_s, u"0012345"_s},
                  {u"SITE"_s, u"+55"_s},
                  {u"EMISSOR"_s, u"1E5"_s},
                  {u"NACIMENTO"_s, u"1980-01-02"_s},
                  {u"CRED_STATUS"_s, u"Aprovado"_s},
                  {u"CRED_REF1"_s, u"  espaços  "_s}});
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Run as on a Brazilian desktop, whose dates have two-digit years.
bool run(const QString &program, const QStringList &arguments)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"LC_ALL"_s, u"pt_BR.UTF-8"_s);
    env.insert(u"LANG"_s, u"pt_BR.UTF-8"_s);
    p.setProcessEnvironment(env);
    p.start(program, arguments);
    if (!p.waitForFinished(180000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        qWarning("%s failed: %s", qPrintable(program), p.readAllStandardError().constData());
        return false;
    }
    return true;
}

} // namespace

class TstClientExchange : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void exportImportRoundTrip();
    void calcKeepsTheExport();
    void otherProgramsFiles_data();
    void otherProgramsFiles();
    void refusedRows_data();
    void refusedRows();
    void failureMidwayChangesNothing();
    void duplicatesAreNotImportedTwice();
    void vcardCards();
    void wrongFiles_data();
    void wrongFiles();

private:
    // A database of generated clients and the awkward ones, and its export.
    Connected m_source;
    QTemporaryDir m_out;
    QString m_csv;
};

void TstClientExchange::initTestCase()
{
    QVERIFY(m_out.isValid());
    if (m_source.db.onServer()) {
        const QString file = m_out.filePath(u"gerado.mdb"_s);
        vbench::writeClientDatabase(file, 300);
        ServerConnection server(m_source.db.serverDatabase());
        QSqlDatabase db = server.database();
        replaceClientTables(db, readDatabaseFile(file));
    } else {
        vbench::writeClientDatabase(m_source.db.path(), 300);
        m_source.db.reconnect();
    }
    addAwkwardClients(m_source.db);
    m_csv = m_out.filePath(u"clientes.csv"_s);
    QCOMPARE(exportClients(m_source.open(), m_csv, ExportFormat::Csv), 302);
}

// Exporting, emptying a copy of the database and importing the export gives the
// same clients, field for field.
void TstClientExchange::exportImportRoundTrip()
{
    const QByteArray bytes = readAll(m_csv);
    QVERIFY(bytes.startsWith("\xEF\xBB\xBFNome;CPF;Identidade;Emissor;UF da identidade;Nascimento;"));
    QVERIFY(bytes.contains(";\"=\"\"0012345\"\"\";"));         // RG keeps its zeros
    QVERIFY(bytes.contains("\"=\"\"=SOMA(1;2)\"\"\";"));       // a formula stays text
    QVERIFY(bytes.contains(";012.345.678-90;"));               // CPF written as usual
    QVERIFY(bytes.contains(";(11)98765-4321;(11)3456-7890;")); // both telephone forms
    QVERIFY(bytes.contains(";01310-100;"));
    QVERIFY(bytes.contains(";\"=\"\"02/01/1980\"\"\";")); // dates too

    Connected copy;
    if (!copy.db.onServer()) {
        QVERIFY(QFile::remove(copy.db.path()) && QFile::copy(m_source.db.path(), copy.db.path()));
        copy.db.reconnect();
        QVERIFY(copy.db.exec(u"DELETE FROM CAD_CLIENTE"_s));
    }
    const ImportResult r = importClients(copy.open(), bytes);
    QVERIFY(r.refused.isEmpty());
    QVERIFY(r.duplicates.isEmpty());
    QVERIFY(r.written);
    QCOMPARE(r.accepted, 302);
    QCOMPARE(clients(copy.dm->database()), clients(m_source.dm->database()));
}

// The export as a Brazilian LibreOffice Calc opens it and saves it again as CSV,
// imported back: every accent, leading zero, date and number as it was.
void TstClientExchange::calcKeepsTheExport()
{
    const QString soffice = QStandardPaths::findExecutable(u"soffice"_s);
    if (soffice.isEmpty())
        QSKIP("LibreOffice is not installed");
    const QString profile = u"-env:UserInstallation=file://"_s + m_out.filePath(u"profile"_s);
    const QString sheets = m_out.filePath(u"ods"_s);
    const QString back = m_out.filePath(u"back"_s);
    // Separator ';', quote '"', UTF-8, from line 1, Portuguese (Brazil).
    const QString options = u"59,34,76,1,,1046"_s;
    QVERIFY(run(soffice, {profile, u"--headless"_s, u"--infilter=CSV:"_s + options, u"--convert-to"_s, u"ods"_s,
                          u"--outdir"_s, sheets, m_csv}));
    if (!QFile::exists(sheets + u"/clientes.ods"_s))
        QSKIP("LibreOffice Calc is not installed (libreoffice-calc-nogui)");
    QVERIFY(run(soffice, {profile, u"--headless"_s, u"--convert-to"_s, u"csv:Text - txt - csv (StarCalc):"_s + options,
                          u"--outdir"_s, back, sheets + u"/clientes.ods"_s}));

    Connected copy;
    QVERIFY(copy.db.exec(u"DELETE FROM CAD_CLIENTE"_s));
    const ImportResult r = importClients(copy.open(), readAll(back + u"/clientes.csv"_s));
    for (const RowNote &note : r.refused)
        qWarning("line %d: %s", note.line, qPrintable(note.text));
    QVERIFY(r.refused.isEmpty());
    QCOMPARE(r.accepted, 302);
    QCOMPARE(clients(copy.dm->database()), clients(m_source.dm->database()));
}

void TstClientExchange::otherProgramsFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("columns");
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QStringList>("ignored");

    // "JOSÉ AÇÃO" in Windows-1252: É is C9, Ç is C7, Ã is C3.
    QTest::newRow("Windows-1252, commas, database names")
        << QByteArray("NOME,CPF,TIPO,NACIMENTO,EMAIL\r\nJOS\xC9 A\xC7\xC3O,123.456.789-09,Pessoa F\xEDsica,2/1/1980,"
                      "\"a@b.br, c@d.br\"\r\n")
        << QStringList{u"NOME"_s, u"CPF"_s, u"TIPO"_s, u"NACIMENTO"_s, u"EMAIL"_s}
        << QStringList{u"JOSÉ AÇÃO"_s, u"12345678909"_s, u"Pessoa Física"_s, u"1980-01-02"_s, u"a@b.br, c@d.br"_s}
        << QStringList();
    QTest::newRow("UTF-8 without mark, names in another case, no kind, lost zeros")
        << u"nome;cnpj;TELEFONE 1;cep;Código;Tipo De Pessoa\n\"EMPRESA; LTDA\";11222333000181;+55 (11) 98765-4321;"
           "1310100;17;\n"_s.toUtf8()
        << QStringList{u"NOME"_s, u"CNPJ"_s, u"TELEFONE1"_s, u"CEP"_s, u"TIPO"_s}
        << QStringList{u"EMPRESA; LTDA"_s, u"11.222.333/0001-81"_s, u"11987654321"_s, u"01310100"_s,
                       u"Pessoa Juridica"_s}
        << QStringList{u"Código"_s};
    QTest::newRow("kind written freely, a CPF that lost its zero")
        << u"Nome,CPF,Tipo de pessoa,Cliente desde\nana,1234567890,PF,2024-03-15\n"_s.toUtf8()
        << QStringList{u"CPF"_s, u"TIPO"_s, u"CRED_DESDE"_s}
        << QStringList{u"01234567890"_s, u"Pessoa Física"_s, u"2024-03-15"_s} << QStringList();
}

void TstClientExchange::otherProgramsFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, columns);
    QFETCH(QStringList, stored);
    QFETCH(QStringList, ignored);

    Connected c;
    const ImportResult r = importClients(c.open(), bytes);
    QVERIFY2(r.refused.isEmpty(), r.refused.isEmpty() ? "" : qPrintable(r.refused.first().text));
    QCOMPARE(r.accepted, 1);
    QCOMPARE(r.ignoredColumns, ignored);
    for (qsizetype i = 0; i < columns.size(); ++i)
        QCOMPARE(c.db.scalar(u"SELECT \"%1\" FROM CAD_CLIENTE"_s.arg(columns[i])).toString(), stored[i]);
}

void TstClientExchange::refusedRows_data()
{
    QTest::addColumn<QString>("row");
    QTest::addColumn<QString>("reason");

    const QString name(101, u'A');
    QTest::newRow("no name") << u"  ;;;;;;;"_s << u"o nome está vazio"_s;
    QTest::newRow("too long") << name + u";;;;;;;"_s << u"Nome tem 101 caracteres, e cabem 100"_s;
    QTest::newRow("no such day") << u"X;;;31/02/1980;;;;"_s
                                 << u"Nascimento não é uma data: \"31/02/1980\" (use dd/mm/aaaa)"_s;
    QTest::newRow("two-digit year") << u"X;;;01/02/80;;;;"_s << u"Nascimento não é uma data"_s;
    QTest::newRow("CPF check digits") << u"X;123.456.789-08;;;;;;"_s << u"CPF inválido: 123.456.789-08"_s;
    QTest::newRow("CPF too long") << u"X;123456789090;;;;;;"_s << u"CPF inválido"_s;
    QTest::newRow("CNPJ check digits") << u"X;;11.222.333/0001-80;;;;;"_s << u"CNPJ inválido: 11.222.333/0001-80"_s;
    QTest::newRow("telephone") << u"X;;;;3456-789;;;"_s << u"Telefone 1 não é um telefone: \"3456-789\""_s;
    QTest::newRow("CEP") << u"X;;;;;0131;;"_s << u"CEP inválido: \"0131\""_s;
    QTest::newRow("unknown kind") << u"X;;;;;;Pessoa Estrangeira;"_s
                                  << u"tipo de pessoa desconhecido: \"Pessoa Estrangeira\""_s;
    QTest::newRow("more fields than the header") << u"X;;;;;;;;extra"_s << u"a linha tem 9 campos e o cabeçalho 8"_s;
    QTest::newRow("UF longer than its column") << u"X;;;;;;;SPA"_s << u"UF tem 3 caracteres, e cabem 2"_s;
}

// Nothing is written while a row is refused; --skip-invalid writes the others.
void TstClientExchange::refusedRows()
{
    QFETCH(QString, row);
    QFETCH(QString, reason);

    const QByteArray bytes = (u"Nome;CPF;CNPJ;Nascimento;Telefone 1;CEP;Tipo de pessoa;UF\n"
                              "BOM;;;;;;;\n"_s
                              + row + u"\n\nÚLTIMO;;;;;;;SP\n"_s)
                                 .toUtf8();
    Connected c;
    ImportResult r = importClients(c.open(), bytes);
    QCOMPARE(r.refused.size(), 1);
    QCOMPARE(r.refused.first().line, 3);
    QVERIFY2(r.refused.first().text.contains(reason), qPrintable(r.refused.first().text));
    QVERIFY(!r.written);
    QCOMPARE(c.count(), 0);

    ImportOptions skip;
    skip.skipInvalid = true;
    r = importClients(c.dm->database(), bytes, skip);
    QCOMPARE(r.accepted, 2);
    QCOMPARE(c.count(), 2);
}

void TstClientExchange::failureMidwayChangesNothing()
{
    Connected c;
    QVERIFY(c.db.addClient(u"ANTES"_s, ClientRecord::pessoaFisica()));
    if (c.db.onServer()) {
        QVERIFY(c.db.exec(u"CREATE FUNCTION falha() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
                          "IF NEW.NOME = 'FALHA' THEN RAISE EXCEPTION 'disco cheio'; END IF; RETURN NEW; END $$"_s));
        QVERIFY(
            c.db.exec(u"CREATE TRIGGER falha BEFORE INSERT ON CAD_CLIENTE FOR EACH ROW EXECUTE FUNCTION falha()"_s));
    } else {
        QVERIFY(c.db.exec(u"CREATE TRIGGER falha BEFORE INSERT ON CAD_CLIENTE WHEN NEW.NOME = 'FALHA' "
                          "BEGIN SELECT RAISE(ABORT, 'disco cheio'); END"_s));
    }
    const QByteArray bytes = "Nome\nUM\nDOIS\nFALHA\nTRES\n";
    ImportOptions dry;
    dry.dryRun = true;
    QCOMPARE(importClients(c.open(), bytes, dry).accepted, 4);
    QCOMPARE(c.count(), 1);
    QVERIFY_THROWS_EXCEPTION(DatabaseError, importClients(c.dm->database(), bytes));
    QCOMPARE(c.count(), 1);
    // The transaction was ended: the next import goes through.
    QVERIFY(c.db.exec(c.db.onServer() ? u"DROP TRIGGER falha ON CAD_CLIENTE"_s : u"DROP TRIGGER falha"_s));
    QVERIFY(importClients(c.dm->database(), bytes).written);
    QCOMPARE(c.count(), 5);
}

void TstClientExchange::duplicatesAreNotImportedTwice()
{
    Connected c;
    QVERIFY(c.db.addClient(u"ANTIGO"_s, ClientRecord::pessoaFisica(), {{u"CPF"_s, u"12345678909"_s}}));
    QVERIFY(c.db.addClient(u"ANTIGA LTDA"_s, ClientRecord::pessoaJuridica(), {{u"CNPJ"_s, u"11.222.333/0001-81"_s}}));
    const QByteArray bytes = "Nome;CPF;CNPJ\n"
                             "MESMO CPF;123.456.789-09;\n"
                             "NOVO;529.982.247-25;\n"
                             "NOVO DE NOVO;52998224725;\n"
                             "MESMA EMPRESA;;11222333000181\n"
                             "OUTRA EMPRESA;;11.444.777/0001-61\n";
    ImportResult r = importClients(c.open(), bytes);
    QCOMPARE(r.accepted, 2);
    QCOMPARE(r.duplicates.size(), 3);
    QCOMPARE(r.duplicates[0].line, 2);
    QCOMPARE(r.duplicates[0].text, u"Já existe um cliente com este CPF: ANTIGO."_s);
    QCOMPARE(r.duplicates[1].line, 4);
    QCOMPARE(r.duplicates[1].text, u"O CPF 529.982.247-25 já está na linha 3 (NOVO)."_s);
    QCOMPARE(r.duplicates[2].text, u"Já existe um cliente com este CNPJ: ANTIGA LTDA."_s);
    QCOMPARE(c.count(), 4);

    r = importClients(c.dm->database(), bytes);
    QCOMPARE(r.accepted, 0);
    QCOMPARE(r.duplicates.size(), 5);
    QCOMPARE(c.count(), 4);
}

void TstClientExchange::vcardCards()
{
    using namespace ClientRecord;
    PackedRow company = PackedRow::blank();
    company.setText(col_NOME, u"ÁGUA; CIA, LTDA"_s);
    company.setText(col_TIPO, pessoaJuridica());
    company.setText(col_CNPJ, u"12.ABC.345/01DE-35"_s);
    company.setText(col_TELEFONE1, u"1134567890"_s);
    company.setText(col_RAMAL1, u"12"_s);
    company.setText(col_TELEFONE3, u"11987654321"_s);
    company.setText(col_LOGRADOURO, u"Avenida Paulista"_s);
    company.setText(col_N, u"1000"_s);
    company.setText(col_CIDADE, u"São Paulo"_s);
    company.setText(col_UF, u"SP"_s);
    company.setText(col_CEP, u"01310100"_s);
    company.setText(col_OBS, QString(120, u'ç'));
    PackedRow person = PackedRow::blank();
    person.setText(col_NOME, u"Maria da Silva"_s);
    person.setText(col_TIPO, pessoaFisica());
    person.setText(col_CPF, u"12345678909"_s);
    person.setDate(col_NACIMENTO, QDate(1980, 1, 2));
    person.setText(col_EMAIL, u"maria@exemplo.com.br"_s);

    QByteArray out;
    appendVCard(out, company);
    appendVCard(out, person);
    const QString text = QString::fromUtf8(out);
    for (const QString &line :
         {u"BEGIN:VCARD\r\nVERSION:4.0\r\nKIND:org\r\nFN:ÁGUA\\; CIA\\, LTDA\r\n"_s, u"ORG:ÁGUA\\; CIA\\, LTDA\r\n"_s,
          u"TEL;VALUE=uri;TYPE=voice:tel:+55-11-3456-7890;ext=12\r\n"_s,
          u"TEL;VALUE=uri;TYPE=fax:tel:+55-11-98765-4321\r\n"_s,
          u"ADR;TYPE=work:;;Avenida Paulista\\, 1000;São Paulo;SP;01310-100;Brasil\r\n"_s,
          u"NOTE:CNPJ: 12.ABC.345/01DE-35\\n"_s, u"KIND:individual\r\nFN:Maria da Silva\r\n"_s,
          u"N:Silva;Maria da;;;\r\nBDAY:19800102\r\n"_s, u"EMAIL:maria@exemplo.com.br\r\n"_s,
          u"NOTE:CPF: 123.456.789-09\r\nEND:VCARD\r\n"_s})
        QVERIFY2(text.contains(line), qPrintable(line));
    // Long lines folded at 75 octets, never inside a letter.
    for (const QByteArray &line : out.split('\n'))
        QVERIFY(line.size() <= 76);
    QVERIFY(text.contains(u"\r\n ç"_s) || text.contains(u"ç\r\n "_s));
    QVERIFY(QString::fromUtf8(out.replace("\r\n ", "")).contains(u"\\n"_s + QString(120, u'ç') + u"\r\n"_s));
}

void TstClientExchange::wrongFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("error");

    QTest::newRow("empty") << QByteArray() << u"O arquivo está vazio"_s;
    QTest::newRow("no name column") << QByteArray("CPF;CNPJ\n123;\n") << u"não tem a coluna \"Nome\""_s;
    QTest::newRow("a column twice") << QByteArray("Nome;NOME\nA;B\n") << u"aparece duas vezes"_s;
    QTest::newRow("open quote") << QByteArray("Nome\n\"ANA\nBIA\n") << u"Linha 2: aspas abertas"_s;
}

void TstClientExchange::wrongFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, error);
    Connected c;
    try {
        importClients(c.open(), bytes);
        QFAIL("the file was taken");
    } catch (const DataError &e) {
        QVERIFY2(e.text().contains(error), qPrintable(e.text()));
    }
    QCOMPARE(c.count(), 0);
}

QTEST_GUILESS_MAIN(TstClientExchange)
#include "tst_clientexchange.moc"
