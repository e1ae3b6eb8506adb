#pragma once

#include <QApplication>

namespace vosmira {

// The application object. An exception that no handler catches ends at
// notify(): the default error box shows its text, the rest of that handler is
// skipped, and the program goes on.
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

// What the default error box shows for an exception, whatever its type.
void reportException(const std::exception_ptr &error);

} // namespace vosmira
