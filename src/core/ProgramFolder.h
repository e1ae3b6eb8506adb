#pragma once

#include <QString>

namespace vosmira {

// The folder of the executable, with a trailing separator: the database, the
// hover pictures and the report project are found relative to it. The
// environment variable VOSMIRA_PROGRAM_FOLDER, or setProgramFolder(), points
// the program at another one (tests, portable setups).
QString programFolder();
void setProgramFolder(const QString &folder);

} // namespace vosmira
