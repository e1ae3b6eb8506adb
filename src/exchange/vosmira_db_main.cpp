#include "DbCommand.h"
#include "ProgramFolder.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vosmira-db"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    // The program's own folder rules, VOSMIRA_PROGRAM_FOLDER included.
    return vosmira::runDbCommand(arguments, vosmira::programFolder(), out, err);
}
