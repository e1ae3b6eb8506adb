#include "IniFile.h"
#include "IniWriteError.h"

#include "FaultInjection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>

using vosmira::IniFile;
using vosmira::IniWriteError;
using namespace Qt::StringLiterals;

namespace {

const QString store = u"VosmiraKEY.ini"_s;

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// The text of the error a write raises, or a null string when it succeeds.
QString writeError(IniFile &ini, const QString &section, const QString &key, const QString &value)
{
    try {
        ini.WriteString(section, key, value);
    } catch (const IniWriteError &e) {
        return QString::fromUtf8(e.what());
    }
    return {};
}

} // namespace

class TstIniFile : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void missingFileReadsDefault();
    void writeIsSeenByOtherHandles();
    void emptyValueKeepsTheKey();
    void namesIgnoreCaseAndKeepTheirSpelling();
    void valuesRoundTripThroughTheFile_data();
    void valuesRoundTripThroughTheFile();
    void commentsSurviveARewrite();
    void filesAreOwnerOnly();
    void noTemporaryFileIsLeft();
    void settingsFolder_data();
    void settingsFolder();
    void twoFilesDoNotInterfere();
    void unreadableFileReadsDefault();
    void refusedWrite_data();
    void refusedWrite();
    void failedRewriteKeepsTheOldFile_data();
    void failedRewriteKeepsTheOldFile();
    void storesThatMustNotBeRewritten_data();
    void storesThatMustNotBeRewritten();

private:
    std::unique_ptr<QTemporaryDir> m_config;
    QByteArray m_savedHome;
    QString folder() const { return m_config->path() + u"/Vosmira"_s; }
};

