#pragma once

#include "Results.h"

#include <QList>
#include <QString>

namespace vbench {

// The figures as Markdown: one table of every measure by client count, with the
// reference figures and ratios beside ours, then the goals with met or missed.
QString figuresTable(const Results &results, const QList<int> &sizes);
QString goalsTable(const Results &results, const QList<int> &sizes);
// The server's figures, each as its median with the fastest and slowest run.
QString serverTable(const Results &results, const QList<int> &sizes);
QString serverGoalsTable(const Results &results, const QList<int> &sizes);

} // namespace vbench
