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
#include <QScopedValueRollback>
#include <QValidator>

#include <algorithm>

namespace vosmira {

QValidator::State MaskCharacterValidator::validate(QString &input, int &) const
{
    for (const QChar c : input) {
        if (c.unicode() > 0x7f)
            return Invalid;
    }
    return Acceptable;
}

QValidator::State GrowingMaskValidator::validate(QString &input, int &pos) const
{
    const maskedtext::Growing grown = maskedtext::regrow(m_mask, input, pos);
    if (!grown.accepted)
        return Invalid;
    input = grown.text;
    pos = grown.cursor;
    const maskedtext::Reading reading = maskedtext::read(m_mask, input);
    return reading.blank || reading.complete ? Acceptable : Intermediate;
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
    // Any change but the edit's own showing of the field is the user's: typed,
    // or set by an assistive tool, which reaches the text without a key.
    connect(this, &QLineEdit::textChanged, this, [this](const QString &text) {
        if (!m_link || m_showing)
            return;
        m_link->Modified(true);
        // Such text gets what typing it would have given (upper case).
        if (!m_mask.isValid() && validator()) {
            QString fixed = text;
            int pos = cursorPosition();
            if (validator()->validate(fixed, pos) != QValidator::Invalid && fixed != text) {
                setText(fixed);
                setCursorPosition(pos);
            }
        }
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
    const QScopedValueRollback<bool> showing(m_showing, true);
    if (growing()) {
        setInputMask(QString());
        setValidator(new GrowingMaskValidator(m_mask, this));
        return;
    }
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
        setShownText(QString());
        if (m_link)
            m_link->Modified(false);
    }
}

void TDBEdit::showField()
{
    setShownText(m_link->Field()->AsString());
    // A value longer than the box shows its beginning, not its end.
    setCursorPosition(0);
}

void TDBEdit::setShownText(const QString &stored)
{
    const QScopedValueRollback<bool> showing(m_showing, true);
    if (!m_mask.isValid()) {
        setText(stored);
        return;
    }
    if (growing()) {
        // The digits of the stored value, laid out as they would be typed.
        const maskedtext::Growing grown = maskedtext::regrow(m_mask, stored, 0);
        if (grown.accepted) {
            setText(grown.text);
            return;
        }
    }
    setText(maskedtext::shownText(m_mask, stored));
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
    const bool back = event->key() == Qt::Key_Backspace;
    if (growing() && (back || event->key() == Qt::Key_Delete) && event->modifiers() == Qt::NoModifier
        && !hasSelectedText()) {
        // Deleting reaches past the literals and blanks to the nearest digit, which
        // a literal would otherwise hide: the layout puts a deleted literal back.
        const QString shown = displayText();
        int at = cursorPosition();
        auto isDigit = [&shown](int i) { return shown.at(i) >= u'0' && shown.at(i) <= u'9'; };
        while (back ? at > 0 && !isDigit(at - 1) : at < shown.size() && !isDigit(at))
            at += back ? -1 : 1;
        if (back ? at == 0 : at == shown.size()) {
            event->accept();
            return;
        }
        setCursorPosition(at);
    }
    QLineEdit::keyPressEvent(event);
}

void TDBEdit::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    if (growing() && !hasSelectedText())
        setCursorPosition(std::min(cursorPosition(), firstGap()));
    else if (m_mask.isValid() && maskedtext::read(m_mask, displayText()).blank)
        setCursorPosition(0);
}

void TDBEdit::mouseReleaseEvent(QMouseEvent *event)
{
    QLineEdit::mouseReleaseEvent(event);
    if (!m_mask.isValid() || hasSelectedText())
        return;
    // A click into an empty masked edit starts typing at its first position; into
    // a growing one, never past the digits, as they stand without gaps.
    if (growing())
        setCursorPosition(std::min(cursorPosition(), firstGap()));
    else if (maskedtext::read(m_mask, displayText()).blank)
        setCursorPosition(0);
}

int TDBEdit::firstGap() const
{
    const QString shown = displayText();
    const QList<EditMask::Position> &pattern = m_mask.patternFor(shown.size());
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        if (pattern.at(i).literal.isNull() && (i >= shown.size() || shown.at(i) == m_mask.blank))
            return int(i);
    }
    return int(shown.size());
}

void TDBEdit::cursorToGap()
{
    const QString shown = displayText();
    const QList<EditMask::Position> &pattern = m_mask.patternFor(shown.size());
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const EditMask::Position &p = pattern.at(i);
        if (p.required && (i >= shown.size() || shown.at(i) == m_mask.blank)) {
            setCursorPosition(int(i));
            return;
        }
    }
}

} // namespace vosmira
