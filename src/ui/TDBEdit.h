#pragma once

#include "EditMask.h"

#include <QLineEdit>
#include <QValidator>

class TField;

namespace vosmira {

class TDataSource;
class TFieldDataLink;

// An edit bound to a field. It shows the field on the current row, writes what
// the user typed when it is left or the row is posted, follows the field's edit
// mask, and Escape puts the field's value back instead of closing the window.
// A masked edit holding an incomplete value refuses to be left.
class TDBEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit TDBEdit(QWidget *parent = nullptr);

    // maxLength: 0 takes the column's size. Masked fields follow their mask.
    void setDataField(TDataSource *source, TField *field, int maxLength = 0);
    // The first `count` typed positions of the mask take letters A-Z too.
    void setAlphanumericPositions(int count);
    // Letters turn upper case as they are typed or pasted.
    void setUpperCase(bool upper);

    TField *Field() const;
    TFieldDataLink *DataLink() const { return m_link; }
    bool isMasked() const { return m_mask.isValid(); }

    // The text as the field's mask yields it: masked positions not typed are
    // blanks; the mask's literals only when the mask stores them.
    QString Text() const;
    // What the edit would write: null when nothing was typed.
    QString storedValue() const;
    // Empty when the text can go into the field; else the reason it cannot.
    QString problem() const;

    // Empties the edit, and the field with it while the row is being edited.
    void Clear();

Q_SIGNALS:
    // The focus moved from this edit to another control of its window.
    void exited();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void showField();
    void writeField();
    void applyMask();
    void focusMoved(QWidget *from, QWidget *to);
    void cursorToGap();
    void setShownText(const QString &stored);
    bool growing() const { return m_mask.hasLongForm(); }
    int firstGap() const;

    TFieldDataLink *m_link = nullptr;
    EditMask::Mask m_mask;
    int m_alphanumeric = 0;
    bool m_showing = false;
};

// Keeps a masked edit to 0-9 and A-Z: Qt's mask positions take any script's digits
// and letters, and Brazilian keyboards type superscript digits on AltGr+1, 2 and 3.
class MaskCharacterValidator : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString &input, int &pos) const override;
};

// Lays the digits of an edit whose mask has a long form into the pattern they fill
// after every change (maskedtext::regrow); refuses what no digit place takes.
class GrowingMaskValidator : public QValidator
{
public:
    GrowingMaskValidator(const EditMask::Mask &mask, QObject *parent)
        : QValidator(parent)
        , m_mask(mask)
    {
    }
    State validate(QString &input, int &pos) const override;

private:
    EditMask::Mask m_mask;
};

// The message of a masked edit left incomplete.
QString incompleteMaskMessage();

} // namespace vosmira
