#include "UFrmCONTA.h"

#include "AccessPictures.h"
#include "ButtonPictures.h"
#include "ClickLabel.h"
#include "Dialogs.h"
#include "FormBuilder.h"
#include "Handler.h"
#include "PasswordEntry.h"
#include "PasswordStore.h"
#include "TImage.h"
#include "TShape.h"

#include <QFocusEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QScopedValueRollback>
#include <QScreen>

#include <algorithm>

namespace vosmira {

TFrmCONTA *FrmCONTA = nullptr;

namespace {

const QColor kButtonColor(0, 100, 153);
const QColor kDeleteColor(230, 78, 28);
const QColor kLinkColor(0, 62, 153);
const QColor kFrameColor(165, 172, 180);

// Only spaces and control characters: the trimmed text would be empty.
bool isBlank(const QString &text)
{
    return std::all_of(text.cbegin(), text.cend(),
                       [](QChar c) { return c.isSpace() || c.category() == QChar::Other_Control; });
}

} // namespace

TFrmCONTA::TFrmCONTA(QWidget *parent)
    : QDialog(parent)
{
    FrmCONTA = this;
    buildControls();

    connectHandler(Lb_NEW, &ClickLabel::clicked, this, &TFrmCONTA::Lb_NEWClick);
    connectHandler(Lb_EDIT, &ClickLabel::clicked, this, &TFrmCONTA::Lb_EDITClick);
    connectHandler(LB_DEL, &ClickLabel::clicked, this, &TFrmCONTA::LB_DELClick);
    connectHandler(SpeedButton5, &TImage::clicked, this, &TFrmCONTA::SpeedButton5Click);
    connectHandler(SpeedButton6, &TImage::clicked, this, &TFrmCONTA::SpeedButton6Click);
    connectHandler(SpeedButton3, &TImage::clicked, this, &TFrmCONTA::SpeedButton3Click);
    connectHandler(SpeedButton4, &TImage::clicked, this, &TFrmCONTA::SpeedButton4Click);
    connectHandler(SpeedButton1, &TImage::clicked, this, &TFrmCONTA::SpeedButton1Click);
    connectHandler(SpeedButton2, &TImage::clicked, this, &TFrmCONTA::SpeedButton2Click);
    Edit4->installEventFilter(this);
}

TFrmCONTA::~TFrmCONTA()
{
    if (FrmCONTA == this)
        FrmCONTA = nullptr;
}

QGroupBox *TFrmCONTA::page(const char *name)
{
    auto *box = new QGroupBox(this);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(4, 4, 362, 154);
    // Opaque, so a page covers the one beneath it.
    setBackgroundColor(box, colorFromBgr(kWindowColor));
    box->hide();
    return box;
}

void TFrmCONTA::buildControls()
{
    FormBuilder form(this);
    form.window("FrmCONTA", QStringLiteral(" :: CONTA - Configurações"));
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(371, 162);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    // Created bottom to top: each page paints over the ones before it.
    GBalterar = page("GBalterar");
    GBdeletar = page("GBdeletar");
    GBhome = page("GBhome");
    GbCriar = page("GbCriar");
    GBhome->show();

    auto picture = [](QWidget *box, const char *name) {
        auto *image = new TImage(box);
        image->setObjectName(QLatin1String(name));
        image->setGeometry(282, 14, 64, 64);
        image->setPicture(accountPicture(64));
        return image;
    };
    auto frame = [](FormBuilder &b, const char *name) { b.shape(name, 12, 32, 232, 110)->setPenColor(kFrameColor); };
    auto link = [](QWidget *box, const char *name, const QString &text, int y) {
        auto *label = new ClickLabel(text, box);
        label->setObjectName(QLatin1String(name));
        QFont font = pixelFont(QStringLiteral("Tahoma"), 12);
        font.setUnderline(true);
        label->setFont(font);
        setTextColor(label, kLinkColor);
        label->move(28, y);
        label->adjustSize();
        label->hide();
        return label;
    };

    FormBuilder home(GBhome);
    frame(home, "Shape1");
    Label12 = home.label("Label12", QStringLiteral("O que você deseja fazer?"), 16, 12);
    Lb_NEW = link(GBhome, "Lb_NEW", QStringLiteral("Criar uma senha de proteção"), 56);
    Lb_EDIT = link(GBhome, "Lb_EDIT", QStringLiteral("Alterar a minha senha"), 56);
    LB_DEL = link(GBhome, "LB_DEL", QStringLiteral("Excluir a minha conta"), 88);
    Image2 = picture(GBhome, "Image2");

    FormBuilder create(GbCriar);
    frame(create, "Shape2");
    Label1 = create.label("Label1", QStringLiteral("Criação de Senha"), 16, 12);
    Label15 = create.label("Label15", QStringLiteral("Digite a senha:"), 24, 42, false);
    Edi2 = create.control<PasswordEntry>("Edi2", Label15, 24, 58, 150);
    Label16 = create.label("Label16", QStringLiteral("Digite a senha novamente:"), 24, 90, false);
    Edi3 = create.control<PasswordEntry>("Edi3", Label16, 24, 106, 150);
    picture(GbCriar, "Image1");
    SpeedButton5 = create.pictureButton("SpeedButton5", 256, 102, 40, 40, createPicture(kButtonColor),
                                        QStringLiteral("Criar senha"));
    SpeedButton6 = create.pictureButton("SpeedButton6", 306, 102, 40, 40, backPicture(kButtonColor),
                                        QStringLiteral("Voltar"));

    FormBuilder change(GBalterar);
    frame(change, "Shape3");
    Label9 = change.label("Label9", QStringLiteral("Alteração de senha"), 16, 12);
    Label10 = change.label("Label10", QStringLiteral("Digite a sua senha atual:"), 24, 42, false);
    Edit3 = change.control<PasswordEntry>("Edit3", Label10, 24, 58, 150);
    Label11 = change.label("Label11", QStringLiteral("Digite a sua nova senha:"), 24, 90, false);
    Edit4 = change.control<PasswordEntry>("Edit4", Label11, 24, 106, 150);
    picture(GBalterar, "Image3");
    SpeedButton3 = change.pictureButton("SpeedButton3", 256, 102, 40, 40, savePicture(kButtonColor),
                                        QStringLiteral("Alterar conta"));
    SpeedButton4 = change.pictureButton("SpeedButton4", 306, 102, 40, 40, backPicture(kButtonColor),
                                        QStringLiteral("Voltar"));

    FormBuilder remove(GBdeletar);
    frame(remove, "Shape4");
    Label7 = remove.label("Label7", QStringLiteral("Exclusão de conta"), 16, 12);
    Label8 = remove.label("Label8", QStringLiteral("Digite a sua senha:"), 24, 42, false);
    Edit1 = remove.control<PasswordEntry>("Edit1", Label8, 24, 58, 150);
    picture(GBdeletar, "Image4");
    SpeedButton1 = remove.pictureButton("SpeedButton1", 256, 102, 40, 40, deletePicture(kDeleteColor),
                                        QStringLiteral("Excluir conta"));
    SpeedButton2 = remove.pictureButton("SpeedButton2", 306, 102, 40, 40, backPicture(kButtonColor),
                                        QStringLiteral("Voltar"));
}

void TFrmCONTA::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        runHandler([this] { FormShow(); });
    }
}

