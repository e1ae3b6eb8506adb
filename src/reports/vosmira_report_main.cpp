#include "ProgramFolder.h"
#include "ReportCommand.h"

#include "VosmiraApplication.h"

#include <QApplication>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>
#include <memory>

int main(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const bool windows = vosmira::reportCommandNeedsWindows(arguments);
    // Fonts need a GUI application; without a window it needs no display.
    if (!windows && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QGuiApplication> app;
    if (windows)
        app = std::make_unique<QApplication>(argc, argv);
    else
        app = std::make_unique<QGuiApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vosmira-report"));
    // The same Portuguese dialogs, dates and faces as the program itself.
    vosmira::VosmiraApplication::setUpLocale(app.get());
    vosmira::VosmiraApplication::setUpFonts();

    QTextStream out(stdout);
    QTextStream err(stderr);
    // The program's own folder rules, VOSMIRA_PROGRAM_FOLDER included: the
    // installed launcher points both programs at the user's folder with it.
    return vosmira::runReportCommand(arguments, vosmira::programFolder(), out, err);
}
