#include "Dialogs.h"
#include "DisplayGuard.h"
#include "DisplayModes.h"
#include "ProgramFolder.h"
#include "TImage.h"
#include "TerminationSignal.h"
#include "UFrmBACKUP.h"
#include "UFrmAbout.h"
#include "UFrmCADASTROclientes.h"
#include "UFrmCONTA.h"
#include "UFrmENTERconta.h"
#include "UFrmHome.h"
#include "VosmiraApplication.h"

#include "UDMbanco.h"

#include <QCommandLineParser>
#include <QIcon>

#include <memory>

using namespace vosmira;

int main(int argc, char *argv[])
{
    VosmiraApplication app(argc, argv);
    // The main window, not the last visible one, decides when the run ends.
    app.setQuitOnLastWindowClosed(false);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Vosmira - cadastro de clientes"));
    parser.addHelpOption();
    const QCommandLineOption folderOption(QStringLiteral("program-folder"),
                                          QStringLiteral("Pasta do programa (banco de dados, figuras, relatórios)."),
                                          QStringLiteral("pasta"));
    parser.addOption(folderOption);
    parser.process(app);
    if (parser.isSet(folderOption))
        setProgramFolder(parser.value(folderOption));

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
    return result;
}
