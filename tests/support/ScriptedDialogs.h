#pragma once

#include "Dialogs.h"

#include <QList>
#include <QQueue>

#include <functional>

namespace vosmira::test {

// Records every box, file dialog and modal window the program asks for and
// answers as scripted, so no test ever waits on a real modal window. Unscripted
// boxes get their proceeding answer (OK / Yes); unscripted file dialogs are
// cancelled; unscripted windows are rejected without being shown.
class ScriptedDialogs final : public DialogService
{
public:
    ScriptedDialogs() { DialogService::install(this); }
    ~ScriptedDialogs() override { DialogService::install(nullptr); }

    Answer message(QWidget *parent, const MessageRequest &request) override;
    QString fileName(QWidget *parent, const FileRequest &request) override;
    int exec(QDialog &window) override;

    void answerNext(Answer answer) { m_answers.enqueue(answer); }
    void chooseFile(const QString &path) { m_files.enqueue(path); }
    // Runs while the box would be open, e.g. to look at the windows behind it.
    void onNextMessage(std::function<void(const MessageRequest &)> action) { m_actions.enqueue(std::move(action)); }

    // Runs in place of the next modal window's loop: it may look at the window,
    // show it, click in it, and returns the window's result.
    void onNextWindow(std::function<int(QDialog &)> step) { m_windowSteps.enqueue(std::move(step)); }
    qsizetype pendingWindows() const { return m_windowSteps.size(); }
    const QStringList &windowTitles() const { return m_windowTitles; }

    const QList<MessageRequest> &messages() const { return m_messages; }
    const QList<FileRequest> &fileRequests() const { return m_fileRequests; }
    QStringList texts() const;
    void clear();

private:
    QQueue<Answer> m_answers;
    QQueue<QString> m_files;
    QQueue<std::function<void(const MessageRequest &)>> m_actions;
    QQueue<std::function<int(QDialog &)>> m_windowSteps;
    QStringList m_windowTitles;
    QList<MessageRequest> m_messages;
    QList<FileRequest> m_fileRequests;
};

} // namespace vosmira::test
