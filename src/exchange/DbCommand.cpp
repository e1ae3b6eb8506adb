#include "DbCommand.h"

#include "ClientExport.h"
#include "ClientImport.h"
#include "ClientRecord.h"
#include "ClientSchema.h"
#include "CommandLine.h"
#include "DataErrors.h"
#include "DisplaySettings.h"
#include "DurableFile.h"
#include "FileCopy.h"
#include "IniFile.h"
#include "TableWriter.h"
#include "UDMbanco.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextStream>

#include <cerrno>

namespace vosmira {

namespace {

// QFile keeps only the system's English text; the reason is asked of the file
// itself so the message can be given in Portuguese.
int openFailure(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return ENOENT;
    if (info.isDir())
        return EISDIR;
    if (!info.isReadable())
        return EACCES;
    return errno ? errno : EIO;
}

using namespace Qt::Literals::StringLiterals;

enum Exit { Done = 0, Failed = 1, Usage = CommandLine::kUsageError };

enum class Command { Init, Import, Export };

struct Options
{
    Command command = Command::Export;
    QString file;
    QString folder;
    QString kind; // export: empty for every client
    exchange::ExportFormat format = exchange::ExportFormat::Csv;
    exchange::ImportOptions importOptions;
};

QString settingsFilePath()
{
    return QDir::toNativeSeparators(IniFile(DisplaySettings::fileName()).fileName());
}

// Fills o; on a wrong command line (or help, or version) returns the exit code.
std::optional<int> parse(const QStringList &arguments, const QString &defaultFolder, Options &o, QTextStream &out,
                         QTextStream &err)
{
    CommandLine parser(u"vosmira-db"_s,
                       u"Prepara o servidor de banco de dados de um escritório (init); exporta os clientes do Vosmira "
                       "para uma planilha (CSV), uma agenda (vCard) ou um arquivo de banco de dados do Vosmira (.mdb); "
                       "importa clientes de uma planilha, ou de um arquivo de banco de dados para o servidor."_s);
    parser.setUsage(u"init | export ARQUIVO [opções] | import ARQUIVO [opções]"_s);
    parser.addOption({u"program-folder"_s, u"Pasta do programa (a do executável se omitida)."_s, u"pasta"_s});
    parser.addOption(
        {u"kind"_s, u"export: só os clientes de um tipo, pf (Pessoa Física) ou pj (Pessoa Juridica)."_s, u"pf|pj"_s});
    parser.addOption({u"format"_s, u"export: csv, vcf ou mdb (padrão: a extensão do arquivo)."_s, u"formato"_s});
    parser.addOption({u"dry-run"_s, u"import: verifica o arquivo e não grava nada."_s});
    parser.addOption(
        {u"skip-invalid"_s, u"import de planilha: grava as linhas válidas mesmo que outras sejam recusadas."_s});
    if (const auto ended = parser.process(arguments, out, err))
        return ended;

    auto usage = [&err](const QString &text) {
        err << u"vosmira-db: "_s << text << Qt::endl << u"Use \"vosmira-db --help\" para ver as opções."_s << Qt::endl;
        return std::optional<int>(Usage);
    };
    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        return usage(u"indique o que fazer: init, export ou import, e o arquivo."_s);
    const QString command = positional.constFirst().toLower();
    if (command == u"init")
        o.command = Command::Init;
    else if (command == u"import")
        o.command = Command::Import;
    else if (command == u"export")
        o.command = Command::Export;
    else
        return usage(u"comando desconhecido: %1 (use init, export ou import)."_s.arg(positional.constFirst()));

    o.folder = QDir::fromNativeSeparators(parser.isSet(u"program-folder"_s) ? parser.value(u"program-folder"_s)
                                                                            : defaultFolder);
    if (!o.folder.endsWith(u'/'))
        o.folder += u'/';

    if (o.command == Command::Init) {
        if (positional.size() > 1)
            return usage(u"argumento inesperado: %1 (init não usa arquivo)."_s.arg(positional.at(1)));
        for (const QString &other : {u"kind"_s, u"format"_s, u"dry-run"_s, u"skip-invalid"_s}) {
            if (parser.isSet(other))
                return usage(u"a opção --%1 não é de init."_s.arg(other));
        }
        return std::nullopt;
    }
    const bool import = o.command == Command::Import;
    if (positional.size() < 2)
        return usage(u"indique o arquivo a %1."_s.arg(import ? u"importar"_s : u"gravar"_s));
    if (positional.size() > 2)
        return usage(u"argumento inesperado: %1"_s.arg(positional.at(2)));
    o.file = positional.at(1);

    if (import) {
        for (const QString &exportOnly : {u"kind"_s, u"format"_s}) {
            if (parser.isSet(exportOnly))
                return usage(u"a opção --%1 é só de export."_s.arg(exportOnly));
        }
        o.importOptions.dryRun = parser.isSet(u"dry-run"_s);
        o.importOptions.skipInvalid = parser.isSet(u"skip-invalid"_s);
        return std::nullopt;
    }
    for (const QString &importOnly : {u"dry-run"_s, u"skip-invalid"_s}) {
        if (parser.isSet(importOnly))
            return usage(u"a opção --%1 é só de import."_s.arg(importOnly));
    }
    if (parser.isSet(u"kind"_s)) {
        const QString kind = parser.value(u"kind"_s).trimmed().toLower();
        if (kind != u"pf" && kind != u"pj")
            return usage(u"tipo de pessoa desconhecido: %1 (use pf ou pj)."_s.arg(kind));
        o.kind = kind == u"pj" ? ClientRecord::pessoaJuridica() : ClientRecord::pessoaFisica();
    }
    const QString format = parser.value(u"format"_s).trimmed().toLower();
    const auto chosen = format.isEmpty() ? exchange::formatForFile(o.file)
                                         : exchange::formatForFile(u"arquivo."_s + format);
    if (!chosen) {
        return usage(format.isEmpty()
                         ? u"indique o formato com --format (csv, vcf ou mdb), ou use a extensão .csv, .vcf ou .mdb."_s
                         : u"formato desconhecido: %1 (use csv, vcf ou mdb)."_s.arg(format));
    }
    o.format = *chosen;
    return std::nullopt;
}

int runInit(TDMbanco &data, QTextStream &out, QTextStream &err)
{
    const QString shown = data.shownLocation();
    QSqlDatabase db = data.database();
    QSqlQuery query(db);
    try {
        if (!query.exec(u"BEGIN"_s))
            throw DatabaseError(databaseMessage(query.lastError()), databaseReason(query.lastError()));
        // Read inside the transaction: an init on another desk at the same time
        // fails on its CREATE TABLE and leaves nothing behind.
        if (ClientSchema::hasClientTables(db)) {
            query.exec(u"ROLLBACK"_s);
            err << u"O banco de dados do %1 já tem a tabela %2 ou %3; init só prepara um banco de dados vazio, e "
                   "nada foi alterado."_s.arg(shown, ClientSchema::clientsTable(), ClientSchema::selectionTable())
                << Qt::endl;
            return Failed;
        }
        ClientSchema::createClientTables(db);
        if (!query.exec(u"COMMIT"_s))
            throw DatabaseError(databaseMessage(query.lastError()), databaseReason(query.lastError()));
    } catch (const DatabaseError &e) {
        query.exec(u"ROLLBACK"_s);
        err << u"O %1 recusou a criação das tabelas, e nada foi alterado: %2"_s.arg(shown, e.text()) << Qt::endl;
        return Failed;
    }
    out << u"Tabelas %1 e %2 criadas no %3."_s.arg(ClientSchema::clientsTable(), ClientSchema::selectionTable(), shown)
        << Qt::endl;
    return Done;
}

// A Vosmira database file, by its content or by the name the program gives it.
bool isDatabaseFile(const QString &path, QFile &file)
{
    static constexpr char header[] = "SQLite format 3";
    const QByteArray head = file.peek(sizeof header);
    return head == QByteArrayView(header, sizeof header)
           || QFileInfo(path).suffix().compare(u"mdb", Qt::CaseInsensitive) == 0;
}

int runDatabaseImport(TDMbanco &data, const Options &o, QTextStream &out, QTextStream &err)
{
    const QString shownFile = QDir::toNativeSeparators(o.file);
    if (o.importOptions.skipInvalid) {
        err << u"vosmira-db: a opção --skip-invalid é só de import de planilha; %1 é um arquivo de banco de dados, "
               "importado por inteiro ou não."_s.arg(shownFile)
            << Qt::endl;
        return Usage;
    }
    if (!data.server()) {
        // Appended here, the file's clients would take new numbers beside these,
        // and clients of both would be there twice.
        err << u"%1 é um arquivo de banco de dados; ele só é importado para um servidor nomeado na seção [Banco] de "
               "%2. Para substituir os clientes deste computador pelos do arquivo, use \"Carregar backup.\" na "
               "janela de backup."_s.arg(shownFile, settingsFilePath())
            << Qt::endl;
        return Failed;
    }
    ClientTables tables;
    try {
        tables = readDatabaseFile(o.file);
    } catch (const DatabaseError &e) {
        err << u"Não foi possível ler %1: %2"_s.arg(shownFile, e.text()) << Qt::endl;
        return Failed;
    }
    QSqlDatabase db = data.database();
    const QString shown = data.shownLocation();
    if (o.importOptions.dryRun) {
        QSqlQuery query(db);
        if (!query.exec(u"SELECT COUNT(*) FROM \""_s + ClientSchema::clientsTable() + u'"') || !query.next())
            throw DatabaseError(databaseMessage(query.lastError()), databaseReason(query.lastError()));
        if (const qlonglong held = query.value(0).toLongLong(); held > 0) {
            err << u"O %1 já tem %2 cliente(s); o arquivo só é importado para um banco de dados sem clientes."_s
                       .arg(shown)
                       .arg(held)
                << Qt::endl;
            return Failed;
        }
        out << u"Verificação: %1 cliente(s) de %2 seriam importados para o %3. Nada foi gravado."_s
                   .arg(tables.clients.size())
                   .arg(shownFile, shown)
            << Qt::endl;
        return Done;
    }
    try {
        replaceClientTables(db, tables, /*onlyIntoEmpty*/ true);
    } catch (const DatabaseError &e) {
        err << u"O %1 recusou a importação, e nada foi importado: %2"_s.arg(shown, e.text()) << Qt::endl;
        return Failed;
    }
    out << u"%1 cliente(s) importado(s) de %2 para o %3."_s.arg(tables.clients.size()).arg(shownFile, shown)
        << Qt::endl;
    return Done;
}

int runImport(TDMbanco &data, const Options &o, QTextStream &out, QTextStream &err)
{
    QFile file(o.file);
    const auto refuse = [&](int error) {
        err << u"Não foi possível ler %1: %2."_s.arg(QDir::toNativeSeparators(o.file), systemErrorText(error))
            << Qt::endl;
        return Failed;
    };
    if (!file.open(QIODevice::ReadOnly))
        return refuse(openFailure(o.file));
    if (isDatabaseFile(o.file, file))
        return runDatabaseImport(data, o, out, err);
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return refuse(errno ? errno : EIO);
    file.close();

    exchange::ImportResult r;
    try {
        r = exchange::importClients(data.database(), bytes, o.importOptions);
    } catch (const DatabaseError &e) {
        err << u"O banco de dados recusou a importação, e nada foi importado: %1"_s.arg(e.text()) << Qt::endl;
        return Failed;
    }
    for (const QString &column : std::as_const(r.ignoredColumns))
        err << u"Coluna ignorada (não é do cadastro): %1"_s.arg(column) << Qt::endl;
    for (const exchange::RowNote &note : std::as_const(r.refused))
        err << u"Linha %1: %2."_s.arg(note.line).arg(note.text) << Qt::endl;
    for (const exchange::RowNote &note : std::as_const(r.duplicates))
        out << u"Linha %1: %2 Não importado."_s.arg(note.line).arg(note.text) << Qt::endl;

    QStringList besides;
    if (!r.refused.isEmpty())
        besides << u"%1 linha(s) recusada(s)"_s.arg(r.refused.size());
    if (!r.duplicates.isEmpty())
        besides << u"%1 duplicado(s) não importado(s)"_s.arg(r.duplicates.size());
    const QString rest = besides.isEmpty() ? QString() : u"; "_s + besides.join(u", "_s);

    if (!r.refused.isEmpty() && !o.importOptions.skipInvalid) {
        err << u"Nada foi importado: %1 de %2 linha(s) recusada(s). Corrija-as, ou use --skip-invalid para "
               "importar as demais."_s.arg(r.refused.size())
                   .arg(r.rows)
            << Qt::endl;
        return Failed;
    }
    if (o.importOptions.dryRun) {
        out << u"Verificação: %1 cliente(s) de %2 linha(s) seriam importados%3. Nada foi gravado."_s.arg(r.accepted)
                   .arg(r.rows)
                   .arg(rest)
            << Qt::endl;
        return Done;
    }
    out << u"%1 cliente(s) importado(s) de %2 linha(s)%3."_s.arg(r.written ? r.accepted : 0).arg(r.rows).arg(rest)
        << Qt::endl;
    return Done;
}

int run(const Options &o, QTextStream &out, QTextStream &err)
{
    TDMbanco data(o.folder);
    const QString database = data.databasePath();
    if (o.command == Command::Init && !data.server()) {
        try {
            DatabaseServer::fromSettings();
        } catch (const DatabaseError &e) {
            // A [Banco] section, but one that names no usable server.
            err << connectFailureMessage(e, DatabaseServer::settingsShown()) << Qt::endl;
            return Failed;
        }
        err << u"vosmira-db: init prepara um servidor PostgreSQL nomeado na seção [Banco] de %1 (Servidor, Porta, "
               "Banco, Usuario), e nenhum está nomeado lá. O banco de dados deste computador (%2) já vem pronto."_s.arg(
                   settingsFilePath(), QDir::toNativeSeparators(database))
            << Qt::endl;
        return Usage;
    }
    if (o.command == Command::Export) {
        // The export replaces its file whole: over the database, every client would go.
        const QStringList inputs{database, database + u"-journal"_s, database + u"-wal"_s};
        for (const QString &input : inputs) {
            if (isSameFile(o.file, input)) {
                err << u"O arquivo de saída %1 é o banco de dados (%2); escolha outro nome."_s.arg(
                    QDir::toNativeSeparators(o.file), QDir::toNativeSeparators(input))
                    << Qt::endl;
                return Usage;
            }
        }
    }
    try {
        data.openConnection();
        QSqlDatabase db = data.database();
        if (o.command == Command::Init)
            return runInit(data, out, err);
        if (data.server() && !ClientSchema::hasClientTables(db)) {
            err << u"O banco de dados do %1 ainda não tem as tabelas dos clientes; prepare-o com \"vosmira-db init\"."_s
                       .arg(data.shownLocation())
                << Qt::endl;
            return Failed;
        }
        // The same checks the program makes, so a foreign or damaged file is named as such.
        ClientSchema::fieldSizes(db, ClientSchema::clientsTable());
    } catch (const DatabaseError &e) {
        err << connectFailureMessage(e, data.shownLocation()) << Qt::endl;
        return Failed;
    }
    if (o.command == Command::Import)
        return runImport(data, o, out, err);
    const int count = exchange::exportClients(data.database(), o.file, o.format, o.kind);
    out << u"%1: %2 cliente(s)"_s.arg(QDir::toNativeSeparators(o.file)).arg(count) << Qt::endl;
    return Done;
}

} // namespace

int runDbCommand(const QStringList &arguments, const QString &defaultProgramFolder, QTextStream &out, QTextStream &err)
{
    Options options;
    if (const auto ended = parse(arguments, defaultProgramFolder, options, out, err))
        return *ended;
    try {
        return run(options, out, err);
    } catch (const std::exception &e) {
        err << QString::fromUtf8(e.what()) << Qt::endl;
        return Failed;
    }
}

} // namespace vosmira
