#include "TDataSource.h"

#include "TClientDataSet.h"
#include "TField.h"

namespace vosmira {

TDataSource::TDataSource(TClientDataSet *dataSet, QObject *parent)
    : QObject(parent)
    , m_dataSet(dataSet)
{
}

void TDataSource::UpdateRecord()
{
    const QList<TFieldDataLink *> links = m_links;
    for (TFieldDataLink *link : links)
        link->UpdateRecord();
}

void TDataSource::addLink(TFieldDataLink *link)
{
    m_links.append(link);
}

void TDataSource::removeLink(TFieldDataLink *link)
{
    m_links.removeOne(link);
}

TFieldDataLink::TFieldDataLink(TDataSource *source, TField *field, QObject *control, std::function<void()> show,
                               std::function<void()> write)
    : QObject(control)
    , m_source(source)
    , m_field(field)
    , m_show(std::move(show))
    , m_write(std::move(write))
{
    m_source->addLink(this);
    TClientDataSet *dataSet = m_source->DataSet();
    connect(dataSet, &TClientDataSet::currentChanged, this, &TFieldDataLink::Reset);
    connect(dataSet, &TClientDataSet::dataReset, this, &TFieldDataLink::Reset);
    connect(m_field, &TField::changed, this, &TFieldDataLink::fieldWritten);
}

TFieldDataLink::~TFieldDataLink()
{
    if (m_source)
        m_source->removeLink(this);
}

bool TFieldDataLink::Editing() const
{
    if (!m_source)
        return false;
    const TDataSetState state = m_source->DataSet()->State();
    return state == dsEdit || state == dsInsert;
}

void TFieldDataLink::Reset()
{
    m_modified = false;
    m_show();
}

void TFieldDataLink::UpdateRecord()
{
    if (!m_modified || !Editing())
        return;
    m_updating = true;
    try {
        m_write();
    } catch (...) {
        m_updating = false;
        throw;
    }
    m_updating = false;
    m_modified = false;
}

void TFieldDataLink::fieldWritten()
{
    // Another control on the same column wrote it: show what it wrote.
    if (!m_updating)
        Reset();
}

} // namespace vosmira
