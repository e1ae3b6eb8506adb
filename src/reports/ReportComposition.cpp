#include "ReportComposition.h"

#include "TRelProject.h"

namespace vosmira {

namespace {

QString slotName(int slot)
{
    return QStringLiteral("GENERO") + QString::number(slot);
}

} // namespace

QString composeReport(rel::TRelProject &project, const ReportSections &sections, bool companies)
{
    for (int slot = 1; slot <= ReportSectionSlots; ++slot)
        project.SetParam(slotName(slot), QString());
    project.SetParam(slotName(1), QStringLiteral("Show_Nome"));

    const struct
    {
        bool ticked;
        QString code;
    } optional[] = {
        {sections.contato, QStringLiteral("Show_Contato")},
        {sections.endereco, QStringLiteral("Show_Endereco")},
        {sections.prof, companies ? QStringLiteral("Show_Sec_Prof_Juridica") : QStringLiteral("Show_Prof")},
        {sections.obs, QStringLiteral("Show_OBS")},
    };
    int next = 2;
    int count = 0;
    for (const auto &section : optional) {
        if (!section.ticked)
            continue;
        project.SetParam(slotName(next), section.code);
        ++next;
        ++count;
    }
    return QStringLiteral("RV_VOSMIRA_") + QString::number(count);
}

QString reportProjectPath(const QString &programFolder)
{
    QString folder = programFolder;
    if (!folder.isEmpty() && !folder.endsWith(u'/'))
        folder += u'/';
    return folder + QStringLiteral("Reports/Reports_Vosmira.rav");
}

} // namespace vosmira
