#pragma once

#include <QString>

namespace rel {
class TRelProject;
}

namespace vosmira {

// The optional sections ticked for a report, in their fixed order.
struct ReportSections
{
    bool contato = false;
    bool endereco = false;
    bool prof = false; // registration data of the kind shown
    bool obs = false;
};

inline constexpr int ReportSectionSlots = 5;

// The section parameters of a run: "GENERO1" .. "GENERO5" emptied in that
// order, "GENERO1" = "Show_Nome", the ticked sections in the following slots
// without gaps (the registration section as "Show_Prof" for private persons,
// "Show_Sec_Prof_Juridica" for companies). Returns the report to run,
// "RV_VOSMIRA_" + the number of ticked sections.
QString composeReport(rel::TRelProject &project, const ReportSections &sections, bool companies);

// Where the report project file lives under a program folder (with its
// trailing separator).
QString reportProjectPath(const QString &programFolder);

} // namespace vosmira
