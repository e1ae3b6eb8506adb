#pragma once

#include <QPointer>
#include <QTableView>

class TClientDataSet;

namespace vosmira {

class TDataSetModel;
class TDataSource;

// A read-only list of a dataset's visible rows bound through a data source, one
// row highlighted: the dataset's current row. Moving the highlight with the keys
// or the mouse moves the dataset's cursor at once; when code moves the cursor the
// grid selects and shows that row once control is back in the event loop, so a
// loop walking the dataset pays nothing per step. No title row, no indicator
// column, no editing; the highlight stays visible while the focus is elsewhere.
class TDBGrid : public QTableView
{
    Q_OBJECT
public:
    explicit TDBGrid(QWidget *parent = nullptr);

    TDataSource *DataSource() const { return m_source; }
    void setDataSource(TDataSource *source); // nullptr: no rows
    TClientDataSet *dataSet() const;
    TDataSetModel *dataModel() const { return m_model; }

    // The grid's one column: the field shown and its width in pixels. Throws
    // DataError for an unknown field.
    void setColumn(const QString &fieldName, int width);

    // Typing does not jump to a row: a search box does that.
    void keyboardSearch(const QString &search) override;

Q_SIGNALS:
    // A left double click anywhere in the grid (OnDblClick); on a row, the
    // dataset's cursor is already there.
    void dblClicked();

protected:
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
                                                         const QEvent *event = nullptr) const override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void currentRowChanged(const QModelIndex &current);
    void scheduleFollow();
    void followCursor();
    // Posts or cancels the dataset's pending row before the user moves off it,
    // so the row indexes stay put while the selection moves. False when the post
    // failed (reported already).
    bool leaveEditing();
    void adjustRowHeight();
    void keepHighlightWhenInactive();

    TDataSetModel *m_model;
    QPointer<TDataSource> m_source;
    bool m_userMove = false;  // inside a key or mouse event of the grid
    bool m_following = false; // selecting the dataset's row
    bool m_followPending = false;
    bool m_adjusting = false;
};

} // namespace vosmira
