// Unpacks the Debian package into a temporary root (dpkg -x) and starts the
// installed commands with an empty home, as a user who has just installed it.
// The package is VOSMIRA_PACKAGE when set, else CPack makes one from this build.
#include "TestFolders.h"

#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

using namespace Qt::StringLiterals;

namespace {

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

Run run(const QString &program, const QStringList &arguments, const QProcessEnvironment &env = {},
        const QString &folder = {})
{
    QProcess p;
    if (!env.isEmpty())
        p.setProcessEnvironment(env);
    p.setWorkingDirectory(folder);
    p.start(program, arguments);
    Run r;
    if (!p.waitForFinished(300000)) {
        p.kill();
        p.waitForFinished();
        r.err = u"%1 did not finish"_s.arg(program);
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err += QString::fromUtf8(p.readAllStandardError());
    return r;
}

// A user who has never started the program: an empty home, the XDG folders in it.
class Home
{
public:
    Home()
    {
        m_env = QProcessEnvironment::systemEnvironment();
        m_env.remove(u"VOSMIRA_PROGRAM_FOLDER"_s);
        m_env.insert(u"HOME"_s, m_dir.path());
        m_env.insert(u"XDG_DATA_HOME"_s, m_dir.filePath(u".local/share"_s));
        m_env.insert(u"XDG_CONFIG_HOME"_s, m_dir.filePath(u".config"_s));
        m_env.insert(u"XDG_CACHE_HOME"_s, m_dir.filePath(u".cache"_s));
        m_env.insert(u"QT_QPA_PLATFORM"_s, vosmira::test::wideOffscreenPlatform());
    }

    const QProcessEnvironment &env() const { return m_env; }
    QString programFolder() const { return m_dir.filePath(u".local/share/Vosmira"_s); }
    QString database() const { return programFolder() + u"/Banco/Vosmira BANCO.mdb"_s; }
    QString passwordStore() const { return m_dir.filePath(u".config/Vosmira/VosmiraKEY.ini"_s); }

private:
    QTemporaryDir m_dir;
    QProcessEnvironment m_env;
};

QString readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QString sqlite(const QString &database, const QString &sql)
{
    const Run r = run(u"sqlite3"_s, {database, sql});
    return r.exitCode == 0 ? r.out.trimmed() : u"sqlite3 failed: "_s + r.err;
}

// Every installed path with its size, mode and time: the same after every run.
QStringList snapshot(const QString &root)
{
    QStringList entries;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info = it.nextFileInfo();
        entries.append(u"%1 %2 %3 %4"_s.arg(info.filePath())
                           .arg(info.size())
                           .arg(int(info.permissions()))
                           .arg(info.lastModified().toMSecsSinceEpoch()));
    }
    entries.sort();
    return entries;
}

} // namespace

class TstPackage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void installedTree();
    void lintian();
    void firstStartLaysOutTheFolderAndLaterStartsKeepIt();
    void existingDatabaseIsNeverReplaced_data();
    void existingDatabaseIsNeverReplaced();
    void cleanupTestCase();

private:
    QString bin(const QString &command) const { return m_root.filePath(u"usr/bin/"_s + command); }
    // The installed program started and stopped once the password check has run.
    void startAndStop(const Home &home);

    QTemporaryDir m_work;
    QTemporaryDir m_root;
    QString m_package;
    QStringList m_installed;
};

void TstPackage::initTestCase()
{
    if (QStandardPaths::findExecutable(u"dpkg-deb"_s).isEmpty())
        QSKIP("dpkg-deb is missing: the package cannot be built or unpacked here (Debian package dpkg)");
    QVERIFY(m_work.isValid() && m_root.isValid());

    m_package = qEnvironmentVariable("VOSMIRA_PACKAGE");
    if (m_package.isEmpty()) {
        const QString config = qEnvironmentVariable("VOSMIRA_CPACK_CONFIG");
        const Run cpack = run(qEnvironmentVariable("VOSMIRA_CPACK"), {u"--config"_s, config, u"-B"_s, m_work.path()},
                              {}, QFileInfo(config).path());
        QVERIFY2(cpack.exitCode == 0, qPrintable(cpack.out + cpack.err));
        const QStringList debs = QDir(m_work.path()).entryList({u"vosmira_*.deb"_s}, QDir::Files);
        QCOMPARE(debs.size(), 1);
        m_package = m_work.filePath(debs.constFirst());
    }
    const Run unpack = run(u"dpkg-deb"_s, {u"-x"_s, m_package, m_root.path()});
    QVERIFY2(unpack.exitCode == 0, qPrintable(unpack.err));
    m_installed = snapshot(m_root.path());
}

