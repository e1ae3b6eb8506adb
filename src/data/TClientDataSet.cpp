#include "TClientDataSet.h"

#include "DataErrors.h"
#include "TField.h"
#include "TextMatch.h"

#include <QRegularExpression>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;
using ClientRecord::Kind;

namespace {

// How many rows ahead a scan asks for the row it will read (PackedRow::prefetch).
constexpr std::size_t PrefetchAhead = 16;

} // namespace

TClientDataSet::TClientDataSet(const QString &objectName, const QString &tableName, bool cnpjMask, QObject *parent)
    : QObject(parent)
    , m_table(tableName)
{
    setObjectName(objectName);
    for (int i = 0; i < ClientRecord::ColumnCount; ++i) {
        const ClientRecord::Column &c = ClientRecord::column(i);
        QString mask;
        if (!c.mask.isEmpty() && (c.maskInSelection || cnpjMask))
            mask = QString(c.mask);
        m_masks[std::size_t(i)] = EditMask::parse(mask);
        m_fields[std::size_t(i)] = new TField(this, i, mask);
    }
}

TClientDataSet::~TClientDataSet()
{
    clearRows();
}

TField *TClientDataSet::FindField(QStringView name) const
{
    const int index = ClientRecord::indexOf(name);
    return index < 0 ? nullptr : m_fields[std::size_t(index)];
}

TField *TClientDataSet::FieldByName(QStringView name) const
{
    TField *field = FindField(name);
    if (!field)
        throw DataError(u"%1: campo '%2' não encontrado."_s.arg(objectName(), name.toString()));
    return field;
}

// ---- state and cursor ----

void TClientDataSet::checkActive() const
{
    if (!Active())
        throw DataError(u"%1: operação não permitida com o conjunto de dados fechado."_s.arg(objectName()));
}

void TClientDataSet::checkBrowseMode()
{
    if (m_state == dsEdit || m_state == dsInsert) {
        if (m_modified)
            Post();
        else
            Cancel();
    }
}

void TClientDataSet::setState(TDataSetState state)
{
    if (m_state == state)
        return;
    m_state = state;
    emit stateChanged();
}

TClientDataSet::Row *TClientDataSet::currentRecord() const
{
    return m_cur >= 0 && m_cur < RecordCount() ? visibleAt(std::size_t(m_cur)) : nullptr;
}

const PackedRow &TClientDataSet::currentRow() const
{
    if (m_state == dsEdit || m_state == dsInsert)
        return m_buffer;
    if (const Row *row = currentRecord())
        return row->cur;
    static const PackedRow blank = PackedRow::blank();
    return blank;
}

void TClientDataSet::moveTo(int index)
{
    m_cur = index;
    m_bof = m_eof = false;
    emit currentChanged();
}

void TClientDataSet::First()
{
    checkActive();
    checkBrowseMode();
    m_cur = IsEmpty() ? -1 : 0;
    m_bof = true;
    m_eof = IsEmpty();
    emit currentChanged();
}

void TClientDataSet::Last()
{
    checkActive();
    checkBrowseMode();
    m_cur = RecordCount() - 1;
    m_eof = true;
    m_bof = IsEmpty();
    emit currentChanged();
}

void TClientDataSet::Next()
{
    checkActive();
    checkBrowseMode();
    if (m_cur + 1 < RecordCount())
        moveTo(m_cur + 1);
    else
        m_eof = true;
}

void TClientDataSet::Prior()
{
    checkActive();
    checkBrowseMode();
    if (m_cur > 0)
        moveTo(m_cur - 1);
    else
        m_bof = true;
}

void TClientDataSet::SetRecNo(int recNo)
{
    checkActive();
    checkBrowseMode();
    if (recNo >= 1 && recNo <= RecordCount() && recNo != m_cur + 1)
        moveTo(recNo - 1);
}

// ---- editing ----

void TClientDataSet::Append()
{
    checkActive();
    checkBrowseMode();
    m_buffer = PackedRow::blank();
    m_editRow = nullptr;
    m_modified = false;
    m_bof = m_eof = false;
    setState(dsInsert);
    emit currentChanged();
}

void TClientDataSet::AppendRecordFrom(const TClientDataSet &source)
{
    source.checkActive();
    const Row *from = source.currentRecord();
    if (!from)
        throw DataError(u"%1: não há registro a copiar."_s.arg(source.objectName()));
    PackedRow copy = from->cur;
    for (int column = 0; column < ClientRecord::ColumnCount; ++column) {
        if (ClientRecord::column(column).kind != Kind::Text || copy.isNull(column))
            continue;
        const TField *field = m_fields[std::size_t(column)];
        if (copy.utf8(column).size() > field->Size())
            copy.setText(column, field->cut(copy.text(column)));
    }
    Append();
    m_buffer = copy;
    m_modified = true;
    Post();
}

