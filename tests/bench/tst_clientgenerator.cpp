// The synthetic clients of the benchmarks: valid document numbers, realistic
// variety, the same sequence for the same seed, and a database the data store opens.
#include "CheckDigits.h"
#include "ClientGenerator.h"
#include "DatabaseWriter.h"
#include "DocumentNumbers.h"
#include "NameOrder.h"
#include "UDMbanco.h"

#include <QDate>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;
using namespace vbench;
using namespace ClientRecord;

class TestClientGenerator : public QObject
{
    Q_OBJECT

private slots:
    void cpfDigits_data();
    void cpfDigits();
    void cnpjDigits_data();
    void cnpjDigits();
    void generatedClientsAreValid();
    void sameSeedSameClients();
    void databaseOpensInTheStore();
};

void TestClientGenerator::cpfDigits_data()
{
    QTest::addColumn<QString>("cpf");
    QTest::addColumn<bool>("valid");
    QTest::newRow("published example") << u"12345678909"_s << true;
    QTest::newRow("second digit wrong") << u"12345678908"_s << false;
    QTest::newRow("first digit wrong") << u"12345678919"_s << false;
    QTest::newRow("all zeros") << u"00000000000"_s << true;
    QTest::newRow("all nines") << u"99999999999"_s << true;
    QTest::newRow("remainder 1 gives 0") << u"52998224725"_s << true;
    QTest::newRow("too short") << u"1234567890"_s << false;
    QTest::newRow("letter") << u"1234567890A"_s << false;
}

void TestClientGenerator::cpfDigits()
{
    QFETCH(QString, cpf);
    QFETCH(bool, valid);
    QCOMPARE(isValidCpf(cpf), valid);
    if (valid)
        QCOMPARE(completeCpf(QStringView(cpf).first(9)), cpf);
}

void TestClientGenerator::cnpjDigits_data()
{
    QTest::addColumn<QString>("cnpj");
    QTest::addColumn<bool>("valid");
    QTest::newRow("published example") << u"11222333000181"_s << true;
    QTest::newRow("remainder 10 gives 1") << u"11111111111180"_s << true;
    QTest::newRow("equal digits") << u"11111111111111"_s << false;
    QTest::newRow("all zeros") << u"00000000000000"_s << true;
    QTest::newRow("alphanumeric example") << u"12ABC34501DE35"_s << true;
    QTest::newRow("alphanumeric, digit wrong") << u"12ABC34501DE36"_s << false;
    QTest::newRow("lower-case letter") << u"12abc34501DE35"_s << false;
    QTest::newRow("letter among the check digits") << u"12ABC34501DE3A"_s << false;
    QTest::newRow("too short") << u"1122233300018"_s << false;
}

void TestClientGenerator::cnpjDigits()
{
    QFETCH(QString, cnpj);
    QFETCH(bool, valid);
    QCOMPARE(isValidCnpj(cnpj), valid);
    if (valid) {
        QCOMPARE(completeCnpj(QStringView(cnpj).first(12)), cnpj);
        QCOMPARE(bareCnpj(punctuatedCnpj(cnpj)), cnpj);
    }
}

void TestClientGenerator::generatedClientsAreValid()
{
    ClientGenerator generator(DefaultSeed);
    int people = 0;
    int companies = 0;
    int alphanumeric = 0;
    int accented = 0;
    int longObservations = 0;
    const int dates[] = {col_NACIMENTO, col_FUNDACAO, col_CRED_CONSULTA, col_CRED_DESDE};
    for (int i = 0; i < 3000; ++i) {
        const ClientValues v = generator.next();
        const QString &name = v[col_NOME];
        QVERIFY(!name.isEmpty());
        if (v[col_TIPO] == pessoaFisica()) {
            ++people;
            QVERIFY2(isValidCpf(v[col_CPF]), qPrintable(v[col_CPF]));
            QVERIFY(vosmira::checkdigits::cpf(v[col_CPF]));
            QVERIFY(v[col_CNPJ].isNull());
        } else {
            QCOMPARE(v[col_TIPO], pessoaJuridica());
            ++companies;
            QCOMPARE(v[col_CNPJ].size(), 18); // the mask's punctuation kept
            const QString bare = bareCnpj(v[col_CNPJ]);
            QVERIFY2(isValidCnpj(bare), qPrintable(v[col_CNPJ]));
            // The registration form's own check, on the number as its edit yields it.
            QCOMPARE(vosmira::checkdigits::cnpjExit(v[col_CNPJ]), vosmira::checkdigits::ExitResult::Valid);
            alphanumeric += bare.contains(QRegularExpression(u"[A-Z]"_s)) ? 1 : 0;
            QVERIFY(v[col_CPF].isNull());
        }
        accented += name.normalized(QString::NormalizationForm_D) != name ? 1 : 0;
        longObservations += generator.lastObservation().size() > 255 ? 1 : 0;
        for (int c = 1; c < ColumnCount; ++c) {
            const QString &text = v[std::size_t(c)];
            if (text.isNull())
                continue;
            QVERIFY2(!text.isEmpty(), "an empty text is stored as null");
            if (column(c).kind == Kind::Text)
                QVERIFY2(text.size() <= column(c).length, column(c).name.data());
        }
        for (int c : dates) {
            if (!v[std::size_t(c)].isNull())
                QVERIFY2(QDate::fromString(v[std::size_t(c)], Qt::ISODate).isValid(), qPrintable(v[std::size_t(c)]));
        }
        // Nothing else begins with Z, with an accent or without.
        QVERIFY(NameOrder::fold(name.toUcs4().value(0)).base[0] != U'z');
    }
    // Both kinds, the newer CNPJs, accents and long observations all occur.
    QVERIFY(people > 1800 && companies > 600);
    QVERIFY(alphanumeric > companies / 8);
    QVERIFY(accented > 1000);
    QVERIFY(longObservations > 100);
}

void TestClientGenerator::sameSeedSameClients()
{
    ClientGenerator a(DefaultSeed);
    ClientGenerator b(DefaultSeed);
    ClientGenerator other(DefaultSeed + 1);
    bool differs = false;
    for (int i = 0; i < 200; ++i) {
        const ClientValues v = a.next();
        QCOMPARE(b.next(), v);
        differs = differs || other.next() != v;
    }
    QVERIFY(differs);
}

void TestClientGenerator::databaseOpensInTheStore()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QVERIFY(QDir(folder.path()).mkpath(u"Banco"_s));
    writeClientDatabase(folder.filePath(u"Banco/Vosmira BANCO.mdb"_s), 120);

    TDMbanco dm(folder.path());
    dm.connectSequence();
    TClientDataSet &clients = *dm.CDSCliente;
    QCOMPARE(clients.RecordCount(), 120);
    QCOMPARE(dm.CDS_PED_Cliente->RecordCount(), 0);
    // The client meant to sort last is the last row, and only it starts that way.
    QVERIFY(clients.Locate(u"NOME", ClientGenerator::lastInOrderName().left(1).toUpper(),
                           loCaseInsensitive | loPartialKey));
    QCOMPARE(clients.RecNo(), 120);
    QCOMPARE(clients.ValueAt(119, col_NOME).toString(), ClientGenerator::lastInOrderName());
    // Dates come back as dates, not as unreadable text.
    for (int row = 0; row < clients.RecordCount(); ++row)
        QVERIFY(clients.ValueAt(row, col_CRED_DESDE).toDate().isValid());
}

QTEST_GUILESS_MAIN(TestClientGenerator)
#include "tst_clientgenerator.moc"
