#pragma once

#include <QString>
#include <QStringList>

class QDialog;
class QWidget;

namespace vosmira {

// The kinds of message box the program shows. Each kind fixes its buttons.
enum class MessageKind {
    Plain,        // application title as caption, no icon, OK
    Question,     // caption given, question icon, Yes/No
    Confirmation, // toolkit's own caption, question icon, Yes/No
    Information,  // information icon, OK
    OkCancel,     // empty caption, question icon, OK/Cancel
    Error,        // the default error box of an escaping exception
};

enum class MessageIcon { NoIcon, Question, Information, Warning, Critical };

enum class Answer { Ok, Cancel, Yes, No };

struct MessageRequest
{
    MessageKind kind = MessageKind::Plain;
    QString caption;
    QString text;
    MessageIcon icon = MessageIcon::NoIcon;
};

struct FileRequest
{
    enum class Mode { Open, Save };
    Mode mode = Mode::Open;
    QString caption;
    QString directory; // starting folder
    QString fileName;  // proposed name (save) or preselected file
    // As the windows write it: descriptions and patterns separated by "|",
    // e.g. "Arquivos de PDF|*.pdf" or "Web|*.html;*.htm|Texto|*.txt".
    QString filter;
    QString defaultSuffix;        // added to a name typed without an extension ("mdb")
    bool confirmOverwrite = true; // save: ask before replacing an existing file
    bool mustExist = true;        // open: refuse a typed name of a missing file
};

// Qt's name filters for a filter written as the windows write it:
// "Arquivos de PDF | *.pdf" gives "Arquivos de PDF (*.pdf)".
QStringList nameFilters(const QString &filter);

// The one door through which every modal box, file dialog and modal window
// passes. Windows never call QMessageBox, QFileDialog or QDialog::exec()
// themselves, so tests can install a scripted double and never block on a real
// modal window.
class DialogService
{
public:
    virtual ~DialogService();

    virtual Answer message(QWidget *parent, const MessageRequest &request) = 0;
    // Empty when the user cancels.
    virtual QString fileName(QWidget *parent, const FileRequest &request) = 0;
    // Shows a window modally and returns its result (QDialog::exec()).
    virtual int exec(QDialog &window) = 0;

    static DialogService &current();
    // nullptr puts the real dialogs back. The caller keeps ownership.
    static void install(DialogService *service);
};

// The real dialogs, in Brazilian Portuguese through Qt's own translations.
class WidgetDialogService final : public DialogService
{
public:
    Answer message(QWidget *parent, const MessageRequest &request) override;
    QString fileName(QWidget *parent, const FileRequest &request) override;
    int exec(QDialog &window) override;
};

// Caption of every plain message box.
QString applicationTitle();
void setApplicationTitle(const QString &title);

// The widget a box should sit on: the modal window in front, else the active one.
QWidget *dialogParent();

// Shows a modal window through the current dialog service.
int execModal(QDialog &window);

namespace msg {
void plain(const QString &text, const QString &caption = QString());
bool question(const QString &caption, const QString &text);
bool confirmation(const QString &text);
void information(const QString &text, const QString &caption = QString());
bool okCancel(const QString &text);
void error(const QString &text);
} // namespace msg

} // namespace vosmira
