#include "ProjectParser.h"

#include "ReportError.h"
#include "Template.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <cmath>
#include <optional>

using namespace Qt::StringLiterals;

namespace rel {

const ReportDefinition *ProjectDefinition::findReport(const QString &name) const
{
    for (const ReportDefinition &r : reports) {
        if (r.name.compare(name, Qt::CaseInsensitive) == 0)
            return &r;
    }
    return nullptr;
}

const SectionDefinition *ProjectDefinition::findSection(const QString &code) const
{
    for (const SectionDefinition &s : sections) {
        if (s.code.compare(code, Qt::CaseInsensitive) == 0)
            return &s;
    }
    return nullptr;
}

TextStyle ProjectDefinition::style(const QString &name) const
{
    return styles.value(name, TextStyle{name});
}

namespace {

const QString kMagic = QStringLiteral("vosmira-report-project");

struct Token
{
    QString text;
    bool quoted = false;
};

class Parser
{
public:
    Parser(const QString &text, const QString &fileName)
        : m_lines(text.split(QLatin1Char('\n')))
        , m_file(fileName)
    {
    }

    ProjectDefinition run();

private:
    [[noreturn]] void fail(const QString &detail) const
    {
        throw ProjectFileError(m_file, QStringLiteral("Arquivo de projeto de relatórios inválido: %1 (linha %2: %3)")
                                           .arg(m_file)
                                           .arg(m_lineNo)
                                           .arg(detail));
    }

    bool nextStatement(); // fills m_tok; false at end of file
    QList<Token> tokenize(const QString &line);
    const QString &word(int i) const { return m_tok.at(i).text; }
    void expectCount(int min, int max) const;
    int number(int i, int min, int max) const;
    QString string(int i) const;
    QString templateText(int i) const;
    bool onOff(int i) const;
    void defineStyle();
    void parseSection(ProjectDefinition &project);
    void parseReport(ProjectDefinition &project);
    bool reportText(ReportTexts &texts);
    FieldDefinition parseField();