void TstIniFile::init()
{
    m_config = std::make_unique<QTemporaryDir>();
    QVERIFY(m_config->isValid());
    m_savedHome = qgetenv("HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config->path()));
}

void TstIniFile::cleanup()
{
    qputenv("HOME", m_savedHome);
    qunsetenv("XDG_CONFIG_HOME");
    m_config.reset();
}

void TstIniFile::missingFileReadsDefault()
{
    const IniFile ini(store);
    QCOMPARE(ini.ReadString(u"VOSMIRA"_s, u"NOME"_s, QString()), QString());
    QCOMPARE(ini.ReadString(u"VOSMIRA"_s, u"NOME"_s, u"fallback"_s), u"fallback"_s);
    QVERIFY2(!QFileInfo::exists(folder()), "a read must not create anything");
}

void TstIniFile::writeIsSeenByOtherHandles()
{
    const IniFile reader(store); // opened before the write, so nothing may be cached
    {
        IniFile writer(store);
        writer.WriteString(u"VOSMIRA"_s, u"NOME"_s, u"ADMIN"_s);
        writer.WriteString(u"VOSMIRA"_s, u"SENHA"_s, u"abc"_s);
        QCOMPARE(writer.ReadString(u"VOSMIRA"_s, u"SENHA"_s, QString()), u"abc"_s);
    }
    QCOMPARE(reader.ReadString(u"VOSMIRA"_s, u"NOME"_s, QString()), u"ADMIN"_s);
    QCOMPARE(reader.ReadString(u"VOSMIRA"_s, u"SENHA"_s, QString()), u"abc"_s);

    IniFile(store).WriteString(u"VOSMIRA"_s, u"SENHA"_s, u"xyz"_s);
    QCOMPARE(reader.ReadString(u"VOSMIRA"_s, u"SENHA"_s, QString()), u"xyz"_s);
    QCOMPARE(reader.ReadString(u"VOSMIRA"_s, u"NOME"_s, QString()), u"ADMIN"_s);
}

void TstIniFile::emptyValueKeepsTheKey()
{
    IniFile ini(store);
    ini.WriteString(u"VOSMIRA"_s, u"NOME"_s, u"default"_s);
    ini.WriteString(u"VOSMIRA"_s, u"SENHA"_s, u"abc"_s);
    ini.WriteString(u"VOSMIRA"_s, u"SENHA"_s, QString());

    QCOMPARE(ini.ReadString(u"VOSMIRA"_s, u"SENHA"_s, u"missing"_s), QString());
    QCOMPARE(readAll(ini.fileName()), QByteArray("[VOSMIRA]\nNOME=default\nSENHA=\n"));
}

void TstIniFile::namesIgnoreCaseAndKeepTheirSpelling()
{
    IniFile ini(u"Vosmira_config.ini"_s);
    ini.WriteString(u"Vosmira"_s, u"KEY1"_s, u"no"_s);
    QCOMPARE(ini.ReadString(u"VOSMIRA"_s, u"key1"_s, QString()), u"no"_s);

    ini.WriteString(u"vosmira"_s, u"Key1"_s, u"yes"_s);
    QCOMPARE(ini.ReadString(u"Vosmira"_s, u"KEY1"_s, QString()), u"yes"_s);
    QCOMPARE(readAll(ini.fileName()), QByteArray("[Vosmira]\nKEY1=yes\n"));
}

void TstIniFile::valuesRoundTripThroughTheFile_data()
{
    QTest::addColumn<QString>("value");

    QTest::newRow("plain") << u"ADMIN"_s;
    QTest::newRow("accents") << u"Não me pedir ação"_s;
    QTest::newRow("equals") << u"a=b="_s;
    QTest::newRow("blanks") << u"  senha  "_s;
    QTest::newRow("quotes") << u"\"x\""_s;
    QTest::newRow("line break") << u"um\r\ndois"_s;
    QTest::newRow("case") << u"SeNhA"_s;
}

void TstIniFile::valuesRoundTripThroughTheFile()
{
    QFETCH(QString, value);

    IniFile(store).WriteString(u"VOSMIRA"_s, u"SENHA"_s, value);
    IniFile(store).WriteString(u"VOSMIRA"_s, u"NOME"_s, u"ADMIN"_s);

    const IniFile ini(store);
    QCOMPARE(ini.ReadString(u"VOSMIRA"_s, u"SENHA"_s, QString()), value);
    QCOMPARE(ini.ReadString(u"VOSMIRA"_s, u"NOME"_s, QString()), u"ADMIN"_s);
}

void TstIniFile::commentsSurviveARewrite()
{
    IniFile ini(store);
    writeAll(ini.fileName(), "\xEF\xBB\xBF; senha do programa\r\n\r\n[VOSMIRA]\r\nNOME=default\r\n; fim\r\n");

    ini.WriteString(u"VOSMIRA"_s, u"NOME"_s, u"ADMIN"_s);
    ini.WriteString(u"VOSMIRA"_s, u"SENHA"_s, u"1234"_s);

    QCOMPARE(readAll(ini.fileName()),
             QByteArray("\xEF\xBB\xBF; senha do programa\r\n\r\n[VOSMIRA]\r\nNOME=ADMIN\r\nSENHA=1234\r\n; fim\r\n"));
}

void TstIniFile::filesAreOwnerOnly()
{
    IniFile ini(store);
    ini.WriteString(u"VOSMIRA"_s, u"NOME"_s, u"default"_s);
    const auto ownerFile = QFile::ReadOwner | QFile::WriteOwner;
    const auto mask = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::WriteGroup
                      | QFile::ExeGroup | QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    QCOMPARE(QFile::permissions(ini.fileName()) & mask, ownerFile);
    QCOMPARE(QFile::permissions(folder()) & mask, ownerFile | QFile::ExeOwner);

    // Widened by hand, narrowed again by the next write.
    QVERIFY(QFile::setPermissions(ini.fileName(), ownerFile | QFile::ReadGroup | QFile::ReadOther));
    ini.WriteString(u"VOSMIRA"_s, u"SENHA"_s, u"segredo"_s);
    QCOMPARE(QFile::permissions(ini.fileName()) & mask, ownerFile);
}

void TstIniFile::noTemporaryFileIsLeft()
{
    IniFile ini(store);
    for (int i = 0; i < 5; ++i)
        ini.WriteString(u"VOSMIRA"_s, u"SENHA"_s, QString::number(i));
    const QStringList entries = QDir(folder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System
                                                         | QDir::NoDotAndDotDot);
    QCOMPARE(entries, QStringList{store});
}

void TstIniFile::settingsFolder_data()
{
    QTest::addColumn<bool>("set");
    QTest::addColumn<QString>("xdg"); // "<tmp>" stands for the case's own folder
    QTest::addColumn<QString>("expected");

    QTest::newRow("set") << true << u"<tmp>/cfg"_s << u"<tmp>/cfg/Vosmira"_s;
    QTest::newRow("trailing slash") << true << u"<tmp>/cfg/"_s << u"<tmp>/cfg/Vosmira"_s;
    QTest::newRow("unset") << false << QString() << u"<tmp>/home/.config/Vosmira"_s;
    QTest::newRow("empty") << true << QString() << u"<tmp>/home/.config/Vosmira"_s;
    QTest::newRow("relative") << true << u"cfg"_s << u"<tmp>/home/.config/Vosmira"_s;
    QTest::newRow("non-ASCII") << true << u"<tmp>/Configurações \U0001F600"_s
                               << u"<tmp>/Configurações \U0001F600/Vosmira"_s;
}

void TstIniFile::settingsFolder()
{
    QFETCH(bool, set);
    QFETCH(QString, xdg);
    QFETCH(QString, expected);

    const QString tmp = m_config->path();
    qputenv("HOME", QFile::encodeName(tmp + u"/home"_s));
    if (set)
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(xdg.replace(u"<tmp>"_s, tmp)));
    else
        qunsetenv("XDG_CONFIG_HOME");
    expected.replace(u"<tmp>"_s, tmp);

    QCOMPARE(IniFile::settingsFolder(), expected);
    IniFile ini(store);
    QCOMPARE(ini.fileName(), expected + u'/' + store);
    ini.WriteString(u"VOSMIRA"_s, u"NOME"_s, u"default"_s);
    QVERIFY(QFileInfo(expected + u'/' + store).isFile());
}

