#pragma once

#include <QPlainTextEdit>

class TField;

namespace vosmira {

class TDataSource;
class TFieldDataLink;

// A multi-line text bound to a field, refusing text beyond its limit (typed
// characters are refused, pasted text is cut to what fits).
class TDBMemo : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit TDBMemo(QWidget *parent = nullptr);

    void setDataField(TDataSource *source, TField *field);
    TField *Field() const;
    TFieldDataLink *DataLink() const { return m_link; }

    int MaxLength() const { return m_maxLength; }
    void setMaxLength(int maxLength);
    int length() const;

    // Empties the memo, and the field with it while the row is being edited.
    void Clear();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void insertFromMimeData(const QMimeData *source) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void showField();
    void writeField();
    // How many characters may replace the selection.
    int room() const;
    // The start of text that fits in the room.
    QString fitting(const QString &text) const;

    TFieldDataLink *m_link = nullptr;
    int m_maxLength = 0;
    bool m_loading = false;
};

} // namespace vosmira