void TFrmCONTA::FormShow()
{
    // No store yet reads as an empty NOME, which the main window takes for
    // "no password" too.
    if (!PasswordStore().isProtected()) {
        Lb_NEW->show();
    } else {
        Lb_EDIT->show();
        LB_DEL->show();
    }
}

void TFrmCONTA::Lb_NEWClick()
{
    // Lies over the home page, which stays as it is underneath.
    GbCriar->show();
    Edi2->setFocus(Qt::OtherFocusReason);
}

void TFrmCONTA::Lb_EDITClick()
{
    GBhome->hide();
    GBalterar->show();
    Edit3->setFocus(Qt::OtherFocusReason);
}

void TFrmCONTA::LB_DELClick()
{
    GBhome->hide();
    GBdeletar->show();
    Edit1->setFocus(Qt::OtherFocusReason);
}

void TFrmCONTA::SpeedButton6Click()
{
    GbCriar->hide();
    GBhome->show();
    CleanEdits();
}

void TFrmCONTA::SpeedButton4Click()
{
    GBalterar->hide();
    GBhome->show();
    CleanEdits();
}

void TFrmCONTA::SpeedButton2Click()
{
    GBdeletar->hide();
    GBhome->show();
    CleanEdits();
}

void TFrmCONTA::CleanEdits()
{
    for (PasswordEntry *entry : {Edi2, Edi3, Edit3, Edit4, Edit1})
        entry->clear();
}

