// The report window's controls, places and pictures.
#include "UFrm_PRINT_RELATORIO.h"

#include "ButtonPictures.h"
#include "ClientRecord.h"
#include "FormBuilder.h"
#include "TDBGrid.h"
#include "TDataSource.h"
#include "TImage.h"
#include "TShape.h"
#include "UDMbanco.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QSvgRenderer>
#include <QToolButton>

namespace vosmira {

namespace {

const QColor kCaptionColor(0, 62, 153);
const QColor kNoteColor(123, 126, 132);
const QColor kPersonColor(0, 100, 153);
const QColor kCompanyColor(255, 0, 0);

constexpr int kDestinationPicture = 64;

// A destination's picture in its own colours.
QPixmap destinationPicture(const QString &resource)
{
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    QImage image(QSize(kDestinationPicture, kDestinationPicture) * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    QSvgRenderer(resource).render(&painter, QRectF(0, 0, kDestinationPicture, kDestinationPicture));
    painter.end();
    return QPixmap::fromImage(image);
}

QGroupBox *page(QWidget *parent, const char *name)
{
    auto *box = new QGroupBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(2, 4, 795, 295);
    return box;
}

QFrame *verticalRule(QWidget *parent, int x)
{
    auto *rule = new QFrame(parent);
    rule->setFrameShape(QFrame::VLine);
    rule->setFrameShadow(QFrame::Sunken);
    rule->setGeometry(x, 14, 4, 268);
    return rule;
}

// A caption-less check box or radio button; it speaks with its label's text.
template <typename Button>
Button *unlabelled(QWidget *parent, const char *name, int x, int y, const QString &speaks)
{
    auto *button = new Button(parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(x, y, 18, 18);
    button->setAccessibleName(speaks);
    return button;
}

// A frame with its title standing on the top edge.
QLabel *titledFrame(FormBuilder &b, const char *shapeName, const char *labelName, const QString &title, int x, int y,
                    int width, int height)
{
    b.shape(shapeName, x, y, width, height);
    QLabel *label = b.label(labelName, title, x + 10, y - 7);
    setBackgroundColor(label, colorFromBgr(kWindowColor));
    return label;
}

QToolButton *moveButton(QWidget *parent, const char *name, const QString &caption, const QString &hint, int y)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setText(caption);
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    button->setFont(pixelFont(QStringLiteral("Verdana"), 11, true));
    // Buttons between the grids never take the focus from them.
    button->setFocusPolicy(Qt::NoFocus);
    button->setGeometry(344, y, 36, 26);
    return button;
}

} // namespace

void TFrmPRINT_REALTORIO::buildControls()
{
    FormBuilder b(this);
    b.window("FrmPRINT_REALTORIO", QStringLiteral(" :: RELATÓRIO"));
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(799, 304);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), screen->availableGeometry()).topLeft());

    DataSource1 = new TDataSource(DMbanco->CDSCliente, this);
    DataSource1->setObjectName(QStringLiteral("DataSource1"));
    DataSource2 = new TDataSource(DMbanco->CDS_PED_Cliente, this);
    DataSource2->setObjectName(QStringLiteral("DataSource2"));

    buildSelectionPage();
    buildOutputPage();
    GB_2->hide();
    GB_1->raise();
}

void TFrmPRINT_REALTORIO::buildSelectionPage()
{
    GB_1 = page(this, "GB_1");
    FormBuilder b(GB_1);

    Label4 = b.label("Label4", QStringLiteral("Exibir:"), 12, 14);
    RG_PF = new QRadioButton(ClientRecord::pessoaFisica(), GB_1);
    RG_PF->setObjectName(QStringLiteral("RG_PF"));
    RG_PF->setGeometry(66, 11, 116, 20);
    RG_PF->setFont(pixelFont(QStringLiteral("Verdana"), 11, true));
    setTextColor(RG_PF, kPersonColor);
    RG_PJ = new QRadioButton(ClientRecord::pessoaJuridica(), GB_1);
    RG_PJ->setObjectName(QStringLiteral("RG_PJ"));
    RG_PJ->setGeometry(190, 11, 130, 20);
    RG_PJ->setFont(pixelFont(QStringLiteral("Verdana"), 11, true));
    setTextColor(RG_PJ, kCompanyColor);
    // Checked before the handlers are connected: FormShow sets the filter itself.
    RG_PF->setChecked(true);

    const auto grid = [this](const char *name, TDataSource *source, int x) {
        auto *list = new TDBGrid(GB_1);
        list->setObjectName(QLatin1String(name));
        list->setGeometry(x, 38, 322, 218);
        list->setDataSource(source);
        list->setColumn(QStringLiteral("NOME"), 300);
        return list;
    };
    DBGrid1 = grid("DBGrid1", DataSource1, 12);
    DBGrid1->setAccessibleName(QStringLiteral("Clientes"));
    DBGrid2 = grid("DBGrid2", DataSource2, 390);
    DBGrid2->setAccessibleName(QStringLiteral("Selecionados"));
    // Tab goes from the kind to the clients, then to the selection.
    setTabOrder(RG_PJ, DBGrid1);
    setTabOrder(DBGrid1, DBGrid2);

    SpeedButton4 = moveButton(GB_1, "SpeedButton4", QStringLiteral(">"), QStringLiteral("Selecionar registro"), 86);
    SpeedButton6 = moveButton(GB_1, "SpeedButton6", QStringLiteral("<"), QStringLiteral("deselecionar registro"), 118);
    SpeedButton3 = moveButton(GB_1, "SpeedButton3", QStringLiteral(">>"), QStringLiteral("Selecionar todos"), 150);
    SpeedButton5 = moveButton(GB_1, "SpeedButton5", QStringLiteral("<<"), QStringLiteral("deselecionar todos"), 182);

    Label2 = b.label("Label2", QStringLiteral("Total de registros: 0"), 12, 264);
    Label3 = b.label("Label3", QStringLiteral("Registros selecionados: 0"), 390, 264);

    verticalRule(GB_1, 728);
    SpeedButton1 = b.pictureButton("SpeedButton1", 742, 38, 40, 40,
                                   tintedPicture(QStringLiteral(":/reports/24x24/actions/go-next.svg"), kCaptionColor),
                                   QString());
    SpeedButton1->setAccessibleName(QStringLiteral("Avançar"));
    SpeedButton2 = b.pictureButton("SpeedButton2", 742, 86, 40, 40, backPicture(kCaptionColor),
                                   QStringLiteral("Voltar"));
}

