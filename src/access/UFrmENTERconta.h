#pragma once

#include <QDialog>

class QCheckBox;
class QKeyEvent;
class QLabel;
class QTimer;

namespace vosmira {

class PasswordEntry;
class TImage;
class TShape;

// The login prompt: asks for the program password once per run. It lets the
// user in, optionally switching the protection off, or ends the program, and
// it ends it only by enabling the main window's Timer2.
class TFrmENTERconta : public QDialog
{
    Q_OBJECT
public:
    // timer2 is the main window's Timer2, whose first tick ends the program.
    explicit TFrmENTERconta(QTimer *timer2, QWidget *parent = nullptr);
    ~TFrmENTERconta() override;

    void done(int result) override;

    TShape *Shape1 = nullptr;
    TShape *Shape2 = nullptr;
    TImage *Image2 = nullptr;
    QLabel *Label1 = nullptr;
    PasswordEntry *Edit2 = nullptr;
    TImage *SpeedButton1 = nullptr;
    QCheckBox *CheckBox1 = nullptr;

public Q_SLOTS:
    void FormCreate();
    void Edit2Change();
    // True when the key is swallowed (Enter, which confirms).
    bool Edit2KeyPress(const QKeyEvent *event);
    void SpeedButton1Click();
    void FormCloseQuery();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();

    QTimer *m_timer2;
    int m_refused = 0;
};

// The login prompt while it is open.
extern TFrmENTERconta *FrmENTERconta;

} // namespace vosmira
