#include "Readers.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTextDocument>
#include <QXmlStreamReader>

#include <cctype>

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
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("^Pages:\\s+(\\d+)"), QRegularExpression::MultilineOption).match(info);
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

RtfLayout rtfLayout(const QString &file)
{
    RtfLayout result;
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return result;
    const QByteArray rtf = f.readAll();

    struct Border
    {
        bool on = false;
        int width = 0;
        int space = 0;
        int total() const { return on ? width + space : 0; }
    };
    struct Props
    {
        int sl = 0;
        bool multiple = true;
        int sa = 0, sb = 0;
        Border top, bottom;
    };
    Props props;
    Border *border = nullptr; // the one \brdrw and \brsp go to
    bool text = false;
    QList<RtfParagraph> page;
    int y = 0;
    int depth = 0;
    int skipDepth = 0; // inside a destination that holds no body text
    bool groupStart = false;

    for (qsizetype i = 0; i < rtf.size(); ++i) {
        const char c = rtf.at(i);
        if (c == '{') {
            ++depth;
            groupStart = true;
            continue;
        }
        if (c == '}') {
            if (depth == skipDepth)
                skipDepth = 0;
            --depth;
            groupStart = false;
            continue;
        }
        if (c != '\\') {
            if (!skipDepth && c != ' ' && c != '\n' && c != '\r')
                text = true;
            groupStart = false;
            continue;
        }
        if (++i >= rtf.size())
            break;
        const char s = rtf.at(i);
        if (!std::isalpha(uchar(s))) {
            if (s == '*' && groupStart && !skipDepth)
                skipDepth = depth;
            else if (!skipDepth && (s == '\'' || s == '\\' || s == '{' || s == '}' || s == '~'))
                text = true;
            if (s == '\'')
                i += 2;
            groupStart = false;
            continue;
        }
        const qsizetype start = i;
        while (i < rtf.size() && std::isalpha(uchar(rtf.at(i))))
            ++i;
        const QByteArray word = rtf.mid(start, i - start);
        const qsizetype numberStart = i;
        if (i < rtf.size() && rtf.at(i) == '-')
            ++i;
        while (i < rtf.size() && std::isdigit(uchar(rtf.at(i))))
            ++i;
        const int n = rtf.mid(numberStart, i - numberStart).toInt();
        if (i >= rtf.size() || rtf.at(i) != ' ')
            --i; // not a delimiting space: the character is read again

        const bool opensGroup = groupStart;
        groupStart = false;
        if (skipDepth)
            continue;
        if (opensGroup
            && (word == "fonttbl" || word == "colortbl" || word == "stylesheet" || word == "info" || word == "header"
                || word == "footer" || word == "pict")) {
            skipDepth = depth;
        } else if (word == "paperh") {
            result.paperHeight = n;
        } else if (word == "margt") {
            result.marginTop = n;
        } else if (word == "margb") {
            result.marginBottom = n;
        } else if (word == "pard") {
            props = Props();
            border = nullptr;
        } else if (word == "sl") {
            props.sl = n;
        } else if (word == "slmult") {
            props.multiple = n != 0;
        } else if (word == "sa") {
            props.sa = n;
        } else if (word == "sb") {
            props.sb = n;
        } else if (word == "brdrt" || word == "brdrb") {
            border = word == "brdrt" ? &props.top : &props.bottom;
            border->on = true;
        } else if (word == "brdrl" || word == "brdrr") {
            border = nullptr;
        } else if (word == "brdrw" && border) {
            border->width = n;
        } else if (word == "brsp" && border) {
            border->space = n;
        } else if (word == "u") {
            text = true;
        } else if (word == "page") {
            result.pages.append(page);
            page.clear();
            y = 0;
        } else if (word == "par") {
            RtfParagraph p;
            p.top = y;
            p.exact = props.sl < 0 && !props.multiple;
            const int line = qAbs(props.sl);
            p.height = props.sb + props.top.total() + line + props.bottom.total() + props.sa;
            p.text = text;
            if (props.bottom.on) {
                p.rule = y + props.sb + props.top.total() + line + props.bottom.space + props.bottom.width / 2;
                p.ruleWidth = props.bottom.width;
            }
            page.append(p);
            y += p.height;
            text = false;
        }
    }
    result.pages.append(page);
    result.ok = depth == 0 && result.paperHeight > 0;
    return result;
}

QString flat(const QString &text)
{
    return text.simplified();
}

} // namespace rtest
