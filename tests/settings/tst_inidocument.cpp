#include "IniDocument.h"

#include <QTest>

#include <optional>

using vosmira::IniDocument;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(std::optional<QString>)

namespace QTest {
template <>
char *toString(const std::optional<QString> &value)
{
    return value ? QTest::toString(*value) : qstrdup("(absent)");
}
} // namespace QTest

class TstIniDocument : public QObject
{
    Q_OBJECT

private slots:
    void readsHandWrittenFiles_data();
    void readsHandWrittenFiles();
    void rewriteChangesOnlyItsLine_data();
    void rewriteChangesOnlyItsLine();
    void encodings_data();
    void encodings();
    void valuesRoundTrip_data();
    void valuesRoundTrip();
    void namesThatWouldBreakTheLayout_data();
    void namesThatWouldBreakTheLayout();
};

void TstIniDocument::readsHandWrittenFiles_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<std::optional<QString>>("expected");

    const std::optional<QString> none;
    auto s = [](const char *text) { return std::optional<QString>(QString::fromUtf8(text)); };

    QTest::newRow("plain") << QByteArray("[VOSMIRA]\nNOME=default\n") << u"VOSMIRA"_s << u"NOME"_s << s("default");
    QTest::newRow("blanks around") << QByteArray("[Vosmira]\n  KEY1 =  yes \t\n") << u"Vosmira"_s << u"KEY1"_s
                                   << s("yes");
    QTest::newRow("header blanks") << QByteArray("  [ Vosmira ]  \nKEY1=yes\n") << u"Vosmira"_s << u"KEY1"_s
                                   << s("yes");
    QTest::newRow("crlf") << QByteArray("[VOSMIRA]\r\nSENHA=abc\r\n") << u"VOSMIRA"_s << u"SENHA"_s << s("abc");
    QTest::newRow("bom") << QByteArray("\xEF\xBB\xBF[VOSMIRA]\nSENHA=abc") << u"VOSMIRA"_s << u"SENHA"_s << s("abc");
    QTest::newRow("other case") << QByteArray("[vosmira]\nnome=x\n") << u"VOSMIRA"_s << u"NOME"_s << s("x");
    QTest::newRow("non-ascii name case") << QByteArray("[AÇÃO]\nchave=1\n") << u"ação"_s << u"CHAVE"_s << s("1");
    QTest::newRow("empty value") << QByteArray("[VOSMIRA]\nSENHA=\n") << u"VOSMIRA"_s << u"SENHA"_s << s("");
    QTest::newRow("equals in value") << QByteArray("[S]\na=b=c\n") << u"S"_s << u"a"_s << s("b=c");
    QTest::newRow("utf-8") << QByteArray("[S]\nk=Não ç\n") << u"S"_s << u"k"_s << s("Não ç");
    QTest::newRow("latin-1") << QByteArray("[S]\nk=N\xE3o\n") << u"S"_s << u"k"_s << s("Não");
    QTest::newRow("quotes dropped") << QByteArray("[S]\nk=\"abc\"\n") << u"S"_s << u"k"_s << s("abc");
    QTest::newRow("quoted blanks") << QByteArray("[S]\nk= \" a \" \n") << u"S"_s << u"k"_s << s(" a ");
    QTest::newRow("lone quote") << QByteArray("[S]\nk=\"abc\n") << u"S"_s << u"k"_s << s("\"abc");
    QTest::newRow("inner quotes") << QByteArray("[S]\nk=a\"b\"\n") << u"S"_s << u"k"_s << s("a\"b\"");
    QTest::newRow("unknown escape") << QByteArray("[S]\nk=\"C:\\dir\\\"\n") << u"S"_s << u"k"_s << s("C:\\dir\\");
    QTest::newRow("unquoted backslash") << QByteArray("[S]\nk=a\\nb\n") << u"S"_s << u"k"_s << s("a\\nb");
    QTest::newRow("semicolon in value") << QByteArray("[S]\nk=a;b\n") << u"S"_s << u"k"_s << s("a;b");
    QTest::newRow("commented out") << QByteArray("[S]\n;k=1\n") << u"S"_s << u"k"_s << none;
    QTest::newRow("key before any section") << QByteArray("k=1\n[S]\n") << u"S"_s << u"k"_s << none;
    QTest::newRow("other section") << QByteArray("[T]\nk=1\n[S]\nj=2\n") << u"S"_s << u"k"_s << none;
    QTest::newRow("first of duplicates") << QByteArray("[S]\nk=1\nk=2\n[s]\nk=3\n") << u"S"_s << u"k"_s << s("1");
    QTest::newRow("second section") << QByteArray("[S]\na=1\n[T]\n[S]\nk=3\n") << u"S"_s << u"k"_s << s("3");
    QTest::newRow("section prefix") << QByteArray("[VOSMIRA2]\nNOME=x\n") << u"VOSMIRA"_s << u"NOME"_s << none;
    QTest::newRow("unclosed header") << QByteArray("[S]\n[T\nk=1\n") << u"S"_s << u"k"_s << s("1");
    QTest::newRow("empty file") << QByteArray() << u"S"_s << u"k"_s << none;
}

