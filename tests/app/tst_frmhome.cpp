#include "ProgramFolder.h"
#include "ScriptedDialogs.h"
#include "TDBEdit.h"
#include "TImage.h"
#include "TShape.h"
#include "TestFolders.h"
#include "UFrmCADASTROclientes.h"
#include "UFrmHome.h"
#include "VosmiraApplication.h"

#include "IniFile.h"
#include "UDMbanco.h"

#include <QAccessible>
#include <QDesktopServices>
#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace vosmira;
using namespace vosmira::test;

namespace {

// Records the addresses the program asks the desktop to open, instead of a browser.
class UrlRecorder : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
public Q_SLOTS:
    void open(const QUrl &url) { opened.append(url); }
};

// A feature window that closes itself as soon as its modal loop runs.
// A window that, shown through the dialog service, does whileOpen and closes.
QDialog *selfClosingWindow(ScriptedDialogs &dialogs, QWidget *parent, int *count,
                           std::function<void(QDialog &)> whileOpen = {})
{
    auto *dialog = new QDialog(parent);
    dialog->setWindowTitle(QStringLiteral("janela %1").arg(++*count));
    dialogs.onNextWindow([whileOpen](QDialog &window) {
        if (whileOpen)
            whileOpen(window);
        window.accept();
        return window.result();
    });
    return dialog;
}

QColor captionColor(const QLabel *label)
{
    return label->palette().color(QPalette::WindowText);
}

void enter(QWidget *widget)
{
    QEnterEvent event(QPointF(5, 5), QPointF(5, 5), widget->mapToGlobal(QPointF(5, 5)));
    QApplication::sendEvent(widget, &event);
}

void leave(QWidget *widget)
{
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(widget, &event);
}

} // namespace

class TstFrmHome : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void missingDatabaseNamesThePathAndEnds();
    void unusableFileSaysWhatIsWrong();
    void firstRunWritesDefaultAndAsksNothing();
    void anyOtherNameBringsUpThePromptOnce();
    void checkNeedsNoActivationAndComesFirst_data();
    void checkNeedsNoActivationAndComesFirst();
    void checkThatCannotAsk_data();
    void checkThatCannotAsk();
    void featureWindowsOpenModallyOneAtATime();
    void registrationRunsThroughTheDialogService();
    void captionsDoNothingWhenClicked();
    void hoverChangesColourAndPicture();
    void missingHoverPictureShowsErrorAndGoesOn();
    void hiddenSpotPopsUpTheMenu();
    void bannerHiddenWhileAboutWindowIsOpen();
    void bannerOpensTheMakersPage();
    void timersCloseAndTidy();
    void layoutFollowsTheDesign();
    void restoredWindowKeepsItsSize();
    void accessibleNamesAndPressAction();
    void displayGuardRunsAtCreateAndAtEveryClose();

private:
    void showHome();

    std::unique_ptr<TempSettingsFolder> m_settings;
    std::unique_ptr<TempProgramFolder> m_program;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<TFrmHome> m_home;
    std::unique_ptr<TDMbanco> m_data;
};

void TstFrmHome::init()
{
    m_settings = std::make_unique<TempSettingsFolder>();
    m_program = std::make_unique<TempProgramFolder>();
    QVERIFY(m_program->isValid());
    m_program->activate();
    m_dialogs = std::make_unique<ScriptedDialogs>();
    m_home = std::make_unique<TFrmHome>();
    m_data = std::make_unique<TDMbanco>(programFolder());
    DMbanco = m_data.get();
}

void TstFrmHome::cleanup()
{
    m_home.reset();
    DMbanco = nullptr;
    m_data.reset();
    m_dialogs.reset();
    m_program.reset();
    m_settings.reset();
}

void TstFrmHome::showHome()
{
    m_home->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_home.get()));
    m_home->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_home.get()));
    QCoreApplication::processEvents();
}

