#pragma once

#include <QDialog>
#include <QStringList>

class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace vosmira {

class TImage;
class TShape;

// Who makes the program, how to reach them, and the usage contract, which
// unfolds over the middle of the window. Nothing typed into it is kept.
class TFrmAbout : public QDialog
{
    Q_OBJECT
public:
    explicit TFrmAbout(QWidget *parent = nullptr);
    ~TFrmAbout() override;

    // The usage contract, line by line.
    static QStringList contract();

    TShape *Shape3 = nullptr;
    QPlainTextEdit *Memo1 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label10 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label9 = nullptr;
    QLineEdit *Edit1 = nullptr;
    TImage *Image2 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label7 = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *Label8 = nullptr;
    QLabel *Label11 = nullptr;
    TImage *Image1 = nullptr;

public Q_SLOTS:
    void Label2Click();
    void Label9Click();
    void Label2MouseEnter();
    void Label2MouseLeave();
    void Label10Click();
    void Label10MouseEnter();
    void Label10MouseLeave();
    void Memo1Click();
    void FormClose();

Q_SIGNALS:
    // The window has closed: the main window shows its banner again.
    void closed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
};

// The window while it exists.
extern TFrmAbout *FrmAbout;

} // namespace vosmira
