#pragma once

#include "TRelRender.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QRadioButton;
class QSpinBox;
class QDialogButtonBox;

namespace rel {

enum class TReportDest { Printer, Preview, File };

struct TOutputOptions
{
    TReportDest destination = TReportDest::Preview;
    TFileFormat format = TFileFormat::PDF;
    QString fileName;
    int copies = 1;
};

// "Output Options": where a report goes before it is made.
class TRelOutputOptions : public QDialog
{
    Q_OBJECT

public:
    explicit TRelOutputOptions(const QString &title, const TOutputOptions &options, QWidget *parent = nullptr);

    TOutputOptions options() const;
    void setOptions(const TOutputOptions &options);

private:
    void browse();
    void refresh();

    QRadioButton *m_printer;
    QRadioButton *m_preview;
    QRadioButton *m_file;
    QComboBox *m_format;
    QLineEdit *m_fileName;
    QSpinBox *m_copies;
    QDialogButtonBox *m_buttons;
};

// The display name of a file format, and its file-dialog filter ("Adobe Acrobat (PDF)|*.pdf").
QString formatDisplayName(TFileFormat format);
QString formatFilter(TFileFormat format);

} // namespace rel
