#pragma once

#include <QString>

#include <stdexcept>

namespace rel {

// An engine failure nobody handles; what() is UTF-8 Portuguese text ready for
// the application's default error box.
class ReportError : public std::runtime_error
{
public:
    explicit ReportError(const QString &message);
    QString text() const;
};

// The report project file is missing, unreadable or malformed.
class ProjectFileError : public ReportError
{
public:
    ProjectFileError(const QString &fileName, const QString &message);
    QString fileName() const { return m_fileName; }

private:
    QString m_fileName;
};

// An output file could not be written.
class OutputError : public ReportError
{
public:
    OutputError(const QString &fileName, const QString &message);
    QString fileName() const { return m_fileName; }

private:
    QString m_fileName;
};

} // namespace rel
