#include "CommandLine.h"
#include "Dialogs.h"
#include "DisplayGuard.h"
#include "DisplayModes.h"
#include "ProgramFolder.h"
#include "TImage.h"
#include "TerminationSignal.h"
#include "UFrmAbout.h"
#include "UFrmBACKUP.h"
#include "UFrmCADASTROclientes.h"
#include "UFrmCONTA.h"
#include "UFrmENTERconta.h"
#include "UFrmFIND_ALTERARcliente.h"
#include "UFrmHome.h"
#include "UFrm_PRINT_RELATORIO.h"
#include "VosmiraApplication.h"

#include "UDMbanco.h"

#include <QIcon>
#include <QTextStream>

#include <memory>

using namespace vosmira;

int main(int argc, char *argv[])
{
    CommandLine commandLine(QStringLiteral("vosmira"), QStringLiteral("Vosmira - cadastro de clientes"));
    const QCommandLineOption folderOption(QStringLiteral("program-folder"),
                                          QStringLiteral("Pasta do programa (banco de dados, figuras, relatórios)."),
                                          QStringLiteral("pasta"));
    commandLine.addOption(folderOption);
    QTextStream out(stdout);
    QTextStream err(stderr);
    // Answered before the application object, which cannot start without a display.
    if (const auto exitCode = commandLine.answerHelpOrVersion(CommandLine::arguments(argc, argv), out))
        return *exitCode;

    VosmiraApplication app(argc, argv);
    // The main window, not the last visible one, decides when the run ends.
    app.setQuitOnLastWindowClosed(false);
    // Parsed again without the options the application object took (-platform, -style).
    if (const auto exitCode = commandLine.process(QCoreApplication::arguments(), out, err))
        return *exitCode;
    if (commandLine.isSet(folderOption))
        setProgramFolder(commandLine.value(folderOption));

    setApplicationTitle(QStringLiteral("Vosmira v1.0"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/art/icon.png")));

    // The guard runs while the main window is created, so it is set first.
    const std::unique_ptr<DisplayModes> displayModes = platformDisplayModes();
    DisplayGuard displayGuard(*displayModes);
    const auto guarded = [](TFrmHome &home) {
        return GuardedWindow{&home.SavedWidth, &home.SavedHeight, home.Timer2, home.Timer3};
    };
    TFrmHome::setDisplayGuard([&](TFrmHome &home) { displayGuard.atStart(guarded(home)); },
                              [&](TFrmHome &home) { displayGuard.atClose(guarded(home)); });

    TFrmHome home;
    home.setFeatureWindow(1, [](QWidget *parent) { return new TFrmCADASTROcliente(parent); });
    home.setFeatureWindow(2, [](QWidget *parent) { return new TFrmFIND_ALTERARcliente(parent); });
    home.setFeatureWindow(3, [](QWidget *parent) { return new TFrmPRINT_REALTORIO(parent); });
    home.setFeatureWindow(4, [](QWidget *parent) { return new TFrmBACKUP(parent); });
    home.setFeatureWindow(5, [](QWidget *parent) { return new TFrmCONTA(parent); });
    home.setLoginPrompt([&home](QWidget *parent) { return new TFrmENTERconta(home.Timer2, parent); });
    home.setFeatureWindow(6, [&home](QWidget *parent) {
        auto *about = new TFrmAbout(parent);
        QObject::connect(about, &TFrmAbout::closed, home.Image3, &QWidget::show);
        return about;
    });
    QObject::connect(&home, &TFrmHome::closed, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    TDMbanco dataModule(programFolder());
    DMbanco = &dataModule;
    closeOnTerminationSignal(&home);

    home.showMaximized();
    const int result = app.exec();
    DMbanco = nullptr;
    return home.connectFailed() ? 1 : result;
}
