#pragma once

#include "PageStream.h"

#include <functional>

class QPrinter;

namespace rel {

// Prints a recorded stream page by page on a printer already set up (page
// range from the printer's from/to page, all pages when 0). progress gets
// each page number before it is printed; false stops. Throws ReportError
// when the printer cannot start.
void printStream(QIODevice *stream, QPrinter &printer, const std::function<bool(int)> &progress = {});

// Sets the printer's paper to the stream's page size, without margins.
void preparePrinter(QPrinter &printer, const PageSetup &setup, const QString &jobTitle);

} // namespace rel
