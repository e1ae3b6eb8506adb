#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QStringList>

#include <optional>

class QTextStream;

namespace vosmira {

// The version both programs answer --version with.
QString programVersion();

// The command line of vosmira and vosmira-report. Qt's own help and version
// options describe themselves in English, and its help and error texts are
// Portuguese only once a translation is loaded into an application object;
// these are Portuguese always and need no application object, so --help and
// --version work without a display.
class CommandLine
{
public:
    // Exit code of a wrong command line; 0 is done, 1 a failure of the run.
    static constexpr int kUsageError = 2;

    CommandLine(QString program, QString description);

    void addOption(const QCommandLineOption &option);
    // What follows the program's name on the help's first line; "[opções]" unless set.
    void setUsage(const QString &usage) { m_usage = usage; }

    // Parses the whole command line (program name first). Returns the exit
    // code when the program should end now: after help or version went to out
    // (0), or what is wrong went to err (kUsageError).
    std::optional<int> process(const QStringList &arguments, QTextStream &out, QTextStream &err);
    // Answers only --help and --version; anything else, even a wrong option,
    // is left for process(), after the application object has taken its own.
    std::optional<int> answerHelpOrVersion(const QStringList &arguments, QTextStream &out);

    bool isSet(const QCommandLineOption &option) const { return m_parser.isSet(option); }
    bool isSet(const QString &name) const { return m_parser.isSet(name); }
    QString value(const QCommandLineOption &option) const { return m_parser.value(option); }
    QString value(const QString &name) const { return m_parser.value(name); }
    QStringList positionalArguments() const { return m_parser.positionalArguments(); }

    QString helpText() const;
    QString versionText() const;
    // Why the last parse failed.
    QString errorText() const;

    static QStringList arguments(int argc, char **argv);

private:
    std::optional<int> answer(QTextStream &out) const;

    QString m_program;
    QString m_description;
    QString m_usage = QStringLiteral("[opções]");
    QCommandLineOption m_help;
    QCommandLineOption m_version;
    QList<QCommandLineOption> m_options;
    QStringList m_arguments;
    QCommandLineParser m_parser;
};

} // namespace vosmira
