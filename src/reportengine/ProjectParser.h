#pragma once

#include "ProjectDefinition.h"

namespace rel {

// Reads a report project file (format described in docs/report-project-format.md).
// Throws ProjectFileError naming the file when it is missing, unreadable or malformed.
ProjectDefinition loadProject(const QString &fileName);

// The same from text already in memory; fileName only names it in messages.
ProjectDefinition parseProject(const QByteArray &utf8, const QString &fileName);

} // namespace rel
