#include "PackedRow.h"

#include "DataErrors.h"

#include <cstring>

using ClientRecord::ColumnCount;
using ClientRecord::dateSlot;
using ClientRecord::textSlot;

namespace {

constexpr quint64 AllNull = (quint64(1) << ColumnCount) - 1;

[[noreturn]] void tooLong()
{
    throw DataError(QStringLiteral("O registro excede o tamanho máximo suportado."));
}

} // namespace

PackedRow PackedRow::blank()
{
    PackedRow row(QByteArray(HeaderSize, '\0'));
    row.write<quint64>(NullsAt, AllNull);
    return row;
}

QByteArrayView PackedRow::utf8(int column) const
{
    return utf8AtSlot(textSlot(column));
}

QString PackedRow::text(int column) const
{
    if (isNull(column))
        return QString();
    const QByteArrayView bytes = utf8(column);
    return QString::fromUtf8(bytes.data(), bytes.size());
}

QDate PackedRow::date(int column) const
{
    if (isNull(column))
        return QDate();
    return QDate::fromJulianDay(read<qint32>(DatesAt + 4 * dateSlot(column)));
}

void PackedRow::setNullBit(int column, bool on)
{
    quint64 n = nulls();
    n = on ? (n | (quint64(1) << column)) : (n & ~(quint64(1) << column));
    write<quint64>(NullsAt, n);
}

void PackedRow::setNull(int column)
{
    const int t = textSlot(column);
    if (t >= 0)
        replaceText(t, {});
    else if (const int d = dateSlot(column); d >= 0)
        write<qint32>(DatesAt + 4 * d, 0);
    else
        write<qint64>(CodeAt, 0);
    setNullBit(column, true);
}

void PackedRow::setCode(qint64 code)
{
    write<qint64>(CodeAt, code);
    setNullBit(ClientRecord::col_CODIGO_C, false);
}

void PackedRow::setText(int column, QStringView value)
{
    if (value.isEmpty()) {
        setNull(column);
        return;
    }
    const QByteArray bytes = value.toUtf8();
    replaceText(textSlot(column), bytes);
    setNullBit(column, false);
}

void PackedRow::setDate(int column, QDate date)
{
    if (!date.isValid()) {
        setNull(column);
        return;
    }
    write<qint32>(DatesAt + 4 * dateSlot(column), qint32(date.toJulianDay()));
    setNullBit(column, false);
}

void PackedRow::replaceText(int slot, QByteArrayView bytes)
{
    const quint32 begin = textEnd(slot - 1);
    const quint32 end = textEnd(slot);
    const qsizetype delta = bytes.size() - (end - begin);
    const qsizetype total = m_bytes.size() - HeaderSize + delta;
    if (total > MaxTextBytes)
        tooLong();
    QByteArray out;
    out.reserve(m_bytes.size() + delta);
    out.append(m_bytes.constData(), HeaderSize + begin);
    out.append(bytes.data(), bytes.size());
    out.append(m_bytes.constData() + HeaderSize + end, m_bytes.size() - HeaderSize - end);
    m_bytes = std::move(out);
    for (int s = slot; s < ClientRecord::TextCount; ++s)
        write<quint32>(EndsAt + 4 * s, quint32(textEnd(s) + delta));
}

bool PackedRow::sameValue(const PackedRow &other, int column) const
{
    if (isNull(column) != other.isNull(column))
        return false;
    if (isNull(column))
        return true;
    if (textSlot(column) >= 0)
        return utf8(column) == other.utf8(column);
    if (dateSlot(column) >= 0)
        return date(column) == other.date(column);
    return code() == other.code();
}

PackedRowBuilder::PackedRowBuilder()
    : m_encoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless)
{
    reset();
}

void PackedRowBuilder::reset()
{
    m_buf.resize(PackedRow::HeaderSize);
    std::memset(m_buf.data(), 0, PackedRow::HeaderSize);
}

void PackedRowBuilder::setCode(qint64 code)
{
    std::memcpy(m_buf.data() + PackedRow::CodeAt, &code, sizeof code);
}

void PackedRowBuilder::setNull(int column)
{
    quint64 n;
    std::memcpy(&n, m_buf.data(), sizeof n);
    n |= quint64(1) << column;
    std::memcpy(m_buf.data(), &n, sizeof n);
    if (textSlot(column) >= 0)
        closeText(column);
}

void PackedRowBuilder::appendText(int column, QStringView value)
{
    const qsizetype at = m_buf.size();
    m_buf.resize(at + m_encoder.requiredSpace(value.size()));
    char *end = m_encoder.appendToBuffer(m_buf.data() + at, value);
    m_buf.resize(end - m_buf.data());
    closeText(column);
}

void PackedRowBuilder::appendUtf8(int column, QByteArrayView value)
{
    m_buf.append(value.data(), value.size());
    closeText(column);
}

void PackedRowBuilder::closeText(int column)
{
    const qsizetype used = m_buf.size() - PackedRow::HeaderSize;
    if (used > PackedRow::MaxTextBytes)
        tooLong();
    const quint32 end = quint32(used);
    std::memcpy(m_buf.data() + PackedRow::EndsAt + 4 * textSlot(column), &end, sizeof end);
}

void PackedRowBuilder::setDate(int column, QDate date)
{
    if (!date.isValid()) {
        setNull(column);
        return;
    }
    const qint32 jd = qint32(date.toJulianDay());
    std::memcpy(m_buf.data() + PackedRow::DatesAt + 4 * dateSlot(column), &jd, sizeof jd);
}

PackedRow PackedRowBuilder::finish() const
{
    return PackedRow(QByteArray(m_buf.constData(), m_buf.size()));
}
