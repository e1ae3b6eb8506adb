#include "TDBGrid.h"

#include "Handler.h"
#include "TDataSetModel.h"
#include "TDataSource.h"

#include "TClientDataSet.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScopedValueRollback>

namespace vosmira {

TDBGrid::TDBGrid(QWidget *parent)
    : QTableView(parent)
    , m_model(new TDataSetModel(this))
{
    setModel(m_model);
    horizontalHeader()->hide();
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->hide();
    // Uniform rows, sized from the font: no row is ever measured, whatever the count.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setEditTriggers(NoEditTriggers);
    setSelectionBehavior(SelectRows);
    setSelectionMode(SingleSelection);
    setTabKeyNavigation(false); // Tab leaves the grid
    setWordWrap(false);
    setCornerButtonEnabled(false);
    adjustRowHeight();
    keepHighlightWhenInactive();

    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this, &TDBGrid::currentRowChanged);
    // Qt clears the selection on a reset; the dataset's row is selected again.
    connect(m_model, &QAbstractItemModel::modelReset, this, &TDBGrid::scheduleFollow);
}

TClientDataSet *TDBGrid::dataSet() const
{
    return m_model->dataSet();
}

void TDBGrid::setDataSource(TDataSource *source)
{
    if (TClientDataSet *old = dataSet())
        disconnect(old, &TClientDataSet::currentChanged, this, &TDBGrid::scheduleFollow);
    m_source = source;
    TClientDataSet *dataSet = source ? source->DataSet() : nullptr;
    m_model->setDataSet(dataSet);
    if (dataSet)
        connect(dataSet, &TClientDataSet::currentChanged, this, &TDBGrid::scheduleFollow);
    scheduleFollow();
}

void TDBGrid::setColumn(const QString &fieldName, int width)
{
    m_model->setColumns({fieldName});
    horizontalHeader()->resizeSection(0, width);
}

void TDBGrid::keyboardSearch(const QString &) {}

QModelIndex TDBGrid::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers)
{
    // With a single column, Home and End go to the first and last rows.
    if (cursorAction == MoveHome || cursorAction == MoveEnd)
        modifiers |= Qt::ControlModifier;
    return QTableView::moveCursor(cursorAction, modifiers);
}

QItemSelectionModel::SelectionFlags TDBGrid::selectionCommand(const QModelIndex &index, const QEvent *) const
{
    // A row is always highlighted: Ctrl+click or Ctrl+Space never take it away.
    if (!index.isValid())
        return QItemSelectionModel::NoUpdate;
    return QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
}

void TDBGrid::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        if (!leaveEditing()) {
            event->accept();
            return;
        }
        break;
    default: break;
    }
    const QScopedValueRollback user(m_userMove, true);
    QTableView::keyPressEvent(event);
}

void TDBGrid::mousePressEvent(QMouseEvent *event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid() && dataSet() && index.row() != dataSet()->RecNo() - 1 && !leaveEditing()) {
        event->accept();
        return;
    }
    const QScopedValueRollback user(m_userMove, true);
    QTableView::mousePressEvent(event);
}

void TDBGrid::mouseMoveEvent(QMouseEvent *event)
{
    const QScopedValueRollback user(m_userMove, true);
    QTableView::mouseMoveEvent(event);
}

void TDBGrid::mouseReleaseEvent(QMouseEvent *event)
{
    const QScopedValueRollback user(m_userMove, true);
    QTableView::mouseReleaseEvent(event);
}

void TDBGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    {
        const QScopedValueRollback user(m_userMove, true);
        QTableView::mouseDoubleClickEvent(event);
    }
    if (event->button() == Qt::LeftButton)
        emit dblClicked();
}

void TDBGrid::changeEvent(QEvent *event)
{
    QTableView::changeEvent(event);
    if (m_adjusting)
        return;
    const QScopedValueRollback adjusting(m_adjusting, true);
    const QEvent::Type type = event->type();
    if (type == QEvent::FontChange || type == QEvent::StyleChange)
        adjustRowHeight();
    if (type == QEvent::PaletteChange || type == QEvent::StyleChange)
        keepHighlightWhenInactive();
}

void TDBGrid::currentRowChanged(const QModelIndex &current)
{
    if (m_following)
        return;
    TClientDataSet *ds = dataSet();
    // Only the user's own moves reach the dataset; what Qt does on its own (a
    // removed row, the focus arriving) is put back to the dataset's row.
    if (!ds || !m_userMove || m_model->isChanging() || !current.isValid()) {
        scheduleFollow();
        return;
    }
    runHandler([&] { ds->SetRecNo(current.row() + 1); });
    if (ds->RecNo() != current.row() + 1)
        scheduleFollow();
}

void TDBGrid::scheduleFollow()
{
    if (m_followPending)
        return;
    m_followPending = true;
    postHandler(this, &TDBGrid::followCursor);
}

void TDBGrid::followCursor()
{
    m_followPending = false;
    TClientDataSet *ds = dataSet();
    const int row = ds && m_model->columnCount() > 0 ? ds->RecNo() - 1 : -1;
    QItemSelectionModel *selection = selectionModel();
    const QScopedValueRollback following(m_following, true);
    if (row < 0 || row >= m_model->rowCount()) {
        if (selection->hasSelection() || selection->currentIndex().isValid())
            selection->clear();
        return;
    }
    if (selection->currentIndex().row() == row && selection->isRowSelected(row))
        return;
    const QModelIndex target = m_model->index(row, 0);
    selection->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(target);
}

bool TDBGrid::leaveEditing()
{
    TClientDataSet *ds = dataSet();
    if (!ds || (ds->State() != dsEdit && ds->State() != dsInsert))
        return true;
    return runHandlerOr(false, [&] {
        if (m_source)
            m_source->UpdateRecord();
        if (ds->Modified())
            ds->Post();
        else
            ds->Cancel();
        return true;
    });
}

void TDBGrid::adjustRowHeight()
{
    // The hidden header's own minimum follows its title font, not the rows'.
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
}

void TDBGrid::keepHighlightWhenInactive()
{
    QPalette p = palette();
    bool changed = false;
    for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText}) {
        if (p.brush(QPalette::Inactive, role) != p.brush(QPalette::Active, role)) {
            p.setBrush(QPalette::Inactive, role, p.brush(QPalette::Active, role));
            changed = true;
        }
    }
    if (changed)
        setPalette(p);
}

} // namespace vosmira
