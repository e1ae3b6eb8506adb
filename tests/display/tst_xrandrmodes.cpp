// Runs on an X server whose screen can change size (xephyr_session.sh).
#include "DisplayModes.h"
#include "XRandrDisplayModes.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>

using namespace vosmira;

class TstXRandrModes : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void switchesAndComesBack();
    void refusesSizesTheOutputLacks_data();
    void refusesSizesTheOutputLacks();
};

void TstXRandrModes::initTestCase()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("needs an X display");
    QVERIFY(dynamic_cast<XRandrDisplayModes *>(platformDisplayModes().get()));
    QCOMPARE(XRandrDisplayModes().primarySize(), QSize(800, 600));
}

void TstXRandrModes::switchesAndComesBack()
{
    XRandrDisplayModes modes;
    QVERIFY(modes.setPrimarySize({1024, 768}));
    QCOMPARE(modes.primarySize(), QSize(1024, 768));
    // The windows' idea of the screen follows.
    QTRY_COMPARE(primaryScreenPixels(), QSize(1024, 768));
    // Asking for the size in force changes nothing and succeeds.
    QVERIFY(modes.setPrimarySize({1024, 768}));

    QVERIFY(modes.setPrimarySize({800, 600}));
    QCOMPARE(modes.primarySize(), QSize(800, 600));
    QTRY_COMPARE(primaryScreenPixels(), QSize(800, 600));
}

void TstXRandrModes::refusesSizesTheOutputLacks_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("no such mode") << QSize(1000, 700);
    QTest::newRow("beyond the screen's limit") << QSize(4096, 3072);
    QTest::newRow("empty") << QSize(0, 0);
}

void TstXRandrModes::refusesSizesTheOutputLacks()
{
    QFETCH(QSize, size);
    XRandrDisplayModes modes;
    QVERIFY(!modes.setPrimarySize(size));
    QCOMPARE(modes.primarySize(), QSize(800, 600));
}

QTEST_MAIN(TstXRandrModes)
#include "tst_xrandrmodes.moc"
