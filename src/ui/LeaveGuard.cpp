#include "LeaveGuard.h"

#include "Dialogs.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace vosmira {

namespace {
const char *const kGuardProperty = "vosmiraLeaveGuard";
}

LeaveGuard::LeaveGuard(QWidget *edit, std::function<QString()> problem, std::function<void()> refused)
    : QObject(edit)
    , m_edit(edit)
    , m_problem(std::move(problem))
    , m_refused(std::move(refused))
{
    edit->setProperty(kGuardProperty, QVariant::fromValue(static_cast<QObject *>(this)));
    edit->installEventFilter(this);
}

LeaveGuard *LeaveGuard::of(QWidget *widget)
{
    if (!widget)
        return nullptr;
    return qobject_cast<LeaveGuard *>(widget->property(kGuardProperty).value<QObject *>());
}

bool LeaveGuard::mayLeave(QWidget *focused)
{
    LeaveGuard *guard = of(focused);
    return !guard || !guard->refuse();
}

bool LeaveGuard::refuse()
{
    const QString problem = m_problem();
    if (problem.isEmpty())
        return false;
    msg::error(problem);
    if (m_edit->isVisible() && !m_edit->hasFocus())
        m_edit->setFocus(Qt::OtherFocusReason);
    if (m_refused)
        m_refused();
    return true;
}

// Whether a press on target would give the focus to another control of the
// edit's window: Qt gives it to the first widget up from the target that takes
// click focus.
bool LeaveGuard::movesFocusAway(QWidget *target) const
{
    if (target->window() != m_edit->window())
        return false;
    for (QWidget *w = target; w; w = w->isWindow() ? nullptr : w->parentWidget()) {
        if (w->isEnabled() && (w->focusPolicy() & Qt::ClickFocus) == Qt::ClickFocus) {
            QWidget *taker = w;
            while (taker->focusProxy())
                taker = taker->focusProxy();
            return taker != m_edit;
        }
    }
    return false;
}

bool LeaveGuard::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::FocusIn:
        if (watched == m_edit && !m_watchingApp) {
            qApp->installEventFilter(this);
            m_watchingApp = true;
        }
        break;
    case QEvent::FocusOut:
        if (watched == m_edit && m_watchingApp) {
            const auto reason = static_cast<QFocusEvent *>(event)->reason();
            // Another window in front (a message box, a popup) is no leaving.
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
                qApp->removeEventFilter(this);
                m_watchingApp = false;
            }
        }
        break;
    case QEvent::KeyPress:
        if (watched == m_edit) {
            const auto *key = static_cast<QKeyEvent *>(event);
            const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
            if (tab && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) && refuse())
                return true;
        }
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        // Caught on its way into the window: by the time a widget sees the press,
        // Qt has already moved the focus.
        if (watched->isWindowType() && m_edit->hasFocus()) {
            QWidget *top = m_edit->window();
            if (top->windowHandle() == static_cast<QWindow *>(watched)) {
                const QPoint at = static_cast<QMouseEvent *>(event)->position().toPoint();
                QWidget *target = top->childAt(at);
                if (movesFocusAway(target ? target : top) && refuse())
                    return true;
            }
        }
        break;
    default: break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace vosmira
