#include "NameOrder.h"

#include <QTest>

#include <algorithm>
#include <cstring>

using namespace Qt::Literals::StringLiterals;

namespace {

int keyOrder(const QString &a, const QString &b)
{
    QByteArray ka;
    QByteArray kb;
    NameOrder::appendSortKey(a.toUtf8(), ka);
    NameOrder::appendSortKey(b.toUtf8(), kb);
    const int n = std::memcmp(ka.constData(), kb.constData(), std::size_t(std::min(ka.size(), kb.size())));
    return n != 0 ? n : int(ka.size() - kb.size());
}

int sign(int v)
{
    return (v > 0) - (v < 0);
}

} // namespace

class TestNameOrder : public QObject
{
    Q_OBJECT

private slots:
    void pairs_data();
    void pairs();
};

void TestNameOrder::pairs_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");

    QTest::newRow("accent sorts with its letter") << u"ÁLVARO"_s << u"BRUNO"_s;
    QTest::newRow("cedilla with c") << u"ÇAGRI"_s << u"CARLA"_s;
    QTest::newRow("case ignored") << u"ana"_s << u"BRUNO"_s;
    QTest::newRow("unaccented first") << u"ALVARO"_s << u"ÁLVARO"_s;
    QTest::newRow("accent before case") << u"ALVARO"_s << u"álvaro"_s;
    QTest::newRow("unaccented first, though small") << u"joao"_s << u"JOÃO"_s;
    QTest::newRow("acute before circumflex") << u"PÉ"_s << u"PÊ"_s;
    QTest::newRow("first differing accent decides") << u"ANÁ"_s << u"ÁNA"_s;
    QTest::newRow("then the stored text") << u"ANA"_s << u"Ana"_s;
    QTest::newRow("shorter first") << u"ANA"_s << u"ANA MARIA"_s;
    QTest::newRow("blank before letters") << u"ANA MARIA"_s << u"ANABELA"_s;
    QTest::newRow("digits before letters") << u"3M DO BRASIL"_s << u"ABC"_s;
    QTest::newRow("empty first") << QString() << u"A"_s;
    QTest::newRow("sharp s as ss") << u"STRASSE"_s << u"STRAßE"_s;
    QTest::newRow("ae ligature as two letters") << u"ÆGIR"_s << u"AF"_s;
    QTest::newRow("stroke with its letter") << u"ØRSTED"_s << u"OTÁVIO"_s;
    QTest::newRow("accent typed apart") << u"A\u0301LVARO"_s << u"ÁLVARO"_s;
    QTest::newRow("accent apart, with its letter") << u"E\u0301RICA"_s << u"EVA"_s;
    QTest::newRow("beyond Latin after it") << u"ZULU"_s << u"ΩMEGA"_s;
}

void TestNameOrder::pairs()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QVERIFY(NameOrder::compare(first, second) < 0);
    QVERIFY(NameOrder::compare(second, first) > 0);
    QCOMPARE(NameOrder::compare(first, first), 0);
    QCOMPARE(sign(keyOrder(first, second)), -1);
}

QTEST_GUILESS_MAIN(TestNameOrder)
#include "tst_nameorder.moc"
