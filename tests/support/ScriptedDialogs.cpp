#include "ScriptedDialogs.h"

#include <QDialog>

namespace vosmira::test {

Answer ScriptedDialogs::message(QWidget *, const MessageRequest &request)
{
    m_messages.append(request);
    if (!m_actions.isEmpty())
        m_actions.dequeue()(request);
    if (!m_answers.isEmpty())
        return m_answers.dequeue();
    switch (request.kind) {
    case MessageKind::Question:
    case MessageKind::Confirmation: return Answer::Yes;
    default: return Answer::Ok;
    }
}

QString ScriptedDialogs::fileName(QWidget *, const FileRequest &request)
{
    m_fileRequests.append(request);
    return m_files.isEmpty() ? QString() : m_files.dequeue();
}

int ScriptedDialogs::exec(QDialog &window)
{
    m_windowTitles.append(window.windowTitle());
    if (m_windowSteps.isEmpty())
        return QDialog::Rejected;
    return m_windowSteps.dequeue()(window);
}

QStringList ScriptedDialogs::texts() const
{
    QStringList result;
    for (const MessageRequest &request : m_messages)
        result.append(request.text);
    return result;
}

void ScriptedDialogs::clear()
{
    m_answers.clear();
    m_files.clear();
    m_actions.clear();
    m_messages.clear();
    m_fileRequests.clear();
    m_windowSteps.clear();
    m_windowTitles.clear();
}

} // namespace vosmira::test
