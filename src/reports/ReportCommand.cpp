#include "ReportCommand.h"

#include "ClientRecord.h"
#include "CommandLine.h"
#include "DataErrors.h"
#include "FileCopy.h"
#include "ReportComposition.h"
#include "ReportError.h"
#include "TRelDataSetConnection.h"
#include "TRelPageWriter.h"
#include "TRelProject.h"
#include "TRelRender.h"
#include "TRelSystem.h"
#include "UDMbanco.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include <memory>

using namespace Qt::StringLiterals;

namespace vosmira {

namespace {

enum Exit { Done = 0, Failed = 1, Usage = CommandLine::kUsageError };

const QString kConnection = QStringLiteral("RelDataSetConnection1");

struct Options
{
    QString folder;
    bool companies = false;
    ReportSections sections;
    QString format;
    QString output;
    bool list = false;
    bool preview = false;
};

void describe(CommandLine &commandLine)
{
    const QList<QCommandLineOption> options = {
        {QStringLiteral("program-folder"), QStringLiteral("Pasta do programa (a do executável se omitida)."),
         QStringLiteral("pasta")},
        {QStringLiteral("kind"), QStringLiteral("Tipo de pessoa: pf (Pessoa Física, padrão) ou pj (Pessoa Juridica)."),
         QStringLiteral("pf|pj"), QStringLiteral("pf")},
        {QStringLiteral("sections"),
         QStringLiteral("Seções além do nome, separadas por vírgula: contato,endereco,prof,obs."),
         QStringLiteral("lista")},
        {QStringLiteral("format"), QStringLiteral("Formato: pdf, html, rtf ou txt (padrão: a extensão do arquivo)."),
         QStringLiteral("formato")},
        {QStringLiteral("output"), QStringLiteral("Arquivo a gravar; sem extensão recebe a do formato."),
         QStringLiteral("arquivo")},
        {QStringLiteral("list"), QStringLiteral("Lista os relatórios do projeto e sai.")},
        {QStringLiteral("preview"), QStringLiteral("Mostra o relatório na janela de visualização.")},
    };
    for (const QCommandLineOption &option : options)
        commandLine.addOption(option);
}

// Fills options; on a wrong command line writes why and returns false.
bool parse(const QStringList &arguments, const QString &defaultFolder, Options &o, QTextStream &out, QTextStream &err,
           int &exitCode)
{
    CommandLine parser(QStringLiteral("vosmira-report"),
                       QStringLiteral("Gera a relação de clientes do Vosmira em PDF, HTML, RTF ou texto."));
    describe(parser);
    if (const auto ended = parser.process(arguments, out, err)) {
        exitCode = *ended;
        return false;
    }
    if (!parser.positionalArguments().isEmpty()) {
        err << QStringLiteral("Argumento inesperado: %1").arg(parser.positionalArguments().constFirst()) << Qt::endl;
        exitCode = Usage;
        return false;
    }
    o.folder = parser.isSet(QStringLiteral("program-folder")) ? parser.value(QStringLiteral("program-folder"))
                                                              : defaultFolder;
    o.folder = QDir::fromNativeSeparators(o.folder);
    if (!o.folder.endsWith(u'/'))
        o.folder += u'/';
    o.list = parser.isSet(QStringLiteral("list"));
    o.preview = parser.isSet(QStringLiteral("preview"));

    const QString kind = parser.value(QStringLiteral("kind")).trimmed().toLower();
    if (kind != u"pf" && kind != u"pj") {
        err << QStringLiteral("Tipo de pessoa desconhecido: %1 (use pf ou pj)").arg(kind) << Qt::endl;
        exitCode = Usage;
        return false;
    }
    o.companies = kind == u"pj";

    const QStringList sections = parser.value(QStringLiteral("sections")).split(u',', Qt::SkipEmptyParts);
    for (const QString &raw : sections) {
        const QString s = raw.trimmed().toLower();
        if (s == u"contato")
            o.sections.contato = true;
        else if (s == u"endereco" || s == u"endereço")
            o.sections.endereco = true;
        else if (s == u"prof" || s == u"registro")
            o.sections.prof = true;
        else if (s == u"obs" || s == u"observacoes" || s == u"observações")
            o.sections.obs = true;
        else if (!s.isEmpty()) {
            err << QStringLiteral("Seção desconhecida: %1 (use contato, endereco, prof, obs)").arg(raw.trimmed())
                << Qt::endl;
            exitCode = Usage;
            return false;
        }
    }

    o.output = parser.value(QStringLiteral("output"));
    o.format = parser.value(QStringLiteral("format")).trimmed().toLower();
    if (o.list || o.preview)
        return true;
    if (o.output.isEmpty()) {
        err << QStringLiteral("Indique o arquivo a gravar com --output (ou use --preview ou --list).") << Qt::endl;
        exitCode = Usage;
        return false;
    }
    if (o.format.isEmpty())
        o.format = QFileInfo(o.output).suffix().toLower();
    if (!rel::fileFormatNamed(o.format)) {
        err << (o.format.isEmpty()
                    ? QStringLiteral("Indique o formato com --format (pdf, html, rtf ou txt).")
                    : QStringLiteral("Formato desconhecido: %1 (use pdf, html, rtf ou txt)").arg(o.format))
            << Qt::endl;
        exitCode = Usage;
        return false;
    }
    return true;
}

int run(const Options &o, QTextStream &out, QTextStream &err)
{
    rel::TRelProject project;
    project.SetProjectFile(reportProjectPath(o.folder));
    if (o.list) {
        const QStringList names = project.ReportNames();
        for (const QString &name : names)
            out << name << Qt::endl;
        return Done;
    }

    TDMbanco data(o.folder);
    if (!o.preview) {
        const QString target = rel::makeRenderer(*rel::fileFormatNamed(o.format))->TargetFileName(o.output);
        const QString input = reportInputAt(target, data.databasePath(), project.ProjectFile());
        if (!input.isEmpty()) {
            err << outputIsAnInputMessage(target, input) << Qt::endl;
            return Usage;
        }
    }
    try {
        data.connectSequence();
    } catch (const DatabaseError &e) {
        err << connectFailureMessage(e, data.shownLocation()) << Qt::endl;
        return Failed;
    } catch (const DataError &e) {
        err << connectFailureMessage(DatabaseError(e.text()), data.shownLocation()) << Qt::endl;
        return Failed;
    }
    // Every client of the kind, as the report window's ">>" selects them.
    TClientDataSet &selection = *data.CDS_PED_Cliente;
    selection.EmptyDataSet();
    selection.SetFilter(
        ClientRecord::kindFilter(o.companies ? ClientRecord::pessoaJuridica() : ClientRecord::pessoaFisica()));
    selection.SetFiltered(true);
    selection.CopyDataFrom(*data.CDSCliente);

    TRelDataSetConnection connection(kConnection, &selection);
    project.AddDataConnection(&connection);
    project.Open();
    const QString report = composeReport(project, o.sections, o.companies);

    if (o.preview) {
        rel::TRelSystem system;
        system.ShowSetupDialog = false;
        project.SetEngine(&system);
        if (!project.ExecuteReport(report)) {
            err << QStringLiteral("O projeto %1 não tem o relatório %2.").arg(project.ProjectFile(), report)
                << Qt::endl;
            return Failed;
        }
        project.Close();
        return Done;
    }

    QBuffer stream;
    rel::TRelPageWriter writer;
    writer.SetStreamMode(rel::smUserStream);
    writer.SetStream(&stream);
    project.SetEngine(&writer);
    if (!project.ExecuteReport(report)) {
        err << QStringLiteral("O projeto %1 não tem o relatório %2.").arg(project.ProjectFile(), report) << Qt::endl;
        return Failed;
    }
    const QString written = rel::makeRenderer(*rel::fileFormatNamed(o.format))->PrintRender(&stream, o.output);
    project.Close();
    out << QStringLiteral("%1: %2 cliente(s), %3 página(s)")
               .arg(QDir::toNativeSeparators(written))
               .arg(selection.RecordCount())
               .arg(writer.PageCount())
        << Qt::endl;
    return Done;
}

} // namespace

QString reportInputAt(const QString &target, const QString &databasePath, const QString &projectFile)
{
    const QStringList inputs{databasePath, databasePath + u"-journal"_s, databasePath + u"-wal"_s, projectFile};
    for (const QString &input : inputs) {
        if (isSameFile(target, input))
            return input;
    }
    return QString();
}

QString outputIsAnInputMessage(const QString &target, const QString &input)
{
    return u"O arquivo de saída %1 é um arquivo que o relatório lê (%2); escolha outro nome."_s.arg(
        QDir::toNativeSeparators(target), QDir::toNativeSeparators(input));
}

bool reportCommandNeedsWindows(const QStringList &arguments)
{
    return arguments.contains(QStringLiteral("--preview"));
}

int runReportCommand(const QStringList &arguments, const QString &defaultProgramFolder, QTextStream &out,
                     QTextStream &err)
{
    Options options;
    int exitCode = Done;
    if (!parse(arguments, defaultProgramFolder, options, out, err, exitCode))
        return exitCode;
    try {
        return run(options, out, err);
    } catch (const std::exception &e) {
        err << QString::fromUtf8(e.what()) << Qt::endl;
        return Failed;
    }
}

} // namespace vosmira
