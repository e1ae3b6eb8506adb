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

// Written over a file a report run reads (the database and its journals, the
// report project), a report would take every client with it. The one of those
// files target names, whatever the spelling or link; empty when none.
QString reportInputAt(const QString &target, const QString &databasePath, const QString &projectFile);
// The same words for the listing and the report window.
QString outputIsAnInputMessage(const QString &target, const QString &input);

// arguments include the program name first, as QCoreApplication gives them.
int runReportCommand(const QStringList &arguments, const QString &defaultProgramFolder, QTextStream &out,
                     QTextStream &err);

} // namespace vosmira
