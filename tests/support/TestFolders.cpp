#include "TestFolders.h"

#include "ProgramFolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace vosmira::test {

QString templateProgramFolder()
{
    return qEnvironmentVariable("VOSMIRA_TEMPLATE_FOLDER");
}

QString wideOffscreenPlatform()
{
    static QTemporaryDir folder;
    const QString config = folder.filePath(QStringLiteral("screen.json"));
    QFile file(config);
    if (!file.exists() && file.open(QIODevice::WriteOnly)) {
        file.write(R"({"screens": [{"name": "wide", "x": 0, "y": 0, "width": 1024, "height": 768,
                       "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    }
    return QStringLiteral("offscreen:configfile=") + config;
}

bool copyFolder(const QString &from, const QString &to)
{
    const QDir source(from);
    if (!source.exists())
        return false;
    QDir().mkpath(to);
    QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString target = to + QLatin1Char('/') + source.relativeFilePath(path);
        const QFileInfo info(path);
        if (info.isDir()) {
            QDir().mkpath(target);
        } else if (info.isFile()) {
            QDir().mkpath(QFileInfo(target).absolutePath());
            QFile::remove(target);
            if (!QFile::copy(path, target))
                return false;
            QFile(target).setPermissions(QFile(path).permissions() | QFileDevice::WriteOwner);
        }
    }
    return true;
}

TempProgramFolder::TempProgramFolder()
{
    if (m_dir.isValid())
        m_copied = copyFolder(templateProgramFolder(), m_dir.path());
}

TempProgramFolder::~TempProgramFolder()
{
    if (programFolder() == path())
        setProgramFolder(QString());
}

QString TempProgramFolder::path() const
{
    return m_dir.path() + QLatin1Char('/');
}

QString TempProgramFolder::databasePath() const
{
    return path() + QStringLiteral("Banco/Vosmira BANCO.mdb");
}

void TempProgramFolder::activate()
{
    setProgramFolder(path());
}

TempSettingsFolder::TempSettingsFolder()
{
    m_hadPrevious = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    m_previous = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.path()));
}

TempSettingsFolder::~TempSettingsFolder()
{
    if (m_hadPrevious)
        qputenv("XDG_CONFIG_HOME", m_previous);
    else
        qunsetenv("XDG_CONFIG_HOME");
}

QString TempSettingsFolder::settingsPath() const
{
    return m_dir.path() + QStringLiteral("/Vosmira");
}

QString TempSettingsFolder::iniPath(const QString &bareName) const
{
    return settingsPath() + QLatin1Char('/') + bareName;
}

} // namespace vosmira::test
