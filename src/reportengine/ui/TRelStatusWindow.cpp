#include "TRelStatusWindow.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace rel {

TRelStatusWindow::TRelStatusWindow(const QString &title, QWidget *parent)
    : QDialog(parent)
    , m_label(new QLabel(this))
{
    setObjectName(QStringLiteral("RelStatusWindow"));
    setWindowTitle(title);
    setWindowModality(Qt::ApplicationModal);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    m_label->setObjectName(QStringLiteral("lbStatus"));
    m_label->setMinimumWidth(260);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("btnCancel"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // Escape and the close box stop the run as Cancel does; otherwise the
    // window would only vanish and come back with the next page.
    connect(this, &QDialog::rejected, this, [this] { m_cancelled = true; });
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    layout->addWidget(buttons);
    m_sinceEvents.start();
}

QString TRelStatusWindow::statusText() const
{
    return m_label->text();
}

bool TRelStatusWindow::showPage(const QString &format, int page)
{
    QString text = format;
    m_label->setText(text.replace(QLatin1String("%p"), QString::number(page)));
    if (!isVisible() && !m_cancelled)
        show();
    // Repainting on every page of a long run would cost more than the pages.
    if (page == 1 || m_sinceEvents.elapsed() > 60) {
        QApplication::processEvents();
        m_sinceEvents.restart();
    }
    return !m_cancelled;
}

} // namespace rel
