// The registration window's controls, places and colours.
#include "UFrmCADASTROclientes.h"

#include "ButtonPictures.h"
#include "FormBuilder.h"
#include "TDateEdit.h"
#include "TImage.h"

#include <QFrame>

namespace vosmira {

namespace {

const QColor kCaptionColor(0, 62, 153);

} // namespace

void TFrmCADASTROcliente::buildControls()
{
    FormBuilder b(this);
    b.window("FrmCADASTROcliente", QStringLiteral(" :: CONTATO - Cadastro"));
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(939, 398);
    move(41, 210);

    buildClientControls(this, b, 1);

    // The picture buttons beyond the vertical rule.
    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameShape(QFrame::VLine);
    Bevel1->setFrameShadow(QFrame::Sunken);
    Bevel1->setGeometry(882, 6, 4, 386);
    SpeedButton1 = b.pictureButton("SpeedButton1", 892, 26, 40, 40, savePicture(kCaptionColor),
                                   QStringLiteral("Salvar"));
    SpeedButton2 = b.pictureButton("SpeedButton2", 892, 74, 40, 40, backPicture(kCaptionColor),
                                   QStringLiteral("Voltar"));

    // The date edits are the registration's own birth and foundation fields.
    m_personControls.append(TimePeck_NACIMENTO);
    m_companyControls.append(TimePeck_FUNDACAO);
}

} // namespace vosmira
