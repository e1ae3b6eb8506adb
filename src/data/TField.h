#pragma once

#include "ClientRecord.h"

#include <QDateTime>
#include <QObject>
#include <QVariant>

class TClientDataSet;

// One column of a dataset, seen on its current row (or on the pending row while the
// dataset is in edit or insert state). Writing needs edit or insert state; a text
// longer than Size() is cut to it; an empty text stores null.
class TField : public QObject
{
    Q_OBJECT

public:
    TField(TClientDataSet *dataSet, int index, const QString &editMask);

    TClientDataSet *DataSet() const { return m_dataSet; }
    int Index() const { return m_index; }
    QString FieldName() const;
    ClientRecord::Kind DataType() const { return ClientRecord::column(m_index).kind; }
    int Size() const { return m_size; } // characters; 0 when not text
    QString EditMask() const { return m_editMask; }
    bool ReadOnly() const { return m_index == ClientRecord::col_CODIGO_C; }

    bool IsNull() const;
    QString AsString() const; // dates as dd/mm/yyyy
    QDate AsDate() const;
    QDateTime AsDateTime() const;
    qint64 AsInteger() const;
    QVariant Value() const;      // QString, QDate or int; an invalid QVariant when null
    QString DisplayText() const; // the value laid into the edit mask

    void SetAsString(const QString &value); // dates accept dd/mm/yyyy and yyyy-mm-dd
    void SetAsDate(QDate value);
    void SetAsDateTime(const QDateTime &value);
    void SetValue(const QVariant &value);
    void Clear();

    // The text a write would store: cut to Size() characters.
    QString cut(const QString &value) const;

signals:
    // The value changed on the row the field shows (a write, not a cursor move;
    // cursor moves are signalled by the dataset).
    void changed();

private:
    friend class TClientDataSet;
    void setSize(int size) { m_size = size; }

    TClientDataSet *m_dataSet;
    int m_index;
    int m_size;
    QString m_editMask;
};

// Reads dd/mm/yyyy (optionally with a time after it) or ISO yyyy-mm-dd; throws
// DataError for anything else. Blank text gives an invalid date.
QDate parseDateText(const QString &text);
