#pragma once

#include <QDate>
#include <QWidget>

class QLineEdit;
class QToolButton;

namespace vosmira {

// A date edit that may be empty, typed as dd/mm/yyyy or picked from a calendar
// that drops down from its button (or Alt+Down, F4). An empty edit gives day
// zero of the date scale, 30/12/1899.
class TDateEdit : public QWidget
{
    Q_OBJECT
public:
    explicit TDateEdit(QWidget *parent = nullptr);

    // Day zero when empty; throws DataError when the text is not a date.
    QDate Date() const;
    void setDate(QDate date); // an invalid date or day zero empties the edit
    void Clear();
    bool isEmpty() const;
    QString text() const; // as shown, e.g. "05/03/2024" or "__/__/____"

    QLineEdit *lineEdit() const { return m_edit; }
    QToolButton *button() const { return m_button; }

    // Empty when the text can be taken; else the reason it cannot.
    QString problem() const;

    void showCalendar();

Q_SIGNALS:
    void dateChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    QLineEdit *m_edit;
    QToolButton *m_button;
    QString m_textAtEntry;
};

} // namespace vosmira
