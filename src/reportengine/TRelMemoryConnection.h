#pragma once

#include "TRelDataConnection.h"

#include <QList>

namespace rel {

// Rows held in memory: for tools, demos and tests. A cell without a display
// text shows its value's text.
class TRelMemoryConnection : public TRelDataConnection
{
public:
    struct Cell
    {
        QVariant value; // invalid for null
        QString displayText;
    };
    using Row = QList<Cell>;

    TRelMemoryConnection(const QString &name, const QStringList &columns);

    void AppendRow(const Row &row);
    void Clear();
    int RowCount() const { return int(m_rows.size()); }

    QStringList ColumnNames() const override { return m_columns; }
    void First() override { m_cur = 0; }
    void Next() override;
    bool Eof() const override { return m_cur >= m_rows.size(); }
    bool IsNull(int column) const override;
    QVariant Value(int column) const override;
    QString DisplayText(int column) const override;

private:
    const Cell *cell(int column) const;

    QStringList m_columns;
    QList<Row> m_rows;
    qsizetype m_cur = 0;
};

} // namespace rel
