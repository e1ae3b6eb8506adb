#pragma once

#include "PageStream.h"

#include <QObject>
#include <QStringList>

namespace rel {

// Turns a recorded page stream into a file of one format.
class TRelRender : public QObject
{
    Q_OBJECT

public:
    TRelRender(const QString &displayName, const QString &fileExtension, QObject *parent = nullptr);
    ~TRelRender() override;

    QString DisplayName() const { return m_displayName; }
    // Patterns separated by ";", e.g. "*.html;*.htm"; the first gives the default extension.
    QString FileExtension() const { return m_fileExtension; }
    QString DefaultExtension() const;   // ".pdf"

    // The name a file is written under: the name itself, or with the default
    // extension appended when it has none.
    QString TargetFileName(const QString &fileName) const;

    // Writes the pages of stream (a recording from its start) into the file,
    // replacing any file of that name, and returns the name written. Throws
    // OutputError naming the file when it cannot be written, ReportError when
    // the stream holds no pages.
    QString PrintRender(QIODevice *stream, const QString &fileName);

protected:
    // Writes the document into out, reading pages one by one.
    virtual void render(PageStreamReader &reader, QIODevice &out) = 0;

private:
    QString m_displayName;
    QString m_fileExtension;
};

class TRelRenderPDF final : public TRelRender
{
    Q_OBJECT
public:
    explicit TRelRenderPDF(QObject *parent = nullptr);
protected:
    void render(PageStreamReader &reader, QIODevice &out) override;
};

class TRelRenderHTML final : public TRelRender
{
    Q_OBJECT
public:
    explicit TRelRenderHTML(QObject *parent = nullptr);
protected:
    void render(PageStreamReader &reader, QIODevice &out) override;
};

class TRelRenderRTF final : public TRelRender
{
    Q_OBJECT
public:
    explicit TRelRenderRTF(QObject *parent = nullptr);
protected:
    void render(PageStreamReader &reader, QIODevice &out) override;
};

class TRelRenderText final : public TRelRender
{
    Q_OBJECT
public:
    explicit TRelRenderText(QObject *parent = nullptr);
    int CPI() const { return 10; }
    int LPI() const { return 6; }
protected:
    void render(PageStreamReader &reader, QIODevice &out) override;
};

} // namespace rel
