#pragma once

#include "PageStream.h"
#include "TRelOutputOptions.h"

#include <QDialog>

#include <memory>

class QComboBox;
class QLabel;
class QScrollArea;
class QToolButton;

namespace rel {

class TRelPageView;

struct TPreviewSettings
{
    QString title = QStringLiteral("Report Preview");
    QString jobTitle = QStringLiteral("Relatório Vosmira");
    QString printStatus = QStringLiteral("Printing page %p");
    QString statusTitle = QStringLiteral("Report Status");
    qreal zoom = 100;
    bool maximized = true;
    bool allowPrint = true;
    bool allowSave = true;
};

// "Report Preview": the pages of a recorded stream, one at a time, with page
// navigation, zoom, printing and saving to the four file formats.
class TRelPreviewForm : public QDialog
{
    Q_OBJECT

public:
    // stream stays the caller's and must outlive the form.
    TRelPreviewForm(QIODevice *stream, const TPreviewSettings &settings, QWidget *parent = nullptr);
    ~TRelPreviewForm() override;

    int pageNumber() const { return m_current; } // from 1
    int pageCount() const { return int(m_offsets.size()); }
    qreal zoom() const;
    const Page &currentPage() const;

    void showPage(int number);
    void firstPage() { showPage(1); }
    void priorPage() { showPage(m_current - 1); }
    void nextPage() { showPage(m_current + 1); }
    void lastPage() { showPage(pageCount()); }
    void setZoom(qreal percent);
    void zoomIn();
    void zoomOut();
    void fitWidth();
    void fitPage();

    void print();
    void saveAs(TFileFormat format);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildToolBar(QLayout *layout);
    void refresh();

    QIODevice *m_stream;
    TPreviewSettings m_settings;
    std::unique_ptr<PageStreamReader> m_reader;
    QList<qint64> m_offsets;
    int m_current = 0;

    TRelPageView *m_view;
    QScrollArea *m_scroll;
    QComboBox *m_zoomBox = nullptr;
    QLabel *m_pageLabel = nullptr;
    QToolButton *m_first = nullptr;
    QToolButton *m_prior = nullptr;
    QToolButton *m_next = nullptr;
    QToolButton *m_last = nullptr;
};

} // namespace rel
