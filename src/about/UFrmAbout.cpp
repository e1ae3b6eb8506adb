#include "UFrmAbout.h"

#include "FormBuilder.h"
#include "Handler.h"
#include "Maker.h"
#include "TImage.h"
#include "TShape.h"

#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QUrl>

#include <algorithm>

namespace vosmira {

TFrmAbout *FrmAbout = nullptr;

namespace {

constexpr int kClientWidth = 723;
constexpr quint32 kFrameColor = 10195334;
constexpr quint32 kContractBackground = 15987186;
constexpr quint32 kContractText = 4210752;
constexpr quint32 kContactColor = 7419904;
constexpr quint32 kCaptionColor = 5329233;
constexpr quint32 kContractLinkColor = 11031552;
constexpr quint32 kCloseLinkColor = 4342272;
constexpr quint32 kWebHoverColor = 21760;

QLabel *makeLabel(QWidget *parent, const char *name, const QString &text, const QFont &font, int x, int y,
                  const QColor &color = QColor())
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setFont(font);
    if (color.isValid())
        setTextColor(label, color);
    label->move(x, y);
    label->adjustSize();
    return label;
}

// A centred label keeps the middle of the window; its designed left edge is
// where a text of the designed width starts.
void centre(QLabel *label, int designedLeft)
{
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    const int width = std::max(kClientWidth - 2 * designedLeft, label->sizeHint().width());
    label->setGeometry((kClientWidth - width) / 2, label->y(), width, label->sizeHint().height());
}

QFont underlined(QFont font)
{
    font.setUnderline(true);
    return font;
}

} // namespace

TFrmAbout::TFrmAbout(QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    FrmAbout = this;
    buildControls();
    connectHandler(this, &QDialog::finished, this, &TFrmAbout::FormClose);
}

TFrmAbout::~TFrmAbout()
{
    if (FrmAbout == this)
        FrmAbout = nullptr;
}

QStringList TFrmAbout::contract()
{
    return {
        QStringLiteral("L I C E N C I A M E N T O"),
        QString(),
        QStringLiteral("Mesmo sendo distribuído gratuitamente, este programa é protegido por um"),
        QStringLiteral("contrato de licença de uso, como todo software. Ao instalar, usar, copiar ou"),
        QStringLiteral("distribuir este programa, ou qualquer parte dele, você declara que leu,"),
        QStringLiteral("entendeu e aceita todas as condições do contrato abaixo."),
        QString(),
        QStringLiteral("C O N T R A T O   D E   U S O"),
        QString(),
        QStringLiteral("1.\tRedistribuição. É proibido redistribuir este programa, no todo ou em"),
        QStringLiteral("parte, por qualquer meio, assim como incluí-lo em produtos ou serviços"),
        QStringLiteral("comerciais, sem a autorização prévia e por escrito do autor."),
        QString(),
        QStringLiteral("2.\tEngenharia reversa. É proibido descompilar, desmontar ou de qualquer"),
        QStringLiteral("outra forma fazer engenharia reversa deste programa ou de seus arquivos."),
        QString(),
        QStringLiteral("3.\tResponsabilidade. O programa é fornecido no estado em que se"),
        QStringLiteral("encontra, sem garantias de qualquer tipo. Os autores não respondem por"),
        QStringLiteral("danos, perda de dados ou lucros cessantes decorrentes do uso ou da"),
        QStringLiteral("impossibilidade de uso deste programa. Faça cópias de segurança dos seus"),
        QStringLiteral("dados com regularidade."),
        QString(),
        QStringLiteral("4.\tModificação. Não é permitido alterar o programa: nenhum arquivo pode"),
        QStringLiteral("ser incluído na sua pasta ou dela removido. Cópias do programa só são"),
        QStringLiteral("permitidas como cópia de segurança (backup), para uso próprio."),
        QString(),
        QStringLiteral("Se você não concorda com qualquer um dos termos deste contrato, não use"),
        QStringLiteral("este programa: feche-o agora e remova-o do seu computador. O uso do"),
        QStringLiteral("programa depois da leitura deste contrato vale como aceitação de todas"),
        QStringLiteral("as suas condições. Dúvidas sobre ele podem ser enviadas ao endereço de"),
        QStringLiteral("contato indicado nesta janela."),
    };
}

