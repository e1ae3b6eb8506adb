#include "VosmiraApplication.h"

#include "CommandLine.h"
#include "Handler.h"

#include <QFont>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace vosmira {

VosmiraApplication::VosmiraApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Vosmira"));
    setOrganizationName(QStringLiteral("Vosmira"));
    setApplicationVersion(programVersion());
    // Ties the windows to the menu entry (its icon and name on Wayland docks).
    setDesktopFileName(QStringLiteral("vosmira"));
    setUpLocale(this);
    setUpFonts();
}

bool VosmiraApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        reportException(std::current_exception());
    }
    return false;
}

void VosmiraApplication::setUpLocale(QCoreApplication *app)
{
    const QLocale brazil(QLocale::Portuguese, QLocale::Brazil);
    QLocale::setDefault(brazil);
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const auto &name : {QStringLiteral("qtbase"), QStringLiteral("qt")}) {
        auto *translator = new QTranslator(app);
        if (translator->load(brazil, name, QStringLiteral("_"), folder))
            QCoreApplication::installTranslator(translator);
        else
            delete translator;
    }
}

void VosmiraApplication::setUpFonts()
{
    // Without a desktop theme, take toolbar icons from the icon set the
    // artwork comes from rather than Qt's bare built-in arrows.
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == QLatin1String("hicolor"))
        QIcon::setThemeName(QStringLiteral("Papirus"));
    // The windows were designed in Tahoma, Verdana and Comic Sans MS; Debian
    // ships none of them, so name free faces of similar build.
    QFont::insertSubstitutions(
        QStringLiteral("Tahoma"),
        {QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
    QFont::insertSubstitutions(QStringLiteral("Verdana"),
                               {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
    QFont::insertSubstitutions(QStringLiteral("Comic Sans MS"),
                               {QStringLiteral("Comic Neue"), QStringLiteral("DejaVu Sans")});
}

} // namespace vosmira