void TstIniDocument::readsHandWrittenFiles()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(std::optional<QString>, expected);

    QCOMPARE(IniDocument::fromBytes(content).value(section, key), expected);
}

void TstIniDocument::rewriteChangesOnlyItsLine_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("empty file") << QByteArray() << u"VOSMIRA"_s << u"NOME"_s << u"default"_s
                                << QByteArray("[VOSMIRA]\nNOME=default\n");
    QTest::newRow("spelling kept") << QByteArray("[Vosmira]\nKey1=no\n") << u"VOSMIRA"_s << u"KEY1"_s << u"yes"_s
                                   << QByteArray("[Vosmira]\nKey1=yes\n");
    QTest::newRow("layout kept") << QByteArray("[S]\n  k =  old\n") << u"S"_s << u"k"_s << u"new"_s
                                 << QByteArray("[S]\n  k =  new\n");
    QTest::newRow("comments kept") << QByteArray("; settings\n\n[S]\n; the key\nk=1\n\n# note\n") << u"S"_s << u"k"_s
                                   << u"2"_s << QByteArray("; settings\n\n[S]\n; the key\nk=2\n\n# note\n");
    QTest::newRow("new key after last key") << QByteArray("[S]\na=1\n\n; trailer\n[T]\nb=2\n") << u"S"_s << u"c"_s
                                            << u"3"_s << QByteArray("[S]\na=1\nc=3\n\n; trailer\n[T]\nb=2\n");
    QTest::newRow("new key in empty section")
        << QByteArray("[S]\n[T]\n") << u"s"_s << u"k"_s << u"v"_s << QByteArray("[S]\nk=v\n[T]\n");
    QTest::newRow("new section") << QByteArray("[S]\na=1") << u"T"_s << u"b"_s << u"2"_s
                                 << QByteArray("[S]\na=1\n\n[T]\nb=2\n");
    QTest::newRow("crlf kept") << QByteArray("[S]\r\na=1\r\n") << u"S"_s << u"b"_s << u"2"_s
                               << QByteArray("[S]\r\na=1\r\nb=2\r\n");
    QTest::newRow("bom kept") << QByteArray("\xEF\xBB\xBF[S]\na=1\n") << u"S"_s << u"a"_s << u"ç"_s
                              << QByteArray("\xEF\xBB\xBF[S]\na=ç\n");
    QTest::newRow("empty value") << QByteArray("[S]\nk=abc\n") << u"S"_s << u"k"_s << QString()
                                 << QByteArray("[S]\nk=\n");
    QTest::newRow("utf-16 stays utf-16")
        << QByteArray("\xFF\xFE[\0S\0]\0\r\0\n\0k\0=\0\xE7\0\r\0\n\0", 22) << u"S"_s << u"j"_s << u"ã"_s
        << QByteArray("\xFF\xFE[\0S\0]\0\r\0\n\0k\0=\0\xE7\0\r\0\n\0j\0=\0\xE3\0\r\0\n\0", 32);
}

void TstIniDocument::rewriteChangesOnlyItsLine()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QByteArray, after);

    IniDocument doc = IniDocument::fromBytes(before);
    doc.setValue(section, key, value);
    QCOMPARE(doc.toBytes(), after);
}