    QStringList m_lines;
    QString m_file;
    int m_lineNo = 0;
    QList<Token> m_tok;
    QHash<QString, TextStyle> m_styles;
    ReportTexts m_defaults;
};

QList<Token> Parser::tokenize(const QString &line)
{
    QList<Token> tokens;
    qsizetype i = 0;
    const qsizetype n = line.size();
    while (i < n) {
        const QChar c = line.at(i);
        if (c.isSpace()) {
            ++i;
        } else if (c == u'#') {
            break;
        } else if (c == u'"') {
            Token t{QString(), true};
            ++i;
            bool closed = false;
            while (i < n) {
                const QChar d = line.at(i++);
                if (d == u'"') {
                    closed = true;
                    break;
                }
                if (d == u'\\') {
                    if (i >= n)
                        break;
                    const QChar e = line.at(i++);
                    if (e == u'n')
                        t.text += u'\n';
                    else if (e == u'"' || e == u'\\')
                        t.text += e;
                    else
                        fail(QStringLiteral("escape desconhecido \\%1").arg(e));
                    continue;
                }
                t.text += d;
            }
            if (!closed)
                fail(QStringLiteral("texto entre aspas não fechado"));
            tokens.append(t);
        } else {
            Token t;
            while (i < n && !line.at(i).isSpace() && line.at(i) != u'"' && line.at(i) != u'#')
                t.text += line.at(i++);
            tokens.append(t);
        }
    }
    return tokens;
}

bool Parser::nextStatement()
{
    while (m_lineNo < m_lines.size()) {
        QString line = m_lines.at(m_lineNo++);
        if (line.endsWith(u'\r'))
            line.chop(1);
        m_tok = tokenize(line);
        if (!m_tok.isEmpty()) {
            if (m_tok.constFirst().quoted)
                fail(QStringLiteral("uma instrução começa por uma palavra, não por um texto"));
            return true;
        }
    }
    return false;
}

void Parser::expectCount(int min, int max) const
{
    const int n = int(m_tok.size()) - 1;
    if (n < min || n > max)
        fail(QStringLiteral("número errado de argumentos para \"%1\"").arg(word(0)));
}

int Parser::number(int i, int min, int max) const
{
    bool ok = false;
    const int v = word(i).toInt(&ok);
    if (!ok || m_tok.at(i).quoted || v < min || v > max)
        fail(QStringLiteral("\"%1\" não é um número entre %2 e %3").arg(word(i)).arg(min).arg(max));
    return v;
}

QString Parser::string(int i) const
{
    if (!m_tok.at(i).quoted)
        fail(QStringLiteral("esperava um texto entre aspas em vez de %1").arg(word(i)));
    return word(i);
}

QString Parser::templateText(int i) const
{
    const QString text = string(i);
    const QString error = Template::syntaxError(text);
    if (!error.isEmpty())
        fail(error);
    return text;
}

bool Parser::onOff(int i) const
{
    if (word(i) == u"on")
        return true;
    if (word(i) == u"off")
        return false;
    fail(QStringLiteral("esperava on ou off em vez de %1").arg(word(i)));
}

void Parser::defineStyle()
{
    if (m_tok.size() < 3)
        fail(QStringLiteral("estilo incompleto"));
    TextStyle s;
    s.name = word(1);
    bool ok = false;
    s.pointSize = word(2).toDouble(&ok);
    // "nan" reads as a number, and fails every comparison.
    if (!ok || !std::isfinite(s.pointSize) || s.pointSize < 4 || s.pointSize > 72)
        fail(QStringLiteral("tamanho de letra inválido: %1").arg(word(2)));
    for (int i = 3; i < m_tok.size(); ++i) {
        if (word(i) == u"bold") {
            s.bold = true;
        } else if (word(i) == u"italic") {
            s.italic = true;
        } else if (word(i) == u"color" && i + 1 < m_tok.size()) {
            const QColor color(QLatin1Char('#') + word(++i));
            if (!color.isValid() || word(i).size() != 6)
                fail(QStringLiteral("cor inválida: %1").arg(word(i)));
            s.color = color;
        } else {
            fail(QStringLiteral("opção de estilo desconhecida: %1").arg(word(i)));
        }
    }
    m_styles.insert(s.name, s);
}

FieldDefinition Parser::parseField()
{
    if (m_tok.size() < 3)
        fail(QStringLiteral("campo sem rótulo e conteúdo"));
    FieldDefinition f;
    f.line = m_lineNo;
    f.label = string(1);
    int i = 2;
    for (; i < m_tok.size() && m_tok.at(i).quoted; ++i)
        f.values.append(templateText(i));
    f.style = QStringLiteral("value");
    // Options come in pairs: a name and its value.
    for (; i < m_tok.size(); i += 2) {
        if (i + 1 >= m_tok.size())
            fail(QStringLiteral("opção de campo sem valor: %1").arg(word(i)));
        if (word(i) == u"span") {
            f.span = word(i + 1) == u"all" ? -1 : number(i + 1, 1, 20);
        } else if (word(i) == u"style") {
            f.style = word(i + 1);
            if (!m_styles.contains(f.style))
                fail(QStringLiteral("estilo não definido: %1").arg(f.style));
        } else if (word(i) == u"join") {
            f.join = string(i + 1);
        } else if (word(i) == u"blank") {
            f.blanks.append(string(i + 1));
        } else {
            fail(QStringLiteral("opção de campo desconhecida: %1").arg(word(i)));
        }
    }
    return f;
}

void Parser::parseSection(ProjectDefinition &project)
{
    expectCount(1, 1);
    SectionDefinition s;
    s.code = word(1);
    if (project.findSection(s.code))
        fail(QStringLiteral("seção repetida: %1").arg(s.code));
    while (true) {
        if (!nextStatement())
            fail(QStringLiteral("seção %1 sem \"end\"").arg(s.code));
        const QString &key = word(0);
        if (key == u"end") {
            expectCount(0, 0);
            break;
        }
        if (key == u"heading") {
            expectCount(1, 1);
            s.heading = string(1);
        } else if (key == u"wide") {
            expectCount(0, 0);
            s.wide = true;
        } else if (key == u"columns") {
            expectCount(1, 1);
            s.columns = number(1, 1, 12);
        } else if (key == u"empty") {
            expectCount(1, 1);
            s.emptyText = string(1);
        } else if (key == u"field") {
            s.fields.append(parseField());
        } else {
            fail(QStringLiteral("instrução desconhecida na seção: %1").arg(key));
        }
    }
    if (s.fields.isEmpty())
        fail(QStringLiteral("seção %1 sem campos").arg(s.code));
    project.sections.append(s);
}

bool Parser::reportText(ReportTexts &texts)
{
    const QString &key = word(0);
    QString *target = nullptr;
    bool isTemplate = true;
    if (key == u"title")
        target = &texts.title;
    else if (key == u"subtitle")
        target = &texts.subtitle;
    else if (key == u"date")
        target = &texts.date;
    else if (key == u"footer")
        target = &texts.footer;
    else if (key == u"pages")
        target = &texts.pages;
    else if (key == u"summary")
        target = &texts.summary;
    else if (key == u"empty") {
        target = &texts.empty;
        isTemplate = false;
    }
    if (target) {
        expectCount(1, 1);
        *target = isTemplate ? templateText(1) : string(1);
        return true;
    }
    if (key == u"numbering") {
        expectCount(1, 1);
        texts.numbering = onOff(1);
        return true;
    }
    if (key == u"separator") {
        expectCount(1, 1);
        texts.separator = onOff(1);
        return true;
    }
    return false;
}

void Parser::parseReport(ProjectDefinition &project)
{
    expectCount(1, 1);
    ReportDefinition r;
    r.name = word(1);
    r.line = m_lineNo;
    if (project.findReport(r.name))
        fail(QStringLiteral("relatório repetido: %1").arg(r.name));
    r.texts = m_defaults;
    while (true) {
        if (!nextStatement())
            fail(QStringLiteral("relatório %1 sem \"end\"").arg(r.name));
        const QString &key = word(0);
        if (key == u"end") {
            expectCount(0, 0);
            break;
        }
        if (reportText(r.texts))
            continue;
        if (key == u"connection") {
            expectCount(1, 1);
            r.connection = word(1);
        } else if (key == u"slots") {
            expectCount(1, 10);
            for (int i = 1; i < m_tok.size(); ++i)
                r.slotNames.append(word(i));
        } else {
            fail(QStringLiteral("instrução desconhecida no relatório: %1").arg(key));
        }
    }
    if (r.connection.isEmpty())
        fail(QStringLiteral("relatório %1 sem \"connection\"").arg(r.name));
    if (r.slotNames.isEmpty())
        fail(QStringLiteral("relatório %1 sem \"slots\"").arg(r.name));
    project.reports.append(r);
}

ProjectDefinition Parser::run()
{
    ProjectDefinition project;
    project.fileName = m_file;
    for (const QString &name : {u"title"_s, u"subtitle"_s, u"date"_s, u"footer"_s, u"pages"_s, u"summary"_s, u"empty"_s,
                                u"heading"_s, u"label"_s, u"value"_s, u"name"_s, u"number"_s}) {
        m_styles.insert(name, TextStyle{name});
    }

    if (!nextStatement() || word(0) != kMagic || m_tok.size() != 2 || word(1) != u"1")
        fail(QStringLiteral("a primeira instrução deve ser \"%1 1\"").arg(kMagic));

    while (nextStatement()) {
        const QString &key = word(0);
        if (key == u"page") {
            expectCount(1, 2);
            const QString paper = word(1);
            if (paper != u"A4" && paper != u"Letter" && paper != u"Legal")
                fail(QStringLiteral("papel desconhecido: %1").arg(paper));
            project.page.paper = paper;
            if (m_tok.size() == 3) {
                if (word(2) != u"portrait" && word(2) != u"landscape")
                    fail(QStringLiteral("orientação desconhecida: %1").arg(word(2)));
                project.page.landscape = word(2) == u"landscape";
            }
        } else if (key == u"margins") {
            expectCount(4, 4);
            project.page.marginLeft = number(1, 0, 40);
            project.page.marginTop = number(2, 0, 40);
            project.page.marginRight = number(3, 0, 40);
            project.page.marginBottom = number(4, 0, 40);
        } else if (key == u"font") {
            expectCount(1, 1);
            project.page.fontFamily = string(1);
        } else if (key == u"heading-width") {
            expectCount(1, 1);
            project.page.headingWidth = number(1, 0, 40);
        } else if (key == u"number-width") {
            expectCount(1, 1);
            project.page.numberWidth = number(1, 0, 20);
        } else if (key == u"style") {
            defineStyle();
        } else if (key == u"defaults") {
            expectCount(0, 0);
            while (true) {
                if (!nextStatement())
                    fail(QStringLiteral("\"defaults\" sem \"end\""));
                if (word(0) == u"end") {
                    expectCount(0, 0);
                    break;
                }
                if (!reportText(m_defaults))
                    fail(QStringLiteral("instrução desconhecida em \"defaults\": %1").arg(word(0)));
            }
        } else if (key == u"section") {
            parseSection(project);
        } else if (key == u"report") {
            parseReport(project);
        } else {
            fail(QStringLiteral("instrução desconhecida: %1").arg(key));
        }
    }
    project.styles = m_styles;
    return project;
}

} // namespace

ProjectDefinition parseProject(const QByteArray &utf8, const QString &fileName)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(utf8);
    if (decoder.hasError()) {
        throw ProjectFileError(
            fileName,
            QStringLiteral("Arquivo de projeto de relatórios inválido: %1 (não está em UTF-8)").arg(fileName));
    }
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    Parser parser(text, fileName);
    return parser.run();
}

ProjectDefinition loadProject(const QString &fileName)
{
    const QFileInfo info(fileName);
    if (!info.exists()) {
        throw ProjectFileError(fileName,
                               QStringLiteral("Arquivo de projeto de relatórios não encontrado: %1").arg(fileName));
    }
    QFile file(fileName);
    if (info.isDir() || !file.open(QIODevice::ReadOnly)) {
        throw ProjectFileError(
            fileName, QStringLiteral("Não foi possível ler o arquivo de projeto de relatórios: %1").arg(fileName));
    }
    return parseProject(file.readAll(), fileName);
}

} // namespace rel