void TstFrmHome::missingDatabaseNamesThePathAndEnds()
{
    QVERIFY(QFile::remove(m_program->databasePath()));
    QSignalSpy closed(m_home.get(), &TFrmHome::closed);
    m_home->show();
    QTRY_COMPARE(closed.count(), 1);
    QCOMPARE(m_dialogs->messages().size(), 1);
    const MessageRequest box = m_dialogs->messages().constFirst();
    QCOMPARE(box.kind, MessageKind::Plain);
    QCOMPARE(box.caption, QStringLiteral("Vosmira v1.0"));
    QCOMPARE(box.icon, MessageIcon::NoIcon);
    QCOMPARE(box.text, QStringLiteral("O seguinte arquivo não foi encontrado: (")
                           + QDir::toNativeSeparators(m_program->databasePath())
                           + QStringLiteral(") a reinstalação do programa pode resolver o problema."));
    QVERIFY(!m_home->isVisible());
    QVERIFY(m_home->connectFailed()); // the program ends as a failure
    // The program never makes a database of its own.
    QVERIFY(!QFile::exists(m_program->databasePath()));
    // No password check on the way out.
    QVERIFY(!QFile::exists(m_settings->iniPath(QStringLiteral("VosmiraKEY.ini"))));
}

// A file that is there holds the clients: no word of reinstalling over it.
void TstFrmHome::unusableFileSaysWhatIsWrong()
{
    QFile file(m_program->databasePath());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("Standard Jet DB, not what we read");
    file.close();
    QSignalSpy closed(m_home.get(), &TFrmHome::closed);
    m_home->show();
    QTRY_COMPARE(closed.count(), 1);
    QCOMPARE(m_dialogs->messages().size(), 1);
    QCOMPARE(m_dialogs->messages().constFirst().kind, MessageKind::Plain);
    QCOMPARE(m_dialogs->messages().constFirst().text,
             QStringLiteral("Não foi possível abrir o banco de dados (")
                 + QDir::toNativeSeparators(m_program->databasePath())
                 + QStringLiteral("): o arquivo não é um banco de dados do Vosmira."));
    QVERIFY(m_home->connectFailed());
    QCOMPARE(QFileInfo(m_program->databasePath()).size(), 33);
}

void TstFrmHome::firstRunWritesDefaultAndAsksNothing()
{
    int prompts = 0;
    m_home->setLoginPrompt([&](QWidget *parent) { return selfClosingWindow(*m_dialogs, parent, &prompts); });
    showHome();
    QTRY_VERIFY(QFile::exists(m_settings->iniPath(QStringLiteral("VosmiraKEY.ini"))));
    QCOMPARE(IniFile(QStringLiteral("VosmiraKEY.ini"))
                 .ReadString(QStringLiteral("VOSMIRA"), QStringLiteral("NOME"), QString()),
             QStringLiteral("default"));
    QCOMPARE(prompts, 0);
    QVERIFY(m_dialogs->messages().isEmpty());
    QVERIFY(m_home->isConnected());
}

void TstFrmHome::anyOtherNameBringsUpThePromptOnce()
{
    // "Default" is not "default": the comparison is exact.
    IniFile(QStringLiteral("VosmiraKEY.ini"))
        .WriteString(QStringLiteral("VOSMIRA"), QStringLiteral("NOME"), QStringLiteral("Default"));
    int prompts = 0;
    int features = 0;
    m_home->setLoginPrompt([&](QWidget *parent) { return selfClosingWindow(*m_dialogs, parent, &prompts); });
    m_home->setFeatureWindow(2, [&](QWidget *parent) { return selfClosingWindow(*m_dialogs, parent, &features); });
    showHome();
    QTRY_COMPARE(prompts, 1);
    QCOMPARE(IniFile(QStringLiteral("VosmiraKEY.ini"))
                 .ReadString(QStringLiteral("VOSMIRA"), QStringLiteral("NOME"), QString()),
             QStringLiteral("Default"));

    // Coming back from a feature window or from another program asks nothing.
    m_home->IM_2->click();
    QCOMPARE(features, 1);
    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    m_home->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_home.get()));
    QTest::qWait(20);
    QCOMPARE(prompts, 1);
}

