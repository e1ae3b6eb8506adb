#include "TField.h"

#include "DataErrors.h"
#include "TClientDataSet.h"

#include <QRegularExpression>

using namespace Qt::Literals::StringLiterals;
using ClientRecord::Kind;

TField::TField(TClientDataSet *dataSet, int index, const QString &editMask)
    : QObject(dataSet)
    , m_dataSet(dataSet)
    , m_index(index)
    , m_size(ClientRecord::column(index).length)
    , m_editMask(editMask)
{
    setObjectName(dataSet->objectName() + FieldName());
}

QString TField::FieldName() const
{
    return QString(ClientRecord::column(m_index).name);
}

bool TField::IsNull() const
{
    return m_dataSet->currentRow().isNull(m_index);
}

QString TField::AsString() const
{
    const PackedRow &row = m_dataSet->currentRow();
    if (row.isNull(m_index))
        return QString();
    switch (DataType()) {
    case Kind::Integer: return QString::number(row.code());
    case Kind::Date: return row.date(m_index).toString(u"dd/MM/yyyy"_s);
    case Kind::Text: break;
    }
    return row.text(m_index);
}

QDate TField::AsDate() const
{
    if (DataType() == Kind::Text)
        return parseDateText(AsString());
    if (DataType() != Kind::Date)
        throw DataError(u"O campo %1 não é uma data."_s.arg(FieldName()));
    return m_dataSet->currentRow().date(m_index);
}

QDateTime TField::AsDateTime() const
{
    const QDate date = AsDate();
    return date.isValid() ? QDateTime(date, QTime(0, 0)) : QDateTime();
}

qint64 TField::AsInteger() const
{
    const PackedRow &row = m_dataSet->currentRow();
    if (row.isNull(m_index))
        return 0;
    if (DataType() == Kind::Integer)
        return row.code();
    bool ok = false;
    const qint64 value = AsString().toLongLong(&ok);
    if (!ok)
        throw DataError(u"'%1' não é um número inteiro válido."_s.arg(AsString()));
    return value;
}

QVariant TField::Value() const
{
    return TClientDataSet::valueOf(m_dataSet->currentRow(), m_index);
}

QString TField::DisplayText() const
{
    return m_dataSet->displayText(m_dataSet->currentRow(), m_index);
}

QString TField::cut(const QString &value) const
{
    if (DataType() != Kind::Text || value.size() <= m_size)
        return value;
    qsizetype n = m_size;
    // Never split a surrogate pair.
    if (n > 0 && value.at(n - 1).isHighSurrogate())
        --n;
    return value.left(n);
}

void TField::SetAsString(const QString &value)
{
    switch (DataType()) {
    case Kind::Date: SetAsDate(parseDateText(value)); return;
    case Kind::Integer:
    case Kind::Text: break;
    }
    PackedRow row = m_dataSet->currentRow();
    if (ReadOnly())
        throw DataError(u"O campo %1 não pode ser modificado."_s.arg(FieldName()));
    row.setText(m_index, cut(value));
    m_dataSet->writeField(m_index, row);
}

void TField::SetAsDate(QDate value)
{
    if (DataType() == Kind::Text) {
        SetAsString(value.isValid() ? value.toString(u"dd/MM/yyyy"_s) : QString());
        return;
    }
    if (DataType() != Kind::Date)
        throw DataError(u"O campo %1 não pode ser modificado."_s.arg(FieldName()));
    PackedRow row = m_dataSet->currentRow();
    row.setDate(m_index, value);
    m_dataSet->writeField(m_index, row);
}

void TField::SetAsDateTime(const QDateTime &value)
{
    SetAsDate(value.isValid() ? value.date() : QDate());
}

void TField::SetValue(const QVariant &value)
{
    if (!value.isValid() || value.isNull()) {
        Clear();
        return;
    }
    switch (value.typeId()) {
    case QMetaType::QDate: SetAsDate(value.toDate()); return;
    case QMetaType::QDateTime: SetAsDateTime(value.toDateTime()); return;
    default: SetAsString(value.toString()); return;
    }
}

void TField::Clear()
{
    if (ReadOnly())
        throw DataError(u"O campo %1 não pode ser modificado."_s.arg(FieldName()));
    PackedRow row = m_dataSet->currentRow();
    row.setNull(m_index);
    m_dataSet->writeField(m_index, row);
}

QDate parseDateText(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return QDate();
    static const QRegularExpression brazilian(
        u"^(\\d{1,2})/(\\d{1,2})/(\\d{4})(?:\\s+\\d{1,2}:\\d{2}(?::\\d{2})?)?$"_s);
    static const QRegularExpression iso(u"^(\\d{4})-(\\d{2})-(\\d{2})(?:[T ].*)?$"_s);
    QDate date;
    if (const QRegularExpressionMatch br = brazilian.match(trimmed); br.hasMatch())
        date = QDate(br.captured(3).toInt(), br.captured(2).toInt(), br.captured(1).toInt());
    else if (const QRegularExpressionMatch is = iso.match(trimmed); is.hasMatch())
        date = QDate(is.captured(1).toInt(), is.captured(2).toInt(), is.captured(3).toInt());
    if (!date.isValid())
        throw DataError(u"'%1' não é uma data válida."_s.arg(text));
    return date;
}
