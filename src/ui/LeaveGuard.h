#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class QWidget;

namespace vosmira {

// Keeps the focus in an edit whose text cannot be taken yet (a mask left
// incomplete, a date that is no date) until the user completes it or abandons
// the change with Escape. Qt itself lets the focus go anywhere, so the guard
// stops Tab and Backtab in the edit and mouse presses on other controls of its
// window; keyboard moves made by the window itself ask mayLeave() first.
class LeaveGuard : public QObject
{
    Q_OBJECT
public:
    // problem: why the edit cannot be left now, or an empty text when it can.
    // refused: runs after the problem was shown, e.g. to put the cursor on the gap.
    LeaveGuard(QWidget *edit, std::function<QString()> problem, std::function<void()> refused = {});

    // Whether the focus may leave `focused`; when not, shows the problem in the
    // error box and keeps the focus where it is.
    static bool mayLeave(QWidget *focused);

    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    static LeaveGuard *of(QWidget *widget);
    bool refuse();
    bool movesFocusAway(QWidget *target) const;

    QWidget *m_edit;
    std::function<QString()> m_problem;
    std::function<void()> m_refused;
    bool m_watchingApp = false;
};

} // namespace vosmira
