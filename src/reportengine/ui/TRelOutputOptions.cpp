#include "TRelOutputOptions.h"

#include "Dialogs.h"
#include "Handler.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace rel {

QString formatDisplayName(TFileFormat format)
{
    return makeRenderer(format)->DisplayName();
}

QString formatFilter(TFileFormat format)
{
    const std::unique_ptr<TRelRender> renderer = makeRenderer(format);
    return renderer->DisplayName() + QLatin1Char('|') + renderer->FileExtension();
}

TRelOutputOptions::TRelOutputOptions(const QString &title, const TOutputOptions &options, QWidget *parent)
    : QDialog(parent)
    , m_printer(new QRadioButton(QStringLiteral("&Impressora"), this))
    , m_preview(new QRadioButton(QStringLiteral("&Visualizar na tela"), this))
    , m_file(new QRadioButton(QStringLiteral("&Arquivo"), this))
    , m_format(new QComboBox(this))
    , m_fileName(new QLineEdit(this))
    , m_copies(new QSpinBox(this))
    , m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    setObjectName(QStringLiteral("RelOutputOptions"));
    setWindowTitle(title);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    m_printer->setObjectName(QStringLiteral("rbPrinter"));
    m_preview->setObjectName(QStringLiteral("rbPreview"));
    m_file->setObjectName(QStringLiteral("rbFile"));
    m_format->setObjectName(QStringLiteral("cbFormat"));
    m_fileName->setObjectName(QStringLiteral("edFileName"));
    m_copies->setObjectName(QStringLiteral("spCopies"));
    m_buttons->setObjectName(QStringLiteral("buttons"));
    for (TFileFormat f : AllFileFormats)
        m_format->addItem(formatDisplayName(f));
    m_copies->setRange(1, 999);

    auto *destination = new QGroupBox(QStringLiteral("Destino do relatório"), this);
    auto *browse = new QPushButton(QStringLiteral("&Procurar..."), this);
    browse->setObjectName(QStringLiteral("btnBrowse"));
    auto *fileRow = new QHBoxLayout;
    fileRow->addWidget(m_fileName, 1);
    fileRow->addWidget(browse);
    auto *fileForm = new QFormLayout;
    fileForm->addRow(QStringLiteral("Formato:"), m_format);
    fileForm->addRow(QStringLiteral("Nome do arquivo:"), fileRow);
    fileForm->setContentsMargins(24, 0, 0, 0);
    auto *destLayout = new QVBoxLayout(destination);
    destLayout->addWidget(m_printer);
    destLayout->addWidget(m_preview);
    destLayout->addWidget(m_file);
    destLayout->addLayout(fileForm);

    auto *printerBox = new QGroupBox(QStringLiteral("Impressora"), this);
    auto *printerForm = new QFormLayout(printerBox);
    printerForm->addRow(QStringLiteral("Cópias:"), m_copies);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(destination);
    layout->addWidget(printerBox);
    layout->addWidget(m_buttons);
    setMinimumWidth(420);

    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    vosmira::connectHandler(browse, &QPushButton::clicked, this, &TRelOutputOptions::browse);
    for (QRadioButton *b : {m_printer, m_preview, m_file})
        connect(b, &QRadioButton::toggled, this, &TRelOutputOptions::refresh);
    connect(m_fileName, &QLineEdit::textChanged, this, &TRelOutputOptions::refresh);
    setOptions(options);
}

TOutputOptions TRelOutputOptions::options() const
{
    TOutputOptions o;
    o.destination = m_printer->isChecked() ? TReportDest::Printer
                    : m_file->isChecked()  ? TReportDest::File
                                           : TReportDest::Preview;
    o.format = TFileFormat(m_format->currentIndex());
    o.fileName = m_fileName->text().trimmed();
    o.copies = m_copies->value();
    return o;
}

void TRelOutputOptions::setOptions(const TOutputOptions &options)
{
    m_printer->setChecked(options.destination == TReportDest::Printer);
    m_preview->setChecked(options.destination == TReportDest::Preview);
    m_file->setChecked(options.destination == TReportDest::File);
    m_format->setCurrentIndex(int(options.format));
    m_fileName->setText(options.fileName);
    m_copies->setValue(options.copies);
    refresh();
}

void TRelOutputOptions::browse()
{
    vosmira::FileRequest request;
    request.mode = vosmira::FileRequest::Mode::Save;
    request.caption = windowTitle();
    request.fileName = m_fileName->text();
    request.filter = formatFilter(TFileFormat(m_format->currentIndex()));
    const QString name = vosmira::DialogService::current().fileName(this, request);
    if (!name.isEmpty()) {
        m_fileName->setText(name);
        m_file->setChecked(true);
    }
}

void TRelOutputOptions::refresh()
{
    const bool file = m_file->isChecked();
    m_format->setEnabled(file);
    m_fileName->setEnabled(file);
    m_copies->setEnabled(m_printer->isChecked());
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(!file || !m_fileName->text().trimmed().isEmpty());
}

} // namespace rel