void TClientDataSet::Edit()
{
    checkActive();
    if (m_state == dsEdit || m_state == dsInsert)
        return;
    Row *row = currentRecord();
    if (!row) {
        Append(); // editing an empty dataset starts a new row
        return;
    }
    m_buffer = row->cur;
    m_editRow = row;
    m_modified = false;
    setState(dsEdit);
}

void TClientDataSet::writeField(int column, const PackedRow &changed)
{
    if (m_state != dsEdit && m_state != dsInsert)
        throw DataError(u"%1: o conjunto de dados não está em modo de edição ou inserção."_s.arg(objectName()));
    m_buffer = changed;
    m_modified = true;
    emit m_fields[std::size_t(column)]->changed();
    emit fieldChanged(column);
}

void TClientDataSet::Post()
{
    checkActive();
    if (m_state == dsInsert) {
        auto owned = std::make_unique<Row>(Row{m_buffer, nullptr});
        Row *row = owned.get();
        const bool shown = !filtering() || visible(row);
        if (shown)
            emit rowAboutToBeAppended(RecordCount());
        m_rows.push_back(std::move(owned));
        row->change = m_log.emplace_back(std::make_unique<Change>(Change{ChangeKind::Insert, row, PackedRow()})).get();
        m_buffer = PackedRow();
        m_modified = false;
        if (filtering() && shown)
            m_view.push_back(row);
        setState(dsBrowse);
        if (shown) {
            m_cur = RecordCount() - 1;
            emit rowAppended(m_cur);
        }
        m_bof = m_eof = IsEmpty();
        emit currentChanged();
        return;
    }
    if (m_state != dsEdit)
        throw DataError(u"%1: o conjunto de dados não está em modo de edição ou inserção."_s.arg(objectName()));

    Row *row = m_editRow;
    const PackedRow before = row->cur;
    const bool changed = !(m_buffer == before);
    if (changed) {
        row->cur = m_buffer;
        logEdit(row, before);
    }
    m_buffer = PackedRow();
    m_editRow = nullptr;
    m_modified = false;
    setState(dsBrowse);
    if (changed) {
        if (filtering() && !visible(row)) {
            const int at = viewIndexOf(row);
            emit rowAboutToBeRemoved(at);
            m_view.erase(m_view.begin() + at);
            if (m_cur >= RecordCount())
                m_cur = RecordCount() - 1;
            m_bof = m_eof = IsEmpty();
            emit rowRemoved(at);
        } else {
            emit rowChanged(m_cur);
        }
    }
    emit currentChanged();
}

void TClientDataSet::Cancel()
{
    if (m_state != dsEdit && m_state != dsInsert)
        return;
    m_buffer = PackedRow();
    m_editRow = nullptr;
    m_modified = false;
    setState(dsBrowse);
    m_bof = m_eof = IsEmpty();
    emit currentChanged();
}

void TClientDataSet::Delete()
{
    checkActive();
    if (m_state == dsInsert) {
        Cancel();
        return;
    }
    std::optional<PackedRow> editBuffer;
    const bool editModified = m_modified;
    if (m_state == dsEdit)
        editBuffer = m_buffer;
    Cancel();
    Row *row = currentRecord();
    if (!row)
        throw DataError(u"%1: não é possível excluir, o conjunto de dados está vazio."_s.arg(objectName()));
    const int at = m_cur;
    auto owner = filtering()
                     ? std::find_if(m_rows.begin(), m_rows.end(), [row](const auto &r) { return r.get() == row; })
                     : m_rows.begin() + at;
    const auto memoryIndex = std::size_t(owner - m_rows.begin());
    emit rowAboutToBeRemoved(at);
    std::unique_ptr<Row> deleted = std::move(*owner);
    m_rows.erase(owner);
    if (filtering())
        m_view.erase(m_view.begin() + at);
    m_deleted.reset();
    const std::optional<ChangeKind> kindBefore = row->change ? std::optional<ChangeKind>(row->change->kind)
                                                             : std::nullopt;
    logDelete(row);
    // A row inserted during the run and never applied leaves nothing to take back.
    if (kindBefore != ChangeKind::Insert) {
        Change *change = kindBefore ? row->change : m_log.back().get();
        m_deleted = DeletedRow{std::move(deleted), memoryIndex, change, kindBefore, editBuffer, editModified};
    }
    if (m_cur >= RecordCount())
        m_cur = RecordCount() - 1;
    m_bof = m_eof = IsEmpty();
    emit rowRemoved(at);
    emit currentChanged();
}

