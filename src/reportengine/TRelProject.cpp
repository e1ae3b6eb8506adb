#include "TRelProject.h"

#include "ProjectParser.h"
#include "ReportError.h"
#include "TRelDataConnection.h"
#include "TRelEngine.h"

namespace rel {

TRelProject::TRelProject(QObject *parent)
    : QObject(parent)
{
}

TRelProject::~TRelProject() = default;

void TRelProject::Open()
{
    if (m_active)
        return;
    if (m_projectFile.isEmpty())
        throw ProjectFileError(QString(), QStringLiteral("Nenhum arquivo de projeto de relatórios foi indicado."));
    m_definition = loadProject(m_projectFile);
    m_active = true;
}

void TRelProject::Close()
{
    if (!m_active)
        return;
    m_active = false;
    m_definition = ProjectDefinition();
    m_params.clear();
}

void TRelProject::SetParam(const QString &name, const QString &value)
{
    if (value.isEmpty())
        m_params.remove(name.toUpper());
    else
        m_params.insert(name.toUpper(), value);
}

QString TRelProject::GetParam(const QString &name) const
{
    return m_params.value(name.toUpper());
}

QStringList TRelProject::ReportNames()
{
    Open();
    QStringList names;
    for (const ReportDefinition &r : std::as_const(m_definition.reports))
        names.append(r.name);
    return names;
}

void TRelProject::AddDataConnection(TRelDataConnection *connection)
{
    if (connection && !m_connections.contains(connection))
        m_connections.append(connection);
}

void TRelProject::RemoveDataConnection(TRelDataConnection *connection)
{
    m_connections.removeAll(connection);
}

bool TRelProject::ExecuteReport(const QString &name)
{
    Open();
    const ReportDefinition *report = m_definition.findReport(name);
    if (!report)
        return false;
    if (!m_engine)
        throw ReportError(QStringLiteral("O projeto de relatórios não tem destino de saída."));
    TRelDataConnection *connection = nullptr;
    for (TRelDataConnection *c : std::as_const(m_connections)) {
        if (c->Name().compare(report->connection, Qt::CaseInsensitive) == 0)
            connection = c;
    }
    if (!connection) {
        throw ReportError(QStringLiteral("O relatório %1 usa a conexão de dados %2, que não existe.")
                              .arg(report->name, report->connection));
    }
    ReportJob job;
    job.project = &m_definition;
    job.report = report;
    job.params = m_params;
    job.connection = connection;
    job.printedAt = m_printedAt.isValid() ? m_printedAt : QDateTime::currentDateTime();
    m_engine->Execute(job);
    return true;
}

} // namespace rel
