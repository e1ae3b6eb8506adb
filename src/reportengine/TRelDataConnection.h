#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

namespace rel {

// How a report reaches its rows: a forward cursor over the rows that pass the
// source's own filter, in its order. Columns are addressed by position; the
// names let a report refer to them. A report never changes the source.
class TRelDataConnection
{
public:
    explicit TRelDataConnection(const QString &name)
        : m_name(name)
    {
    }
    virtual ~TRelDataConnection();

    // The name a report project's data view uses to reach this connection.
    QString Name() const { return m_name; }

    virtual QStringList ColumnNames() const = 0;
    int ColumnIndex(const QString &name) const; // case-insensitive, -1 if unknown

    virtual void First() = 0;
    virtual void Next() = 0;
    virtual bool Eof() const = 0;

    virtual bool IsNull(int column) const = 0;
    virtual QVariant Value(int column) const = 0;      // invalid QVariant for null
    virtual QString DisplayText(int column) const = 0; // edit mask applied; empty for null

private:
    QString m_name;
};

} // namespace rel
