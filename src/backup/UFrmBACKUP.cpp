#include "UFrmBACKUP.h"

#include "ButtonPictures.h"
#include "Clock.h"
#include "DatabaseBackup.h"
#include "FormBuilder.h"
#include "Handler.h"
#include "TImage.h"
#include "UDMbanco.h"

#include <QDir>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QScreen>
#include <QStyle>

namespace vosmira {

TFrmBACKUP *FrmBACKUP = nullptr;

namespace {

const QColor kCaptionColor(0, 62, 153);

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

TFrmBACKUP::TFrmBACKUP(QWidget *parent)
    : QDialog(parent)
{
    FrmBACKUP = this;
    buildControls();

    connectHandler(SpeedButton1, &TImage::clicked, this, &TFrmBACKUP::SpeedButton1Click);
    connectHandler(SpeedButton2, &TImage::clicked, this, &TFrmBACKUP::SpeedButton2Click);
    Label1->installEventFilter(this);
    Label2->installEventFilter(this);
}

TFrmBACKUP::~TFrmBACKUP()
{
    if (FrmBACKUP == this)
        FrmBACKUP = nullptr;
}

void TFrmBACKUP::buildControls()
{
    FormBuilder b(this);
    b.window("FrmBACKUP", QStringLiteral(" :: BACKUP"));
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(336, 135);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), screen->availableGeometry()).topLeft());

    Image1 = new TImage(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(14, 18, 72, 72);
    Image1->setCenter(true);
    Image1->setPicture(QPixmap(QStringLiteral(":/art/backup.png")));

    auto option = [this](const char *name, int y, const QString &caption) {
        auto *button = new QRadioButton(this);
        button->setObjectName(QLatin1String(name));
        button->setGeometry(104, y, 18, 18);
        // Without a caption of its own, the button speaks with its label's.
        button->setAccessibleName(caption);
        return button;
    };
    RadioButton1 = option("RadioButton1", 30, QStringLiteral("Salvar backup."));
    Label1 = b.label("Label1", QStringLiteral("Salvar backup."), 126, 32);
    RadioButton2 = option("RadioButton2", 60, QStringLiteral("Carregar backup."));
    Label2 = b.label("Label2", QStringLiteral("Carregar backup."), 126, 62);
    for (QLabel *label : {Label1, Label2})
        label->setCursor(Qt::PointingHandCursor);

    SpeedButton1 = b.pictureButton("SpeedButton1", 236, 87, 40, 40, savePicture(kCaptionColor), QString());
    SpeedButton1->setAccessibleName(QStringLiteral("Executar"));
    SpeedButton2 = b.pictureButton("SpeedButton2", 284, 87, 40, 40, backPicture(kCaptionColor),
                                   QStringLiteral("Voltar"));

    SaveDialog1.mode = FileRequest::Mode::Save;
    SaveDialog1.directory = QDir::homePath();
    SaveDialog1.filter = QStringLiteral("Banco Vosmira|*.mdb");
    SaveDialog1.defaultSuffix = QStringLiteral(".mdb");
    // Saving twice on one day replaces the first backup without a question.
    SaveDialog1.confirmOverwrite = false;
    OpenDialog1.mode = FileRequest::Mode::Open;
    OpenDialog1.directory = QDir::homePath();
    OpenDialog1.filter = SaveDialog1.filter;
    OpenDialog1.defaultSuffix = SaveDialog1.defaultSuffix;
    // A typed name of a missing file is taken, and refused by the check.
    OpenDialog1.mustExist = false;
}

QString TFrmBACKUP::proposedName(const QDate &day)
{
    return QStringLiteral("Bck_Vosmira_") + day.toString(QStringLiteral("dd-MM-yy")) + QStringLiteral(".mdb");
}

void TFrmBACKUP::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        runHandler([this] { FormShow(); });
}

void TFrmBACKUP::FormShow()
{
    RadioButton1->setChecked(true);
}

