#pragma once

#include <QComboBox>

class TField;

namespace vosmira {

class TDataSource;
class TFieldDataLink;

// A drop-down list bound to a field, without free typing. A value that is not
// among the items shows no item; no item hands an empty value to the field.
class TDBComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit TDBComboBox(QWidget *parent = nullptr);

    void setDataField(TDataSource *source, TField *field);
    TField *Field() const;
    TFieldDataLink *DataLink() const { return m_link; }

    // Shows no item, and empties the field while the row is being edited.
    void Clear();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void showField();
    void writeField();

    TFieldDataLink *m_link = nullptr;
};

} // namespace vosmira
