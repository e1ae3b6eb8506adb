#include "TDataSetModel.h"

#include "DataErrors.h"
#include "TClientDataSet.h"
#include "TField.h"

using namespace Qt::Literals::StringLiterals;

namespace vosmira {

TDataSetModel::TDataSetModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

TClientDataSet *TDataSetModel::dataSet() const
{
    return m_dataSet;
}

void TDataSetModel::setDataSet(TClientDataSet *dataSet)
{
    if (dataSet == m_dataSet)
        return;
    beginResetModel();
    if (m_dataSet)
        disconnect(m_dataSet, nullptr, this, nullptr);
    m_dataSet = dataSet;
    m_pending = Pending::None;
    if (dataSet) {
        connect(dataSet, &TClientDataSet::aboutToReset, this, &TDataSetModel::aboutToReset);
        connect(dataSet, &TClientDataSet::dataReset, this, &TDataSetModel::reset);
        connect(dataSet, &TClientDataSet::rowAboutToBeAppended, this, &TDataSetModel::aboutToAppend);
        connect(dataSet, &TClientDataSet::rowAppended, this, &TDataSetModel::appended);
        connect(dataSet, &TClientDataSet::rowAboutToBeRemoved, this, &TDataSetModel::aboutToRemove);
        connect(dataSet, &TClientDataSet::rowRemoved, this, &TDataSetModel::removed);
        connect(dataSet, &TClientDataSet::rowChanged, this, &TDataSetModel::changed);
        connect(dataSet, &QObject::destroyed, this, &TDataSetModel::dataSetDestroyed);
    }
    endResetModel();
}

QStringList TDataSetModel::columns() const
{
    QStringList names;
    for (int field : m_fields)
        names.append(QString(ClientRecord::column(field).name));
    return names;
}

void TDataSetModel::setColumns(const QStringList &fieldNames)
{
    std::vector<int> fields;
    for (const QString &name : fieldNames) {
        const int index = ClientRecord::indexOf(name);
        if (index < 0)
            throw DataError(u"Campo '%1' não encontrado."_s.arg(name));
        fields.push_back(index);
    }
    beginResetModel();
    m_fields = std::move(fields);
    endResetModel();
}

int TDataSetModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_dataSet ? 0 : m_dataSet->RecordCount();
}

int TDataSetModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_fields.size());
}

QVariant TDataSetModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || !m_dataSet || index.column() >= columnCount())
        return QVariant();
    return m_dataSet->DisplayTextAt(index.row(), fieldIndex(index.column()));
}

QVariant TDataSetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < columnCount())
        return QString(ClientRecord::column(fieldIndex(section)).name);
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags TDataSetModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

// A dataset only ever sends one change at a time; a completion without its
// announcement (a model attached halfway) falls back to a reset.

void TDataSetModel::aboutToReset()
{
    if (m_pending != Pending::None)
        return;
    m_pending = Pending::Reset;
    beginResetModel();
}

void TDataSetModel::reset()
{
    if (m_pending == Pending::Reset) {
        m_pending = Pending::None;
        endResetModel();
    } else if (m_pending == Pending::None) {
        beginResetModel();
        endResetModel();
    }
}

void TDataSetModel::aboutToAppend(int row)
{
    if (m_pending != Pending::None)
        return;
    m_pending = Pending::Insert;
    beginInsertRows(QModelIndex(), row, row);
}

void TDataSetModel::appended(int)
{
    if (m_pending == Pending::Insert) {
        m_pending = Pending::None;
        endInsertRows();
    } else {
        reset();
    }
}

void TDataSetModel::aboutToRemove(int row)
{
    if (m_pending != Pending::None)
        return;
    m_pending = Pending::Remove;
    beginRemoveRows(QModelIndex(), row, row);
}

void TDataSetModel::removed(int)
{
    if (m_pending == Pending::Remove) {
        m_pending = Pending::None;
        endRemoveRows();
    } else {
        reset();
    }
}

void TDataSetModel::changed(int row)
{
    if (m_pending != Pending::None || m_fields.empty())
        return;
    emit dataChanged(index(row, 0), index(row, columnCount() - 1), {Qt::DisplayRole});
}

void TDataSetModel::dataSetDestroyed()
{
    // The pointer is already cleared: the model is empty from here on.
    m_pending = Pending::None;
    beginResetModel();
    endResetModel();
}

} // namespace vosmira
