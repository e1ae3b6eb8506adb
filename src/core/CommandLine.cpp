#include "CommandLine.h"

#include <QTextStream>

#include <algorithm>
#include <utility>

namespace vosmira {

QString programVersion()
{
    return QStringLiteral(VOSMIRA_VERSION);
}

namespace {

QString dashed(const QString &name)
{
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

QString namesOf(const QCommandLineOption &option)
{
    QStringList names;
    for (const QString &name : option.names())
        names.append(dashed(name));
    QString text = names.join(QStringLiteral(", "));
    if (!option.valueName().isEmpty())
        text += QStringLiteral(" <%1>").arg(option.valueName());
    return text;
}

} // namespace

CommandLine::CommandLine(QString program, QString description)
    : m_program(std::move(program))
    , m_description(std::move(description))
    , m_help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Mostra esta ajuda e sai."))
    , m_version({QStringLiteral("v"), QStringLiteral("version")}, QStringLiteral("Mostra a versão e sai."))
{
    m_options = {m_help, m_version};
    m_parser.addOption(m_help);
    m_parser.addOption(m_version);
}

void CommandLine::addOption(const QCommandLineOption &option)
{
    m_options.append(option);
    m_parser.addOption(option);
}

std::optional<int> CommandLine::answerHelpOrVersion(const QStringList &arguments, QTextStream &out)
{
    // A failed parse still records the options it recognised.
    m_arguments = arguments;
    m_parser.parse(arguments);
    return answer(out);
}

std::optional<int> CommandLine::answer(QTextStream &out) const
{
    if (m_parser.isSet(m_help)) {
        out << helpText() << Qt::flush;
        return 0;
    }
    if (m_parser.isSet(m_version)) {
        out << versionText() << Qt::flush;
        return 0;
    }
    return std::nullopt;
}

std::optional<int> CommandLine::process(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    m_arguments = arguments;
    const bool parsed = m_parser.parse(arguments);
    // Help first: "vosmira --help --wrong" is still someone asking for help.
    if (const auto answered = answer(out))
        return answered;
    if (!parsed) {
        err << m_program << QStringLiteral(": ") << errorText() << Qt::endl
            << QStringLiteral("Use \"%1 --help\" para ver as opções.").arg(m_program) << Qt::endl;
        return kUsageError;
    }
    return std::nullopt;
}

QString CommandLine::helpText() const
{
    QString text = QStringLiteral("Uso: %1 %2\n%3\n\nOpções:\n").arg(m_program, m_usage, m_description);
    qsizetype width = 0;
    for (const QCommandLineOption &option : m_options)
        width = std::max(width, namesOf(option).size());
    for (const QCommandLineOption &option : m_options)
        text += QStringLiteral("  %1  %2\n").arg(namesOf(option).leftJustified(width), option.description());
    return text;
}

QString CommandLine::versionText() const
{
    return QStringLiteral("%1 versão %2\n").arg(m_program, programVersion());
}

QString CommandLine::errorText() const
{
    const QStringList unknown = m_parser.unknownOptionNames();
    if (!unknown.isEmpty()) {
        QStringList names;
        for (const QString &name : unknown)
            names.append(dashed(name));
        return (names.size() == 1 ? QStringLiteral("opção desconhecida: %1")
                                  : QStringLiteral("opções desconhecidas: %1"))
            .arg(names.join(QStringLiteral(", ")));
    }
    // The parser's other two complaints, found again here: its own words
    // are English until a translation is loaded.
    for (qsizetype i = 1; i < m_arguments.size(); ++i) {
        const QString &argument = m_arguments.at(i);
        if (argument == u"--")
            break;
        if (!argument.startsWith(u"--"))
            continue;
        const qsizetype equals = argument.indexOf(u'=');
        const QString name = argument.mid(2, equals < 0 ? -1 : equals - 2);
        const auto option = std::find_if(m_options.cbegin(), m_options.cend(),
                                         [&](const QCommandLineOption &o) { return o.names().contains(name); });
        if (option == m_options.cend())
            continue;
        if (option->valueName().isEmpty() && equals >= 0)
            return QStringLiteral("a opção --%1 não aceita valor").arg(name);
        if (!option->valueName().isEmpty() && equals < 0 && ++i == m_arguments.size())
            return QStringLiteral("falta o valor da opção --%1").arg(name);
    }
    return m_parser.errorText();
}

QStringList CommandLine::arguments(int argc, char **argv)
{
    QStringList list;
    for (int i = 0; i < argc; ++i)
        list.append(QString::fromLocal8Bit(argv[i]));
    return list;
}

} // namespace vosmira
