#include "ReportError.h"

namespace rel {

ReportError::ReportError(const QString &message)
    : std::runtime_error(message.toStdString())
{
}

QString ReportError::text() const
{
    return QString::fromUtf8(what());
}

ProjectFileError::ProjectFileError(const QString &fileName, const QString &message)
    : ReportError(message)
    , m_fileName(fileName)
{
}

OutputError::OutputError(const QString &fileName, const QString &message)
    : ReportError(message)
    , m_fileName(fileName)
{
}

} // namespace rel
