#include "UFrmResolucao.h"

#include "Dialogs.h"
#include "DisplaySettings.h"
#include "FormBuilder.h"
#include "Handler.h"
#include "TShape.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace vosmira {

TFrmResolucao *FrmResolucao = nullptr;

namespace {

constexpr quint32 kCountdownColor = 3552822;

QLabel *makeLabel(QWidget *parent, const char *name, const QString &text, const QFont &font)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setFont(font);
    return label;
}

} // namespace

TFrmResolucao::TFrmResolucao(DisplayGuard &guard, const GuardedWindow &home, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , m_guard(guard)
    , m_home(home)
{
    FrmResolucao = this;
    buildControls();
    connectHandler(Button1, &QPushButton::clicked, this, &TFrmResolucao::Button1Click);
    connectHandler(Button2, &QPushButton::clicked, this, &TFrmResolucao::Button2Click);
    connectHandler(Timer1, &QTimer::timeout, this, &TFrmResolucao::Timer1Timer);
    // The switch reaches the toolkit's idea of the screen only later.
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        connect(screen, &QScreen::geometryChanged, this, [this] {
            if (isVisible())
                centreOnScreen();
        });
    }
    runHandler([this] { FormCreate(); });
}

TFrmResolucao::~TFrmResolucao()
{
    if (FrmResolucao == this)
        FrmResolucao = nullptr;
}

void TFrmResolucao::buildControls()
{
    setObjectName(QStringLiteral("FrmResolucao"));
    setWindowTitle(QStringLiteral(" Vosmira"));
    setAccessibleName(QStringLiteral(" Vosmira"));
    setFont(pixelFont(QStringLiteral("Tahoma"), 11));
    setFixedSize(433, 112);

    // Declaration order is the keyboard order: the button, the unseen "NÃO",
    // then the check box.
    Button1 = new QPushButton(QStringLiteral("Testar video"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(170, 60, 93, 25);
    Button1->setCursor(Qt::PointingHandCursor);
    // Enter anywhere but on a focused "NÃO" means "Testar video"; the toolkit
    // would otherwise hand it to whichever button last had the focus.
    Button1->setDefault(true);

    // Below the bottom edge: only the keyboard reaches it.
    Button2 = new QPushButton(QStringLiteral("NÃO"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(311, 133, 32, 13);

    const QFont verdana15 = pixelFont(QStringLiteral("Verdana"), 15);
    Label1 = makeLabel(this, "Label1", QStringLiteral("Configuração concluída com sucesso. "), verdana15);
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label1->setGeometry(2, 9, 429, Label1->sizeHint().height());

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1800);

    Label2 = makeLabel(this, "Label2", QStringLiteral("10"), pixelFont(QStringLiteral("Comic Sans MS"), 16));
    setTextColor(Label2, colorFromBgr(kCountdownColor));
    Label2->move(408, 65);
    // Room for the widest count, so "10" never loses a digit.
    Label2->resize(Label2->fontMetrics().horizontalAdvance(QStringLiteral("10")) + 2, Label2->sizeHint().height());

    Label3 = makeLabel(this, "Label3", QStringLiteral("Clique em “Testar video” para prosseguir."), verdana15);
    Label3->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label3->setGeometry(2, 33, 429, Label3->sizeHint().height());

    CheckBox1 = new QCheckBox(
        QStringLiteral("Realizar configuração automaticamente e entrar no programa direto da proxima vez."), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setGeometry(7, 91, 423, 17);
    // The caption was laid out for a narrower face: a smaller size keeps it whole.
    for (QFont font = CheckBox1->font(); CheckBox1->sizeHint().width() > CheckBox1->width() && font.pixelSize() > 8;) {
        font.setPixelSize(font.pixelSize() - 1);
        CheckBox1->setFont(font);
    }

    Label4 = makeLabel(this, "Label4", QStringLiteral("Saindo em:"), pixelFont(QStringLiteral("Comic Sans MS"), 12));
    setTextColor(Label4, colorFromBgr(kCountdownColor));
    Label4->move(343, 70);
    Label4->adjustSize();

    Button1->setFocus();
}

void TFrmResolucao::FormCreate()
{
    m_testing = m_guard.displayModeChange(DisplayGuard::kRequired.width(), DisplayGuard::kRequired.height());
    if (m_testing)
        Timer1->start();
}

void TFrmResolucao::Timer1Timer()
{
    const int n = Label2->text().toInt();
    if (n != 0) {
        Label2->setText(QString::number(n - 1));
        return;
    }
    Timer1->stop();
    Button2Click();
}

void TFrmResolucao::Button1Click()
{
    DisplaySettings settings;
    if (CheckBox1->isChecked())
        settings.rememberConsent();
    m_home.Timer3->start();
    done(QDialog::Accepted);
}

void TFrmResolucao::Button2Click()
{
    Timer1->stop();
    m_guard.displayModeChange(*m_home.SavedWidth, *m_home.SavedHeight);
    hide();
    msg::plain(QStringLiteral("Seu adaptador de videio não suporta a resolução exigida para que o programa funcione "
                              "perfeitamente.\r\rO programa será encerrado."));
    m_home.Timer2->start();
    done(QDialog::Rejected);
}

void TFrmResolucao::reject()
{
    // No close box and no Cancel: only the two buttons and the countdown end it.
}

void TFrmResolucao::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    centreOnScreen();
}

void TFrmResolucao::centreOnScreen()
{
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = frameGeometry();
    frame.moveCenter(screen->geometry().center());
    move(frame.topLeft());
}

} // namespace vosmira