void TFrmCONTA::SpeedButton5Click()
{
    if (isBlank(Edi2->text())) {
        msg::information(QStringLiteral("Digite a senha!"));
        return;
    }
    if (Edi2->text() == Edi3->text()) {
        if (!msg::okCancel(QStringLiteral("Tem certeza de que você quer criar essa conta administradora?")))
            return;
        PasswordStore().create(Edi2->text());
        msg::information(QStringLiteral("Senha de proteção criada com sucesso!"));
        close();
        return;
    }
    if (Edi3->text().isEmpty()) {
        msg::information(QStringLiteral("Digite a senha novamente para confirmar!"));
        Edi3->setFocus(Qt::OtherFocusReason);
        return;
    }
    msg::information(QStringLiteral("As senhas digitadas não batem, tente novamente!"));
    Edi2->clear();
    Edi2->setFocus(Qt::OtherFocusReason);
    Edi3->clear();
}

void TFrmCONTA::reportMismatch()
{
    msg::plain(QStringLiteral("A senha digitada não bate com a senha atual, por favor, tente novamente!"));
    Edit3->clear();
    Edit3->setFocus(Qt::OtherFocusReason);
}

void TFrmCONTA::Edit4Enter()
{
    if (!PasswordStore().matches(Edit3->text()))
        reportMismatch();
}

void TFrmCONTA::SpeedButton3Click()
{
    if (Edit3->text().isEmpty()) {
        msg::plain(QStringLiteral("Por favor, digite a sua senha atual!"));
        Edit3->setFocus(Qt::OtherFocusReason);
        return;
    }
    PasswordStore store;
    // A wrong current password is told here too, not only on entering Edit4,
    // so the click is never silently lost.
    if (!store.matches(Edit3->text())) {
        reportMismatch();
        return;
    }
    if (Edit4->text().isEmpty()) {
        msg::plain(QStringLiteral("Por favor, digite a sua nova senha!"));
        Edit4->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (!msg::confirmation(QStringLiteral("Você está certo de que deseja alterar essa senha?"))) {
        Edit3->clear();
        Edit4->clear();
        Edit3->setFocus(Qt::OtherFocusReason);
        return;
    }
    // Written before the success is told: a refused write reaches the error box instead.
    store.setPassword(Edit4->text());
    msg::plain(QStringLiteral("Senha alterada com sucesso!"));
    close();
}

void TFrmCONTA::SpeedButton1Click()
{
    PasswordStore store;
    if (!store.matches(Edit1->text())) {
        msg::plain(QStringLiteral("Senha invalida. Por favor, tente novamente."));
        Edit1->clear();
        Edit1->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (!msg::confirmation(QStringLiteral("Você está certo de que deseja excluir essa conta?"))) {
        Edit1->clear();
        Edit1->setFocus(Qt::OtherFocusReason);
        return;
    }
    // Written before the success is told, as for the change.
    store.remove();
    msg::plain(QStringLiteral("Conta excluída com sucesso!"));
    close();
}

bool TFrmCONTA::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Edit4 && event->type() == QEvent::FocusIn && !m_enteringEdit4) {
        // The window getting the focus back (after a box, say) is no entry.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            const QScopedValueRollback<bool> entering(m_enteringEdit4, true);
            runHandler([this] { Edit4Enter(); });
            // Sent back to Edit3: Edit4 must not start a cursor of its own.
            if (!Edit4->hasFocus())
                return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace vosmira
