#include "TDBComboBox.h"

#include "Handler.h"
#include "TDataSource.h"

#include "TField.h"

#include <QKeyEvent>

namespace vosmira {

TDBComboBox::TDBComboBox(QWidget *parent)
    : QComboBox(parent)
{
    setEditable(false);
    // A pick goes into the field at once, as a list has nothing half-done to check.
    connectHandler(this, &QComboBox::activated, this, [this] {
        if (!m_link)
            return;
        m_link->Modified(true);
        m_link->UpdateRecord();
    });
}

void TDBComboBox::setDataField(TDataSource *source, TField *field)
{
    delete m_link;
    m_link = new TFieldDataLink(
        source, field, this, [this] { showField(); }, [this] { writeField(); });
    m_link->Reset();
}

TField *TDBComboBox::Field() const
{
    return m_link ? m_link->Field() : nullptr;
}

void TDBComboBox::Clear()
{
    if (m_link && m_link->Editing()) {
        m_link->Field()->Clear();
        m_link->Reset();
    } else {
        setCurrentIndex(-1);
    }
}

void TDBComboBox::setKeepsForeignValues(bool keep)
{
    m_keepForeign = keep;
    if (m_link)
        m_link->Reset();
}

void TDBComboBox::showField()
{
    if (m_foreignIndex >= 0) {
        removeItem(m_foreignIndex);
        m_foreignIndex = -1;
    }
    const QString value = m_link->Field()->AsString();
    int index = value.isEmpty() ? -1 : findText(value, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0 && !value.isEmpty() && m_keepForeign) {
        addItem(value);
        index = m_foreignIndex = count() - 1;
    }
    setCurrentIndex(index);
}

void TDBComboBox::writeField()
{
    m_link->Field()->SetAsString(currentIndex() < 0 ? QString() : currentText());
}

void TDBComboBox::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        if (m_link)
            m_link->Reset();
        event->accept();
        return;
    }
    QComboBox::keyPressEvent(event);
}

} // namespace vosmira
