#pragma once

#include "TRelDataConnection.h"

#include <QPointer>

class TClientDataSet;

namespace vosmira {

// The report engine's view of a client dataset: the rows its filter lets
// through, in its order, read without moving the dataset's own cursor.
class TRelDataSetConnection : public rel::TRelDataConnection
{
public:
    TRelDataSetConnection(const QString &name, TClientDataSet *dataSet);

    TClientDataSet *DataSet() const { return m_dataSet; }
    void SetDataSet(TClientDataSet *dataSet) { m_dataSet = dataSet; }

    QStringList ColumnNames() const override;
    void First() override { m_row = 0; }
    void Next() override;
    bool Eof() const override;
    bool IsNull(int column) const override;
    QVariant Value(int column) const override;
    QString DisplayText(int column) const override;

private:
    QPointer<TClientDataSet> m_dataSet;
    int m_row = 0;
};

} // namespace vosmira
