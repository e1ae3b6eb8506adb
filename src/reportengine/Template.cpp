#include "Template.h"

#include "TRelDataConnection.h"

#include <vector>

namespace rel {

struct Template::Node
{
    enum Kind { Literal, Column, Macro, Group } kind = Group;
    QString text; // literal text or macro name
    int column = -1;
    std::vector<Node> children; // group
};

namespace {

const QStringList kMacros = {
    QStringLiteral("DATE"),  QStringLiteral("TIME"),   QStringLiteral("PAGE"),     QStringLiteral("PAGES"),
    QStringLiteral("COUNT"), QStringLiteral("REPORT"), QStringLiteral("SECTIONS"),
};

// Deep enough for any layout; deeper only comes from a damaged or hostile file,
// whose groups would otherwise be evaluated and destroyed by deep recursion.
constexpr std::size_t kMaxDepth = 16;

// A template quoted in a message: its start is enough to find it.
QString quoted(const QString &text)
{
    return text.size() <= 60 ? text : text.left(57) + QStringLiteral("...");
}

} // namespace

Template::Template() = default;
Template::~Template() = default;
Template::Template(const Template &other) = default;
Template &Template::operator=(const Template &other) = default;

QString Template::pagesPlaceholder()
{
    return QStringLiteral("{@PAGES}");
}

bool Template::isEmpty() const
{
    return !m_root || m_root->children.empty();
}

Template Template::compile(const QString &text, const QStringList &columnNames, QString *error)
{
    return parse(text, &columnNames, error);
}

QString Template::syntaxError(const QString &text)
{
    QString error;
    parse(text, nullptr, &error);
    return error;
}

Template Template::parse(const QString &text, const QStringList *columnNames, QString *error)
{
    error->clear();
    Template result;
    auto root = std::make_shared<Node>();
    std::vector<Node *> stack{root.get()};
    QString literal;
    auto flush = [&] {
        if (!literal.isEmpty()) {
            Node n;
            n.kind = Node::Literal;
            n.text = literal;
            stack.back()->children.push_back(std::move(n));
            literal.clear();
        }
    };
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        const QChar next = i + 1 < n ? text.at(i + 1) : QChar();
        if ((c == u'{' || c == u'}' || c == u'[' || c == u']') && next == c) {
            literal += c;
            ++i;
        } else if (c == u'{') {
            const qsizetype close = text.indexOf(u'}', i + 1);
            if (close < 0) {
                *error = QStringLiteral("\"{\" sem \"}\" em %1").arg(quoted(text));
                return Template();
            }
            const QString ref = text.mid(i + 1, close - i - 1).trimmed();
            flush();
            Node node;
            if (ref.startsWith(u'@')) {
                node.kind = Node::Macro;
                node.text = ref.mid(1).toUpper();
                if (!kMacros.contains(node.text)) {
                    *error = QStringLiteral("macro desconhecida: {%1}").arg(quoted(ref));
                    return Template();
                }
            } else if (columnNames) {
                node.kind = Node::Column;
                for (int k = 0; k < columnNames->size(); ++k) {
                    if (columnNames->at(k).compare(ref, Qt::CaseInsensitive) == 0)
                        node.column = k;
                }
                if (node.column < 0) {
                    *error = QStringLiteral("coluna desconhecida: {%1}").arg(quoted(ref));
                    return Template();
                }
                result.m_usesColumns = true;
            }
            stack.back()->children.push_back(std::move(node));
            i = close;
        } else if (c == u'[') {
            if (stack.size() > kMaxDepth) {
                *error = QStringLiteral("mais de %1 \"[\" aninhados em %2").arg(kMaxDepth).arg(quoted(text));
                return Template();
            }
            flush();
            stack.back()->children.push_back(Node{});
            stack.push_back(&stack.back()->children.back());
        } else if (c == u']') {
            if (stack.size() < 2) {
                *error = QStringLiteral("\"]\" sem \"[\" em %1").arg(quoted(text));
                return Template();
            }
            flush();
            stack.pop_back();
        } else if (c == u'}') {
            *error = QStringLiteral("\"}\" sem \"{\" em %1").arg(quoted(text));
            return Template();
        } else {
            literal += c;
        }
    }
    if (stack.size() != 1) {
        *error = QStringLiteral("\"[\" sem \"]\" em %1").arg(quoted(text));
        return Template();
    }
    flush();
    result.m_root = std::move(root);
    return result;
}

namespace {

QString macroValue(const QString &name, const TemplateContext &c)
{
    if (name == u"DATE")
        return c.date;
    if (name == u"TIME")
        return c.time;
    if (name == u"PAGE")
        return c.page;
    if (name == u"PAGES")
        return c.pages.isEmpty() ? Template::pagesPlaceholder() : c.pages;
    if (name == u"COUNT")
        return c.count;
    if (name == u"REPORT")
        return c.report;
    return c.sections;
}

// False when a column inside is empty: the enclosing optional group vanishes.
template <typename NodeT>
bool append(const NodeT &node, const TemplateContext &c, QString &out)
{
    switch (node.kind) {
    case NodeT::Literal: out += node.text; return true;
    case NodeT::Macro: {
        const QString value = macroValue(node.text, c);
        out += value;
        return !value.isEmpty();
    }
    case NodeT::Column: {
        if (!c.row || c.row->Eof() || c.row->IsNull(node.column))
            return false;
        const QString text = c.row->DisplayText(node.column).trimmed();
        out += text;
        return !text.isEmpty();
    }
    case NodeT::Group: {
        QString part;
        bool complete = true;
        for (const NodeT &child : node.children) {
            if (child.kind == NodeT::Group) {
                QString inner;
                if (append(child, c, inner))
                    part += inner;
            } else if (!append(child, c, part)) {
                complete = false;
            }
        }
        if (complete)
            out += part;
        return complete;
    }
    }
    return true;
}

} // namespace

QString Template::evaluate(const TemplateContext &context) const
{
    if (!m_root)
        return QString();
    QString out;
    // The outermost level keeps what it has even when a column is empty.
    for (const Node &child : m_root->children) {
        if (child.kind == Node::Group) {
            QString inner;
            if (append(child, context, inner))
                out += inner;
        } else {
            append(child, context, out);
        }
    }
    return out;
}

} // namespace rel
