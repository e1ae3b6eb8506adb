#include "TDBMemo.h"

#include "Handler.h"
#include "TDataSource.h"

#include "TField.h"

#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextCursor>

#include <algorithm>
#include <limits>

namespace vosmira {

TDBMemo::TDBMemo(QWidget *parent)
    : QPlainTextEdit(parent)
{
    setTabChangesFocus(true);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (m_link && !m_loading)
            m_link->Modified(true);
    });
}

void TDBMemo::setDataField(TDataSource *source, TField *field)
{
    delete m_link;
    m_link = new TFieldDataLink(
        source, field, this, [this] { showField(); }, [this] { writeField(); });
    m_link->Reset();
}

TField *TDBMemo::Field() const
{
    return m_link ? m_link->Field() : nullptr;
}

void TDBMemo::setMaxLength(int maxLength)
{
    m_maxLength = maxLength;
}

int TDBMemo::length() const
{
    return int(toPlainText().size());
}

void TDBMemo::Clear()
{
    if (m_link && m_link->Editing()) {
        m_link->Field()->Clear();
        m_link->Reset();
    } else {
        m_loading = true;
        clear();
        m_loading = false;
    }
}

void TDBMemo::showField()
{
    m_loading = true;
    setPlainText(m_link->Field()->AsString());
    m_loading = false;
}

void TDBMemo::writeField()
{
    m_link->Field()->SetAsString(toPlainText());
}

int TDBMemo::room() const
{
    if (m_maxLength <= 0)
        return std::numeric_limits<int>::max();
    const QTextCursor cursor = textCursor();
    const int selected = cursor.selectionEnd() - cursor.selectionStart();
    return std::max(0, m_maxLength - (length() - selected));
}

QString TDBMemo::fitting(const QString &text) const
{
    qsizetype size = std::min<qsizetype>(text.size(), room());
    // Never half of a character beyond the basic plane.
    if (size > 0 && size < text.size() && text.at(size - 1).isHighSurrogate())
        --size;
    return text.left(size);
}

void TDBMemo::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        if (m_link)
            m_link->Reset();
        event->accept();
        return;
    }
    const QString typed = event->text();
    const bool inserts = !typed.isEmpty() && QChar::isPrint(typed.toUcs4().value(0))
                         && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (inserts && typed.size() > room()) {
        event->accept();
        const QString fits = fitting(typed);
        if (!fits.isEmpty())
            insertPlainText(fits);
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void TDBMemo::inputMethodEvent(QInputMethodEvent *event)
{
    if (event->commitString().size() > room()) {
        const QString fits = fitting(event->commitString());
        QInputMethodEvent cut(event->preeditString(), event->attributes());
        cut.setCommitString(fits, event->replacementStart(), event->replacementLength());
        QPlainTextEdit::inputMethodEvent(&cut);
        return;
    }
    QPlainTextEdit::inputMethodEvent(event);
}

void TDBMemo::insertFromMimeData(const QMimeData *source)
{
    if (!source->hasText())
        return;
    insertPlainText(fitting(source->text()));
}

void TDBMemo::focusOutEvent(QFocusEvent *event)
{
    QPlainTextEdit::focusOutEvent(event);
    const Qt::FocusReason reason = event->reason();
    if (m_link && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
        runHandler([this] { m_link->UpdateRecord(); });
}

} // namespace vosmira
