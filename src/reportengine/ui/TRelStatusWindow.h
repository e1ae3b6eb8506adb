#pragma once

#include <QDialog>
#include <QElapsedTimer>

class QLabel;

namespace rel {

// "Report Status": which page is being made or printed, with a way to stop.
// Shown without a modal loop of its own; the run keeps the events flowing.
class TRelStatusWindow : public QDialog
{
    Q_OBJECT

public:
    explicit TRelStatusWindow(const QString &title, QWidget *parent = nullptr);

    // format holds %p for the page number. False once the user asked to stop.
    bool showPage(const QString &format, int page);
    bool cancelled() const { return m_cancelled; }
    QString statusText() const;

private:
    QLabel *m_label;
    bool m_cancelled = false;
    QElapsedTimer m_sinceEvents;
};

} // namespace rel
