#pragma once

#include "PageStream.h"
#include "ProjectDefinition.h"

#include <QDateTime>
#include <QHash>

#include <functional>

namespace rel {

class TRelDataConnection;

// Everything one run of one report needs.
struct ReportJob
{
    const ProjectDefinition *project = nullptr;
    const ReportDefinition *report = nullptr;
    QHash<QString, QString> params; // keys upper-case
    TRelDataConnection *connection = nullptr;
    QDateTime printedAt;
    QString title; // document title of the output
};

// Called before each page is finished with its number; false stops the run.
using PageProgress = std::function<bool(int page)>;

// Lays the job's rows out as client blocks and hands the pages to the sink
// one at a time. Returns false when progress stopped the run (the sink then
// holds an unfinished document). Throws ReportError for a report that does
// not fit its data (unknown column, missing connection).
bool layoutReport(const ReportJob &job, PageSink &sink, const PageProgress &progress = {});

// Page size of a paper name in twips.
QSize paperSize(const PageDefinition &page);

} // namespace rel