bool TClientDataSet::UndoLastDelete()
{
    if (!m_deleted || m_state != dsBrowse)
        return false;
    DeletedRow d = std::move(*m_deleted);
    m_deleted.reset();
    Row *row = d.row.get();
    if (d.kindBefore) {
        d.change->kind = *d.kindBefore;
        d.change->row = row;
    } else {
        dropChange(d.change);
        row->change = nullptr;
    }
    const std::size_t memoryIndex = std::min(d.memoryIndex, m_rows.size());
    const bool shown = !filtering() || visible(row);
    std::size_t at = memoryIndex;
    if (filtering()) {
        at = 0;
        for (std::size_t i = 0; i < memoryIndex; ++i)
            at += visible(m_rows[i].get()) ? 1 : 0;
    }
    if (shown)
        emit rowAboutToBeAppended(int(at));
    m_rows.insert(m_rows.begin() + std::ptrdiff_t(memoryIndex), std::move(d.row));
    if (filtering() && shown)
        m_view.insert(m_view.begin() + std::ptrdiff_t(at), row);
    if (shown) {
        m_cur = int(at);
        emit rowAppended(m_cur);
    }
    m_bof = m_eof = false;
    if (d.editBuffer && shown) {
        m_buffer = *d.editBuffer;
        m_editRow = row;
        m_modified = d.editModified;
        setState(dsEdit);
    }
    emit currentChanged();
    return true;
}

// ---- change log ----

void TClientDataSet::logEdit(Row *row, const PackedRow &before)
{
    Change *change = row->change;
    if (!change) {
        row->change = m_log.emplace_back(std::make_unique<Change>(Change{ChangeKind::Update, row, before})).get();
    } else if (change->kind == ChangeKind::Update && row->cur == change->orig) {
        dropChange(change); // back to what the table holds
    }
}

void TClientDataSet::logDelete(Row *row)
{
    Change *change = row->change;
    if (!change) {
        m_log.push_back(std::make_unique<Change>(Change{ChangeKind::Delete, nullptr, row->cur}));
    } else if (change->kind == ChangeKind::Insert) {
        dropChange(change); // never reached the table
    } else {
        change->kind = ChangeKind::Delete;
        change->row = nullptr;
    }
}

void TClientDataSet::dropChange(Change *change)
{
    if (m_deleted && m_deleted->change == change)
        m_deleted.reset(); // the table has it, or it never concerned the table
    if (change->row)
        change->row->change = nullptr;
    const auto it = std::find_if(m_log.begin(), m_log.end(), [change](const auto &c) { return c.get() == change; });
    if (it != m_log.end())
        m_log.erase(it);
}

void TClientDataSet::clearRows()
{
    m_deleted.reset();
    m_log.clear();
    m_rows.clear();
    m_view.clear();
    m_view.shrink_to_fit();
    m_cur = -1;
    m_bof = m_eof = true;
}

// ---- filter ----

bool TClientDataSet::visible(const Row *row) const
{
    return !row->cur.isNull(m_filterColumn)
           && row->cur.utf8AtSlot(ClientRecord::textSlot(m_filterColumn)) == QByteArrayView(m_filterValue);
}

int TClientDataSet::viewIndexOf(const Row *row) const
{
    // Searched from the end: the rows touched after loading are usually the last ones.
    for (std::size_t i = visibleCount(); i-- > 0;) {
        if (visibleAt(i) == row)
            return int(i);
    }
    return -1;
}

void TClientDataSet::rebuildView(const Row *keep)
{
    m_view.clear();
    if (filtering()) {
        for (std::size_t i = 0; i < m_rows.size(); ++i) {
            if (i + PrefetchAhead < m_rows.size())
                m_rows[i + PrefetchAhead]->cur.prefetch();
            if (visible(m_rows[i].get()))
                m_view.push_back(m_rows[i].get());
        }
    } else {
        m_view.shrink_to_fit();
    }
    m_cur = keep ? viewIndexOf(keep) : -1;
    if (m_cur < 0)
        m_cur = IsEmpty() ? -1 : 0;
    m_bof = m_eof = IsEmpty();
}