void TstFrmHome::checkNeedsNoActivationAndComesFirst_data()
{
    QTest::addColumn<bool>("admitted");
    QTest::newRow("let in") << true;
    QTest::newRow("refused") << false;
}

void TstFrmHome::checkNeedsNoActivationAndComesFirst()
{
    QFETCH(bool, admitted);
    IniFile(QStringLiteral("VosmiraKEY.ini"))
        .WriteString(QStringLiteral("VOSMIRA"), QStringLiteral("NOME"), QStringLiteral("ADMIN"));
    // A window manager that never activates the main window.
    struct NoActivation : QObject
    {
        bool eventFilter(QObject *, QEvent *event) override
        {
            return event->type() == QEvent::ActivationChange || event->type() == QEvent::WindowActivate;
        }
    } noActivation;
    m_home->installEventFilter(&noActivation);

    int prompts = 0;
    int features = 0;
    m_home->setFeatureWindow(2, [&](QWidget *parent) { return selfClosingWindow(*m_dialogs, parent, &features); });
    m_home->setLoginPrompt([&](QWidget *parent) {
        return selfClosingWindow(*m_dialogs, parent, &prompts, [&](QDialog &) {
            // The prompt is modal, but an assistive "press" still reaches a button.
            m_home->IM_2->click();
            if (!admitted)
                m_home->Timer2->start();
        });
    });
    QSignalSpy closed(m_home.get(), &TFrmHome::closed);
    m_home->show();
    // A click that comes before the check opens nothing.
    m_home->IM_2->click();
    QTRY_COMPARE(prompts, 1);
    QCOMPARE(features, 0);
    m_home->IM_2->click();
    QCOMPARE(features, admitted ? 1 : 0);
    QCOMPARE(m_home->isAdmitted(), admitted);
    if (!admitted)
        QTRY_COMPARE(closed.count(), 1);
}

void TstFrmHome::checkThatCannotAsk_data()
{
    QTest::addColumn<bool>("ending");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<bool>("admitted");
    // The display guard has already armed Timer2: no prompt over an ending run.
    QTest::newRow("run ending") << true << QStringList() << false;
    // No password and a store that refuses the mark: nothing to ask, so the user is in.
    QTest::newRow("store refuses the mark")
        << false << QStringList{QStringLiteral("Unable to write to VosmiraKEY.ini")} << true;
}

void TstFrmHome::checkThatCannotAsk()
{
    QFETCH(bool, ending);
    QFETCH(QStringList, texts);
    QFETCH(bool, admitted);
    if (ending) {
        IniFile(QStringLiteral("VosmiraKEY.ini"))
            .WriteString(QStringLiteral("VOSMIRA"), QStringLiteral("NOME"), QStringLiteral("ADMIN"));
    } else {
        QFile blocker(m_settings->settingsPath()); // a file where the folder should be
        QVERIFY(blocker.open(QIODevice::WriteOnly));
    }
    int prompts = 0;
    m_home->setLoginPrompt([&](QWidget *parent) { return selfClosingWindow(*m_dialogs, parent, &prompts); });
    QSignalSpy closed(m_home.get(), &TFrmHome::closed);
    if (ending)
        m_home->Timer2->start();
    m_home->show();
    QTRY_VERIFY(ending ? closed.count() == 1 : m_dialogs->messages().size() == texts.size());
    QCOMPARE(prompts, 0);
    QCOMPARE(m_dialogs->texts(), texts);
    QCOMPARE(m_home->isAdmitted(), admitted);
}

