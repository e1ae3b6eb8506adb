#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

namespace rel {

class TRelDataConnection;

// The values a template's {@MACRO} references take. An empty `pages` leaves
// {@PAGES} in the text, for the renderer to fill once the page count is known.
struct TemplateContext
{
    const TRelDataConnection *row = nullptr; // current row, or none
    QString date;
    QString time;
    QString page;
    QString pages;
    QString count;
    QString report;
    QString sections;
};

// A text with {COLUMN} (display text of a column), {@MACRO} references and
// [optional groups] that vanish when a column or macro inside them is empty.
// {{ }} [[ ]] stand for literal braces and brackets.
class Template
{
public:
    Template();
    ~Template();
    Template(const Template &other);
    Template &operator=(const Template &other);

    // Empty error when the text compiles; columns resolve against columnNames.
    static Template compile(const QString &text, const QStringList &columnNames, QString *error);
    // What is wrong with the text whatever the columns: braces, brackets, macros
    // and nesting; empty when nothing is.
    static QString syntaxError(const QString &text);

    QString evaluate(const TemplateContext &context) const;
    bool isEmpty() const;
    bool usesColumns() const { return m_usesColumns; }

    static QString pagesPlaceholder();

private:
    struct Node;
    // Without columnNames, column references are taken as they stand.
    static Template parse(const QString &text, const QStringList *columnNames, QString *error);
    std::shared_ptr<const Node> m_root;
    bool m_usesColumns = false;
};

} // namespace rel
