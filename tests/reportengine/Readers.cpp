#include "Readers.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTextDocument>
#include <QXmlStreamReader>

namespace rtest {

QString runTool(const QString &program, const QStringList &arguments, int *exitCode)
{
    QProcess p;
    p.start(program, arguments);
    if (!p.waitForFinished(120000)) {
        qWarning("%s did not finish", qPrintable(program));
        return QString();
    }
    if (exitCode)
        *exitCode = p.exitCode();
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        qWarning("%s: %s", qPrintable(program), p.readAllStandardError().constData());
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString pdfText(const QString &file, int page, bool layout)
{
    QStringList args = {QStringLiteral("-enc"), QStringLiteral("UTF-8")};
    if (layout)
        args << QStringLiteral("-layout");
    if (page > 0)
        args << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l") << QString::number(page);
    args << file << QStringLiteral("-");
    return runTool(QStringLiteral("pdftotext"), args);
}

int pdfPageCount(const QString &file)
{
    const QString info = runTool(QStringLiteral("pdfinfo"), {file});
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("^Pages:\\s+(\\d+)"),
                                                         QRegularExpression::MultilineOption).match(info);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

HtmlContent htmlContent(const QString &file)
{
    HtmlContent result;
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) {
        result.error = f.errorString();
        return result;
    }
    QXmlStreamReader xml(&f);
    int pageDepth = -1;
    int depth = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            ++depth;
            if (xml.name() == u"meta" && xml.attributes().hasAttribute(QStringLiteral("charset")))
                result.encoding = xml.attributes().value(QStringLiteral("charset")).toString();
            if (xml.name() == u"div" && xml.attributes().value(QStringLiteral("class")) == u"page") {
                pageDepth = depth;
                result.pages.append(QString());
            }
            if (xml.name() == u"span" && pageDepth > 0 && !result.pages.constLast().isEmpty())
                result.pages.last() += QLatin1Char('\n');
        } else if (xml.isEndElement()) {
            if (depth == pageDepth)
                pageDepth = -1;
            --depth;
        } else if (xml.isCharacters() && pageDepth > 0 && !xml.isWhitespace()) {
            result.pages.last() += xml.text();
        }
    }
    result.wellFormed = !xml.hasError();
    if (xml.hasError())
        result.error = QStringLiteral("%1 at line %2").arg(xml.errorString()).arg(xml.lineNumber());
    return result;
}

RtfContent rtfContent(const QString &file)
{
    RtfContent result;
    int code = -1;
    const QString html = runTool(QStringLiteral("unrtf"), {QStringLiteral("--html"), file}, &code);
    if (code != 0 || html.isEmpty())
        return result;
    result.pageBreaks = int(html.count(QStringLiteral("<hr>")));
    QTextDocument doc;
    doc.setHtml(html);
    result.text = doc.toPlainText();
    result.ok = true;
    return result;
}

QString flat(const QString &text)
{
    return text.simplified();
}

} // namespace rtest
