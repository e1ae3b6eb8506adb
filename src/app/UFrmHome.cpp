#include "UFrmHome.h"

#include "Dialogs.h"
#include "FormBuilder.h"
#include "Handler.h"
#include "Maker.h"
#include "PasswordStore.h"
#include "ProgramFolder.h"
#include "TImage.h"
#include "TShape.h"
#include "UDMbanco.h"

#include <QAction>
#include <QCloseEvent>
#include <QCursor>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QTimer>
#include <QUrl>

#include <memory>

namespace vosmira {

TFrmHome *FrmHome = nullptr;

namespace {

constexpr quint32 kCaptionColor = 6908265; // picture-button captions at rest
constexpr quint32 kHoverColor = 15890688;  // caption under the pointer
constexpr QSize kDesignClient(785, 748);

struct ButtonDesign
{
    int imageLeft;
    int labelLeft;
    const char16_t *caption;
    const char16_t *enterFile;
    const char16_t *leaveFile;
};

// In button order IM_1 … IM_6.
constexpr std::array<ButtonDesign, 6> kButtons{{
    {44, 56, u"CADASTRO", u"12.bmp", u"11.bmp"},
    {167, 181, u"CONSULTA", u"32.bmp", u"31.bmp"},
    {292, 301, u"RELATÓRIOS", u"92.bmp", u"91.bmp"},
    {415, 436, u"BACKUP", u"52.bmp", u"51.bmp"},
    {539, 553, u"PROTEÇÃO", u"72.bmp", u"71.bmp"},
    {661, 686, u"SOBRE", u"82.bmp", u"81.bmp"},
}};

TFrmHome::Hook g_guardAtCreate;
TFrmHome::Hook g_guardAtClose;

QFont tahoma11()
{
    return pixelFont(QStringLiteral("Tahoma"), 11);
}

} // namespace

TFrmHome::TFrmHome(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
{
    FrmHome = this;
    buildControls();
    runHandler([this] { FormCreate(); });
}

TFrmHome::~TFrmHome()
{
    if (FrmHome == this)
        FrmHome = nullptr;
}

void TFrmHome::buildControls()
{
    setObjectName(QStringLiteral("FrmHome"));
    setWindowTitle(QStringLiteral("Vosmira"));
    setAccessibleName(QStringLiteral("Vosmira"));
    setWindowIcon(QIcon(QStringLiteral(":/art/icon.png")));
    resize(kDesignClient);
    setFont(tahoma11());
    setBackgroundColor(this, colorFromBgr(kWindowColor));

    Shape1 = new TShape(this);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setGeometry(3, 2, 779, 116);
    Shape1->setBrushColor(colorFromBgr(15065056));
    Shape1->setPenColor(colorFromBgr(9998994));
    Shape1->setPenWidth(2);

    std::array<TImage *, 6> images{};
    std::array<QLabel *, 6> labels{};
    auto makeLabel = [&](int index) {
        auto *label = new QLabel(QString::fromUtf16(kButtons[index].caption), this);
        label->setObjectName(QStringLiteral("LB_%1").arg(index + 1));
        label->setFont(tahoma11());
        label->setCursor(Qt::PointingHandCursor);
        setBackgroundColor(label, colorFromBgr(kWindowColor));
        setTextColor(label, colorFromBgr(kCaptionColor));
        label->adjustSize();
        label->move(kButtons[index].labelLeft, 97);
        labels[index] = label;
        return label;
    };
    auto makeImage = [&](int index) {
        auto *image = new TImage(this);
        image->setObjectName(QStringLiteral("IM_%1").arg(index + 1));
        image->setClickable(true);
        image->setCenter(true);
        image->setCursor(Qt::PointingHandCursor);
        image->setAccessibleName(QString::fromUtf16(kButtons[index].caption));
        image->setPicture(QPixmap(QStringLiteral(":/art/button%1.png").arg(index + 1)));
        if (index == 4)
            image->setGeometry(kButtons[index].imageLeft, 11, 82, 76);
        else
            image->setGeometry(kButtons[index].imageLeft, 14, 82, 73);
        images[index] = image;
        return image;
    };

    // Creation order is paint order: later controls lie above earlier ones.
    LB_1 = makeLabel(0);
    IM_1 = makeImage(0);

    Image3 = new TImage(this);
    Image3->setObjectName(QStringLiteral("Image3"));
    Image3->setClickable(true);
    Image3->setCursor(Qt::PointingHandCursor);
    Image3->setAccessibleName(QStringLiteral("Visite a página da Vosmira"));
    Image3->setToolTip(makerWebPage());
    Image3->setPicture(QPixmap(QStringLiteral(":/art/banner.png")));
    Image3->setGeometry(121, 655, 786, 53);

    IM_2 = makeImage(1);
    IM_5 = makeImage(4);
    IM_6 = makeImage(5);
    LB_2 = makeLabel(1);
    LB_5 = makeLabel(4);
    LB_6 = makeLabel(5);

    Image9 = new TImage(this);
    Image9->setObjectName(QStringLiteral("Image9"));
    Image9->setAccessibleName(QStringLiteral("Ponto escondido"));
    Image9->setGeometry(712, 364, 9, 9);

    PopupMenu2 = new QMenu(this);
    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
    oAchou1 = PopupMenu2->addAction(QStringLiteral(":o) Achou!"));
    oAchou1->setObjectName(QStringLiteral("oAchou1"));

    IM_4 = makeImage(3);
    LB_4 = makeLabel(3);
    IM_3 = makeImage(2);
    LB_3 = makeLabel(2);

    Image1 = new TImage(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setAccessibleName(QStringLiteral("Vosmira - Cadastro de Clientes"));
    Image1->setPicture(QPixmap(QStringLiteral(":/art/logo.png")));
    Image1->setGeometry(293, 326, 452, 130);
    // The spot lies inside the central picture, which would take its clicks.
    Image9->raise();

    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(1);
    Timer3 = new QTimer(this);
    Timer3->setObjectName(QStringLiteral("Timer3"));
    Timer3->setInterval(1);

    for (int i = 0; i < 6; ++i) {
        m_floating.push_back({images[i], images[i]->geometry()});
        m_floating.push_back({labels[i], labels[i]->geometry()});
    }

    using Slot = void (TFrmHome::*)();
    static constexpr std::array<Slot, 6> clicks{&TFrmHome::IM_1Click, &TFrmHome::IM_2Click, &TFrmHome::IM_3Click,
                                                &TFrmHome::IM_4Click, &TFrmHome::IM_5Click, &TFrmHome::IM_6Click};
    static constexpr std::array<Slot, 6> enters{&TFrmHome::IM_1MouseEnter, &TFrmHome::IM_2MouseEnter,
                                                &TFrmHome::IM_3MouseEnter, &TFrmHome::IM_4MouseEnter,
                                                &TFrmHome::IM_5MouseEnter, &TFrmHome::IM_6MouseEnter};
    static constexpr std::array<Slot, 6> leaves{&TFrmHome::IM_1MouseLeave, &TFrmHome::IM_2MouseLeave,
                                                &TFrmHome::IM_3MouseLeave, &TFrmHome::IM_4MouseLeave,
                                                &TFrmHome::IM_5MouseLeave, &TFrmHome::IM_6MouseLeave};
    for (int i = 0; i < 6; ++i) {
        connectHandler(images[i], &TImage::clicked, this, clicks[i]);
        connectHandler(images[i], &TImage::mouseEntered, this, enters[i]);
        connectHandler(images[i], &TImage::mouseLeft, this, leaves[i]);
    }
    connectHandler(Image3, &TImage::clicked, this, &TFrmHome::Image3Click);
    connectHandler(Image9, &TImage::doubleClicked, this, &TFrmHome::Image9DblClick);
    connectHandler(Timer2, &QTimer::timeout, this, &TFrmHome::Timer2Timer);
    connectHandler(Timer3, &QTimer::timeout, this, &TFrmHome::Timer3Timer);
}

void TFrmHome::setFeatureWindow(int button, WindowFactory factory)
{
    Q_ASSERT(button >= 1 && button <= 6);
    m_features[button - 1] = std::move(factory);
}

void TFrmHome::setLoginPrompt(WindowFactory factory)
{
    m_loginPrompt = std::move(factory);
}

void TFrmHome::setDisplayGuard(Hook atCreate, Hook atClose)
{
    g_guardAtCreate = std::move(atCreate);
    g_guardAtClose = std::move(atClose);
}

QString TFrmHome::makerWebPage()
{
    return vosmira::makerWebPage();
}

QString TFrmHome::picturePath(const QString &fileName)
{
    return programFolder() + QStringLiteral("Button/") + fileName;
}

TImage *TFrmHome::button(int index) const
{
    const std::array<TImage *, 6> images{IM_1, IM_2, IM_3, IM_4, IM_5, IM_6};
    return images.at(index - 1);
}

QLabel *TFrmHome::caption(int index) const
{
    const std::array<QLabel *, 6> labels{LB_1, LB_2, LB_3, LB_4, LB_5, LB_6};
    return labels.at(index - 1);
}

void TFrmHome::FormCreate()
{
    if (g_guardAtCreate)
        g_guardAtCreate(*this);
}

void TFrmHome::FormShow()
{
    if (!DMbanco)
        return;
    const QString shownPath = DMbanco->shownLocation();
    try {
        DMbanco->connectSequence();
        m_connected = true;
    } catch (const std::exception &e) {
        m_connectFailed = true;
        const auto *refused = dynamic_cast<const DatabaseError *>(&e);
        msg::plain(connectFailureMessage(refused ? *refused : DatabaseError(QString::fromUtf8(e.what())), shownPath));
        // Closing from inside the show would hide a window still being shown.
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    }
}

void TFrmHome::FormActivate()
{
    // Once per run; a run that is ending (Timer2 armed by the display guard,
    // or already fired) asks nothing.
    if (m_passwordChecked || !m_connected || Timer2->isActive() || !isVisible())
        return;
    m_passwordChecked = true;

    PasswordStore store;
    if (store.name().isEmpty()) {
        // Nothing to ask: the user is in even if the store refuses the mark.
        m_admitted = true;
        store.setName(PasswordStore::noPassword());
    }
    if (store.name() != PasswordStore::noPassword() && m_loginPrompt) {
        const std::unique_ptr<QDialog> prompt(m_loginPrompt(this));
        execModal(*prompt);
    }
    // A refused prompt ends the run through Timer2; until it fires, nothing opens.
    m_admitted = !Timer2->isActive();
}

void TFrmHome::FormClose()
{
    if (g_guardAtClose)
        g_guardAtClose(*this);
}

void TFrmHome::openFeature(int button)
{
    const WindowFactory &factory = m_features[button - 1];
    // Not before the password check has let the user in.
    if (!factory || !m_admitted)
        return;
    // The About window shows the banner again when it closes.
    if (button == 6)
        Image3->hide();
    QDialog *window = factory(this);
    window->setWindowModality(Qt::ApplicationModal);
    // The window may have been torn down by its own close.
    QPointer<QDialog> guard(window);
    execModal(*window);
    delete guard.data();
}

void TFrmHome::hoverIn(int index)
{
    setTextColor(caption(index), colorFromBgr(kHoverColor));
    button(index)->loadPicture(picturePath(QString::fromUtf16(kButtons[index - 1].enterFile)));
}

void TFrmHome::hoverOut(int index)
{
    setTextColor(caption(index), colorFromBgr(kCaptionColor));
    button(index)->loadPicture(picturePath(QString::fromUtf16(kButtons[index - 1].leaveFile)));
}

void TFrmHome::IM_1Click()
{
    openFeature(1);
}
void TFrmHome::IM_2Click()
{
    openFeature(2);
}
void TFrmHome::IM_3Click()
{
    openFeature(3);
}
void TFrmHome::IM_4Click()
{
    openFeature(4);
}
void TFrmHome::IM_5Click()
{
    openFeature(5);
}
void TFrmHome::IM_6Click()
{
    openFeature(6);
}
void TFrmHome::IM_1MouseEnter()
{
    hoverIn(1);
}
void TFrmHome::IM_2MouseEnter()
{
    hoverIn(2);
}
void TFrmHome::IM_3MouseEnter()
{
    hoverIn(3);
}
void TFrmHome::IM_4MouseEnter()
{
    hoverIn(4);
}
void TFrmHome::IM_5MouseEnter()
{
    hoverIn(5);
}
void TFrmHome::IM_6MouseEnter()
{
    hoverIn(6);
}
void TFrmHome::IM_1MouseLeave()
{
    hoverOut(1);
}
void TFrmHome::IM_2MouseLeave()
{
    hoverOut(2);
}
void TFrmHome::IM_3MouseLeave()
{
    hoverOut(3);
}
void TFrmHome::IM_4MouseLeave()
{
    hoverOut(4);
}
void TFrmHome::IM_5MouseLeave()
{
    hoverOut(5);
}
void TFrmHome::IM_6MouseLeave()
{
    hoverOut(6);
}

void TFrmHome::Image3Click()
{
    QDesktopServices::openUrl(QUrl(makerWebPage()));
}

void TFrmHome::Image9DblClick()
{
    PopupMenu2->popup(QCursor::pos());
}

void TFrmHome::Timer2Timer()
{
    Timer2->stop();
    close();
}

void TFrmHome::Timer3Timer()
{
    for (int i = 1; i <= 6; ++i) {
        button(i)->move(button(i)->x(), 14);
        caption(i)->move(caption(i)->x(), 97);
    }
    Timer3->stop();
}

void TFrmHome::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_shown || event->spontaneous())
        return;
    m_shown = true;
    runHandler([this] { FormShow(); });
    // The check waits for the window to be shown, not activated: a window
    // manager may never activate it (focus-stealing prevention).
    if (m_connected)
        postHandler(this, &TFrmHome::FormActivate);
}

void TFrmHome::closeEvent(QCloseEvent *event)
{
    runHandler([this] { FormClose(); });
    event->accept();
    Q_EMIT closed();
}

void TFrmHome::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange)
        return;
    // The border is not resizable: once restored from maximized the window
    // keeps its size; maximized it takes the whole work area.
    if (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) {
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    } else if (!(windowState() & Qt::WindowMinimized)) {
        setFixedSize(kDesignClient);
    }
}

void TFrmHome::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    keepRelativePlaces();
}

void TFrmHome::keepRelativePlaces()
{
    // Controls without anchors keep the place of their centre relative to the
    // window; anchored ones keep their distance to the anchored edges.
    const QSize now = size();
    for (const Floating &f : m_floating) {
        const int centreX = f.design.x() + f.design.width() / 2;
        const int centreY = f.design.y() + f.design.height() / 2;
        const int x = centreX * now.width() / kDesignClient.width() - f.design.width() / 2;
        const int y = centreY * now.height() / kDesignClient.height() - f.design.height() / 2;
        f.widget->move(x, y);
    }
    const int dx = now.width() - kDesignClient.width();
    const int dy = now.height() - kDesignClient.height();
    Shape1->setGeometry(3, 2, 779 + dx, 116);
    Image1->setGeometry(293, 326, 452 + dx, 130 + dy);
}

} // namespace vosmira
