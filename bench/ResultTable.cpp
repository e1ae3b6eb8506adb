#include "ResultTable.h"

#include <QLocale>

#include <functional>
#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace vbench {

namespace {

enum class Unit { Time, Bytes, Ratio };

QString seconds(double s)
{
    if (s < 1e-6)
        return QString::number(s * 1e9, 'f', 1) + u" ns"_s;
    if (s < 1e-5)
        return QString::number(s * 1e6, 'f', 2) + u" µs"_s;
    if (s < 1e-3)
        return QString::number(s * 1e6, 'f', 0) + u" µs"_s;
    if (s < 1e-2)
        return QString::number(s * 1e3, 'f', 2) + u" ms"_s;
    if (s < 1)
        return QString::number(s * 1e3, 'f', 1) + u" ms"_s;
    return QString::number(s, 'f', 2) + u" s"_s;
}

QString format(std::optional<double> v, Unit unit)
{
    if (!v)
        return u"–"_s;
    switch (unit) {
    case Unit::Time: return seconds(*v);
    case Unit::Bytes: return QString::number(*v / (1024.0 * 1024.0), 'f', 1) + u" MiB"_s;
    case Unit::Ratio: return QString::number(*v, 'f', 2) + u"x"_s;
    }
    return QString();
}

using Value = std::function<std::optional<double>(const Results &, int)>;

Value key(const QString &k)
{
    return [k](const Results &r, int n) { return r.get(k, n); };
}

Value ratio(Value a, Value b)
{
    return [a, b](const Results &r, int n) -> std::optional<double> {
        const auto x = a(r, n);
        const auto y = b(r, n);
        if (!x || !y || *y <= 0)
            return std::nullopt;
        return *x / *y;
    };
}

Value sum(Value a, Value b)
{
    return [a, b](const Results &r, int n) -> std::optional<double> {
        const auto x = a(r, n);
        const auto y = b(r, n);
        if (!x || !y)
            return std::nullopt;
        return *x + *y;
    };
}

Value difference(Value a, Value b)
{
    return [a, b](const Results &r, int n) -> std::optional<double> {
        const auto x = a(r, n);
        const auto y = b(r, n);
        if (!x || !y)
            return std::nullopt;
        return *x - *y;
    };
}

struct Line
{
    QString label;
    Value value;
    Unit unit;
};

const QList<Line> &lines()
{
    static const QList<Line> all{
        {u"Database file"_s, key(u"file.size"_s), Unit::Bytes},
        {u"**Open**: connect sequence, both datasets loaded"_s, key(u"open"_s), Unit::Time},
        {u"  reference: `sqlite3` reading the ordered table to /dev/null"_s, key(u"open.ref"_s), Unit::Time},
        {u"  ratio ours / reference"_s, ratio(key(u"open"_s), key(u"open.ref"_s)), Unit::Ratio},
        {u"**Search** keystroke, typical (mean)"_s, key(u"search.typical"_s), Unit::Time},
        {u"  reference: `std::vector<std::string>` prefix scan"_s, key(u"search.typical.ref"_s), Unit::Time},
        {u"**Search** keystroke, worst (only match is the last row)"_s, key(u"search.worst"_s), Unit::Time},
        {u"  reference: `std::vector<std::string>` prefix scan"_s, key(u"search.worst.ref"_s), Unit::Time},
        {u"  ratio ours / reference"_s, ratio(key(u"search.worst"_s), key(u"search.worst.ref"_s)), Unit::Ratio},
        {u"**Kind filter** on, then count"_s, key(u"filter.on"_s), Unit::Time},
        {u"Filter switch to the other kind, then count"_s, key(u"filter.switch"_s), Unit::Time},
        {u"Filter off"_s, key(u"filter.off"_s), Unit::Time},
        {u"**Whole-content copy** (`CopyDataFrom`, \">>\")"_s, key(u"copy"_s), Unit::Time},
        {u"**Grid** shown: `Locate` of the last name, then the event loop's turn"_s, key(u"grid.locate"_s), Unit::Time},
        {u"  without the grid"_s, key(u"grid.locate.bare"_s), Unit::Time},
        {u"  ratio with / without"_s, ratio(key(u"grid.locate"_s), key(u"grid.locate.bare"_s)), Unit::Ratio},
        {u"Grid shown: `SetRecNo` over every row reading NOME, per row"_s, key(u"grid.walk"_s), Unit::Time},
        {u"  without the grid"_s, key(u"grid.walk.bare"_s), Unit::Time},
        {u"  ratio with / without"_s, ratio(key(u"grid.walk"_s), key(u"grid.walk.bare"_s)), Unit::Ratio},
        {u"Grid shown: filter switch to the other kind, then the event loop's turn"_s, key(u"grid.filter"_s),
         Unit::Time},
        {u"  without the grid"_s, key(u"grid.filter.bare"_s), Unit::Time},
        {u"  ratio with / without"_s, ratio(key(u"grid.filter"_s), key(u"grid.filter.bare"_s)), Unit::Ratio},
        {u"**List window** opened: built, shown, painted"_s, key(u"list.open"_s), Unit::Time},
        {u"  reference: a bare window with the grid bound"_s, key(u"list.open.ref"_s), Unit::Time},
        {u"  ratio list window / reference"_s, ratio(key(u"list.open"_s), key(u"list.open.ref"_s)), Unit::Ratio},
        {u"List window: search keystroke, typical (mean), until the grid has repainted"_s, key(u"list.key.typical"_s),
         Unit::Time},
        {u"  bare `Locate` of the same texts"_s, key(u"list.key.typical.bare"_s), Unit::Time},
        {u"  ratio window / bare"_s, ratio(key(u"list.key.typical"_s), key(u"list.key.typical.bare"_s)), Unit::Ratio},
        {u"List window: search keystroke, worst (only match is the last row), the slowest"_s, key(u"list.key.worst"_s),
         Unit::Time},
        {u"  bare `Locate` of that keystroke's text"_s, key(u"list.key.worst.bare"_s), Unit::Time},
        {u"  ratio window / bare"_s, ratio(key(u"list.key.worst"_s), key(u"list.key.worst.bare"_s)), Unit::Ratio},
        {u"**Report window** opened: emptied selection, kind filters, project read, shown"_s, key(u"reportwin.open"_s),
         Unit::Time},
        {u"  without the window"_s, key(u"reportwin.open.bare"_s), Unit::Time},
        {u"Report window \">>\", both grids shown"_s, key(u"reportwin.all"_s), Unit::Time},
        {u"  without the window"_s, key(u"reportwin.all.bare"_s), Unit::Time},
        {u"  ratio with / without"_s, ratio(key(u"reportwin.all"_s), key(u"reportwin.all.bare"_s)), Unit::Ratio},
        {u"Report window kind switch, both grids shown"_s, key(u"reportwin.kind"_s), Unit::Time},
        {u"  without the window"_s, key(u"reportwin.kind.bare"_s), Unit::Time},
        {u"  ratio with / without"_s, ratio(key(u"reportwin.kind"_s), key(u"reportwin.kind.bare"_s)), Unit::Ratio},
        {u"Report window \">\" of the last client, all others selected"_s, key(u"reportwin.one"_s), Unit::Time},
        {u"  without the window"_s, key(u"reportwin.one.bare"_s), Unit::Time},
        {u"  ratio with / without"_s, ratio(key(u"reportwin.one"_s), key(u"reportwin.one.bare"_s)), Unit::Ratio},
        {u"**Apply** one insert (append, 40 fields, post, apply)"_s, key(u"apply.insert"_s), Unit::Time},
        {u"Apply one update (edit, post, apply)"_s, key(u"apply.update"_s), Unit::Time},
        {u"Apply one delete (delete, apply)"_s, key(u"apply.delete"_s), Unit::Time},
        {u"**Report** run, every section, all clients, to page stream"_s, key(u"report.run"_s), Unit::Time},
        {u"  render PDF"_s, key(u"report.pdf"_s), Unit::Time},
        {u"  render HTML"_s, key(u"report.html"_s), Unit::Time},
        {u"  render RTF"_s, key(u"report.rtf"_s), Unit::Time},
        {u"  render TXT"_s, key(u"report.txt"_s), Unit::Time},
        {u"  run + PDF"_s, sum(key(u"report.run"_s), key(u"report.pdf"_s)), Unit::Time},
        {u"**Check digits**: `cpf` per number"_s, key(u"check.cpf"_s), Unit::Time},
        {u"  `cgc` per number"_s, key(u"check.cgc"_s), Unit::Time},
        {u"**Backup copy**, read/write loop in 256 KiB blocks, before the flush"_s, key(u"backup.copy"_s), Unit::Time},
        {u"Backup copy, 2 KiB blocks (the routine first described)"_s, key(u"backup.2k"_s), Unit::Time},
        {u"  reference: `cp`"_s, key(u"backup.ref"_s), Unit::Time},
        {u"  ratio 256 KiB blocks / `cp`"_s, ratio(key(u"backup.copy"_s), key(u"backup.ref"_s)), Unit::Ratio},
        {u"  ratio 2 KiB blocks / `cp`"_s, ratio(key(u"backup.2k"_s), key(u"backup.ref"_s)), Unit::Ratio},
        {u"`FileCopy`: copy, flush, rename, folder sync"_s, key(u"backup.durable"_s), Unit::Time},
        {u"  reference: `cp`, then `sync` of the copy"_s, key(u"backup.ref.sync"_s), Unit::Time},
        {u"  ratio `FileCopy` / reference"_s, ratio(key(u"backup.durable"_s), key(u"backup.ref.sync"_s)), Unit::Ratio},
        {u"  what the flush, rename and folder sync add"_s, difference(key(u"backup.durable"_s), key(u"backup.copy"_s)),
         Unit::Time},
        {u"Check of a chosen backup (read-only open, tables, `quick_check`)"_s, key(u"backup.check"_s), Unit::Time},
        {u"Reopen: connection and both datasets"_s, key(u"backup.reopen"_s), Unit::Time},
        {u"**Backup**, whole: close, copy, flush, rename, reopen"_s, key(u"backup.save"_s), Unit::Time},
        {u"**Restore**, whole: check, close, copy, flush, rename, reopen"_s, key(u"backup.restore"_s), Unit::Time},
        {u"  ratio whole restore / `cp`"_s, ratio(key(u"backup.restore"_s), key(u"backup.ref"_s)), Unit::Ratio},
        {u"**Export** of every client to CSV (`vosmira-db export`), written durably"_s, key(u"exchange.export"_s),
         Unit::Time},
        {u"  reference: `sqlite3` `.mode csv` of the table into a file"_s, key(u"exchange.export.ref"_s), Unit::Time},
        {u"  ratio ours / reference"_s, ratio(key(u"exchange.export"_s), key(u"exchange.export.ref"_s)), Unit::Ratio},
        {u"**Import** of that file into the emptied table (`vosmira-db import`)"_s, key(u"exchange.import"_s),
         Unit::Time},
        {u"  reference: `sqlite3` `.import` of its own export"_s, key(u"exchange.import.ref"_s), Unit::Time},
        {u"  ratio ours / reference"_s, ratio(key(u"exchange.import"_s), key(u"exchange.import.ref"_s)), Unit::Ratio},
        {u"**Duplicate lookup** of a CPF no client holds (whole table read)"_s, key(u"exchange.lookup"_s), Unit::Time},
        {u"**Memory**: resident before the connect sequence"_s, key(u"memory.before"_s), Unit::Bytes},
        {u"Resident after loading"_s, key(u"memory.rss"_s), Unit::Bytes},
        {u"  growth while loading"_s, difference(key(u"memory.rss"_s), key(u"memory.before"_s)), Unit::Bytes},
        {u"Peak resident (VmHWM)"_s, key(u"memory.peak"_s), Unit::Bytes},
        {u"  ratio resident after loading / file size"_s, ratio(key(u"memory.rss"_s), key(u"file.size"_s)),
         Unit::Ratio},
    };
    return all;
}

QString count(int n)
{
    QLocale english(QLocale::English);
    return english.toString(n);
}

QString indent(const QString &label)
{
    return label.startsWith(u"  "_s) ? u"&nbsp;&nbsp;"_s + label.mid(2) : label;
}

} // namespace

