#pragma once

#include "PageStream.h"

#include <QObject>
#include <QStringList>

#include <array>
#include <memory>
#include <optional>

namespace rel {

enum class TFileFormat { PDF, HTML, RTF, Text };
inline constexpr std::array<TFileFormat, 4> AllFileFormats{TFileFormat::PDF, TFileFormat::HTML, TFileFormat::RTF,
                                                           TFileFormat::Text};

// The format a short name stands for: "pdf", "html" or "htm", "rtf", "txt" (any case).
std::optional<TFileFormat> fileFormatNamed(QStringView name);

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
    QString DefaultExtension() const; // ".pdf"

    // The name a file is written under: the name itself, or with the default
    // extension appended when it has none.
    QString TargetFileName(const QString &fileName) const;

    // Writes the pages of stream (a recording from its start) into the file,
    // replacing any file of that name, and returns the name written. Throws
    // OutputError naming the file when it cannot be written, ReportError when
    // the stream holds no pages.
    QString PrintRender(QIODevice *stream, const QString &fileName);
    // The same into a device of the caller's, from an open recording.
    void RenderTo(QIODevice *stream, QIODevice &out);

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

// The renderer of a file format: the one place a format is mapped to its renderer.
std::unique_ptr<TRelRender> makeRenderer(TFileFormat format);

} // namespace rel
