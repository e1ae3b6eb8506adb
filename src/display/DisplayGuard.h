#pragma once

#include <QSize>

#include <optional>

class QTimer;

namespace vosmira {

class DisplayModes;

// What the guard reaches of the main window: the screen size it saves at start
// and its two timers (Timer2 closes it, Timer3 puts the button row back).
struct GuardedWindow
{
    qint32 *SavedWidth = nullptr;
    qint32 *SavedHeight = nullptr;
    QTimer *Timer2 = nullptr;
    QTimer *Timer3 = nullptr;
};

// The display-resolution guard. The windows are laid out for 1024 x 768: on a
// narrower screen it offers to switch for the run, tests the new mode in the
// video test dialog, and puts the screen back when the main window closes.
class DisplayGuard
{
public:
    static constexpr QSize kRequired{1024, 768};

    explicit DisplayGuard(DisplayModes &modes);

    // The main window's creation handler: save the screen size, then switch
    // silently, ask, or leave a wide screen alone.
    void atStart(const GuardedWindow &window);
    // The main window's close handler: back to the saved size, but only when
    // this run left the display switched.
    void atClose(const GuardedWindow &window);

    // Asks for a display mode; a refusal shows the error box. True when done.
    bool displayModeChange(int width, int height);

    // The size this run last set, if any.
    std::optional<QSize> requested() const { return m_requested; }

private:
    DisplayModes &m_modes;
    std::optional<QSize> m_requested;
};

} // namespace vosmira
