#pragma once

#include <QColor>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace rel {

// What a report project file holds, as read from disk. Sizes are grid cells:
// a column is 1/10 inch and a line 1/6 inch, the grid of the plain-text output.
struct TextStyle
{
    QString name;
    qreal pointSize = 9;
    bool bold = false;
    bool italic = false;
    QColor color = Qt::black;
};

struct FieldDefinition
{
    QString label;      // may be empty
    QStringList values; // templates; the non-empty results are joined
    QString join = QStringLiteral(" ");
    int span = 0;       // cells; 0 = as many as the text needs; -1 = the whole row
    QString style;      // value style; "value" unless given
    QStringList blanks; // display texts that count as empty (e.g. the zero date)
    int line = 0;       // in the project file, for messages
};

struct SectionDefinition
{
    QString code;      // e.g. Show_Contato
    QString heading;   // empty for a wide section
    bool wide = false; // fields start in the heading column
    int columns = 4;
    QString emptyText; // shown when every field is empty; nothing when empty
    QList<FieldDefinition> fields;
};

struct ReportTexts
{
    QString title;
    QString subtitle;
    QString date;
    QString footer;
    QString pages;
    QString summary;
    QString empty;
    bool numbering = true;
    bool separator = true;
};

struct ReportDefinition
{
    QString name;
    QString connection;
    QStringList slotNames; // parameter names, e.g. GENERO1 GENERO2
    ReportTexts texts;
    int line = 0;
};

struct PageDefinition
{
    QString paper = QStringLiteral("A4");
    bool landscape = false;
    int marginLeft = 5; // columns
    int marginTop = 3;  // lines
    int marginRight = 5;
    int marginBottom = 3;
    QString fontFamily = QStringLiteral("DejaVu Sans");
    int headingWidth = 12; // columns of the section heading column
    int numberWidth = 7;   // columns of the row number gutter
};

struct ProjectDefinition
{
    QString fileName;
    PageDefinition page;
    QHash<QString, TextStyle> styles;
    QList<SectionDefinition> sections;
    QList<ReportDefinition> reports;

    const ReportDefinition *findReport(const QString &name) const;   // case-insensitive
    const SectionDefinition *findSection(const QString &code) const; // case-insensitive
    TextStyle style(const QString &name) const;
};

} // namespace rel
