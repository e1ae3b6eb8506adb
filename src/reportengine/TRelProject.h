#pragma once

#include "ProjectDefinition.h"
#include "TRelEngine.h"

#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QPointer>

namespace rel {

class TRelDataConnection;

// A report project: the reports of one project file, the text parameters they
// read and the output target they run on. The file is read from disk at
// every open, so a closed and reopened project sees the file as it is now.
class TRelProject : public QObject
{
    Q_OBJECT

public:
    explicit TRelProject(QObject *parent = nullptr);
    ~TRelProject() override;

    QString ProjectFile() const { return m_projectFile; }
    void SetProjectFile(const QString &fileName) { m_projectFile = fileName; }

    TRelEngine *Engine() const { return m_engine; }
    void SetEngine(TRelEngine *engine) { m_engine = engine; }

    // Loads ProjectFile; does nothing when already open. Throws ProjectFileError.
    void Open();
    // Unloads the project and forgets its parameters; nothing when not open.
    void Close();
    bool Active() const { return m_active; }

    // The empty text clears a parameter. Names compare without regard to case.
    void SetParam(const QString &name, const QString &value);
    QString GetParam(const QString &name) const;

    // Opens the project if needed and runs the report of that name (compared
    // without regard to case) on Engine(). A name the project does not hold
    // does nothing and gives false. Errors escape as ReportError.
    bool ExecuteReport(const QString &name);

    // Names in file order; opens the project if needed.
    QStringList ReportNames();

    // The connections reports reach by name; the project does not own them.
    void AddDataConnection(TRelDataConnection *connection);
    void RemoveDataConnection(TRelDataConnection *connection);

    // The moment printed on reports; the current time unless set.
    void SetPrintedAt(const QDateTime &when) { m_printedAt = when; }

    const ProjectDefinition &Definition() const { return m_definition; }

private:
    QString m_projectFile;
    QPointer<TRelEngine> m_engine;
    bool m_active = false;
    ProjectDefinition m_definition;
    QHash<QString, QString> m_params;
    QList<TRelDataConnection *> m_connections;
    QDateTime m_printedAt;
};

} // namespace rel
