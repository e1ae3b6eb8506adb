#pragma once

#include <QDialog>

class QGroupBox;
class QLabel;

namespace vosmira {

class ClickLabel;
class PasswordEntry;
class TImage;

// Account settings: creates, changes or deletes the program password. Four
// pages lie on one another; the user sees one at a time, and every operation
// that succeeds closes the window.
class TFrmCONTA : public QDialog
{
    Q_OBJECT
public:
    explicit TFrmCONTA(QWidget *parent = nullptr);
    ~TFrmCONTA() override;

    // Pages, bottom to top.
    QGroupBox *GBalterar = nullptr;
    QGroupBox *GBdeletar = nullptr;
    QGroupBox *GBhome = nullptr;
    QGroupBox *GbCriar = nullptr;

    // Home page.
    QLabel *Label12 = nullptr;
    ClickLabel *Lb_NEW = nullptr;
    ClickLabel *Lb_EDIT = nullptr;
    ClickLabel *LB_DEL = nullptr;
    TImage *Image2 = nullptr;

    // Create page.
    QLabel *Label1 = nullptr;
    QLabel *Label15 = nullptr;
    PasswordEntry *Edi2 = nullptr;
    QLabel *Label16 = nullptr;
    PasswordEntry *Edi3 = nullptr;
    TImage *SpeedButton5 = nullptr;
    TImage *SpeedButton6 = nullptr;

    // Change page.
    QLabel *Label9 = nullptr;
    QLabel *Label10 = nullptr;
    PasswordEntry *Edit3 = nullptr;
    QLabel *Label11 = nullptr;
    PasswordEntry *Edit4 = nullptr;
    TImage *SpeedButton3 = nullptr;
    TImage *SpeedButton4 = nullptr;

    // Delete page.
    QLabel *Label7 = nullptr;
    QLabel *Label8 = nullptr;
    PasswordEntry *Edit1 = nullptr;
    TImage *SpeedButton1 = nullptr;
    TImage *SpeedButton2 = nullptr;

public Q_SLOTS:
    void FormShow();
    void Lb_NEWClick();
    void Lb_EDITClick();
    void LB_DELClick();
    void SpeedButton5Click();
    void SpeedButton6Click();
    void SpeedButton3Click();
    void Edit4Enter();
    void SpeedButton4Click();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void CleanEdits();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    QGroupBox *page(const char *name);
    void reportMismatch();

    bool m_shown = false;
    bool m_enteringEdit4 = false;
};

// The account settings window while it is open.
extern TFrmCONTA *FrmCONTA;

} // namespace vosmira