// "512 ms (498–530 ms)": the median, then the fastest and the slowest run.
QString spread(const Results &r, const QString &k, int n, Unit unit)
{
    const auto mid = r.get(k, n);
    const auto low = r.get(k + u".min"_s, n);
    const auto high = r.get(k + u".max"_s, n);
    if (!mid || !low || !high)
        return format(mid, unit);
    QString from = format(low, unit);
    const QString to = format(high, unit);
    const qsizetype blank = to.lastIndexOf(u' ');
    if (blank > 0 && from.endsWith(to.mid(blank)))
        from.chop(to.size() - blank);
    return format(mid, unit) + u" ("_s + from + u'–' + to + u')';
}

// "1.2 ms (slowest 3.4 ms)".
QString peak(const Results &r, const QString &k, int n, Unit unit)
{
    const auto high = r.get(k + u".max"_s, n);
    if (!r.has(k, n) || !high)
        return format(r.get(k, n), unit);
    return format(r.get(k, n), unit) + u" (slowest "_s + format(high, unit) + u')';
}

struct ServerLine
{
    QString label;
    QString key;
    Unit unit;
    bool slowestOnly = false;
};

const QList<ServerLine> &serverLines()
{
    static const QList<ServerLine> all{
        {u"**Open** on the server: connect sequence, both datasets loaded and sorted by name"_s, u"server.open"_s,
         Unit::Time},
        {u"  reference: `psql` reading `CAD_CLIENTE` ordered by NOME to /dev/null"_s, u"server.open.psql"_s,
         Unit::Time},
        {u"  ratio ours / `psql`, repetition by repetition"_s, u"server.open.ratio"_s, Unit::Ratio},
        {u"  reference: `psql`, ordered by NOME COLLATE \"pt-BR-x-icu\" (an office server's order)"_s,
         u"server.open.psql.pt"_s, Unit::Time},
        {u"  ratio ours / `psql` in pt-BR order"_s, u"server.open.ratio.pt"_s, Unit::Ratio},
        {u"  the connection alone"_s, u"server.open.connect"_s, Unit::Time},
        {u"  `CAD_CLIENTE` read and sorted by name"_s, u"server.open.read"_s, Unit::Time},
        {u"  its columns checked (`information_schema`)"_s, u"server.open.sizes"_s, Unit::Time},
        {u"**Apply** one insert (append, 40 fields, post, apply)"_s, u"server.apply.insert"_s, Unit::Time, true},
        {u"Apply one update (edit, post, apply; every column compared)"_s, u"server.apply.update"_s, Unit::Time, true},
        {u"Apply one delete (delete, apply; every column compared)"_s, u"server.apply.delete"_s, Unit::Time, true},
        {u"**Backup** to a database file (`DatabaseBackup::save`)"_s, u"server.backup"_s, Unit::Time},
        {u"  both tables read from the server (and sorted)"_s, u"server.backup.read"_s, Unit::Time},
        {u"  the database file written (`writeDatabaseFile`)"_s, u"server.backup.write"_s, Unit::Time},
        {u"  the same clients in the database file: backup (copy, flush, reopen)"_s, u"server.backup.file"_s,
         Unit::Time},
        {u"  reference: `pg_dump -Fc` of the database"_s, u"server.pgdump"_s, Unit::Time},
        {u"**Restore** of that file (`DatabaseBackup::restore`)"_s, u"server.restore"_s, Unit::Time},
        {u"  the file checked and read (`readDatabaseFile`)"_s, u"server.restore.read"_s, Unit::Time},
        {u"  the server's rows replaced in one transaction (`replaceClientTables`)"_s, u"server.restore.replace"_s,
         Unit::Time},
        {u"  the datasets read again"_s, u"server.restore.reopen"_s, Unit::Time},
        {u"  the same clients in the database file: restore (check, copy, flush, reopen)"_s, u"server.restore.file"_s,
         Unit::Time},
        {u"  reference: `pg_restore --clean --single-transaction` of the dump into a database of its own"_s,
         u"server.pgrestore"_s, Unit::Time},
    };
    return all;
}

