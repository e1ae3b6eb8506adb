#pragma once

#include <QMap>
#include <QPair>
#include <QString>

#include <optional>

namespace vbench {

// Figures by name and client count: seconds for timings, bytes for sizes.
class Results
{
public:
    void set(const QString &key, int n, double value) { m_values.insert({key, n}, value); }
    std::optional<double> get(const QString &key, int n) const;
    bool has(const QString &key, int n) const { return m_values.contains({key, n}); }

    // Free-form remarks printed under the tables (row counts, pages, file sizes).
    void note(const QString &text) { m_notes.append(text); }
    const QStringList &notes() const { return m_notes; }

private:
    QMap<QPair<QString, int>, double> m_values;
    QStringList m_notes;
};

// One client count's benchmark: where its files are, how often to repeat a timing.
struct SizeRun
{
    int n = 0;
    QString programFolder; // with a trailing separator; holds Banco/ and Reports/
    QString databasePath;
    int repeat = 5;
    Results *results = nullptr;

    void set(const QString &key, double value) const { results->set(key, n, value); }
    void note(const QString &text) const { results->note(text); }
};

} // namespace vbench
