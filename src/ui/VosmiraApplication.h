#pragma once

#include <QApplication>

namespace vosmira {

// The application object. Handlers catch their own errors (runHandler); an
// error that still escapes one ends at notify(), the last net: the default
// error box shows its text and the program goes on. Qt's widget code is not
// unwound cleanly (what its frames held leaks), so it is only a net.
class VosmiraApplication : public QApplication
{
    Q_OBJECT
public:
    VosmiraApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;

    // Brazilian Portuguese for Qt's own buttons and dialogs, dd/MM/yyyy dates,
    // font substitutes for the Windows faces the windows are drawn in, and an
    // icon theme when the desktop gives none.
    // Public so tests can set up the same environment on a plain QApplication.
    static void setUpLocale(QCoreApplication *app);
    static void setUpFonts();
};

} // namespace vosmira
