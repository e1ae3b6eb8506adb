#include "TDateEdit.h"

#include "Clock.h"
#include "LeaveGuard.h"
#include "TDBEdit.h"

#include "ClientRecord.h"
#include "DataErrors.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QToolButton>
#include <QWidgetAction>

namespace vosmira {

namespace {

const QString kFormat = QStringLiteral("dd/MM/yyyy");

bool hasDigits(const QString &text)
{
    for (const QChar c : text) {
        if (c.isDigit())
            return true;
    }
    return false;
}

} // namespace

TDateEdit::TDateEdit(QWidget *parent)
    : QWidget(parent)
    , m_edit(new QLineEdit(this))
    , m_button(new QToolButton(this))
{
    m_edit->setInputMask(QStringLiteral("99/99/9999;_"));
    m_edit->setValidator(new MaskCharacterValidator(m_edit));
    m_textAtEntry = m_edit->displayText();
    m_edit->installEventFilter(this);
    m_button->setFocusPolicy(Qt::NoFocus);
    m_button->setArrowType(Qt::DownArrow);
    m_button->setAccessibleName(QStringLiteral("Calendário"));
    m_button->setToolTip(QStringLiteral("Calendário"));
    setFocusPolicy(Qt::StrongFocus);
    setFocusProxy(m_edit);
    connect(m_button, &QToolButton::clicked, this, &TDateEdit::showCalendar);
    connect(m_edit, &QLineEdit::textChanged, this, &TDateEdit::dateChanged);
    // A date that was there on entry and was not touched may always be left.
    new LeaveGuard(m_edit, [this] { return m_edit->displayText() != m_textAtEntry ? problem() : QString(); });
}

QDate TDateEdit::Date() const
{
    const QString shown = m_edit->displayText();
    if (!hasDigits(shown))
        return ClientRecord::zeroDate();
    const QDate date = QDate::fromString(shown, kFormat);
    if (!date.isValid())
        throw DataError(QStringLiteral("'%1' não é uma data válida.").arg(shown));
    return date;
}

void TDateEdit::setDate(QDate date)
{
    if (!date.isValid() || date == ClientRecord::zeroDate())
        m_edit->setText(QString());
    else
        m_edit->setText(date.toString(kFormat));
}

void TDateEdit::Clear()
{
    m_edit->setText(QString());
}

bool TDateEdit::isEmpty() const
{
    return !hasDigits(m_edit->displayText());
}

QString TDateEdit::text() const
{
    return m_edit->displayText();
}

QString TDateEdit::problem() const
{
    const QString shown = m_edit->displayText();
    if (!hasDigits(shown))
        return QString();
    if (!m_edit->hasAcceptableInput())
        return incompleteMaskMessage();
    if (!QDate::fromString(shown, kFormat).isValid())
        return QStringLiteral("'%1' não é uma data válida.").arg(shown);
    return QString();
}

void TDateEdit::showCalendar()
{
    // The button takes no focus, so an edit elsewhere that cannot be left yet
    // has its say before the calendar takes the focus here.
    QWidget *focused = QApplication::focusWidget();
    if (focused && focused != m_edit && !LeaveGuard::mayLeave(focused))
        return;
    auto *menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    auto *calendar = new QCalendarWidget(menu);
    calendar->setGridVisible(true);
    const QDate shown = QDate::fromString(m_edit->displayText(), kFormat);
    calendar->setSelectedDate(shown.isValid() ? shown : Clock::today());
    auto *action = new QWidgetAction(menu);
    action->setDefaultWidget(calendar);
    menu->addAction(action);
    connect(calendar, &QCalendarWidget::activated, menu, [this, menu](QDate date) {
        m_edit->setText(date.toString(kFormat));
        m_edit->setModified(true);
        menu->close();
    });
    connect(calendar, &QCalendarWidget::clicked, menu, [this, menu](QDate date) {
        m_edit->setText(date.toString(kFormat));
        m_edit->setModified(true);
        menu->close();
    });
    m_edit->setFocus(Qt::OtherFocusReason);
    calendar->setFocus();
    menu->popup(mapToGlobal(QPoint(0, height())));
}

bool TDateEdit::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_edit) {
        if (event->type() == QEvent::FocusIn) {
            const auto reason = static_cast<QFocusEvent *>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                m_textAtEntry = m_edit->displayText();
            if (isEmpty())
                QMetaObject::invokeMethod(
                    m_edit, [this] { m_edit->setCursorPosition(0); }, Qt::QueuedConnection);
        } else if (event->type() == QEvent::KeyPress) {
            const auto *key = static_cast<QKeyEvent *>(event);
            if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
                m_edit->setText(m_textAtEntry);
                m_edit->setModified(false);
                m_edit->selectAll();
                return true;
            }
            if ((key->key() == Qt::Key_Down && (key->modifiers() & Qt::AltModifier)) || key->key() == Qt::Key_F4) {
                showCalendar();
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TDateEdit::resizeEvent(QResizeEvent *)
{
    const int buttonWidth = std::min(18, width() / 3);
    m_edit->setGeometry(0, 0, width() - buttonWidth, height());
    m_button->setGeometry(width() - buttonWidth, 0, buttonWidth, height());
}

void TDateEdit::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        m_edit->setFont(font());
    QWidget::changeEvent(event);
}

} // namespace vosmira