void TFrmAbout::buildControls()
{
    FormBuilder b(this);
    b.window("FrmAbout", QStringLiteral(" :: SOBRE"));
    setFixedSize(kClientWidth, 565);
    move(145, 141);

    const QFont comic19 = pixelFont(QStringLiteral("Comic Sans MS"), 19);
    const QFont verdana19 = pixelFont(QStringLiteral("Verdana"), 19);

    // Created in paint order, bottom first; the two edit boxes lie above all.
    Shape3 = b.shape("Shape3", 4, 7, 718, 562, colorFromBgr(kWindowColor));
    Shape3->setPenColor(colorFromBgr(kFrameColor));
    Shape3->setPenWidth(2);

    Image2 = new TImage(this);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setAutoSize(true);
    Image2->setPicture(QPixmap(QStringLiteral(":/art/about_background.png")));
    Image2->move(1, 0);

    Label3 = makeLabel(this, "Label3", makerEmail(), comic19, 212, 327, colorFromBgr(kContactColor));
    centre(Label3, 212);
    Label10 = makeLabel(this, "Label10", makerWebAddress(), comic19, 242, 426, colorFromBgr(kContactColor));
    centre(Label10, 242);
    Label10->setCursor(Qt::PointingHandCursor);
    Label10->setToolTip(makerWebPage());

    Label2 = makeLabel(this, "Label2", QStringLiteral("Contrato de Uso"),
                       underlined(pixelFont(QStringLiteral("Verdana"), 15)), 110, 538,
                       colorFromBgr(kContractLinkColor));
    Label2->setCursor(Qt::PointingHandCursor);
    Label9 = makeLabel(this, "Label9", QStringLiteral("Fechar"),
                       underlined(pixelFont(QStringLiteral("Verdana"), 16, true)), 572, 531,
                       colorFromBgr(kCloseLinkColor));
    Label9->setCursor(Qt::PointingHandCursor);
    Label9->hide();

    Label1 = makeLabel(this, "Label1", QStringLiteral("Desenvolvido por:"), verdana19, 282, 167,
                       colorFromBgr(kCaptionColor));
    Label4 = makeLabel(this, "Label4", QStringLiteral("Equipe de Desenvolvimento Vosmira"), comic19, 296, 196,
                       colorFromBgr(kContactColor));
    Label7 = makeLabel(this, "Label7", QStringLiteral("Vosmira Sistemas para Escritórios"), comic19, 282, 226,
                       colorFromBgr(kContactColor));
    Label5 = makeLabel(this, "Label5", QStringLiteral("Duvidas, reclamações e sugestões:"), verdana19, 205, 296,
                       colorFromBgr(kCaptionColor));
    Label8 = makeLabel(this, "Label8", QStringLiteral("Para conhecer mais programas, visite:"), verdana19, 192, 397,
                       colorFromBgr(kCaptionColor));
    Label11 = makeLabel(this, "Label11", QStringLiteral("© 2026 Vosmira. Todos os direitos reservados."),
                        pixelFont(QStringLiteral("Verdana"), 15), 240, 538);

    Image1 = new TImage(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setAccessibleName(QStringLiteral("Vosmira"));
    Image1->setPicture(QPixmap(QStringLiteral(":/art/about_logo.png")));
    Image1->setGeometry(172, 5, 372, 110);

    // First and second in the keyboard order; the memo starts hidden and the
    // edit box lies below the bottom edge, where it is never seen.
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setAccessibleName(QStringLiteral("Contrato de Uso"));
    Memo1->setGeometry(87, 126, 553, 399);
    Memo1->setFont(pixelFont(QStringLiteral("Verdana"), 11));
    setBackgroundColor(Memo1->viewport(), colorFromBgr(kContractBackground));
    QPalette memoPalette = Memo1->palette();
    memoPalette.setColor(QPalette::Base, colorFromBgr(kContractBackground));
    memoPalette.setColor(QPalette::Text, colorFromBgr(kContractText));
    Memo1->setPalette(memoPalette);
    Memo1->setTabChangesFocus(true);
    Memo1->setTabStopDistance(Memo1->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 4);
    Memo1->setPlainText(contract().join(QLatin1Char('\n')));
    Memo1->hide();

    Edit1 = new QLineEdit(QStringLiteral("Edit1"), this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(24, 574, 65, 21);

    for (QLabel *link : {Label2, Label9, Label10})
        link->installEventFilter(this);
    Memo1->viewport()->installEventFilter(this);
}

bool TFrmAbout::eventFilter(QObject *watched, QEvent *event)
{
    using Handler = void (TFrmAbout::*)();
    Handler handler = nullptr;
    switch (event->type()) {
    case QEvent::MouseButtonRelease: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const auto *widget = static_cast<QWidget *>(watched);
        if (mouse->button() != Qt::LeftButton || !widget->rect().contains(mouse->position().toPoint()))
            break;
        if (watched == Label2)
            handler = &TFrmAbout::Label2Click;
        else if (watched == Label9)
            handler = &TFrmAbout::Label9Click;
        else if (watched == Label10)
            handler = &TFrmAbout::Label10Click;
        else if (watched == Memo1->viewport())
            handler = &TFrmAbout::Memo1Click;
        break;
    }
    case QEvent::Enter:
        if (watched == Label2)
            handler = &TFrmAbout::Label2MouseEnter;
        else if (watched == Label10)
            handler = &TFrmAbout::Label10MouseEnter;
        break;
    case QEvent::Leave:
        if (watched == Label2)
            handler = &TFrmAbout::Label2MouseLeave;
        else if (watched == Label10)
            handler = &TFrmAbout::Label10MouseLeave;
        break;
    default: break;
    }
    if (handler)
        runHandler([this, handler] { (this->*handler)(); });
    return QDialog::eventFilter(watched, event);
}

void TFrmAbout::Label2Click()
{
    Memo1->setVisible(true);
    Label9->setVisible(true);
    Label2->setVisible(false);
    Label11->setVisible(false);
}

void TFrmAbout::Label9Click()
{
    Memo1->setVisible(false);
    Label9->setVisible(false);
    Label2->setVisible(true);
    Label11->setVisible(true);
}

void TFrmAbout::Label2MouseEnter()
{
    setTextColor(Label2, colorFromBgr(kContractLinkColor));
}

void TFrmAbout::Label2MouseLeave()
{
    setTextColor(Label2, palette().color(QPalette::WindowText));
}

void TFrmAbout::Label10Click()
{
    QDesktopServices::openUrl(QUrl(makerWebPage()));
}

void TFrmAbout::Label10MouseEnter()
{
    setTextColor(Label10, colorFromBgr(kWebHoverColor));
}

void TFrmAbout::Label10MouseLeave()
{
    setTextColor(Label10, colorFromBgr(kContactColor));
}

void TFrmAbout::Memo1Click()
{
    Edit1->setFocus(Qt::MouseFocusReason);
}

void TFrmAbout::FormClose()
{
    Q_EMIT closed();
}

} // namespace vosmira
