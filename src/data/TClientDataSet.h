#pragma once

#include "ClientRecord.h"
#include "DataErrors.h"
#include "EditMask.h"
#include "PackedRow.h"

#include <QObject>
#include <QSqlQuery>
#include <QVariant>

#include <array>
#include <memory>
#include <optional>
#include <vector>

class TField;

enum TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert };

enum TLocateOption { loCaseInsensitive = 1, loPartialKey = 2 };

// An in-memory dataset over one client table: loads the whole table in NOME order,
// keeps inserts, edits and deletes in a change log, and sends them to the table when
// changes are applied. Rows appended during a run stay behind the loaded rows.
class TClientDataSet : public QObject
{
    Q_OBJECT

public:
    // objectName names the field objects too (CDSCliente + NOME = CDSClienteNOME).
    TClientDataSet(const QString &objectName, const QString &tableName, bool cnpjMask, QObject *parent = nullptr);
    ~TClientDataSet() override;

    QString TableName() const { return m_table; }
    void SetConnectionName(const QString &connectionName) { m_connection = connectionName; }

    // Fields
    int FieldCount() const { return ClientRecord::ColumnCount; }
    TField *Fields(int index) const { return m_fields[std::size_t(index)]; }
    TField *FindField(QStringView name) const;   // nullptr when unknown
    TField *FieldByName(QStringView name) const; // throws DataError when unknown

    // Life cycle
    void Open();  // throws DatabaseError
    void Close(); // discards the change log
    // Reads the table again, keeping the filter and, when it is still there, the
    // current row. Only in browse mode with nothing pending; throws DatabaseError.
    void Refresh();
    bool Active() const { return m_state != dsInactive; }
    TDataSetState State() const { return m_state; }

    // Cursor over the visible rows
    void First();
    void Last();
    void Next();
    void Prior();
    bool Eof() const { return m_eof; }
    bool Bof() const { return m_bof; }
    int RecNo() const { return m_cur + 1; } // 1-based; 0 when there is no row
    void SetRecNo(int recNo);
    int RecordCount() const { return int(visibleCount()); }
    bool IsEmpty() const { return visibleCount() == 0; }

    // Editing
    void Append();
    void Edit();
    void Post();
    void Cancel();
    void Delete();
    bool Modified() const { return m_modified; }
    // Appends a copy of source's current row, record number included, and posts
    // it; texts longer than this dataset's fields are cut to them. Throws
    // DataError when source has no current row.
    void AppendRecordFrom(const TClientDataSet &source);

    // Takes back the latest Delete while the table has not taken it: the row
    // returns to its place, current, with its values and its logged change, and
    // an edit that the delete ended is pending again. False when there is nothing
    // to take back: the delete was applied, or a later delete, a load or an
    // emptying came between.
    bool UndoLastDelete();

    // Posts the pending row, then sends the change log to the table. Every change is
    // attempted (up to maxErrors failures when maxErrors >= 0); failed ones stay
    // logged for the next apply, except the pending row's own: when the table refuses
    // it, the dataset goes back to the edit or insert it came from, with the same
    // values and nothing of it logged, so the user can try again or cancel. When any
    // failed, throws DatabaseError (the first failure's reason, the database's
    // messages) once the pass is over.
    int ApplyUpdates(int maxErrors = -1);
    int ChangeCount() const { return int(m_log.size()); }
    int LastApplyErrorCount() const { return m_lastErrors; }

    // Finds the first visible row whose text column matches; moves there on success.
    bool Locate(QStringView fieldName, const QString &value, int options);

    // "COLUMN = 'text'" (quotes doubled inside); only rows equal to it are visible
    // while Filtered() is on. Switching keeps the current row when it stays visible.
    QString Filter() const { return m_filterText; }
    void SetFilter(const QString &expression); // throws DataError on an unknown form
    bool Filtered() const { return m_filtered; }
    void SetFiltered(bool on);

    void EmptyDataSet();                             // removes every row; nothing is logged
    void CopyDataFrom(const TClientDataSet &source); // every row, whatever its filter

