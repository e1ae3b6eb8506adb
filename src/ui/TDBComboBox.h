#pragma once

#include <QComboBox>

class TField;

namespace vosmira {

class TDataSource;
class TFieldDataLink;

// A drop-down list bound to a field, without free typing. A value that is not
// among the items shows no item, unless the list keeps foreign values; no item
// hands an empty value to the field.
class TDBComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit TDBComboBox(QWidget *parent = nullptr);

    void setDataField(TDataSource *source, TField *field);
    TField *Field() const;
    TFieldDataLink *DataLink() const { return m_link; }

    // Shows a stored value that is not among the items as it is, in an extra last
    // item, so that it is written back unchanged unless the user picks another.
    void setKeepsForeignValues(bool keep);
    bool keepsForeignValues() const { return m_keepForeign; }

    // Shows no item, and empties the field while the row is being edited.
    void Clear();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void showField();
    void writeField();

    TFieldDataLink *m_link = nullptr;
    bool m_keepForeign = false;
    int m_foreignIndex = -1; // the extra item showing a foreign value
};

} // namespace vosmira
