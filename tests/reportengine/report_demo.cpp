// Renders synthetic client listings for looking at them: every format into a
// folder, and with --preview the engine's preview window.
#include "SyntheticClients.h"
#include "TRelPageWriter.h"
#include "TRelProject.h"
#include "TRelRender.h"

#include <QApplication>
#include <QBuffer>
#include <QCommandLineParser>
#include <QDir>

#include <cstdio>

#ifdef VOSMIRA_DEMO_PREVIEW
#include "TRelSystem.h"
#endif

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QCommandLineParser cli;
    cli.addHelpOption();
    cli.addOption({QStringLiteral("kind"), QStringLiteral("pf or pj"), QStringLiteral("kind"), QStringLiteral("pf")});
    cli.addOption({QStringLiteral("count"), QStringLiteral("clients"), QStringLiteral("n"), QStringLiteral("40")});
    cli.addOption({QStringLiteral("sections"), QStringLiteral("optional sections 0-4"), QStringLiteral("n"),
                   QStringLiteral("4")});
    cli.addOption(
        {QStringLiteral("out"), QStringLiteral("folder"), QStringLiteral("dir"), QStringLiteral("/tmp/report-demo")});
    cli.addOption({QStringLiteral("preview"), QStringLiteral("show the preview window")});
    cli.process(app);

    const rtest::Kind kind = cli.value(QStringLiteral("kind")) == u"pj" ? rtest::Kind::Juridica : rtest::Kind::Fisica;
    auto data = rtest::makeClients(cli.value(QStringLiteral("count")).toInt(), kind);
    const int sections = cli.value(QStringLiteral("sections")).toInt();
    const QStringList codes = {QStringLiteral("Show_Contato"), QStringLiteral("Show_Endereco"),
                               kind == rtest::Kind::Fisica ? QStringLiteral("Show_Prof")
                                                           : QStringLiteral("Show_Sec_Prof_Juridica"),
                               QStringLiteral("Show_OBS")};

    rel::TRelProject project;
    project.SetProjectFile(rtest::sourceProjectFile());
    project.AddDataConnection(data.get());
    try {
        project.Open();
        project.SetParam(QStringLiteral("GENERO1"), QStringLiteral("Show_Nome"));
        for (int i = 0; i < sections; ++i)
            project.SetParam(QStringLiteral("GENERO%1").arg(i + 2), codes.at(i));
        const QString report = QStringLiteral("RV_VOSMIRA_%1").arg(sections);
#ifdef VOSMIRA_DEMO_PREVIEW
        if (cli.isSet(QStringLiteral("preview"))) {
            rel::TRelSystem system;
            project.SetEngine(&system);
            project.ExecuteReport(report);
            return 0;
        }
#endif
        QBuffer stream;
        rel::TRelPageWriter writer;
        writer.SetStreamMode(rel::smUserStream);
        writer.SetStream(&stream);
        project.SetEngine(&writer);
        project.ExecuteReport(report);
        const QString out = cli.value(QStringLiteral("out"));
        QDir().mkpath(out);
        rel::TRelRenderPDF pdf;
        rel::TRelRenderHTML html;
        rel::TRelRenderRTF rtf;
        rel::TRelRenderText txt;
        for (rel::TRelRender *r : std::initializer_list<rel::TRelRender *>{&pdf, &html, &rtf, &txt})
            std::printf("%s\n", qPrintable(r->PrintRender(&stream, out + QStringLiteral("/report"))));
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