QString figuresTable(const Results &results, const QList<int> &sizes)
{
    QString out = u"| Measure |"_s;
    QString rule = u"|---|"_s;
    for (int n : sizes) {
        out += u' ' + count(n) + u" |"_s;
        rule += u"--:|"_s;
    }
    out += u'\n' + rule + u'\n';
    for (const Line &line : lines()) {
        bool any = false;
        QString row = u"| "_s + indent(line.label) + u" |"_s;
        for (int n : sizes) {
            const auto v = line.value(results, n);
            any = any || v.has_value();
            row += u' ' + format(v, line.unit) + u" |"_s;
        }
        if (any)
            out += row + u'\n';
    }
    return out;
}

QString goalsTable(const Results &r, const QList<int> &sizes)
{
    const int big = sizes.isEmpty() ? 0 : sizes.last();
    const int small = sizes.isEmpty() ? 0 : sizes.first();
    const int reportBig = sizes.contains(10000) ? 10000 : 0;
    QString out = u"| Goal | Figure | Target | Met |\n|---|--:|--:|:-:|\n"_s;
    auto add = [&](const QString &goal, std::optional<double> figure, Unit unit, double limit, bool below = false) {
        QString met = u"–"_s;
        if (figure)
            met = (below ? *figure < limit : *figure <= limit) ? u"yes"_s : u"**no**"_s;
        const QString target = (below ? u"< "_s : u"≤ "_s) + format(limit, unit);
        out += u"| "_s + goal + u" | "_s + format(figure, unit) + u" | "_s + target + u" | "_s + met + u" |\n"_s;
    };
    const QString at = count(big);
    add(u"Open at %1 clients, against `sqlite3`"_s.arg(at), ratio(key(u"open"_s), key(u"open.ref"_s))(r, big),
        Unit::Ratio, 2);
    add(u"Search keystroke at %1 clients, worst case"_s.arg(at), r.get(u"search.worst"_s, big), Unit::Time, 2e-3);
    for (const auto &[k, what] : {std::pair{u"apply.insert"_s, u"insert"_s}, std::pair{u"apply.update"_s, u"update"_s},
                                  std::pair{u"apply.delete"_s, u"delete"_s}}) {
        std::optional<double> growth;
        if (const auto a = r.get(k, big), b = r.get(k, small); a && b && *b > 0)
            growth = *a / *b;
        add(u"One applied %1 at %2 against %3 clients"_s.arg(what, at, count(small)), growth, Unit::Ratio, 2);
    }
    for (const auto &[k, what] :
         {std::pair{u"grid.locate"_s, u"Locate of the last name"_s},
          std::pair{u"grid.walk"_s, u"`SetRecNo` over every row"_s}, std::pair{u"grid.filter"_s, u"Filter switch"_s}}) {
        add(u"%1 at %2 clients with the grid shown, against without"_s.arg(what, at),
            ratio(key(k), key(k + u".bare"_s))(r, big), Unit::Ratio, 2);
    }
    add(u"List window opened at %1 clients, against a bare grid window"_s.arg(at),
        ratio(key(u"list.open"_s), key(u"list.open.ref"_s))(r, big), Unit::Ratio, 2);
    add(u"Search keystroke in the list window at %1 clients, worst case, grid repainted (one frame at 60 Hz)"_s.arg(at),
        r.get(u"list.key.worst"_s, big), Unit::Time, 16e-3);
    // A click the user waits on: the grids' repaint is a fixed cost, so the goal is absolute.
    for (const auto &[k, what] : {std::pair{u"reportwin.open"_s, u"Report window opened"_s},
                                  std::pair{u"reportwin.all"_s, u"Report window \">>\""_s},
                                  std::pair{u"reportwin.kind"_s, u"Report window kind switch"_s},
                                  std::pair{u"reportwin.one"_s, u"Report window \">\""_s}}) {
        add(u"%1 at %2 clients, both grids shown"_s.arg(what, at), r.get(k, big), Unit::Time, 0.1);
    }
    const Value runPdf = sum(key(u"report.run"_s), key(u"report.pdf"_s));
    add(u"Report of 10,000 clients, every section, to PDF"_s, reportBig ? runPdf(r, reportBig) : std::nullopt,
        Unit::Time, 5);
    std::optional<double> growth;
    if (const auto a = runPdf(r, 10000), b = runPdf(r, 1000); a && b && *b > 0)
        growth = *a / *b;
    add(u"Report growth from 1,000 to 10,000 clients (linear: 10x)"_s, growth, Unit::Ratio, 15);
    add(u"Backup copy (256 KiB blocks) at %1 clients, against `cp`"_s.arg(at),
        ratio(key(u"backup.copy"_s), key(u"backup.ref"_s))(r, big), Unit::Ratio, 1.5);
    add(u"Export to CSV at %1 clients, against `sqlite3`"_s.arg(at),
        ratio(key(u"exchange.export"_s), key(u"exchange.export.ref"_s))(r, big), Unit::Ratio, 3);
    add(u"Import from CSV at %1 clients, against `sqlite3`"_s.arg(at),
        ratio(key(u"exchange.import"_s), key(u"exchange.import.ref"_s))(r, big), Unit::Ratio, 3);
    add(u"Resident memory after loading %1 clients, against the file size"_s.arg(at),
        ratio(key(u"memory.rss"_s), key(u"file.size"_s))(r, big), Unit::Ratio, 3);
    return out;
}

