#include "TRelPreviewForm.h"

#include "Dialogs.h"
#include "Handler.h"
#include "ReportError.h"
#include "ReportPrinting.h"
#include "TRelPageView.h"
#include "TRelRender.h"
#include "TRelStatusWindow.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace rel {

namespace {

const QList<int> kZooms = {25, 50, 75, 100, 125, 150, 200, 300, 400};

QIcon themed(const char *name, QStyle::StandardPixmap fallback, const QWidget *widget)
{
    return QIcon::fromTheme(QLatin1String(name), widget->style()->standardIcon(fallback));
}

} // namespace

TRelPreviewForm::TRelPreviewForm(QIODevice *stream, const TPreviewSettings &settings, QWidget *parent)
    : QDialog(parent)
    , m_stream(stream)
    , m_settings(settings)
    , m_view(new TRelPageView)
    , m_scroll(new QScrollArea(this))
{
    setObjectName(QStringLiteral("RelPreviewForm"));
    setWindowTitle(settings.title);
    setWindowFlags(Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    m_reader = std::make_unique<PageStreamReader>(stream);
    m_offsets = m_reader->pageOffsets();

    m_view->setDocument(m_reader->setup(), m_reader->pageCount());
    m_scroll->setObjectName(QStringLiteral("scrollPages"));
    m_scroll->setWidget(m_view);
    m_scroll->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_scroll->setBackgroundRole(QPalette::Dark);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    buildToolBar(layout);
    layout->addWidget(m_scroll, 1);

    resize(900, 700);
    if (settings.maximized)
        setWindowState(Qt::WindowMaximized);
    setZoom(settings.zoom);
    showPage(1);
}

TRelPreviewForm::~TRelPreviewForm() = default;

void TRelPreviewForm::buildToolBar(QLayout *layout)
{
    auto *bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("toolBar"));
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    auto button = [&](const char *name, const QString &text, const QIcon &icon, const QKeySequence &key, auto slot) {
        auto *b = new QToolButton(bar);
        b->setObjectName(QLatin1String(name));
        b->setText(text);
        b->setIcon(icon);
        b->setToolTip(key.isEmpty() ? text
                                    : text + QStringLiteral(" (") + key.toString(QKeySequence::NativeText) + u')');
        b->setToolButtonStyle(Qt::ToolButtonIconOnly);
        b->setAutoRaise(true);
        vosmira::connectHandler(b, &QToolButton::clicked, this, slot);
        bar->addWidget(b);
        return b;
    };
    if (m_settings.allowPrint) {
        auto *p = button("btnPrint", QStringLiteral("Imprimir..."),
                         themed("document-print", QStyle::SP_DialogSaveButton, this), QKeySequence::Print,
                         &TRelPreviewForm::print);
        p->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    }
    if (m_settings.allowSave) {
        auto *save = new QToolButton(bar);
        save->setObjectName(QStringLiteral("btnSave"));
        save->setText(QStringLiteral("Salvar"));
        save->setIcon(themed("document-save-as", QStyle::SP_DialogSaveButton, this));
        save->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        save->setPopupMode(QToolButton::InstantPopup);
        save->setAutoRaise(true);
        auto *menu = new QMenu(save);
        for (TFileFormat f : AllFileFormats) {
            QAction *a = menu->addAction(formatDisplayName(f) + QStringLiteral("..."));
            vosmira::connectHandler(a, &QAction::triggered, this, [this, f] { saveAs(f); });
        }
        save->setMenu(menu);
        bar->addWidget(save);
    }
    bar->addSeparator();
    m_first = button("btnFirst", QStringLiteral("Primeira página"),
                     themed("go-first", QStyle::SP_MediaSkipBackward, this), QKeySequence(Qt::CTRL | Qt::Key_Home),
                     &TRelPreviewForm::firstPage);
    m_prior = button("btnPrior", QStringLiteral("Página anterior"), themed("go-previous", QStyle::SP_ArrowBack, this),
                     QKeySequence(Qt::Key_PageUp), &TRelPreviewForm::priorPage);
    m_pageLabel = new QLabel(bar);
    m_pageLabel->setObjectName(QStringLiteral("lbPage"));
    m_pageLabel->setContentsMargins(8, 0, 8, 0);
    bar->addWidget(m_pageLabel);
    m_next = button("btnNext", QStringLiteral("Próxima página"), themed("go-next", QStyle::SP_ArrowForward, this),
                    QKeySequence(Qt::Key_PageDown), &TRelPreviewForm::nextPage);
    m_last = button("btnLast", QStringLiteral("Última página"), themed("go-last", QStyle::SP_MediaSkipForward, this),
                    QKeySequence(Qt::CTRL | Qt::Key_End), &TRelPreviewForm::lastPage);
    bar->addSeparator();
    button("btnZoomOut", QStringLiteral("Diminuir zoom"), themed("zoom-out", QStyle::SP_ArrowDown, this),
           QKeySequence(Qt::Key_Minus), &TRelPreviewForm::zoomOut);
    m_zoomBox = new QComboBox(bar);
    m_zoomBox->setObjectName(QStringLiteral("cbZoom"));
    m_zoomBox->setEditable(true);
    m_zoomBox->setInsertPolicy(QComboBox::NoInsert);
    for (int z : kZooms)
        m_zoomBox->addItem(QString::number(z) + u'%');
    m_zoomBox->addItem(QStringLiteral("Largura da página"));
    m_zoomBox->addItem(QStringLiteral("Página inteira"));
    m_zoomBox->setMinimumContentsLength(10);
    connect(m_zoomBox, &QComboBox::activated, this, [this](int index) {
        if (index < kZooms.size())
            setZoom(kZooms.at(index));
        else if (index == kZooms.size())
            fitWidth();
        else
            fitPage();
    });
    connect(m_zoomBox->lineEdit(), &QLineEdit::editingFinished, this, [this] {
        QString text = m_zoomBox->currentText();
        text.remove(u'%');
        bool ok = false;
        const double z = text.trimmed().toDouble(&ok);
        setZoom(ok ? z : zoom());
    });
    bar->addWidget(m_zoomBox);
    button("btnZoomIn", QStringLiteral("Aumentar zoom"), themed("zoom-in", QStyle::SP_ArrowUp, this),
           QKeySequence(Qt::Key_Plus), &TRelPreviewForm::zoomIn);
    button("btnFitWidth", QStringLiteral("Largura da página"),
           themed("zoom-fit-width", QStyle::SP_ToolBarHorizontalExtensionButton, this), QKeySequence(),
           &TRelPreviewForm::fitWidth);
    button("btnFitPage", QStringLiteral("Página inteira"), themed("zoom-fit-best", QStyle::SP_TitleBarMaxButton, this),
           QKeySequence(), &TRelPreviewForm::fitPage);
    auto *spacer = new QWidget(bar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    bar->addWidget(spacer);
    auto *close = button("btnClose", QStringLiteral("Fechar"),
                         themed("window-close", QStyle::SP_DialogCloseButton, this), QKeySequence(Qt::Key_Escape),
                         &QDialog::accept);
    close->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    layout->addWidget(bar);
}

qreal TRelPreviewForm::zoom() const
{
    return m_view->zoom();
}

const Page &TRelPreviewForm::currentPage() const
{
    return m_view->page();
}

void TRelPreviewForm::showPage(int number)
{
    if (m_offsets.isEmpty())
        return;
    number = qBound(1, number, pageCount());
    if (number != m_current) {
        Page page;
        m_reader->readPageAt(m_offsets.at(number - 1), page);
        m_view->setPage(page);
        m_current = number;
        m_scroll->verticalScrollBar()->setValue(0);
    }
    refresh();
}

void TRelPreviewForm::setZoom(qreal percent)
{
    m_view->setZoom(percent);
    refresh();
}

void TRelPreviewForm::zoomIn()
{
    for (int z : kZooms) {
        if (z > zoom() + 0.5) {
            setZoom(z);
            return;
        }
    }
}

void TRelPreviewForm::zoomOut()
{
    for (auto it = kZooms.crbegin(); it != kZooms.crend(); ++it) {
        if (*it < zoom() - 0.5) {
            setZoom(*it);
            return;
        }
    }
}

void TRelPreviewForm::fitWidth()
{
    setZoom(m_view->zoomForWidth(m_scroll->viewport()->width()));
}

void TRelPreviewForm::fitPage()
{
    setZoom(m_view->zoomForPage(m_scroll->viewport()->size()));
}

void TRelPreviewForm::refresh()
{
    m_pageLabel->setText(QStringLiteral("Página %1 de %2").arg(m_current).arg(pageCount()));
    m_first->setEnabled(m_current > 1);
    m_prior->setEnabled(m_current > 1);
    m_next->setEnabled(m_current < pageCount());
    m_last->setEnabled(m_current < pageCount());
    if (m_zoomBox && !m_zoomBox->lineEdit()->hasFocus())
        m_zoomBox->setEditText(QString::number(qRound(zoom())) + u'%');
}

void TRelPreviewForm::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_PageDown: nextPage(); return;
    case Qt::Key_PageUp: priorPage(); return;
    case Qt::Key_Home:
        if (event->modifiers() & Qt::ControlModifier) {
            firstPage();
            return;
        }
        break;
    case Qt::Key_End:
        if (event->modifiers() & Qt::ControlModifier) {
            lastPage();
            return;
        }
        break;
    case Qt::Key_Plus: zoomIn(); return;
    case Qt::Key_Minus: zoomOut(); return;
    default: break;
    }
    QDialog::keyPressEvent(event);
}

void TRelPreviewForm::print()
{
    try {
        QPrinter printer(QPrinter::HighResolution);
        preparePrinter(printer, m_reader->setup(), m_settings.jobTitle);
        QPrintDialog dialog(&printer, this);
        dialog.setObjectName(QStringLiteral("RelPrintDialog"));
        dialog.setMinMax(1, pageCount());
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
        if (vosmira::execModal(dialog) != QDialog::Accepted)
            return;
        TRelStatusWindow status(m_settings.statusTitle, this);
        printStream(m_stream, printer, [&](int page) { return status.showPage(m_settings.printStatus, page); });
    } catch (const ReportError &e) {
        vosmira::msg::error(e.text());
    }
}

void TRelPreviewForm::saveAs(TFileFormat format)
{
    vosmira::FileRequest request;
    request.mode = vosmira::FileRequest::Mode::Save;
    request.caption = m_settings.title;
    request.filter = formatFilter(format);
    const QString name = vosmira::DialogService::current().fileName(this, request);
    if (name.isEmpty())
        return;
    try {
        makeRenderer(format)->PrintRender(m_stream, name);
    } catch (const ReportError &e) {
        vosmira::msg::error(e.text());
    }
}

} // namespace rel
