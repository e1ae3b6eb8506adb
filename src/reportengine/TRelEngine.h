#pragma once

#include "ReportLayout.h"

#include <QObject>

namespace rel {

// Where a project sends its reports: the standard output system (dialogs,
// preview, printer) or the page-stream writer.
class TRelEngine : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;
    ~TRelEngine() override;

    // Runs one report. False when the user stopped it.
    virtual bool Execute(ReportJob job) = 0;
};

} // namespace rel