QString serverTable(const Results &results, const QList<int> &sizes)
{
    QString out = u"| On the server |"_s;
    QString rule = u"|---|"_s;
    for (int n : sizes) {
        out += u' ' + count(n) + u" |"_s;
        rule += u"--:|"_s;
    }
    out += u'\n' + rule + u'\n';
    for (const ServerLine &line : serverLines()) {
        bool any = false;
        QString row = u"| "_s + indent(line.label) + u" |"_s;
        for (int n : sizes) {
            any = any || results.has(line.key, n);
            row += u' '
                   + (line.slowestOnly ? peak(results, line.key, n, line.unit)
                                       : spread(results, line.key, n, line.unit))
                   + u" |"_s;
        }
        if (any)
            out += row + u'\n';
    }
    return out;
}

QString serverGoalsTable(const Results &r, const QList<int> &sizes)
{
    const int big = sizes.isEmpty() ? 0 : sizes.last();
    QString out = u"| Goal | Figure | Target | Met |\n|---|--:|--:|:-:|\n"_s;
    const auto add = [&](const QString &goal, const QString &k) {
        const auto figure = r.get(k + u".max"_s, big);
        const QString met = !figure ? u"–"_s : *figure <= 2 ? u"yes"_s : u"**no**"_s;
        out += u"| "_s + goal + u" | "_s + spread(r, k, big, Unit::Ratio) + u" | ≤ 2.00x in every run | "_s + met
               + u" |\n"_s;
    };
    add(u"Open at %1 clients on the server, against `psql` (C order)"_s.arg(count(big)), u"server.open.ratio"_s);
    if (r.has(u"server.open.ratio.pt"_s, big))
        add(u"Open at %1 clients on the server, against `psql` (pt-BR order)"_s.arg(count(big)),
            u"server.open.ratio.pt"_s);
    return out;
}

} // namespace vbench
