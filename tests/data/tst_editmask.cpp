#include "ClientRecord.h"
#include "EditMask.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;

class TestEditMask : public QObject
{
    Q_OBJECT

private slots:
    void displayText_data();
    void displayText();
    void storedText_data();
    void storedText();
    void completeness_data();
    void completeness();
    void inputMask_data();
    void inputMask();
};

void TestEditMask::displayText_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");

    const QString cpf = ClientRecord::CpfMask;
    const QString cnpj = ClientRecord::CnpjMask;
    const QString phone = ClientRecord::PhoneMask;
    const QString cep = ClientRecord::CepMask;

    QTest::newRow("cpf") << cpf << u"12345678909"_s << u"123.456.789-09"_s;
    QTest::newRow("cpf short") << cpf << u"123"_s << u"123.___.___-__"_s;
    QTest::newRow("cpf empty") << cpf << QString() << QString();
    QTest::newRow("cpf already punctuated") << cpf << u"123.456.789-09"_s << u"123.456.789-09"_s;
    QTest::newRow("phone") << phone << u"1134567890"_s << u"(11)3456-7890"_s;
    QTest::newRow("phone right-aligned") << phone << u"34567890"_s << u"(__)3456-7890"_s;
    QTest::newRow("phone with punctuation") << phone << u"(11)3456-7890"_s << u"(11)3456-7890"_s;
    QTest::newRow("mobile") << phone << u"11987654321"_s << u"(11)98765-4321"_s;
    QTest::newRow("mobile with punctuation") << phone << u"(11)98765-4321"_s << u"(11)98765-4321"_s;
    QTest::newRow("cep") << cep << u"01310100"_s << u"01310-100"_s;
    QTest::newRow("cnpj stored with punctuation") << cnpj << u"11.222.333/0001-81"_s << u"11.222.333/0001-81"_s;
    QTest::newRow("cnpj bare digits") << cnpj << u"11222333000181"_s << u"11.222.333/0001-81"_s;
    QTest::newRow("cnpj alphanumeric keeps letters") << cnpj << u"12.ABC.345/01DE-35"_s << u"12.ABC.345/01DE-35"_s;
    QTest::newRow("cnpj alphanumeric bare") << cnpj << u"12ABC34501DE35"_s << u"12.ABC.345/01DE-35"_s;
    QTest::newRow("no mask") << QString() << u"abc"_s << u"abc"_s;
}

void TestEditMask::displayText()
{
    QFETCH(QString, mask);
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    QCOMPARE(EditMask::displayText(mask, stored), shown);
}

void TestEditMask::storedText_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("stored");

    QTest::newRow("cpf") << QString(ClientRecord::CpfMask) << u"123.456.789-09"_s << u"12345678909"_s;
    QTest::newRow("cpf blank") << QString(ClientRecord::CpfMask) << u"___.___.___-__"_s << QString();
    QTest::newRow("phone") << QString(ClientRecord::PhoneMask) << u"(11)3456-7890"_s << u"1134567890"_s;
    QTest::newRow("phone partial") << QString(ClientRecord::PhoneMask) << u"(__)3456-7890"_s << u"34567890"_s;
    QTest::newRow("mobile") << QString(ClientRecord::PhoneMask) << u"(11)98765-4321"_s << u"11987654321"_s;
    QTest::newRow("cep") << QString(ClientRecord::CepMask) << u"01310-100"_s << u"01310100"_s;
    QTest::newRow("cnpj keeps literals") << QString(ClientRecord::CnpjMask) << u"11.222.333/0001-81"_s
                                         << u"11.222.333/0001-81"_s;
    QTest::newRow("cnpj letters") << QString(ClientRecord::CnpjMask) << u"12.ABC.345/01DE-35"_s
                                  << u"12.ABC.345/01DE-35"_s;
    QTest::newRow("cnpj blank") << QString(ClientRecord::CnpjMask) << u"__.___.___/____-__"_s << QString();
}

void TestEditMask::storedText()
{
    QFETCH(QString, mask);
    QFETCH(QString, shown);
    QFETCH(QString, stored);
    QCOMPARE(EditMask::storedText(mask, shown), stored);
    // What is stored shows again as it was typed.
    if (!stored.isEmpty())
        QCOMPARE(EditMask::displayText(mask, stored), shown);
}

void TestEditMask::completeness_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("complete");

    QTest::newRow("cpf full") << QString(ClientRecord::CpfMask) << u"123.456.789-09"_s << true;
    QTest::newRow("cpf missing digit") << QString(ClientRecord::CpfMask) << u"123.456.789-0_"_s << false;
    QTest::newRow("cnpj optional digits") << QString(ClientRecord::CnpjMask) << u"__.___.___/____-__"_s << true;
    QTest::newRow("cep short text") << QString(ClientRecord::CepMask) << u"0131"_s << false;
    QTest::newRow("mobile") << QString(ClientRecord::PhoneMask) << u"(11)98765-4321"_s << true;
    QTest::newRow("phone of nine digits") << QString(ClientRecord::PhoneMask) << u"(11)9876-543_"_s << false;
}

void TestEditMask::completeness()
{
    QFETCH(QString, mask);
    QFETCH(QString, shown);
    QFETCH(bool, complete);
    QCOMPARE(EditMask::isComplete(mask, shown), complete);
}

void TestEditMask::inputMask_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("inputMask");

    QTest::newRow("cpf") << QString(ClientRecord::CpfMask) << u"999.999.999-99;_"_s;
    QTest::newRow("cnpj") << QString(ClientRecord::CnpjMask) << u"00.000.000/0000-00;_"_s;
    QTest::newRow("phone") << QString(ClientRecord::PhoneMask) << u"(99)9999-9999;_"_s;
    QTest::newRow("cep") << QString(ClientRecord::CepMask) << u"99999-999;_"_s;
}

void TestEditMask::inputMask()
{
    QFETCH(QString, mask);
    QFETCH(QString, inputMask);
    QCOMPARE(EditMask::toInputMask(mask), inputMask);
}

QTEST_GUILESS_MAIN(TestEditMask)
#include "tst_editmask.moc"