void TstIniFile::twoFilesDoNotInterfere()
{
    IniFile key(store);
    IniFile config(u"Vosmira_config.ini"_s);
    key.WriteString(u"VOSMIRA"_s, u"NOME"_s, u"ADMIN"_s);
    config.WriteString(u"Vosmira"_s, u"KEY1"_s, u"yes"_s);
    config.WriteString(u"VOSMIRA"_s, u"NOME"_s, u"other"_s);

    QCOMPARE(key.ReadString(u"VOSMIRA"_s, u"NOME"_s, QString()), u"ADMIN"_s);
    QCOMPARE(key.ReadString(u"Vosmira"_s, u"KEY1"_s, QString()), QString());
    QCOMPARE(config.ReadString(u"Vosmira"_s, u"KEY1"_s, QString()), u"yes"_s);
    QCOMPARE(QFileInfo(key.fileName()).dir(), QFileInfo(config.fileName()).dir());
}

void TstIniFile::unreadableFileReadsDefault()
{
    const IniFile ini(store);
    QVERIFY(QDir().mkpath(ini.fileName())); // a folder where the file should be
    QCOMPARE(ini.ReadString(u"VOSMIRA"_s, u"NOME"_s, u"def"_s), u"def"_s);
}

void TstIniFile::refusedWrite_data()
{
    QTest::addColumn<QString>("obstacle");
    QTest::addColumn<QString>("key");

    QTest::newRow("folder in place of the file") << u"file is folder"_s << u"SENHA"_s;
    QTest::newRow("folder in place of the folder") << u"folder is file"_s << u"SENHA"_s;
    QTest::newRow("config home under a file") << u"xdg under file"_s << u"SENHA"_s;
    QTest::newRow("key that would break the file") << QString() << u"SEN\nHA"_s;
}

void TstIniFile::refusedWrite()
{
    QFETCH(QString, obstacle);
    QFETCH(QString, key);

    IniFile other(u"Vosmira_config.ini"_s);
    other.WriteString(u"Vosmira"_s, u"KEY1"_s, u"yes"_s);
    IniFile ini(store);
    ini.WriteString(u"VOSMIRA"_s, u"NOME"_s, u"ADMIN"_s);

    if (obstacle == u"file is folder") {
        QVERIFY(QFile::remove(ini.fileName()));
        QVERIFY(QDir().mkpath(ini.fileName()));
    } else if (obstacle == u"folder is file") {
        QVERIFY(QDir(folder()).removeRecursively());
        writeAll(folder(), "not a folder");
    } else if (obstacle == u"xdg under file") {
        writeAll(m_config->path() + u"/plain"_s, "x");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config->path() + u"/plain/config"_s));
    }

    IniFile blocked(store);
    QCOMPARE(writeError(blocked, u"VOSMIRA"_s, key, u"abc"_s), u"Unable to write to VosmiraKEY.ini"_s);

    if (obstacle.isEmpty()) {
        // Writes made before the refusal stay done.
        QCOMPARE(blocked.ReadString(u"VOSMIRA"_s, u"NOME"_s, QString()), u"ADMIN"_s);
        QCOMPARE(readAll(blocked.fileName()), QByteArray("[VOSMIRA]\nNOME=ADMIN\n"));
    }
    QCOMPARE(blocked.ReadString(u"VOSMIRA"_s, u"SENHA"_s, u"def"_s), u"def"_s);
}

