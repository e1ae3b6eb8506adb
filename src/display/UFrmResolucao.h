#pragma once

#include "DisplayGuard.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;
class QTimer;

namespace vosmira {

// The video test dialog: switches the display to 1024 x 768 as it is created
// and counts down. "Testar video" keeps the new mode for the run; letting the
// count run out, or the unseen "NÃO", puts the old size back and ends the
// program. It has no close box, and Escape does nothing.
class TFrmResolucao : public QDialog
{
    Q_OBJECT
public:
    TFrmResolucao(DisplayGuard &guard, const GuardedWindow &home, QWidget *parent = nullptr);
    ~TFrmResolucao() override;

    // False when the switch was refused: there is nothing to test.
    bool isTesting() const { return m_testing; }

    QPushButton *Button1 = nullptr;
    QPushButton *Button2 = nullptr;
    QLabel *Label1 = nullptr;
    QTimer *Timer1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QCheckBox *CheckBox1 = nullptr;
    QLabel *Label4 = nullptr;

public Q_SLOTS:
    void FormCreate();
    void Timer1Timer();
    void Button1Click();
    void Button2Click();
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildControls();
    void centreOnScreen();

    DisplayGuard &m_guard;
    GuardedWindow m_home;
    bool m_testing = false;
};

// The dialog while it exists.
extern TFrmResolucao *FrmResolucao;

} // namespace vosmira