void TstFrmHome::featureWindowsOpenModallyOneAtATime()
{
    showHome();
    std::array<int, 6> opened{};
    bool homeDisabledWhileOpen = true;
    for (int i = 1; i <= 6; ++i) {
        m_home->setFeatureWindow(i, [&, i](QWidget *parent) {
            return selfClosingWindow(*m_dialogs, parent, &opened[i - 1], [&](QDialog &window) {
                homeDisabledWhileOpen = homeDisabledWhileOpen && window.windowModality() == Qt::ApplicationModal;
            });
        });
    }
    for (int i = 1; i <= 6; ++i) {
        QTest::mouseClick(m_home->button(i), Qt::LeftButton);
        QCOMPARE(opened[i - 1], 1);
    }
    QVERIFY(homeDisabledWhileOpen);
    QCOMPARE(opened, (std::array<int, 6>{1, 1, 1, 1, 1, 1}));
    // Every window went through the dialog service, one after the other.
    QCOMPARE(m_dialogs->windowTitles().size(), 6);
    QVERIFY(QApplication::activeModalWidget() == nullptr);
}

void TstFrmHome::registrationRunsThroughTheDialogService()
{
    showHome();
    m_home->setFeatureWindow(1, [](QWidget *parent) { return new TFrmCADASTROcliente(parent); });
    bool typed = false;
    m_dialogs->onNextWindow([&](QDialog &window) {
        auto &form = static_cast<TFrmCADASTROcliente &>(window);
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            return int(QDialog::Rejected);
        QTest::keyClicks(form.DBEdit12, QStringLiteral("maria"));
        form.SpeedButton1->click();
        typed = !window.isVisible();
        return window.result();
    });
    QTest::mouseClick(m_home->IM_1, Qt::LeftButton);
    QVERIFY(typed);
    QCOMPARE(m_dialogs->windowTitles(), QStringList{QStringLiteral(" :: CONTATO - Cadastro")});
    QCOMPARE(m_dialogs->texts(), QStringList{QStringLiteral("Confirma cadastramento?")});
    QCOMPARE(FrmCADASTROcliente, nullptr);
    QSqlDatabase db = DMbanco->database();
    QSqlQuery query(db);
    QVERIFY(query.exec(QStringLiteral("SELECT NOME FROM CAD_CLIENTE")) && query.next());
    QCOMPARE(query.value(0).toString(), QStringLiteral("MARIA"));
}

void TstFrmHome::captionsDoNothingWhenClicked()
{
    showHome();
    int opened = 0;
    for (int i = 1; i <= 6; ++i)
        m_home->setFeatureWindow(i, [&](QWidget *parent) { return selfClosingWindow(*m_dialogs, parent, &opened); });
    for (int i = 1; i <= 6; ++i)
        QTest::mouseClick(m_home->caption(i), Qt::LeftButton);
    QCOMPARE(opened, 0);
    // A button without a window yet does nothing either.
    m_home->setFeatureWindow(1, {});
    QTest::mouseClick(m_home->IM_1, Qt::LeftButton);
    QCOMPARE(opened, 0);
    QVERIFY(m_dialogs->messages().isEmpty());
}

void TstFrmHome::hoverChangesColourAndPicture()
{
    showHome();
    const std::array<std::pair<QString, QString>, 6> files{{{QStringLiteral("12.bmp"), QStringLiteral("11.bmp")},
                                                            {QStringLiteral("32.bmp"), QStringLiteral("31.bmp")},
                                                            {QStringLiteral("92.bmp"), QStringLiteral("91.bmp")},
                                                            {QStringLiteral("52.bmp"), QStringLiteral("51.bmp")},
                                                            {QStringLiteral("72.bmp"), QStringLiteral("71.bmp")},
                                                            {QStringLiteral("82.bmp"), QStringLiteral("81.bmp")}}};
    for (int i = 1; i <= 6; ++i) {
        TImage *image = m_home->button(i);
        QLabel *label = m_home->caption(i);
        QCOMPARE(captionColor(label), QColor(105, 105, 105));
        enter(image);
        QCOMPARE(captionColor(label), QColor(0, 121, 242));
        QCOMPARE(image->picture().toImage(), QImage(m_program->path() + QStringLiteral("Button/") + files[i - 1].first)
                                                 .convertToFormat(image->picture().toImage().format()));
        leave(image);
        QCOMPARE(captionColor(label), QColor(105, 105, 105));
        QCOMPARE(image->picture().toImage(), QImage(m_program->path() + QStringLiteral("Button/") + files[i - 1].second)
                                                 .convertToFormat(image->picture().toImage().format()));
    }
    QVERIFY(m_dialogs->messages().isEmpty());

    // Read from disk at every enter: a picture replaced meanwhile shows at once.
    const QString enterFile = m_program->path() + QStringLiteral("Button/12.bmp");
    QImage replacement(82, 73, QImage::Format_RGB32);
    replacement.fill(Qt::darkGreen);
    QVERIFY(replacement.save(enterFile, "BMP"));
    enter(m_home->IM_1);
    QCOMPARE(m_home->IM_1->picture().toImage().pixelColor(40, 40), QColor(Qt::darkGreen));
}