void TFrmPRINT_REALTORIO::buildOutputPage()
{
    GB_2 = page(this, "GB_2");
    FormBuilder b(GB_2);

    // The sections.
    Label11 = titledFrame(b, "Shape1", "Label11", QStringLiteral("Selecione os campos "), 12, 20, 340, 262);
    const auto section = [&](const char *boxName, QCheckBox *&box, const char *labelName, QLabel *&label,
                             const QString &text, int y) {
        box = unlabelled<QCheckBox>(GB_2, boxName, 26, y, text);
        label = b.label(labelName, text, 50, y + 2);
    };
    const auto note = [&](const char *name, const QString &text, int y) {
        return b.label(name, text, 50, y + 17, false, kNoteColor);
    };
    section("CheckBox1", CheckBox1, "Label12", Label12, QStringLiteral("Nome"), 36);
    CheckBox1->setEnabled(false);
    section("CB_Contato", CB_Contato, "Label9", Label9, QStringLiteral("Contato"), 70);
    Label17 = note("Label17", QStringLiteral("Telefone, Ramal, E-mail , Site..."), 70);
    CB_Contato->setToolTip(QStringLiteral("(Telefone,e-mail,site...)"));
    section("CB_Endereco", CB_Endereco, "Label10", Label10, QStringLiteral("Endereço"), 110);
    Label18 = note("Label18", QStringLiteral("Logradouro, nº, Bairro, Cidade..."), 110);
    CB_Endereco->setToolTip(QStringLiteral("(Logradouro, Nº, Bairro...)"));
    section("CB_Prof", CB_Prof, "Label13", Label13, QStringLiteral("Registro/Pessoal"), 150);
    Label16 = note("Label16", QStringLiteral("CNPJ/CPF, Inscrição/RG..."), 150);
    CB_Prof->setToolTip(QStringLiteral("(CPF/CNPJ, I.E/RG...)"));
    section("CB_OBS", CB_OBS, "Label14", Label14, QStringLiteral("Observações"), 190);
    CB_OBS->setToolTip(QStringLiteral("(Observações)"));
    auto *rule = new QFrame(GB_2);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    rule->setGeometry(22, 226, 320, 4);
    section("CheckBox2", CheckBox2, "Label19", Label19, QStringLiteral("Marcar todos"), 242);

    // The destinations, their pictures in the lower right of the frame.
    Label8 = titledFrame(b, "Shape2", "Label8", QStringLiteral("Destino"), 366, 20, 352, 262);
    const auto destination = [&](const char *buttonName, QRadioButton *&button, const char *labelName, QLabel *&label,
                                 const QString &text, int y) {
        button = unlabelled<QRadioButton>(GB_2, buttonName, 380, y, text);
        label = b.label(labelName, text, 404, y + 2);
    };
    destination("RB_1", RB_1, "Label1", Label1, QStringLiteral("Impressora"), 36);
    destination("RB_2", RB_2, "Label5", Label5, QStringLiteral("Gerar arquivo em extensão  .PDF"), 66);
    destination("RB_3", RB_3, "Label6", Label6, QStringLiteral("Gerar arquivo em extensão .HTML"), 96);
    destination("RB_4", RB_4, "Label7", Label7, QStringLiteral("Gerar arquivo em extensão .DOC"), 126);
    destination("RB_5", RB_5, "Label15", Label15, QStringLiteral("Gerar arquivo em extensão .TXT"), 156);
    const auto picture = [&](const char *name, const char *resource) {
        auto *image = new TImage(GB_2);
        image->setObjectName(QLatin1String(name));
        image->setGeometry(638, 198, kDestinationPicture, kDestinationPicture);
        image->setCenter(true);
        image->setPicture(destinationPicture(QStringLiteral(":/reports/") + QLatin1String(resource)));
        image->hide();
        return image;
    };
    Img_1 = picture("Img_1", "64x64/devices/printer.svg");
    Img_2 = picture("Img_2", "64x64/mimetypes/application-pdf.svg");
    Img_3 = picture("Img_3", "64x64/mimetypes/text-html.svg");
    Img_4 = picture("Img_4", "64x64/mimetypes/application-msword.svg");
    Img_5 = picture("Img_5", "64x64/mimetypes/text-plain.svg");

    verticalRule(GB_2, 728);
    SpeedButton7 = b.pictureButton(
        "SpeedButton7", 742, 38, 40, 40,
        tintedPicture(QStringLiteral(":/reports/24x24/actions/document-print.svg"), kCaptionColor), QString());
    SpeedButton7->setAccessibleName(QStringLiteral("Gerar relatório"));
    SpeedButton8 = b.pictureButton("SpeedButton8", 742, 86, 40, 40, backPicture(kCaptionColor),
                                   QStringLiteral("Voltar"));
}

} // namespace vosmira
