#include "Dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>

namespace vosmira {

namespace {

WidgetDialogService &realService()
{
    static WidgetDialogService service;
    return service;
}

DialogService *g_installed = nullptr;
QString g_title = QStringLiteral("Vosmira v1.0");

QMessageBox::Icon toQtIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Critical: return QMessageBox::Critical;
    case MessageIcon::NoIcon: break;
    }
    return QMessageBox::NoIcon;
}

Answer ask(MessageKind kind, const QString &caption, const QString &text, MessageIcon icon)
{
    return DialogService::current().message(dialogParent(), {kind, caption, text, icon});
}

} // namespace

DialogService::~DialogService() = default;

DialogService &DialogService::current()
{
    return g_installed ? *g_installed : static_cast<DialogService &>(realService());
}

void DialogService::install(DialogService *service)
{
    g_installed = service;
}

Answer WidgetDialogService::message(QWidget *parent, const MessageRequest &request)
{
    QMessageBox box(toQtIcon(request.icon), request.caption, request.text, QMessageBox::NoButton, parent);
    switch (request.kind) {
    case MessageKind::Question:
    case MessageKind::Confirmation:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        break;
    case MessageKind::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Ok);
        break;
    default: box.setStandardButtons(QMessageBox::Ok); break;
    }
    box.setAccessibleName(request.text);
    // A short text makes a narrow box whose title bar cuts the caption short.
    if (auto *grid = qobject_cast<QGridLayout *>(box.layout())) {
        const int captionWidth = box.fontMetrics().horizontalAdvance(request.caption) + 140;
        grid->addItem(new QSpacerItem(captionWidth, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0,
                      1, grid->columnCount());
    }
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Cancel: return Answer::Cancel;
    case QMessageBox::Ok: return Answer::Ok;
    default:
        // Closed through the title bar: the answer that does not proceed.
        if (request.kind == MessageKind::Question || request.kind == MessageKind::Confirmation)
            return Answer::No;
        if (request.kind == MessageKind::OkCancel)
            return Answer::Cancel;
        return Answer::Ok;
    }
}

QString WidgetDialogService::fileName(QWidget *parent, const FileRequest &request)
{
    QFileDialog dialog(parent, request.caption, request.directory);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setNameFilters(nameFilters(request.filter));
    QString suffix = request.defaultSuffix;
    if (suffix.startsWith(QLatin1Char('.')))
        suffix.remove(0, 1);
    if (!suffix.isEmpty())
        dialog.setDefaultSuffix(suffix);
    if (request.mode == FileRequest::Mode::Save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(request.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    }
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

int WidgetDialogService::exec(QDialog &window)
{
    return window.exec();
}

QStringList nameFilters(const QString &filter)
{
    QStringList result;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts.at(i).trimmed();
        QStringList patterns = parts.at(i + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString &pattern : patterns)
            pattern = pattern.trimmed();
        result.append(QStringLiteral("%1 (%2)").arg(description, patterns.join(QLatin1Char(' '))));
    }
    return result;
}

int execModal(QDialog &window)
{
    return DialogService::current().exec(window);
}

QString applicationTitle()
{
    return g_title;
}

void setApplicationTitle(const QString &title)
{
    g_title = title;
}

QWidget *dialogParent()
{
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

namespace msg {

void plain(const QString &text, const QString &caption)
{
    ask(MessageKind::Plain, caption.isNull() ? applicationTitle() : caption, text, MessageIcon::NoIcon);
}

bool question(const QString &caption, const QString &text)
{
    return ask(MessageKind::Question, caption, text, MessageIcon::Question) == Answer::Yes;
}

bool confirmation(const QString &text)
{
    return ask(MessageKind::Confirmation, QStringLiteral("Confirmação"), text, MessageIcon::Question) == Answer::Yes;
}

void information(const QString &text, const QString &caption)
{
    ask(MessageKind::Information, caption.isNull() ? applicationTitle() : caption, text, MessageIcon::Information);
}

bool okCancel(const QString &text)
{
    return ask(MessageKind::OkCancel, QString(), text, MessageIcon::Question) == Answer::Ok;
}

void error(const QString &text)
{
    ask(MessageKind::Error, applicationTitle(), text, MessageIcon::Critical);
}

} // namespace msg

} // namespace vosmira