// A file in another encoding, or with a stray byte, still reads; it may be
// written back only when nothing in it had to be guessed.
void TstIniDocument::encodings_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("nome");
    QTest::addColumn<QString>("senha");
    QTest::addColumn<bool>("lossless");

    const QString text = u"[VOSMIRA]\r\nNOME=ADMIN\r\nSENHA=ação\r\n"_s;
    const auto utf16 = [&](bool little, bool bom) {
        QByteArray bytes = bom ? (little ? QByteArray("\xFF\xFE") : QByteArray("\xFE\xFF")) : QByteArray();
        for (QChar c : text) {
            bytes += char(little ? c.cell() : c.row());
            bytes += char(little ? c.row() : c.cell());
        }
        return bytes;
    };
    QTest::newRow("utf-16 le") << utf16(true, true) << u"ADMIN"_s << u"ação"_s << true;
    QTest::newRow("utf-16 be") << utf16(false, true) << u"ADMIN"_s << u"ação"_s << true;
    QTest::newRow("utf-16 le without bom") << utf16(true, false) << u"ADMIN"_s << u"ação"_s << true;
    QTest::newRow("utf-16, odd length") << utf16(true, true) + 'x' << u"ADMIN"_s << u"ação"_s << false;
    QTest::newRow("one latin-1 byte spoils its line only")
        << QByteArray("; Configura\xE7\xE3o\n[VOSMIRA]\nNOME=ADMIN\nSENHA=a\xC3\xA7\xC3\xA3o\n") << u"ADMIN"_s
        << u"ação"_s << false;
    QTest::newRow("latin-1 value") << QByteArray("[VOSMIRA]\nNOME=ADMIN\nSENHA=a\xE7\xE3o\n") << u"ADMIN"_s << u"ação"_s
                                   << false;
    QTest::newRow("nul byte") << QByteArray("[VOSMIRA]\nNOME=ADMIN\nSENHA=a\0\n", 30) << u"ADMIN"_s
                              << QString::fromLatin1("a\0", 2) << false;
    QTest::newRow("byte-order mark starting a later line")
        << QByteArray("[VOSMIRA]\nNOME=ADMIN\n\xEF\xBB\xBF[X]\nSENHA=b\n") << u"ADMIN"_s << u"b"_s << true;
    QTest::newRow("utf-8") << text.toUtf8() << u"ADMIN"_s << u"ação"_s << true;
}

void TstIniDocument::encodings()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, nome);
    QFETCH(QString, senha);
    QFETCH(bool, lossless);

    const IniDocument doc = IniDocument::fromBytes(content);
    QCOMPARE(doc.value(u"VOSMIRA", u"NOME"), std::optional<QString>(nome));
    QCOMPARE(doc.value(u"VOSMIRA", u"SENHA"), std::optional<QString>(senha));
    QCOMPARE(doc.isLossless(), lossless);
    if (lossless)
        QCOMPARE(doc.toBytes(), content);
}

void TstIniDocument::valuesRoundTrip_data()
{
    QTest::addColumn<QString>("value");

    const char *values[] = {
        "",       "yes",        "ADMIN",       "Não", "ç",     "日本語 🙂", "a=b",        "=",           "==x==",
        " lead",  "trail ",     " ",           "   ", "\t",    "tab\tinside",    "\"quoted\"", "\"",          "x\"",
        "\"x",    "a\"b",       "line\nbreak", "\n",  "cr\r",  "crlf\r\n",       "\\",         "back\\slash", "\\n",
        "\"\\\"", "semi;colon", ";",           "[x]", "#hash", "\u00A0nbsp",     "ends\\",
    };
    for (const char *v : values) {
        const QString value = QString::fromUtf8(v);
        QString name = value;
        name.replace(u'\n', u"\\n"_s).replace(u'\r', u"\\r"_s).replace(u'\t', u"\\t"_s);
        QTest::addRow("[%s]", qPrintable(name)) << value;
    }
}

void TstIniDocument::valuesRoundTrip()
{
    QFETCH(QString, value);

    IniDocument doc;
    doc.setValue(u"S", u"k", value);
    doc.setValue(u"S", u"after", u"x"_s);
    const QByteArray bytes = doc.toBytes();
    // A value must never add lines of its own.
    QCOMPARE(bytes.count('\n'), 3);
    QCOMPARE(bytes.count('\r'), 0);

    const IniDocument read = IniDocument::fromBytes(bytes);
    QCOMPARE(read.value(u"S", u"k"), std::optional<QString>(value));
    QCOMPARE(read.value(u"S", u"after"), std::optional<QString>(u"x"_s));
}

void TstIniDocument::namesThatWouldBreakTheLayout_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("section");
    QTest::addColumn<bool>("key");

    QTest::newRow("ordinary") << u"VOSMIRA"_s << true << true;
    QTest::newRow("with blank") << u"Minha chave"_s << true << true;
    QTest::newRow("empty") << QString() << false << false;
    QTest::newRow("blank") << u"  "_s << false << false;
    QTest::newRow("line break") << u"a\nb"_s << false << false;
    QTest::newRow("carriage return") << u"a\rb"_s << false << false;
    QTest::newRow("equals") << u"a=b"_s << true << false;
    QTest::newRow("bracket") << u"a]b"_s << false << true;
    QTest::newRow("opening bracket") << u"[a"_s << true << false;
    QTest::newRow("semicolon") << u";a"_s << true << false;
}

void TstIniDocument::namesThatWouldBreakTheLayout()
{
    QFETCH(QString, name);
    QFETCH(bool, section);
    QFETCH(bool, key);

    QCOMPARE(IniDocument::isValidSection(name), section);
    QCOMPARE(IniDocument::isValidKey(name), key);
}

QTEST_GUILESS_MAIN(TstIniDocument)
#include "tst_inidocument.moc"