void TstIniFile::failedRewriteKeepsTheOldFile_data()
{
    QTest::addColumn<rlim_t>("limit"); // 0: a real full file system instead
    QTest::addColumn<int>("length");
    QTest::newRow("long value") << rlim_t(4096) << 20000;
    // Small enough to stay in the write buffer until the file is committed.
    QTest::newRow("short value") << rlim_t(8) << 4;
    QTest::newRow("full file system") << rlim_t(0) << 4;
}

void TstIniFile::failedRewriteKeepsTheOldFile()
{
    QFETCH(rlim_t, limit);
    QFETCH(int, length);
    std::optional<vosmira::test::SmallFileSystem> disk;
    if (limit == 0) {
        disk.emplace(64 * 1024);
        if (!disk->isMounted())
            QSKIP(disk->whyNot());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(disk->path()));
    }
    IniFile ini(store);
    ini.WriteString(u"VOSMIRA"_s, u"NOME"_s, u"ADMIN"_s);
    ini.WriteString(u"VOSMIRA"_s, u"SENHA"_s, u"abc"_s);
    const QByteArray before = readAll(ini.fileName());

    QString error;
    if (disk) {
        QVERIFY(disk->fill(0));
        error = writeError(ini, u"VOSMIRA"_s, u"SENHA"_s, QString(length, u'x'));
    } else {
        // A full disk, as the kernel reports it: no file may grow beyond the limit.
        const vosmira::test::FileSizeLimit full{qint64(limit)};
        error = writeError(ini, u"VOSMIRA"_s, u"SENHA"_s, QString(length, u'x'));
    }

    QCOMPARE(error, u"Unable to write to VosmiraKEY.ini"_s);
    QCOMPARE(readAll(ini.fileName()), before);
    QCOMPARE(QFileInfo(ini.fileName()).dir().entryList(QDir::Files | QDir::Hidden), QStringList{store});
}

// Whatever sits in the store's place, reading it never blocks nor exhausts
// memory, and nothing is written over it.
void TstIniFile::storesThatMustNotBeRewritten_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("nome"); // what a read finds
    QTest::newRow("pipe") << u"fifo"_s << QString();
    QTest::newRow("link to an endless device") << u"/dev/zero"_s << QString();
    QTest::newRow("one Latin-1 byte in a comment")
        << u"; Configura\xE7\xE3o\n[VOSMIRA]\nNOME=Jo\xC3\xA3o\n"_s << u"João"_s;
    QTest::newRow("too large to be ours") << u"large"_s << QString();
}

void TstIniFile::storesThatMustNotBeRewritten()
{
    QFETCH(QString, kind);
    QFETCH(QString, nome);
    IniFile ini(store);
    QVERIFY(QDir().mkpath(folder()));
    const QByteArray path = QFile::encodeName(ini.fileName());
    QByteArray before;
    if (kind == u"fifo") {
        QCOMPARE(::mkfifo(path.constData(), 0600), 0);
    } else if (kind.startsWith(u'/')) {
        QVERIFY(QFile::link(kind, ini.fileName()));
    } else {
        before = kind == u"large" ? QByteArray(2 * 1024 * 1024, 'x') : kind.toLatin1();
        writeAll(ini.fileName(), before);
    }

    QCOMPARE(ini.ReadString(u"VOSMIRA"_s, u"NOME"_s, QString()), nome);
    QCOMPARE(writeError(ini, u"VOSMIRA"_s, u"SENHA"_s, u"nova"_s), u"Unable to write to VosmiraKEY.ini"_s);

    struct stat st;
    QCOMPARE(::lstat(path.constData(), &st), 0);
    if (kind == u"fifo")
        QVERIFY(S_ISFIFO(st.st_mode));
    else if (kind.startsWith(u'/'))
        QCOMPARE(QFileInfo(ini.fileName()).symLinkTarget(), kind);
    else
        QCOMPARE(readAll(ini.fileName()), before);
}

QTEST_GUILESS_MAIN(TstIniFile)
#include "tst_inifile.moc"
