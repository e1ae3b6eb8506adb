#include "CheckDigits.h"

#include <QRandomGenerator>
#include <QTest>

using namespace Qt::Literals::StringLiterals;
using vosmira::checkdigits::ExitResult;
namespace cd = vosmira::checkdigits;

Q_DECLARE_METATYPE(ExitResult)

namespace {

// The all-digit CNPJ rule as it stood before letters were allowed.
bool digitsOnlyCnpj(const QString &text)
{
    if (text.size() < 14)
        return false;
    int d[14];
    for (int i = 0; i < 14; ++i) {
        if (!text.at(i).isDigit() || text.at(i).unicode() > u'9')
            return false;
        d[i] = text.at(i).digitValue();
    }
    const int w1[12] = {5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
    const int w2[13] = {6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
    int s1 = 0;
    for (int i = 0; i < 12; ++i)
        s1 += w1[i] * d[i];
    int c1 = 11 - s1 % 11;
    c1 = c1 >= 10 ? 0 : c1;
    int s2 = 2 * c1;
    for (int i = 0; i < 12; ++i)
        s2 += w2[i] * d[i];
    int c2 = 11 - s2 % 11;
    c2 = c2 >= 10 ? 0 : c2;
    return d[12] == c1 && d[13] == c2;
}

} // namespace

class TstCheckDigits : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cpf_data();
    void cpf();
    void cgc_data();
    void cgc();
    void cgcKeepsTheDigitsOnlyAnswer();
    void cpfExit_data();
    void cpfExit();
    void cnpjExit_data();
    void cnpjExit();
};

void TstCheckDigits::cpf_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");

    QTest::newRow("123.456.789-09") << u"12345678909"_s << true;
    QTest::newRow("123.456.789-08") << u"12345678908"_s << false;
    QTest::newRow("529.982.247-25") << u"52998224725"_s << true;
    QTest::newRow("first digit wrong") << u"12345678919"_s << false;
    QTest::newRow("000.000.001-91") << u"00000000191"_s << true;
    for (char d = '0'; d <= '9'; ++d)
        QTest::addRow("eleven %c", d) << QString(11, QLatin1Char(d)) << true;
    QTest::newRow("ten characters") << u"1234567890"_s << false;
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("beyond the eleventh not read") << u"12345678909xyz"_s << true;
    QTest::newRow("punctuated") << u"123.456.789-09"_s << false;
    QTest::newRow("letter") << u"1234567890A"_s << false;
    QTest::newRow("blank inside") << u"123456 8909"_s << false;
    QTest::newRow("non-ASCII digit") << u"12345678٠09"_s << false;
}

void TstCheckDigits::cpf()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QCOMPARE(cd::cpf(text), valid);
}

void TstCheckDigits::cgc_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");

    QTest::newRow("11.222.333/0001-81") << u"11222333000181"_s << true;
    QTest::newRow("11.111.111/1111-80") << u"11111111111180"_s << true;
    QTest::newRow("11.111.111/1111-11") << u"11111111111111"_s << false;
    QTest::newRow("00.000.000/0000-00") << u"00000000000000"_s << true;
    for (char d = '1'; d <= '9'; ++d)
        QTest::addRow("fourteen %c", d) << QString(14, QLatin1Char(d)) << false;
    QTest::newRow("second check digit wrong") << u"11222333000182"_s << false;
    QTest::newRow("thirteen characters") << u"1122233300018"_s << false;
    QTest::newRow("beyond the fourteenth not read") << u"11222333000181-9"_s << true;
    QTest::newRow("punctuated") << u"11.222.333/0001-81"_s << false;

    // Letters in the first twelve places count as their code minus 48.
    QTest::newRow("12.ABC.345/01DE-35") << u"12ABC34501DE35"_s << true;
    QTest::newRow("lower case") << u"12abc34501de35"_s << true;
    QTest::newRow("mixed case") << u"12aBc34501De35"_s << true;
    QTest::newRow("letters wrong digits") << u"12ABC34501DE36"_s << false;
    QTest::newRow("letter in first check place") << u"12ABC34501DEA5"_s << false;
    QTest::newRow("letter in second check place") << u"12ABC34501DE3A"_s << false;
    QTest::newRow("all letters") << u"ABCDEFGHIJKL80"_s << true;
    QTest::newRow("all Z") << u"ZZZZZZZZZZZZ62"_s << true;
    QTest::newRow("alternating") << u"1A2B3C4D5E6F34"_s << true;
    QTest::newRow("last base letter") << u"00000000000A04"_s << true;
    QTest::newRow("accented letter") << u"12ÁBC34501DE35"_s << false;
    QTest::newRow("underscore") << u"12_BC34501DE35"_s << false;
    QTest::newRow("colon (code 58)") << u"12:BC34501DE35"_s << false;
    QTest::newRow("blank") << u"12 BC34501DE35"_s << false;
}

