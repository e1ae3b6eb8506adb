#pragma once

#include <QStringList>

class QTextStream;

namespace vosmira {

// vosmira-db: the client table as a whole in and out of spreadsheet files
// (CSV) and address books (vCard). Exit codes: 0 done, 1 a file or the
// database failed (or a row of an import was refused), 2 the command line is
// wrong. arguments include the program name first.
int runDbCommand(const QStringList &arguments, const QString &defaultProgramFolder, QTextStream &out, QTextStream &err);

} // namespace vosmira
