#include "TRelMemoryConnection.h"

namespace rel {

TRelMemoryConnection::TRelMemoryConnection(const QString &name, const QStringList &columns)
    : TRelDataConnection(name)
    , m_columns(columns)
{
}

void TRelMemoryConnection::AppendRow(const Row &row)
{
    Row padded = row;
    padded.resize(m_columns.size());
    m_rows.append(padded);
}

void TRelMemoryConnection::Clear()
{
    m_rows.clear();
    m_cur = 0;
}

void TRelMemoryConnection::Next()
{
    if (m_cur < m_rows.size())
        ++m_cur;
}

const TRelMemoryConnection::Cell *TRelMemoryConnection::cell(int column) const
{
    if (Eof() || column < 0 || column >= m_columns.size())
        return nullptr;
    return &m_rows.at(m_cur).at(column);
}

bool TRelMemoryConnection::IsNull(int column) const
{
    const Cell *c = cell(column);
    return !c || !c->value.isValid() || c->value.isNull();
}

QVariant TRelMemoryConnection::Value(int column) const
{
    return IsNull(column) ? QVariant() : cell(column)->value;
}

QString TRelMemoryConnection::DisplayText(int column) const
{
    if (IsNull(column))
        return QString();
    const Cell *c = cell(column);
    return c->displayText.isNull() ? c->value.toString() : c->displayText;
}

} // namespace rel
