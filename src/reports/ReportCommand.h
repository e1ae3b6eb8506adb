#pragma once

#include <QStringList>

class QTextStream;

namespace vosmira {

// vosmira-report: the client listing of one person kind written to a file
// (or shown in the preview) from a script. Exit codes: 0 done, 1 a file or
// the database failed, 2 the command line is wrong.
struct ReportCommandResult
{
    int exitCode = 0;
};

// Whether the arguments ask for a window (the preview), so main() can make
// the right application object before running.
bool reportCommandNeedsWindows(const QStringList &arguments);

// arguments include the program name first, as QCoreApplication gives them.
int runReportCommand(const QStringList &arguments, const QString &defaultProgramFolder, QTextStream &out,
                     QTextStream &err);

} // namespace vosmira
