#include "TRelDataSetConnection.h"

#include "TClientDataSet.h"
#include "TField.h"

namespace vosmira {

TRelDataSetConnection::TRelDataSetConnection(const QString &name, TClientDataSet *dataSet)
    : rel::TRelDataConnection(name)
    , m_dataSet(dataSet)
{
}

QStringList TRelDataSetConnection::ColumnNames() const
{
    QStringList names;
    if (!m_dataSet)
        return names;
    for (int i = 0; i < m_dataSet->FieldCount(); ++i)
        names.append(m_dataSet->Fields(i)->FieldName());
    return names;
}

void TRelDataSetConnection::Next()
{
    if (!Eof())
        ++m_row;
}

bool TRelDataSetConnection::Eof() const
{
    return !m_dataSet || !m_dataSet->Active() || m_row >= m_dataSet->RecordCount();
}

bool TRelDataSetConnection::IsNull(int column) const
{
    return Eof() || !m_dataSet->ValueAt(m_row, column).isValid();
}

QVariant TRelDataSetConnection::Value(int column) const
{
    return Eof() ? QVariant() : m_dataSet->ValueAt(m_row, column);
}

QString TRelDataSetConnection::DisplayText(int column) const
{
    return Eof() ? QString() : m_dataSet->DisplayTextAt(m_row, column);
}

} // namespace vosmira