void TFrmBACKUP::Label1Click()
{
    RadioButton1->setChecked(true);
}

void TFrmBACKUP::Label2Click()
{
    RadioButton2->setChecked(true);
}

void TFrmBACKUP::SpeedButton1Click()
{
    // An accessibility press is not held back by an open box or dialog.
    if (m_running || !DMbanco)
        return;
    const QScopedValueRollback<bool> running(m_running, true);
    if (RadioButton1->isChecked())
        saveBackup();
    else if (RadioButton2->isChecked())
        loadBackup();
}

void TFrmBACKUP::saveBackup()
{
    SaveDialog1.fileName = proposedName(Clock::today());
    const QString backup = DialogService::current().fileName(this, SaveDialog1);
    if (backup.isEmpty())
        return;
    const DatabaseBackup::Result result = DatabaseBackup::save(*DMbanco, backup);
    switch (result.status) {
    case DatabaseBackup::Result::Done:
        msg::plain(QStringLiteral("Backup salvo com sucesso."));
        close();
        break;
    case DatabaseBackup::Result::SameFile:
        msg::plain(QStringLiteral("O arquivo selecionado é o próprio banco de dados do Vosmira; nada foi copiado."));
        break;
    case DatabaseBackup::Result::NotADatabase:
    case DatabaseBackup::Result::Failed:
        msg::plain(QStringLiteral("O backup não pôde ser salvo em %1.\n\n%2").arg(shown(backup), result.reason));
        break;
    }
}

void TFrmBACKUP::loadBackup()
{
    if (!msg::question(QStringLiteral("Confirmação"),
                       QStringLiteral("Este procedimento ira substituir todos os seus dados atuais pelo backup "
                                      "selecionado.\rConfirma?")))
        return;
    const QString backup = DialogService::current().fileName(this, OpenDialog1);
    if (backup.isEmpty())
        return;
    const DatabaseBackup::Result result = DatabaseBackup::restore(*DMbanco, backup);
    switch (result.status) {
    case DatabaseBackup::Result::Done:
        msg::plain(QStringLiteral("Backup carregado com sucesso."));
        close();
        break;
    case DatabaseBackup::Result::SameFile:
        msg::plain(QStringLiteral("O arquivo selecionado é o próprio banco de dados do Vosmira; nada foi copiado."));
        break;
    case DatabaseBackup::Result::NotADatabase:
        msg::plain(QStringLiteral("O arquivo selecionado não é um backup válido do Vosmira.\n\n%1\n%2")
                       .arg(shown(backup), result.reason));
        break;
    case DatabaseBackup::Result::Failed:
        msg::plain(QStringLiteral("O backup %1 não pôde ser carregado.\n\n%2").arg(shown(backup), result.reason));
        break;
    }
}

void TFrmBACKUP::SpeedButton2Click()
{
    close();
}

void TFrmBACKUP::keyPressEvent(QKeyEvent *event)
{
    // The picture buttons never take the focus; Enter performs the chosen action.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        runHandler([this] { SpeedButton1Click(); });
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TFrmBACKUP::eventFilter(QObject *watched, QEvent *event)
{
    const bool press = event->type() == QEvent::MouseButtonPress;
    if ((watched != Label1 && watched != Label2) || (!press && event->type() != QEvent::MouseButtonRelease))
        return QDialog::eventFilter(watched, event);
    const auto *mouse = static_cast<QMouseEvent *>(event);
    if (mouse->button() != Qt::LeftButton)
        return false;
    // Taking the press makes the release come to the label, as a click does.
    if (press)
        return true;
    if (static_cast<QWidget *>(watched)->rect().contains(mouse->position().toPoint())) {
        if (watched == Label1)
            runHandler([this] { Label1Click(); });
        else
            runHandler([this] { Label2Click(); });
    }
    return true;
}

} // namespace vosmira
