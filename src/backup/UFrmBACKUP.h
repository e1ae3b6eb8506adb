#pragma once

#include "Dialogs.h"

#include <QDialog>

class QLabel;
class QRadioButton;

namespace vosmira {

class TImage;

// Copies the database file to a backup file the user names, or a chosen backup
// back over the database file. The copy never leaves a half-written file: see
// DatabaseBackup and FileCopy below the window.
class TFrmBACKUP : public QDialog
{
    Q_OBJECT
public:
    explicit TFrmBACKUP(QWidget *parent = nullptr);
    ~TFrmBACKUP() override;

    // "Bck_Vosmira_" + the day as dd-mm-yy + ".mdb".
    static QString proposedName(const QDate &day);

    TImage *Image1 = nullptr;
    QRadioButton *RadioButton1 = nullptr;
    QLabel *Label1 = nullptr;
    QRadioButton *RadioButton2 = nullptr;
    QLabel *Label2 = nullptr;
    TImage *SpeedButton1 = nullptr;
    TImage *SpeedButton2 = nullptr;
    FileRequest SaveDialog1;
    FileRequest OpenDialog1;

public Q_SLOTS:
    void FormShow();
    void Label1Click();
    void Label2Click();
    void SpeedButton1Click();
    void SpeedButton2Click();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void saveBackup();
    void loadBackup();

    bool m_running = false;
};

// The backup window while it is open.
extern TFrmBACKUP *FrmBACKUP;

} // namespace vosmira
