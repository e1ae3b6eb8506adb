#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

#include <functional>

class TClientDataSet;
class TField;

namespace vosmira {

class TFieldDataLink;

// Connects data-bound controls to a dataset. Before the dataset's pending row is
// posted, UpdateRecord() lets every control hand over the value it holds.
class TDataSource : public QObject
{
    Q_OBJECT
public:
    explicit TDataSource(TClientDataSet *dataSet, QObject *parent = nullptr);

    TClientDataSet *DataSet() const { return m_dataSet; }
    // Throws when a control holds a value its column cannot take (an incomplete mask).
    void UpdateRecord();

private:
    friend class TFieldDataLink;
    void addLink(TFieldDataLink *link);
    void removeLink(TFieldDataLink *link);

    TClientDataSet *m_dataSet;
    QList<TFieldDataLink *> m_links;
};

// One control's tie to one field: shows the field when the row changes or the
// field is written elsewhere, remembers whether the user changed the control, and
// writes the control's value on request.
class TFieldDataLink : public QObject
{
    Q_OBJECT
public:
    // show: put the field's value into the control; write: put the control's value
    // into the field (may throw).
    TFieldDataLink(TDataSource *source, TField *field, QObject *control, std::function<void()> show,
                   std::function<void()> write);
    ~TFieldDataLink() override;

    TField *Field() const { return m_field; }
    TDataSource *DataSource() const { return m_source; }
    // Whether the dataset takes writes (edit or insert state).
    bool Editing() const;

    bool Modified() const { return m_modified; }
    void Modified(bool modified) { m_modified = modified; }

    // Shows the field's value again, forgetting the control's changes.
    void Reset();
    // Writes the control's value when it was changed.
    void UpdateRecord();

private:
    void fieldWritten();

    QPointer<TDataSource> m_source; // may go first when its window is torn down
    TField *m_field;
    std::function<void()> m_show;
    std::function<void()> m_write;
    bool m_modified = false;
    bool m_updating = false;
};

} // namespace vosmira