void TstFrmHome::missingHoverPictureShowsErrorAndGoesOn()
{
    showHome();
    const QString enterFile = m_program->path() + QStringLiteral("Button/32.bmp");
    QVERIFY(QFile::remove(enterFile));
    const QImage before = m_home->IM_2->picture().toImage();

    enter(m_home->IM_2);
    QCOMPARE(m_dialogs->messages().size(), 1);
    const MessageRequest box = m_dialogs->messages().constFirst();
    QCOMPARE(box.kind, MessageKind::Error);
    QCOMPARE(box.icon, MessageIcon::Critical);
    QVERIFY2(box.text.contains(QDir::toNativeSeparators(enterFile)), qPrintable(box.text));
    // The caption changed colour before the failure; the picture stays.
    QCOMPARE(captionColor(m_home->LB_2), QColor(0, 121, 242));
    QCOMPARE(m_home->IM_2->picture().toImage(), before);

    // Every further enter repeats the error; the leave picture still loads.
    enter(m_home->IM_2);
    QCOMPARE(m_dialogs->messages().size(), 2);
    leave(m_home->IM_2);
    QCOMPARE(m_dialogs->messages().size(), 2);
    QCOMPARE(captionColor(m_home->LB_2), QColor(105, 105, 105));

    // A file that is not a picture is refused the same way.
    QFile bogus(m_program->path() + QStringLiteral("Button/11.bmp"));
    QVERIFY(bogus.open(QIODevice::WriteOnly | QIODevice::Truncate));
    bogus.write("not a bitmap");
    bogus.close();
    leave(m_home->IM_1);
    QCOMPARE(m_dialogs->messages().size(), 3);
    QCOMPARE(m_dialogs->messages().constLast().kind, MessageKind::Error);
    QVERIFY(m_home->isVisible());
}

void TstFrmHome::hiddenSpotPopsUpTheMenu()
{
    showHome();
    QCOMPARE(m_home->Image9->size(), QSize(9, 9));
    QVERIFY(m_home->Image9->picture().isNull());
    QCOMPARE(m_home->PopupMenu2->actions().size(), 1);
    QCOMPARE(m_home->oAchou1->text(), QStringLiteral(":o) Achou!"));
    // Through the window, as a user's double-click arrives: the central
    // picture around the spot must not take it.
    const QPoint spot = m_home->Image9->geometry().center();
    QCOMPARE(m_home->childAt(spot), m_home->Image9);
    QTest::mouseDClick(m_home->windowHandle(), Qt::LeftButton, {}, spot);
    QTRY_VERIFY(m_home->PopupMenu2->isVisible());
    m_home->oAchou1->trigger();
    m_home->PopupMenu2->hide();
    QVERIFY(m_dialogs->messages().isEmpty());
}

