#include "ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>

namespace vosmira {

namespace {
QString g_folder;

QString withTrailingSeparator(const QString &folder)
{
    QString path = QDir::cleanPath(QDir(folder).absolutePath());
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path;
}
} // namespace

QString programFolder()
{
    if (!g_folder.isEmpty())
        return g_folder;
    const QString fromEnvironment = qEnvironmentVariable("VOSMIRA_PROGRAM_FOLDER");
    if (!fromEnvironment.isEmpty())
        return withTrailingSeparator(fromEnvironment);
    return withTrailingSeparator(QCoreApplication::applicationDirPath());
}

void setProgramFolder(const QString &folder)
{
    g_folder = folder.isEmpty() ? QString() : withTrailingSeparator(folder);
}

} // namespace vosmira