void TstPackage::installedTree()
{
    for (const char *path :
         {"usr/libexec/vosmira/vosmira", "usr/libexec/vosmira/vosmira-report", "usr/libexec/vosmira/vosmira-db",
          "usr/share/vosmira/Banco/Vosmira BANCO.mdb", "usr/share/vosmira/Button/11.bmp",
          "usr/share/vosmira/Reports/Reports_Vosmira.rav", "usr/share/applications/vosmira.desktop",
          "usr/share/metainfo/br.com.vosmira.vosmira.metainfo.xml", "usr/share/icons/hicolor/48x48/apps/vosmira.png",
          "usr/share/icons/hicolor/scalable/apps/vosmira.svg", "usr/share/man/man1/vosmira.1.gz",
          "usr/share/man/man1/vosmira-report.1.gz", "usr/share/man/man1/vosmira-db.1.gz",
          "usr/share/doc/vosmira/copyright", "usr/share/doc/vosmira/changelog.gz"})
        QVERIFY2(QFileInfo(m_root.filePath(QString::fromUtf8(path))).isFile(), path);
    QVERIFY(QFileInfo(bin(u"vosmira"_s)).isExecutable());

    // Each answers on a terminal with no display, and leave the home alone.
    const Home home;
    QProcessEnvironment noDisplay = home.env();
    noDisplay.remove(u"QT_QPA_PLATFORM"_s);
    noDisplay.remove(u"DISPLAY"_s);
    noDisplay.remove(u"WAYLAND_DISPLAY"_s);
    for (const QString &command : {u"vosmira"_s, u"vosmira-report"_s, u"vosmira-db"_s}) {
        const Run version = run(bin(command), {u"--version"_s}, noDisplay);
        QCOMPARE(version.exitCode, 0);
        QCOMPARE(version.out, u"%1 versão %2\n"_s.arg(command, QStringLiteral(VOSMIRA_VERSION)));
    }
    QVERIFY2(!QFileInfo::exists(home.programFolder()), "--version laid out a program folder");

    const QString desktop = m_root.filePath(u"usr/share/applications/vosmira.desktop"_s);
    if (!QStandardPaths::findExecutable(u"desktop-file-validate"_s).isEmpty()) {
        const Run r = run(u"desktop-file-validate"_s, {desktop});
        QVERIFY2(r.exitCode == 0 && r.out.isEmpty(), qPrintable(r.out + r.err));
    }
    if (!QStandardPaths::findExecutable(u"appstreamcli"_s).isEmpty()) {
        const Run r = run(u"appstreamcli"_s,
                          {u"validate"_s, u"--no-net"_s, u"--pedantic"_s,
                           m_root.filePath(u"usr/share/metainfo/br.com.vosmira.vosmira.metainfo.xml"_s)});
        QVERIFY2(r.exitCode == 0, qPrintable(r.out + r.err));
    }
}

// Informational tags stay (see scripts/package.sh); a warning or an error fails.
void TstPackage::lintian()
{
    if (QStandardPaths::findExecutable(u"lintian"_s).isEmpty())
        QSKIP("lintian is missing (Debian package lintian)");
    const Run r = run(u"lintian"_s, {u"--fail-on"_s, u"error,warning"_s, m_package});
    QVERIFY2(r.exitCode == 0, qPrintable(r.out + r.err));
}