    // Access by visible row (0-based) for grids and reports.
    QVariant ValueAt(int row, int column) const;
    QString DisplayTextAt(int row, int column) const;

signals:
    void stateChanged();
    void currentChanged();         // cursor moved, or the current row was reloaded
    void fieldChanged(int column); // a field of the current row was written
    void dataReset();              // opened, closed, emptied, copied, filter switched
    void rowAppended(int row);     // visible row index; an undone delete's row comes back inside
    void rowRemoved(int row);
    void rowChanged(int row);
    // Sent just before the rows change, while the old ones are still in place, so a
    // model can announce the change as Qt requires; each is followed by its
    // counterpart above.
    void aboutToReset();
    void rowAboutToBeAppended(int row);
    void rowAboutToBeRemoved(int row);

private:
    friend class TField;

    struct Change;
    struct Row
    {
        PackedRow cur;
        Change *change = nullptr; // its entry in the change log, if any
    };
    enum class ChangeKind { Insert, Update, Delete };
    struct Change
    {
        ChangeKind kind;
        Row *row;       // null once the row is deleted
        PackedRow orig; // values as loaded (update, delete)
    };

    // For TField: the row a field shows, and writes to the pending row.
    const PackedRow &currentRow() const;
    QString displayText(const PackedRow &row, int column) const;
    static QVariant valueOf(const PackedRow &row, int column);
    void writeField(int column, const PackedRow &changed);

    // The rows visible through the filter, in memory order.
    std::size_t visibleCount() const { return filtering() ? m_view.size() : m_rows.size(); }
    Row *visibleAt(std::size_t i) const { return filtering() ? m_view[i] : m_rows[i].get(); }
    bool filtering() const { return m_filtered && m_filterColumn >= 0; }
    bool visible(const Row *row) const;
    void rebuildView(const Row *keep);
    int viewIndexOf(const Row *row) const;
    Row *currentRecord() const;
    void checkActive() const;
    void checkBrowseMode();
    void setState(TDataSetState state);
    void moveTo(int index);
    void clearRows();
    void logEdit(Row *row, const PackedRow &before);
    void logDelete(Row *row);
    void dropChange(Change *change);
    bool applyChange(Change *change, QString *message, DatabaseError::Reason *reason);

    // The pending row as it was before ApplyUpdates posted it.
    struct PendingPost
    {
        TDataSetState state = dsBrowse;
        PackedRow buffer;
        Row *row = nullptr; // the edited row; the inserted one once posted
        PackedRow rowBefore;
        std::optional<Change> changeBefore;
        int cur = -1;
    };
    void returnToEditing(const PendingPost &pending);

    // The row of the latest Delete, kept until the table takes the deletion.
    struct DeletedRow
    {
        std::unique_ptr<Row> row;
        std::size_t memoryIndex = 0;
        Change *change = nullptr;             // the deletion in the change log
        std::optional<ChangeKind> kindBefore; // the row's own logged change, if it had one
        std::optional<PackedRow> editBuffer;  // the edit the delete ended
        bool editModified = false;
    };
    std::optional<DeletedRow> m_deleted;

    QString m_table;
    QString m_connection;
    std::array<TField *, ClientRecord::ColumnCount> m_fields{};
    std::array<EditMask::Mask, ClientRecord::ColumnCount> m_masks;

    TDataSetState m_state = dsInactive;
    std::vector<std::unique_ptr<Row>> m_rows;   // memory order
    std::vector<Row *> m_view;                  // visible rows while filtering
    std::vector<std::unique_ptr<Change>> m_log; // oldest first
    int m_cur = -1;                             // index among the visible rows
    bool m_eof = true;
    bool m_bof = true;

    PackedRow m_buffer; // pending row in edit or insert state
    Row *m_editRow = nullptr;
    bool m_modified = false;

    QString m_filterText;
    int m_filterColumn = -1;
    QByteArray m_filterValue; // UTF-8
    bool m_filtered = false;

    int m_lastErrors = 0;
    std::optional<QSqlQuery> m_insertQuery;
};
