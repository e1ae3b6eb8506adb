#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Real readers of the engine's output files, so tests never trust our writers.
namespace rtest {

// pdftotext; page 0 means every page.
QString pdfText(const QString &file, int page = 0, bool layout = false);
int pdfPageCount(const QString &file);

struct HtmlContent
{
    bool wellFormed = false;
    QString error;
    QString encoding;  // from <meta charset>
    QStringList pages; // text of each div.page, in order
    QString text() const { return pages.join(QLatin1Char('\n')); }
};
// QXmlStreamReader: the whole file must be well-formed.
HtmlContent htmlContent(const QString &file);

struct RtfContent
{
    bool ok = false;
    QString text;
    int pageBreaks = 0;
};
// unrtf --html, then the HTML read back by QTextDocument.
RtfContent rtfContent(const QString &file);

// A paragraph as a word processor stacks it: twips from the top margin.
struct RtfParagraph
{
    int top = 0;
    int height = 0;     // line, spacing and borders
    bool exact = false; // line height fixed (\slN with N < 0, \slmult0)
    bool text = false;  // holds visible text
    int rule = -1;      // middle of its bottom border, or -1
    int ruleWidth = 0;
};

struct RtfLayout
{
    bool ok = false;
    int paperHeight = 0, marginTop = 0, marginBottom = 0;
    QList<QList<RtfParagraph>> pages; // split at \page
};
// The vertical layout of the body's paragraphs, read from the control words
// (no word processor needed).
RtfLayout rtfLayout(const QString &file);

// Whitespace runs collapsed, so wrapped text compares with the original.
QString flat(const QString &text);

// The program's output, or an empty string with a warning when it failed.
QString runTool(const QString &program, const QStringList &arguments, int *exitCode = nullptr);

} // namespace rtest
