#pragma once

#include "ClientRecord.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDate>
#include <QStringEncoder>
#include <QVarLengthArray>

#include <cstring>

// One client row in a single shared allocation: a null mask, the record number, the
// four dates as julian days, the end offsets of the 40 texts and the texts themselves
// in UTF-8. Copies share the buffer until one of them is written. Offsets are 32-bit:
// the file does not enforce column lengths, and a row another program filled with
// long texts must still load.
class PackedRow
{
public:
    static constexpr qsizetype NullsAt = 0;
    static constexpr qsizetype CodeAt = 8;
    static constexpr qsizetype DatesAt = 16;
    static constexpr qsizetype EndsAt = DatesAt + 4 * ClientRecord::DateCount;
    static constexpr qsizetype HeaderSize = EndsAt + 4 * ClientRecord::TextCount;
    static constexpr qsizetype MaxTextBytes = 0x7FFFFFFF;

    PackedRow() = default; // no row at all; see blank()
    explicit PackedRow(QByteArray bytes)
        : m_bytes(std::move(bytes))
    {
    }
    static PackedRow blank(); // every column null

    bool isValid() const { return !m_bytes.isEmpty(); }

    bool isNull(int column) const { return (nulls() >> column) & 1u; }
    // 64-bit, as SQLite numbers rows: another program may have numbered them past 2^32.
    qint64 code() const { return read<qint64>(CodeAt); }
    QByteArrayView utf8(int column) const; // text column; empty when null
    // The same by position among the texts (ClientRecord::textSlot), for scans.
    QByteArrayView utf8AtSlot(int slot) const
    {
        const quint32 begin = textEnd(slot - 1);
        return QByteArrayView(m_bytes.constData() + HeaderSize + begin, qsizetype(textEnd(slot) - begin));
    }
    QString text(int column) const;
    QDate date(int column) const;

    // Starts loading the header and the first texts (NOME among them) into the
    // cache. A scan over many rows calls it some rows ahead: rows live in separate
    // allocations, and waiting for each in turn costs more than comparing it.
    void prefetch() const
    {
        const char *p = m_bytes.constData();
        __builtin_prefetch(p);
        __builtin_prefetch(p + HeaderSize);
    }

    void setNull(int column);
    void setCode(qint64 code);
    void setText(int column, QStringView value); // a null or empty view stores null
    void setDate(int column, QDate date);        // an invalid date stores null

    bool sameValue(const PackedRow &other, int column) const;
    bool operator==(const PackedRow &other) const { return m_bytes == other.m_bytes; }
    qsizetype byteSize() const { return m_bytes.size(); }

private:
    template <typename T>
    T read(qsizetype at) const
    {
        T v;
        // Every row holds its header; GCC, once sanitizers inline this into a loop,
        // takes QByteArray's one-byte shared empty buffer for a possible source.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
        std::memcpy(&v, m_bytes.constData() + at, sizeof v);
#pragma GCC diagnostic pop
        return v;
    }
    template <typename T>
    void write(qsizetype at, T v)
    {
        std::memcpy(m_bytes.data() + at, &v, sizeof v);
    }
    quint64 nulls() const
    {
        return read<quint64>(NullsAt);
    }
    void setNullBit(int column, bool on);
    quint32 textEnd(int slot) const
    {
        return slot < 0 ? 0 : read<quint32>(EndsAt + 4 * slot);
    }
    void replaceText(int slot, QByteArrayView bytes);

    QByteArray m_bytes;
};

// Builds rows read from the database: texts are appended in column order.
class PackedRowBuilder
{
public:
    PackedRowBuilder();
    void reset();
    void setCode(qint64 code);
    void setNull(int column);                       // any column; for texts, in column order like appendText
    void appendText(int column, QStringView value); // value not null; '' stays ''
    void appendUtf8(int column, QByteArrayView value);

    void setDate(int column, QDate date);
    PackedRow finish() const;

private:
    void closeText(int column);

    QVarLengthArray<char, 8192> m_buf;
    QStringEncoder m_encoder;
};