void TstFrmHome::bannerHiddenWhileAboutWindowIsOpen()
{
    showHome();
    QVERIFY(m_home->Image3->isVisible());
    int opened = 0;
    bool hiddenWhileOpen = false;
    m_home->setFeatureWindow(6, [&](QWidget *parent) {
        QDialog *about = selfClosingWindow(*m_dialogs, parent, &opened,
                                           [&](QDialog &) { hiddenWhileOpen = !m_home->Image3->isVisible(); });
        // What the About window does when it closes.
        QObject::connect(about, &QDialog::finished, about, [] { FrmHome->Image3->setVisible(true); });
        return about;
    });
    m_home->IM_6->click();
    QCOMPARE(opened, 1);
    QVERIFY(hiddenWhileOpen);
    QVERIFY(m_home->Image3->isVisible());

    // Other buttons leave the banner alone.
    bool visibleWhileOther = false;
    m_home->setFeatureWindow(4, [&](QWidget *parent) {
        return selfClosingWindow(*m_dialogs, parent, &opened,
                                 [&](QDialog &) { visibleWhileOther = m_home->Image3->isVisible(); });
    });
    m_home->IM_4->click();
    QVERIFY(visibleWhileOther);
}

void TstFrmHome::bannerOpensTheMakersPage()
{
    UrlRecorder recorder;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &recorder, "open");
    showHome();
    QTest::mouseClick(m_home->Image3, Qt::LeftButton);
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    QCOMPARE(recorder.opened, QList<QUrl>{QUrl(TFrmHome::makerWebPage())});
    QVERIFY(m_dialogs->messages().isEmpty());
}

void TstFrmHome::timersCloseAndTidy()
{
    showHome();
    QCOMPARE(m_home->Timer2->interval(), 1);
    QCOMPARE(m_home->Timer3->interval(), 1);
    QVERIFY(!m_home->Timer2->isActive());
    QVERIFY(!m_home->Timer3->isActive());

    m_home->resize(1000, 900);
    QVERIFY(m_home->IM_1->y() != 14);
    const int left = m_home->IM_1->x();
    m_home->Timer3->start();
    QTRY_VERIFY(!m_home->Timer3->isActive());
    for (int i = 1; i <= 6; ++i) {
        QCOMPARE(m_home->button(i)->y(), 14);
        QCOMPARE(m_home->caption(i)->y(), 97);
    }
    QCOMPARE(m_home->IM_1->x(), left);

    QSignalSpy closed(m_home.get(), &TFrmHome::closed);
    m_home->Timer2->start();
    QTRY_COMPARE(closed.count(), 1);
    QVERIFY(!m_home->isVisible());
}

void TstFrmHome::layoutFollowsTheDesign()
{
    m_home->resize(785, 748);
    showHome();
    QCOMPARE(m_home->windowTitle(), QStringLiteral("Vosmira"));
    QCOMPARE(m_home->objectName(), QStringLiteral("FrmHome"));
    QCOMPARE(m_home->palette().color(QPalette::Window), QColor(224, 223, 227));
    const std::array<QString, 6> captions{QStringLiteral("CADASTRO"),   QStringLiteral("CONSULTA"),
                                          QStringLiteral("RELATÓRIOS"), QStringLiteral("BACKUP"),
                                          QStringLiteral("PROTEÇÃO"),   QStringLiteral("SOBRE")};
    const std::array<int, 6> imageLefts{44, 167, 292, 415, 539, 661};
    for (int i = 1; i <= 6; ++i) {
        QCOMPARE(m_home->caption(i)->text(), captions[i - 1]);
        QCOMPARE(m_home->caption(i)->objectName(), QStringLiteral("LB_%1").arg(i));
        QCOMPARE(m_home->button(i)->objectName(), QStringLiteral("IM_%1").arg(i));
        QCOMPARE(m_home->button(i)->x(), imageLefts[i - 1]);
        QCOMPARE(m_home->button(i)->y(), i == 5 ? 11 : 14);
        QCOMPARE(m_home->button(i)->size(), i == 5 ? QSize(82, 76) : QSize(82, 73));
        QCOMPARE(m_home->caption(i)->y(), 97);
        QCOMPARE(m_home->button(i)->focusPolicy(), Qt::NoFocus);
        QVERIFY(!m_home->button(i)->picture().isNull());
    }
    QCOMPARE(m_home->Image3->geometry(), QRect(121, 655, 786, 53));
    QCOMPARE(m_home->Image1->geometry(), QRect(293, 326, 452, 130));
    QCOMPARE(m_home->Image9->geometry(), QRect(712, 364, 9, 9));

    // Picture buttons keep their place relative to the window; the header band
    // follows its right edge; the central picture grows with the window.
    m_home->resize(785 * 2, 748 * 2);
    QCOMPARE(m_home->IM_1->x(), (44 + 41) * 2 - 41);
    QCOMPARE(m_home->Shape1->width(), 779 + 785);
    QCOMPARE(m_home->Image1->size(), QSize(452 + 785, 130 + 748));
    QCOMPARE(m_home->Image3->pos(), QPoint(121, 655));
}

