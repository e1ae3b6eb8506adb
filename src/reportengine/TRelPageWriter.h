#pragma once

#include "TRelEngine.h"

#include <QBuffer>
#include <QPointer>

namespace rel {

enum TStreamMode { smMemory, smUserStream };

// Records every page of a run into a stream and shows nothing. With
// smUserStream the caller gives the stream (and keeps it); with smMemory the
// writer keeps its own, readable through Stream() after the run.
class TRelPageWriter : public TRelEngine
{
    Q_OBJECT

public:
    explicit TRelPageWriter(QObject *parent = nullptr);
    ~TRelPageWriter() override;

    QString Title() const { return m_title; }
    void SetTitle(const QString &title) { m_title = title; }
    QString StatusFormat() const { return m_statusFormat; }
    void SetStatusFormat(const QString &format) { m_statusFormat = format; }

    TStreamMode StreamMode() const { return m_mode; }
    void SetStreamMode(TStreamMode mode) { m_mode = mode; }
    QIODevice *Stream() const;
    void SetStream(QIODevice *stream) { m_stream = stream; }

    int PageCount() const { return m_pages; }

    bool Execute(ReportJob job) override;

private:
    QString m_title = QStringLiteral("Relatório Vosmira");
    QString m_statusFormat = QStringLiteral("Printing page %p");
    TStreamMode m_mode = smMemory;
    QPointer<QIODevice> m_stream;
    QBuffer m_own;
    int m_pages = 0;
};

} // namespace rel
