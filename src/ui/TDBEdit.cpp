#include "TDBEdit.h"

#include "Handler.h"
#include "LeaveGuard.h"
#include "MaskedText.h"
#include "TDataSource.h"
#include "UpperCaseEntry.h"

#include "DataErrors.h"
#include "TField.h"

#include <QApplication>
#include <QKeyEvent>
#include <QValidator>

namespace vosmira {

QValidator::State MaskCharacterValidator::validate(QString &input, int &) const
{
    for (const QChar c : input) {
        if (c.unicode() > 0x7f)
            return Invalid;
    }
    return Acceptable;
}

QString incompleteMaskMessage()
{
    return QStringLiteral("Valor de entrada inválido. Use a tecla Esc para abandonar as alterações.");
}

TDBEdit::TDBEdit(QWidget *parent)
    : QLineEdit(parent)
{
    new LeaveGuard(
        this, [this] { return m_link && m_link->Modified() ? problem() : QString(); }, [this] { cursorToGap(); });
    connect(this, &QLineEdit::textEdited, this, [this] {
        if (m_link)
            m_link->Modified(true);
    });
    connectHandler(qApp, &QApplication::focusChanged, this, &TDBEdit::focusMoved);
}

void TDBEdit::setDataField(TDataSource *source, TField *field, int maxLength)
{
    delete m_link;
    m_link = new TFieldDataLink(
        source, field, this, [this] { showField(); }, [this] { writeField(); });
    m_mask = EditMask::parse(field->EditMask());
    if (m_mask.isValid())
        applyMask();
    else
        setMaxLength(maxLength > 0 ? maxLength : field->Size());
    m_link->Reset();
}

void TDBEdit::setAlphanumericPositions(int count)
{
    m_alphanumeric = count;
    if (m_mask.isValid()) {
        applyMask();
        if (m_link)
            m_link->Reset();
    }
}

void TDBEdit::setUpperCase(bool upper)
{
    setUpperCaseEntry(this, upper);
}

void TDBEdit::applyMask()
{
    setInputMask(maskedtext::inputMask(m_mask, m_alphanumeric));
    setValidator(new MaskCharacterValidator(this));
}

TField *TDBEdit::Field() const
{
    return m_link ? m_link->Field() : nullptr;
}

QString TDBEdit::Text() const
{
    return m_mask.isValid() ? maskedtext::read(m_mask, displayText()).text : text();
}

QString TDBEdit::storedValue() const
{
    if (m_mask.isValid())
        return maskedtext::read(m_mask, displayText()).stored;
    return text();
}

QString TDBEdit::problem() const
{
    if (!m_mask.isValid())
        return QString();
    // An edit emptied by the user takes its column empty, as one never typed into.
    const maskedtext::Reading reading = maskedtext::read(m_mask, displayText());
    return reading.blank || reading.complete ? QString() : incompleteMaskMessage();
}

void TDBEdit::Clear()
{
    if (m_link && m_link->Editing()) {
        m_link->Field()->Clear(); // shows itself through the field's change
        m_link->Reset();
    } else {
        setText(QString());
        if (m_link)
            m_link->Modified(false);
    }
}

void TDBEdit::showField()
{
    TField *field = m_link->Field();
    if (m_mask.isValid())
        setText(maskedtext::shownText(m_mask, field->AsString()));
    else
        setText(field->AsString());
}

void TDBEdit::writeField()
{
    const QString why = problem();
    if (!why.isEmpty())
        throw DataError(why);
    m_link->Field()->SetAsString(storedValue());
}

void TDBEdit::focusMoved(QWidget *from, QWidget *to)
{
    if (from != this || !to || to->window() != window())
        return;
    if (m_link && problem().isEmpty())
        m_link->UpdateRecord();
    Q_EMIT exited();
}

void TDBEdit::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        if (m_link)
            m_link->Reset();
        selectAll();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void TDBEdit::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    if (m_mask.isValid() && maskedtext::read(m_mask, displayText()).blank)
        setCursorPosition(0);
}

void TDBEdit::mouseReleaseEvent(QMouseEvent *event)
{
    QLineEdit::mouseReleaseEvent(event);
    // A click into an empty masked edit starts typing at its first position.
    if (m_mask.isValid() && !hasSelectedText() && maskedtext::read(m_mask, displayText()).blank)
        setCursorPosition(0);
}

void TDBEdit::cursorToGap()
{
    const QString shown = displayText();
    for (qsizetype i = 0; i < m_mask.positions.size(); ++i) {
        const EditMask::Position &p = m_mask.positions.at(i);
        if (p.required && (i >= shown.size() || shown.at(i) == m_mask.blank)) {
            setCursorPosition(int(i));
            return;
        }
    }
}

} // namespace vosmira
