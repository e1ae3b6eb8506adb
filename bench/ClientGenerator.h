#pragma once

#include "ClientRecord.h"

#include <QString>

#include <array>
#include <random>

namespace vbench {

// One synthetic client: a text per column, in record order, already cut to the
// column's length as a field write would cut it. A null QString is a null column;
// dates are yyyy-mm-dd; CODIGO_C is left to the database.
using ClientValues = std::array<QString, ClientRecord::ColumnCount>;

// Realistic clients of a small Brazilian office, the same sequence for the same
// seed on every machine: people and companies, accented names, valid CPFs and
// CNPJs (some alphanumeric), addresses, credit data and long observations.
class ClientGenerator
{
public:
    explicit ClientGenerator(quint64 seed);

    ClientValues next();

    // The observation before it is cut to the column: up to 400 characters.
    QString lastObservation() const { return m_lastObs; }

    // A person whose name sorts after every generated name and shares no prefix
    // with any: typed into the search, each keystroke matches only the last row.
    static ClientValues lastInOrder();
    static QString lastInOrderName();

private:
    int below(int n); // 0 .. n-1
    bool chance(int percent);
    template <typename List>
    const auto &pick(const List &list)
    {
        return list[std::size_t(below(int(std::size(list))))];
    }
    QString digits(int count);
    QString date(int fromYear, int toYear);
    QString phone();
    QString personName(bool female);
    QString companyName(QString *fantasy, QString *activity);
    QString observation();
    void fillPerson(ClientValues &v);
    void fillCompany(ClientValues &v);
    void fillAddress(ClientValues &v, bool company);
    void fillCredit(ClientValues &v);

    std::mt19937_64 m_rng;
    QString m_lastObs;
};

// Sets a column, cutting the text to the column's length as the dataset does.
void setColumn(ClientValues &v, int column, const QString &text);

} // namespace vbench
