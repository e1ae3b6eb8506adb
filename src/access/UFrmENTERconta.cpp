#include "UFrmENTERconta.h"

#include "AccessPictures.h"
#include "Dialogs.h"
#include "FormBuilder.h"
#include "Handler.h"
#include "PasswordEntry.h"
#include "PasswordStore.h"
#include "TImage.h"
#include "TShape.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QTimer>

namespace vosmira {

TFrmENTERconta *FrmENTERconta = nullptr;

namespace {

const QColor kFrameColor(165, 172, 180);
const QColor kButtonColor(0, 100, 153);

} // namespace

TFrmENTERconta::TFrmENTERconta(QTimer *timer2, QWidget *parent)
    : QDialog(parent)
    , m_timer2(timer2)
{
    FrmENTERconta = this;
    buildControls();
    connectHandler(Edit2, &QLineEdit::textChanged, this, &TFrmENTERconta::Edit2Change);
    connectHandler(SpeedButton1, &TImage::clicked, this, &TFrmENTERconta::SpeedButton1Click);
    Edit2->installEventFilter(this);
    runHandler([this] { FormCreate(); });
}

TFrmENTERconta::~TFrmENTERconta()
{
    if (FrmENTERconta == this)
        FrmENTERconta = nullptr;
}

void TFrmENTERconta::buildControls()
{
    FormBuilder b(this);
    b.window("FrmENTERconta", QStringLiteral(" :: VOSMIRA - Acesso"));
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(326, 118);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    Shape1 = b.shape("Shape1", 4, 4, 318, 110);
    Shape1->setPenColor(kFrameColor);
    Shape2 = b.shape("Shape2", 12, 18, 70, 70, Qt::white);
    Shape2->setPenColor(kFrameColor);
    Image2 = new TImage(this);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setGeometry(15, 21, 64, 64);
    Image2->setCenter(true);
    Image2->setPicture(lockPicture(56));

    Label1 = b.label("Label1", QStringLiteral("Insira a sua senha"), 94, 22);
    Edit2 = b.control<PasswordEntry>("Edit2", Label1, 94, 40, 168);
    SpeedButton1 = b.pictureButton("SpeedButton1", 272, 30, 40, 40, confirmPicture(kButtonColor), QString());
    // No hint on screen, but assistive technology needs a name for the button.
    SpeedButton1->setAccessibleName(QStringLiteral("Entrar"));
    CheckBox1 = new QCheckBox(QStringLiteral("Não me pedir mais a senha."), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setGeometry(94, 74, 200, 18);
    CheckBox1->setEnabled(false);

    // Edit2 comes first in the tab order, so it has the focus on opening.
    setTabOrder(Edit2, CheckBox1);
    Edit2->setFocus(Qt::OtherFocusReason);
}

void TFrmENTERconta::FormCreate()
{
    m_refused = 0;
}

void TFrmENTERconta::Edit2Change()
{
    // Once enabled it stays so; the tick counts only with the right password.
    if (PasswordStore().matches(Edit2->text()))
        CheckBox1->setEnabled(true);
}

bool TFrmENTERconta::Edit2KeyPress(const QKeyEvent *event)
{
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
        return false;
    SpeedButton1Click();
    return true;
}

void TFrmENTERconta::SpeedButton1Click()
{
    PasswordStore store;
    if (store.matches(Edit2->text())) {
        if (CheckBox1->isChecked())
            store.switchOff();
        close();
        return;
    }
    if (m_refused >= 3) {
        m_timer2->start();
        close();
        return;
    }
    msg::plain(QStringLiteral("Senha invalida. Por favor, tente novamente."));
    Edit2->clear();
    Edit2->setFocus(Qt::OtherFocusReason);
    ++m_refused;
}

void TFrmENTERconta::FormCloseQuery()
{
    PasswordStore store;
    if (store.name() == PasswordStore::noPassword())
        return;
    // Closed without the password: the run ends.
    if (!store.matches(Edit2->text()))
        m_timer2->start();
}

void TFrmENTERconta::done(int result)
{
    // Every way out passes here: the confirm button, the close box, Alt+F4.
    runHandler([this] { FormCloseQuery(); });
    QDialog::done(result);
}

void TFrmENTERconta::keyPressEvent(QKeyEvent *event)
{
    // Escape would close the prompt and end the run over a slip of the finger.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    // Enter confirms from the check box too, which a click on it has focused.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        runHandler([this] { SpeedButton1Click(); });
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TFrmENTERconta::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Edit2 && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<const QKeyEvent *>(event);
        if (runHandlerOr(true, [&] { return Edit2KeyPress(key); }))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace vosmira