void TClientDataSet::SetFilter(const QString &expression)
{
    static const QRegularExpression pattern(u"^\\s*([A-Za-z_][A-Za-z0-9_]*)\\s*=\\s*'((?:[^']|'')*)'\\s*$"_s);
    int column = -1;
    QString value;
    if (!expression.trimmed().isEmpty()) {
        const QRegularExpressionMatch m = pattern.match(expression);
        column = m.hasMatch() ? ClientRecord::indexOf(m.captured(1)) : -1;
        if (column < 0 || ClientRecord::column(column).kind != Kind::Text)
            throw DataError(u"%1: filtro inválido: %2"_s.arg(objectName(), expression));
        value = m.captured(2).replace(u"''"_s, u"'"_s);
    }
    if (Active())
        checkBrowseMode();
    Row *keep = currentRecord();
    if (Active() && m_filtered)
        emit aboutToReset();
    m_filterText = expression;
    m_filterColumn = column;
    m_filterValue = value.toUtf8();
    if (Active() && m_filtered) {
        rebuildView(keep);
        emit dataReset();
        emit currentChanged();
    }
}

void TClientDataSet::SetFiltered(bool on)
{
    if (m_filtered == on)
        return;
    if (Active())
        checkBrowseMode();
    Row *keep = currentRecord();
    if (Active())
        emit aboutToReset();
    m_filtered = on;
    if (Active()) {
        rebuildView(keep);
        emit dataReset();
        emit currentChanged();
    }
}

// ---- searching ----

bool TClientDataSet::Locate(QStringView fieldName, const QString &value, int options)
{
    checkActive();
    checkBrowseMode();
    const int column = FieldByName(fieldName)->Index();
    if (ClientRecord::column(column).kind != Kind::Text)
        throw DataError(u"%1: busca não suportada no campo %2."_s.arg(objectName(), fieldName.toString()));
    const TextMatch match(value, options & loCaseInsensitive, options & loPartialKey);
    const int slot = ClientRecord::textSlot(column);
    const std::size_t count = visibleCount();
    for (std::size_t i = 0; i < count; ++i) {
        if (i + PrefetchAhead < count)
            visibleAt(i + PrefetchAhead)->cur.prefetch();
        if (match.matches(visibleAt(i)->cur.utf8AtSlot(slot))) {
            moveTo(int(i));
            return true;
        }
    }
    return false;
}

// ---- whole content ----

void TClientDataSet::EmptyDataSet()
{
    checkActive();
    Cancel();
    emit aboutToReset();
    clearRows();
    emit dataReset();
    emit currentChanged();
}

void TClientDataSet::CopyDataFrom(const TClientDataSet &source)
{
    if (&source == this)
        return;
    source.checkActive();
    Cancel();
    emit aboutToReset();
    clearRows();
    m_rows.reserve(source.m_rows.size());
    for (const auto &row : source.m_rows)
        m_rows.push_back(std::make_unique<Row>(Row{row->cur, nullptr}));
    if (!Active()) {
        for (int i = 0; i < ClientRecord::ColumnCount; ++i)
            m_fields[std::size_t(i)]->setSize(source.m_fields[std::size_t(i)]->Size());
    }
    rebuildView(nullptr);
    setState(dsBrowse);
    emit dataReset();
    emit currentChanged();
}

// ---- values ----

QVariant TClientDataSet::valueOf(const PackedRow &row, int column)
{
    if (row.isNull(column))
        return QVariant();
    switch (ClientRecord::column(column).kind) {
    case Kind::Integer: return QVariant(qlonglong(row.code()));
    case Kind::Date: return QVariant(row.date(column));
    case Kind::Text: break;
    }
    return QVariant(row.text(column));
}

QString TClientDataSet::displayText(const PackedRow &row, int column) const
{
    if (row.isNull(column))
        return QString();
    switch (ClientRecord::column(column).kind) {
    case Kind::Integer: return QString::number(row.code());
    case Kind::Date: return row.date(column).toString(u"dd/MM/yyyy"_s);
    case Kind::Text: break;
    }
    const EditMask::Mask &mask = m_masks[std::size_t(column)];
    return mask.isValid() ? EditMask::displayText(mask, row.text(column)) : row.text(column);
}

QVariant TClientDataSet::ValueAt(int row, int column) const
{
    if (row < 0 || row >= RecordCount())
        return QVariant();
    return valueOf(visibleAt(std::size_t(row))->cur, column);
}

QString TClientDataSet::DisplayTextAt(int row, int column) const
{
    if (row < 0 || row >= RecordCount())
        return QString();
    return displayText(visibleAt(std::size_t(row))->cur, column);
}