void TstPackage::startAndStop(const Home &home)
{
    // Written anew by the password check of this run: the sign it is up.
    QFile::remove(home.passwordStore());
    QProcess process;
    process.setProcessEnvironment(home.env());
    process.start(bin(u"vosmira"_s), {});
    QVERIFY(process.waitForStarted(10000));
    QTRY_VERIFY2_WITH_TIMEOUT(readAll(home.passwordStore()).contains(u"default"_s),
                              qPrintable(QString::fromUtf8(process.readAllStandardError())), 30000);
    // The launcher replaced itself with the program: the signal reaches the program.
    ::kill(pid_t(process.processId()), SIGTERM);
    QVERIFY(process.waitForFinished(20000));
    QVERIFY2(process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0,
             qPrintable(u"exit %1: "_s.arg(process.exitCode()) + QString::fromUtf8(process.readAllStandardError())));
}

void TstPackage::firstStartLaysOutTheFolderAndLaterStartsKeepIt()
{
    Home home;
    startAndStop(home);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(sqlite(home.database(), u"SELECT COUNT(*) FROM CAD_CLIENTE"_s), u"0"_s);
    QCOMPARE(QFileInfo(home.database()).permissions() & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());
    QVERIFY(QFileInfo(home.programFolder() + u"/Button/92.bmp"_s).isReadable());
    QVERIFY(QFileInfo(home.programFolder() + u"/Reports/Reports_Vosmira.rav"_s).isReadable());

    QCOMPARE(sqlite(home.database(), u"INSERT INTO CAD_CLIENTE (NOME, TIPO) VALUES ('ANA DO PACOTE', 'Pessoa Física');"
                                     u"SELECT COUNT(*) FROM CAD_CLIENTE"_s),
             u"1"_s);
    startAndStop(home);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(sqlite(home.database(), u"SELECT NOME FROM CAD_CLIENTE"_s), u"ANA DO PACOTE"_s);

    // The installed listing reads the same user's folder.
    const Run list = run(bin(u"vosmira-report"_s), {u"--list"_s}, home.env());
    QCOMPARE(list.exitCode, 0);
    QVERIFY2(list.out.contains(u"RV_VOSMIRA_0"_s) && list.out.contains(u"RV_VOSMIRA_4"_s),
             qPrintable(list.out + list.err));
    const QString listing = home.programFolder() + u"/../clientes.txt"_s;
    const Run report = run(bin(u"vosmira-report"_s), {u"--output"_s, listing}, home.env());
    QVERIFY2(report.exitCode == 0, qPrintable(report.err));
    QVERIFY(readAll(listing).contains(u"ANA DO PACOTE"_s));
}

void TstPackage::existingDatabaseIsNeverReplaced_data()
{
    QTest::addColumn<QByteArray>("database"); // what the user's Banco/ holds; "-" for no file at all
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("damaged file") << QByteArray("não é um banco de dados");
    QTest::newRow("file gone, folder left") << QByteArray("-");
}

void TstPackage::existingDatabaseIsNeverReplaced()
{
    QFETCH(QByteArray, database);
    Home home;
    QVERIFY(QDir().mkpath(home.programFolder() + u"/Banco"_s));
    if (database != "-") {
        QFile file(home.database());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(database);
    }
    // Lays out what is missing and reads only the report project.
    const Run list = run(bin(u"vosmira-report"_s), {u"--list"_s}, home.env());
    QVERIFY2(list.exitCode == 0, qPrintable(list.err));
    QVERIFY(QFileInfo(home.programFolder() + u"/Button/11.bmp"_s).isReadable());
    if (database == "-") {
        QVERIFY(!QFileInfo::exists(home.database()));
        QCOMPARE(
            QDir(home.programFolder() + u"/Banco"_s).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList());
    } else {
        QFile file(home.database());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), database);
    }
}

void TstPackage::cleanupTestCase()
{
    if (!m_installed.isEmpty())
        QCOMPARE(snapshot(m_root.path()), m_installed);
}

QTEST_GUILESS_MAIN(TstPackage)
#include "tst_package.moc"
