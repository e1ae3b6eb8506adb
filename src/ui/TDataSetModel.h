#pragma once

#include <QAbstractTableModel>
#include <QPointer>
#include <QStringList>

#include <vector>

class TClientDataSet;

namespace vosmira {

// A dataset's visible rows as a table: one column per chosen field, each cell the
// field's display text. Rows are read from the dataset when asked for, never
// copied, and its changes arrive as the matching row signals: a reset only when
// the whole content changes (open, close, filter switch, empty, copy).
class TDataSetModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit TDataSetModel(QObject *parent = nullptr);

    TClientDataSet *dataSet() const;
    void setDataSet(TClientDataSet *dataSet); // nullptr: no rows

    // Field names, in column order. Throws DataError for a name no client column has.
    QStringList columns() const;
    void setColumns(const QStringList &fieldNames);
    int fieldIndex(int column) const { return m_fields[std::size_t(column)]; }

    // True from a dataset's "about to" signal until the change is complete, while
    // views rearrange their current row on their own.
    bool isChanging() const { return m_pending != Pending::None; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    enum class Pending { None, Reset, Insert, Remove };

    void aboutToReset();
    void reset();
    void aboutToAppend(int row);
    void appended(int row);
    void aboutToRemove(int row);
    void removed(int row);
    void changed(int row);
    void dataSetDestroyed();

    QPointer<TClientDataSet> m_dataSet;
    std::vector<int> m_fields; // client column of each model column
    Pending m_pending = Pending::None;
};

} // namespace vosmira