// The border is not resizable: restored from maximized, the window keeps
// its design size.
void TstFrmHome::restoredWindowKeepsItsSize()
{
    m_home->showMaximized();
    QVERIFY(QTest::qWaitForWindowExposed(m_home.get()));
    m_home->showNormal();
    QTRY_COMPARE(m_home->size(), QSize(785, 748));
    QCOMPARE(m_home->minimumSize(), m_home->maximumSize());
    m_home->resize(900, 700);
    QCOMPARE(m_home->size(), QSize(785, 748));
}

void TstFrmHome::accessibleNamesAndPressAction()
{
    showHome();
    int opened = 0;
    m_home->setFeatureWindow(1, [&](QWidget *parent) { return selfClosingWindow(*m_dialogs, parent, &opened); });
    QAccessibleInterface *button = QAccessible::queryAccessibleInterface(m_home->IM_1);
    QVERIFY(button);
    QCOMPARE(button->role(), QAccessible::Button);
    QCOMPARE(button->text(QAccessible::Name), QStringLiteral("CADASTRO"));
    QAccessibleActionInterface *actions = button->actionInterface();
    QVERIFY(actions);
    QVERIFY(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
    actions->doAction(QAccessibleActionInterface::pressAction());
    QTRY_COMPARE(opened, 1);
    QAccessibleInterface *banner = QAccessible::queryAccessibleInterface(m_home->Image3);
    QVERIFY(!banner->text(QAccessible::Name).isEmpty());
    QAccessibleInterface *caption = QAccessible::queryAccessibleInterface(m_home->LB_3);
    QCOMPARE(caption->text(QAccessible::Name), QStringLiteral("RELATÓRIOS"));
}

void TstFrmHome::displayGuardRunsAtCreateAndAtEveryClose()
{
    m_home.reset();
    QStringList calls;
    const auto unhook = qScopeGuard([] { TFrmHome::setDisplayGuard({}, {}); });
    TFrmHome::setDisplayGuard(
        [&](TFrmHome &home) {
            // Created far enough for the guard: the global is set and the timers exist.
            calls.append(QStringLiteral("create %1").arg(FrmHome == &home && home.Timer2 && home.Timer3));
            home.SavedWidth = 800;
            home.SavedHeight = 600;
            home.Timer2->start();
        },
        [&](TFrmHome &home) {
            calls.append(QStringLiteral("close %1x%2").arg(home.SavedWidth).arg(home.SavedHeight));
        });
    m_home = std::make_unique<TFrmHome>();
    QCOMPARE(calls, QStringList{QStringLiteral("create 1")});

    // A guard that enabled Timer2 ends the run at the first timer event, through the close.
    QSignalSpy closed(m_home.get(), &TFrmHome::closed);
    m_home->show();
    QTRY_COMPARE(closed.count(), 1);
    QCOMPARE(calls, (QStringList{QStringLiteral("create 1"), QStringLiteral("close 800x600")}));
}

int main(int argc, char *argv[])
{
    VosmiraApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    TstFrmHome test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_frmhome.moc"
