#include "TestFolders.h"

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QSet>
#include <QTest>

using namespace Qt::StringLiterals;

class TstArtwork : public QObject
{
    Q_OBJECT

private slots:
    void hoverPictures_data();
    void hoverPictures();
    void embeddedPictures_data();
    void embeddedPictures();
    void licenceShipped();
};

namespace {

QString buttonFile(int number)
{
    return vosmira::test::templateProgramFolder() + u"/Button/"_s + QString::number(number) + u".bmp"_s;
}

int distinctColours(const QImage &image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    return int(colours.size());
}

// Bits per pixel from the bitmap's info header.
int bitmapDepth(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray header = file.read(30);
    return header.size() < 30 ? -1 : quint8(header[28]) | quint8(header[29]) << 8;
}

} // namespace

void TstArtwork::hoverPictures_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("leave");
    QTest::addColumn<int>("enter");
    QTest::addColumn<QSize>("size");
    QTest::newRow("CADASTRO") << 1 << 11 << 12 << QSize(82, 73);
    QTest::newRow("CONSULTA") << 2 << 31 << 32 << QSize(82, 73);
    QTest::newRow("RELATÓRIOS") << 3 << 91 << 92 << QSize(82, 73);
    QTest::newRow("BACKUP") << 4 << 51 << 52 << QSize(82, 73);
    QTest::newRow("PROTEÇÃO") << 5 << 71 << 72 << QSize(82, 76);
    QTest::newRow("SOBRE") << 6 << 81 << 82 << QSize(82, 73);
}

void TstArtwork::hoverPictures()
{
    QFETCH(int, button);
    QFETCH(int, leave);
    QFETCH(int, enter);
    QFETCH(QSize, size);

    QImage pictures[2];
    const int numbers[2] = {leave, enter};
    for (int i = 0; i < 2; ++i) {
        const QString path = buttonFile(numbers[i]);
        QImageReader reader(path);
        QCOMPARE(reader.format(), QByteArray("bmp"));
        QVERIFY2(reader.read(&pictures[i]), qPrintable(path + u": "_s + reader.errorString()));
        QCOMPARE(pictures[i].size(), size);
        QCOMPARE(bitmapDepth(path), 24);
        QVERIFY2(distinctColours(pictures[i]) > 8, qPrintable(path));
        // The corner is the window colour the picture blends into.
        QCOMPARE(QColor(pictures[i].pixel(0, 0)), QColor(224, 223, 227));
    }
    QVERIFY(pictures[0].convertToFormat(QImage::Format_RGB32) != pictures[1].convertToFormat(QImage::Format_RGB32));

    // The button starts with its embedded picture; it must be the leave picture,
    // or the button would change the first time the pointer leaves it.
    const QImage embedded(u":/art/button%1.png"_s.arg(button));
    QCOMPARE(embedded.size(), size);
    QCOMPARE(embedded.convertToFormat(QImage::Format_RGB32), pictures[0].convertToFormat(QImage::Format_RGB32));
}

void TstArtwork::embeddedPictures_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    QTest::newRow("logo") << u"logo.png"_s << QSize(452, 130);
    QTest::newRow("banner") << u"banner.png"_s << QSize(786, 53);
    QTest::newRow("icon") << u"icon.png"_s << QSize(256, 256);
    QTest::newRow("icon16") << u"icon16.png"_s << QSize(16, 16);
    QTest::newRow("icon32") << u"icon32.png"_s << QSize(32, 32);
    QTest::newRow("icon48") << u"icon48.png"_s << QSize(48, 48);
    QTest::newRow("about logo") << u"about_logo.png"_s << QSize(372, 110);
    QTest::newRow("about background") << u"about_background.png"_s << QSize(723, 564);
}

void TstArtwork::embeddedPictures()
{
    QFETCH(QString, name);
    QFETCH(QSize, size);
    const QImage image(u":/art/"_s + name);
    QCOMPARE(image.size(), size);
    QVERIFY(distinctColours(image) > 8);
}

void TstArtwork::licenceShipped()
{
    QFile licence(vosmira::test::templateProgramFolder() + u"/licenses/Papirus-icon-theme.txt"_s);
    QVERIFY(licence.open(QIODevice::ReadOnly));
    QVERIFY(licence.readAll().contains("GPL-3"));
}

QTEST_GUILESS_MAIN(TstArtwork)
#include "tst_artwork.moc"