void TstCheckDigits::cgc()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QCOMPARE(cd::cgc(text), valid);
}

void TstCheckDigits::cgcKeepsTheDigitsOnlyAnswer()
{
    QRandomGenerator random(20260701);
    for (int n = 0; n < 20000; ++n) {
        QString text;
        for (int i = 0; i < 14; ++i)
            text.append(QChar(u'0' + int(random.bounded(10))));
        // Make about half of them valid, so both answers are exercised.
        if (n % 2 == 0) {
            for (int c = 0; c <= 99 && !digitsOnlyCnpj(text); ++c)
                text.replace(12, 2, u"%1"_s.arg(c, 2, 10, QLatin1Char('0')));
        }
        QCOMPARE(cd::cgc(text), digitsOnlyCnpj(text));
    }
}

void TstCheckDigits::cpfExit_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<ExitResult>("result");

    QTest::newRow("never typed") << QString() << ExitResult::Empty;
    QTest::newRow("blanks") << u"           "_s << ExitResult::Empty;
    QTest::newRow("placeholders") << u"___________"_s << ExitResult::Empty;
    QTest::newRow("bare literals") << u"..-"_s << ExitResult::Empty;
    QTest::newRow("blank mask") << u"   .   .   -  "_s << ExitResult::Empty;
    QTest::newRow("control characters") << u"\t\r\n"_s << ExitResult::Empty;
    QTest::newRow("right") << u"12345678909"_s << ExitResult::Valid;
    QTest::newRow("right, punctuated") << u"123.456.789-09"_s << ExitResult::Valid;
    QTest::newRow("wrong") << u"12345678908"_s << ExitResult::Invalid;
    QTest::newRow("partial, blanks keep places") << u"12345      "_s << ExitResult::Invalid;
    QTest::newRow("partial, placeholders") << u"123.45_.___-__"_s << ExitResult::Invalid;
    QTest::newRow("short") << u"12345"_s << ExitResult::Invalid;
    QTest::newRow("letters") << u"1234567890A"_s << ExitResult::Invalid;
}

void TstCheckDigits::cpfExit()
{
    QFETCH(QString, text);
    QFETCH(ExitResult, result);
    QCOMPARE(cd::cpfExit(text), result);
}

void TstCheckDigits::cnpjExit_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<ExitResult>("result");

    QTest::newRow("never typed") << QString() << ExitResult::Empty;
    QTest::newRow("bare literals") << u"../-"_s << ExitResult::Empty;
    QTest::newRow("digits all deleted") << u"  .   .   /    -  "_s << ExitResult::Empty;
    QTest::newRow("right") << u"11.222.333/0001-81"_s << ExitResult::Valid;
    QTest::newRow("right, bare") << u"11222333000181"_s << ExitResult::Valid;
    QTest::newRow("wrong") << u"11.222.333/0001-80"_s << ExitResult::Invalid;
    QTest::newRow("first eight digits") << u"11.222.333/    -  "_s << ExitResult::Invalid;
    QTest::newRow("gap in the middle") << u"11.222. 33/0001-81"_s << ExitResult::Invalid;
    QTest::newRow("placeholder stays") << u"11.222.333/000_-81"_s << ExitResult::Invalid;
    QTest::newRow("alphanumeric") << u"12.ABC.345/01DE-35"_s << ExitResult::Valid;
    QTest::newRow("alphanumeric, lower case") << u"12.abc.345/01de-35"_s << ExitResult::Valid;
    QTest::newRow("letter as check digit") << u"12.ABC.345/01DE-3A"_s << ExitResult::Invalid;
}

void TstCheckDigits::cnpjExit()
{
    QFETCH(QString, text);
    QFETCH(ExitResult, result);
    QCOMPARE(cd::cnpjExit(text), result);
}

QTEST_GUILESS_MAIN(TstCheckDigits)

#include "tst_checkdigits.moc"
