// Starts the built program itself against a temporary program folder and
// settings folder, and sees it come up and end cleanly.
#include "ScriptedDialogs.h"
#include "TestFolders.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

using namespace vosmira::test;

class TstExecutable : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startsConnectsAndEndsCleanly();
    void programFolderOptionWins();
    void commandLine_data();
    void commandLine();
};

namespace {

QProcessEnvironment environmentFor(const TempProgramFolder &program, const TempSettingsFolder &settings)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("VOSMIRA_PROGRAM_FOLDER"), program.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), settings.configHome());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), wideOffscreenPlatform());
    return env;
}

QString readIni(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

void TstExecutable::startsConnectsAndEndsCleanly()
{
    TempSettingsFolder settings;
    TempProgramFolder program;
    QVERIFY(program.isValid());
    const QString binary = qEnvironmentVariable("VOSMIRA_BINARY");
    QVERIFY2(QFile::exists(binary), qPrintable(binary));

    QProcess process;
    process.setProcessEnvironment(environmentFor(program, settings));
    process.start(binary, {});
    QVERIFY(process.waitForStarted(10000));

    // Connected and activated: the password check has written the store.
    const QString store = settings.iniPath(QStringLiteral("VosmiraKEY.ini"));
    QTRY_VERIFY_WITH_TIMEOUT(readIni(store).contains(QStringLiteral("default")), 20000);
    QCOMPARE(process.state(), QProcess::Running);

    ::kill(pid_t(process.processId()), SIGTERM);
    QVERIFY(process.waitForFinished(20000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
    QVERIFY2(!process.readAllStandardError().contains("QSqlDatabasePrivate::removeDatabase"), "connection left open");
}

void TstExecutable::programFolderOptionWins()
{
    TempSettingsFolder settings;
    TempProgramFolder program;
    QVERIFY(program.isValid());
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), settings.configHome());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), wideOffscreenPlatform());
    env.insert(QStringLiteral("VOSMIRA_PROGRAM_FOLDER"), QStringLiteral("/nonexistent/folder"));
    process.setProcessEnvironment(env);
    process.start(qEnvironmentVariable("VOSMIRA_BINARY"), {QStringLiteral("--program-folder"), program.path()});
    QVERIFY(process.waitForStarted(10000));
    QTRY_VERIFY_WITH_TIMEOUT(
        readIni(settings.iniPath(QStringLiteral("VosmiraKEY.ini"))).contains(QStringLiteral("default")), 20000);
    ::kill(pid_t(process.processId()), SIGTERM);
    QVERIFY(process.waitForFinished(20000));
    QCOMPARE(process.exitCode(), 0);
}

void TstExecutable::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("output"); // the start of stdout, or a part of stderr when it fails
    QTest::newRow("help") << QStringList{QStringLiteral("--help")} << 0
                          << QStringLiteral("Uso: vosmira [opções]\nVosmira - cadastro de clientes\n\nOpções:\n"
                                            "  -h, --help                Mostra esta ajuda e sai.\n");
    QTest::newRow("version") << QStringList{QStringLiteral("-v")} << 0 << QStringLiteral("vosmira versão ");
    QTest::newRow("help after a wrong option")
        << QStringList{QStringLiteral("--nada"), QStringLiteral("-h")} << 0 << QStringLiteral("Uso: vosmira");
    QTest::newRow("unknown option") << QStringList{QStringLiteral("--nada")} << 2
                                    << QStringLiteral("vosmira: opção desconhecida: --nada\n");
    QTest::newRow("missing value") << QStringList{QStringLiteral("--program-folder")} << 2
                                   << QStringLiteral("vosmira: falta o valor da opção --program-folder\n");
}

// Help and version need no display (a terminal over ssh has none); a wrong
// command line ends with 2 and says why, in Portuguese.
void TstExecutable::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, output);
    TempSettingsFolder settings;
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), settings.configHome());
    env.insert(QStringLiteral("VOSMIRA_PROGRAM_FOLDER"), QStringLiteral("/nonexistent/folder"));
    if (exitCode == 0) {
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    }
    process.setProcessEnvironment(env);
    process.start(qEnvironmentVariable("VOSMIRA_BINARY"), arguments);
    QVERIFY(process.waitForFinished(20000));
    const QString out = QString::fromUtf8(process.readAllStandardOutput());
    const QString err = QString::fromUtf8(process.readAllStandardError());
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), exitCode);
    if (exitCode == 0)
        QVERIFY2(out.startsWith(output), qPrintable(out + err));
    else
        QVERIFY2(err.contains(output), qPrintable(err));
}

QTEST_GUILESS_MAIN(TstExecutable)
#include "tst_executable.moc"
