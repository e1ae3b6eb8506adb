#pragma once

#include <QPointer>
#include <QRect>
#include <QWidget>

#include <array>
#include <functional>

class QAction;
class QDialog;
class QLabel;
class QMenu;
class QTimer;

namespace vosmira {

class TImage;
class TShape;

// The home screen: six picture buttons, each opening one feature window
// modally, the banner, and the hooks through which the display guard, the
// data store and the password check act at start and end.
class TFrmHome : public QWidget
{
    Q_OBJECT
public:
    // Makes a feature window or the login prompt; the main window shows it
    // modally and destroys it when it closes.
    using WindowFactory = std::function<QDialog *(QWidget *parent)>;
    // Runs at creation (guard at start: saves the screen size, may enable the
    // timers) and at close (display restore).
    using Hook = std::function<void(TFrmHome &)>;

    explicit TFrmHome(QWidget *parent = nullptr);
    ~TFrmHome() override;

    // Feature windows of the six buttons, 1 to 6. A button without one does nothing.
    void setFeatureWindow(int button, WindowFactory factory);
    void setLoginPrompt(WindowFactory factory);
    // Must be set before the main window is created.
    static void setDisplayGuard(Hook atCreate, Hook atClose);

    static QString makerWebPage();
    // Folder + name of a hover picture, e.g. "Button/12.bmp".
    static QString picturePath(const QString &fileName);

    TShape *Shape1 = nullptr;
    QLabel *LB_1 = nullptr;
    TImage *IM_1 = nullptr;
    TImage *Image3 = nullptr;
    TImage *IM_2 = nullptr;
    TImage *IM_5 = nullptr;
    TImage *IM_6 = nullptr;
    QLabel *LB_2 = nullptr;
    QLabel *LB_5 = nullptr;
    QLabel *LB_6 = nullptr;
    TImage *Image9 = nullptr;
    QMenu *PopupMenu2 = nullptr;
    QAction *oAchou1 = nullptr;
    TImage *IM_4 = nullptr;
    QLabel *LB_4 = nullptr;
    TImage *IM_3 = nullptr;
    QLabel *LB_3 = nullptr;
    TImage *Image1 = nullptr;
    QTimer *Timer2 = nullptr;
    QTimer *Timer3 = nullptr;
    qint32 SavedHeight = 0;
    qint32 SavedWidth = 0;

    TImage *button(int index) const;
    QLabel *caption(int index) const;
    bool isConnected() const { return m_connected; }
    // The database could not be opened: the run ends, and ends as a failure.
    bool connectFailed() const { return m_connectFailed; }
    // The password check has run and let the user in; feature windows open only then.
    bool isAdmitted() const { return m_admitted; }

public Q_SLOTS:
    void FormCreate();
    void FormShow();
    // The password check: once per run, as soon as the window is shown and connected.
    void FormActivate();
    void FormClose();

    void IM_1Click();
    void IM_2Click();
    void IM_3Click();
    void IM_4Click();
    void IM_5Click();
    void IM_6Click();
    void IM_1MouseEnter();
    void IM_2MouseEnter();
    void IM_3MouseEnter();
    void IM_4MouseEnter();
    void IM_5MouseEnter();
    void IM_6MouseEnter();
    void IM_1MouseLeave();
    void IM_2MouseLeave();
    void IM_3MouseLeave();
    void IM_4MouseLeave();
    void IM_5MouseLeave();
    void IM_6MouseLeave();
    void Image3Click();
    void Image9DblClick();
    void Timer2Timer();
    void Timer3Timer();

Q_SIGNALS:
    // The program ends with its main window, whatever other window is left.
    void closed();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    struct Floating
    {
        QWidget *widget;
        QRect design;
    };

    void buildControls();
    void openFeature(int button);
    void hoverIn(int button);
    void hoverOut(int button);
    void keepRelativePlaces();

    std::array<WindowFactory, 6> m_features;
    WindowFactory m_loginPrompt;
    std::vector<Floating> m_floating;
    bool m_shown = false;
    bool m_connected = false;
    bool m_connectFailed = false;
    bool m_passwordChecked = false;
    bool m_admitted = false;
};

// The single main window of the run; set before its creation handler runs.
extern TFrmHome *FrmHome;

} // namespace vosmira
