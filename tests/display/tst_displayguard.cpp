#include "DisplayGuard.h"
#include "DisplayModes.h"
#include "UFrmResolucao.h"

#include "DisplaySettings.h"
#include "IniFile.h"
#include "ScriptedDialogs.h"
#include "TestFolders.h"
#include "VosmiraApplication.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

using namespace Qt::Literals::StringLiterals;
using namespace vosmira;
using namespace vosmira::test;

namespace {

const QString kQuestion =
    u"Foi detectado que você está utilizando uma resolução de vídeo diferente da exigida pelo programa.\r"
    u"Enquanto o programa estiver aberto sua resolução será configurada para 1024x768.\r\r"
    u"Caso a imagem do seu monitor não fique nítida aguarde 10 segundos que será restaurada a configuração "
    u"anterior."_s;
const QString kModeError = u"Erro alterando a resolução de vídeo"_s;
const QString kEnding = u"Seu adaptador de videio não suporta a resolução exigida para que o programa funcione "
                        u"perfeitamente.\r\rO programa será encerrado."_s;
const QSize kNarrow(800, 600);
const QSize kRequired(1024, 768);

// A display whose every request is recorded; `accepts` decides which succeed.
class FakeDisplay final : public DisplayModes
{
public:
    QSize size = kNarrow;
    std::function<bool(QSize)> accepts = [](QSize) { return true; };
    QList<QSize> requests;

    QSize primarySize() const override { return size; }
    bool setPrimarySize(QSize to) override
    {
        requests.append(to);
        if (!accepts(to))
            return false;
        size = to;
        return true;
    }
};

QString storedConsent()
{
    return IniFile(DisplaySettings::fileName())
        .ReadString(DisplaySettings::section(), DisplaySettings::consentKey(), u"(nada)"_s);
}

} // namespace

class TstDisplayGuard : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void wideScreenIsLeftAlone_data();
    void wideScreenIsLeftAlone();
    void onlyExactYesSwitchesSilently_data();
    void onlyExactYesSwitchesSilently();
    void testedModeIsKept_data();
    void testedModeIsKept();
    void countdownRunsOutAndEnds_data();
    void countdownRunsOutAndEnds();
    void keyboardReachesTheUnseenNo();
    void refusedSwitchShowsNoDialog_data();
    void refusedSwitchShowsNoDialog();

private:
    GuardedWindow home() { return {&m_savedWidth, &m_savedHeight, m_timer2.get(), m_timer3.get()}; }
    void storeConsent(const QString &value)
    {
        IniFile(DisplaySettings::fileName())
            .WriteString(DisplaySettings::section(), DisplaySettings::consentKey(), value);
    }

    std::unique_ptr<TempSettingsFolder> m_settings;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<FakeDisplay> m_display;
    std::unique_ptr<DisplayGuard> m_guard;
    std::unique_ptr<QTimer> m_timer2;
    std::unique_ptr<QTimer> m_timer3;
    qint32 m_savedWidth = 0;
    qint32 m_savedHeight = 0;
};

void TstDisplayGuard::init()
{
    m_settings = std::make_unique<TempSettingsFolder>();
    m_dialogs = std::make_unique<ScriptedDialogs>();
    m_display = std::make_unique<FakeDisplay>();
    m_guard = std::make_unique<DisplayGuard>(*m_display);
    m_timer2 = std::make_unique<QTimer>();
    m_timer3 = std::make_unique<QTimer>();
    m_timer2->setInterval(1);
    m_timer3->setInterval(1);
    m_savedWidth = m_savedHeight = 0;
}

void TstDisplayGuard::cleanup()
{
    m_guard.reset();
    m_display.reset();
    m_dialogs.reset();
    m_timer2.reset();
    m_timer3.reset();
    m_settings.reset();
}

void TstDisplayGuard::wideScreenIsLeftAlone_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QString>("stored");
    QTest::newRow("1024 x 768") << QSize(1024, 768) << QString();
    // Only the width counts.
    QTest::newRow("1024 x 600") << QSize(1024, 600) << QString();
    QTest::newRow("1920 x 1080, yes stored") << QSize(1920, 1080) << u"yes"_s;
}

void TstDisplayGuard::wideScreenIsLeftAlone()
{
    QFETCH(QSize, screen);
    QFETCH(QString, stored);
    if (!stored.isEmpty())
        storeConsent(stored);
    m_display->size = screen;

    m_guard->atStart(home());
    QCOMPARE(QSize(m_savedWidth, m_savedHeight), screen);
    // Closing asks for nothing either: the display was never switched.
    m_guard->atClose(home());
    QVERIFY(m_display->requests.isEmpty());
    QVERIFY(m_dialogs->messages().isEmpty());
    QVERIFY(m_dialogs->windowTitles().isEmpty());
    QVERIFY(!m_timer2->isActive() && !m_timer3->isActive());
}

void TstDisplayGuard::onlyExactYesSwitchesSilently_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("asks");
    QTest::newRow("yes") << u"yes"_s << false;
    QTest::newRow("Yes") << u"Yes"_s << true;
    QTest::newRow("YES") << u"YES"_s << true;
    QTest::newRow("blanks around") << u" yes "_s << true;
    QTest::newRow("empty") << QString() << true;
    QTest::newRow("absent") << u"(absent)"_s << true;
}

void TstDisplayGuard::onlyExactYesSwitchesSilently()
{
    QFETCH(QString, stored);
    QFETCH(bool, asks);
    if (stored != u"(absent)"_s)
        storeConsent(stored);
    m_dialogs->answerNext(Answer::No);

    m_guard->atStart(home());
    QCOMPARE(QSize(m_savedWidth, m_savedHeight), kNarrow);
    if (!asks) {
        QVERIFY(m_dialogs->messages().isEmpty());
        QCOMPARE(m_display->requests, QList<QSize>{kRequired});
        QVERIFY(m_timer3->isActive());
        QVERIFY(!m_timer2->isActive());
        m_guard->atClose(home());
        QCOMPARE(m_display->requests, (QList<QSize>{kRequired, kNarrow}));
        return;
    }
    QCOMPARE(m_dialogs->messages().size(), 1);
    const MessageRequest box = m_dialogs->messages().constFirst();
    QCOMPARE(box.kind, MessageKind::Question);
    QCOMPARE(box.icon, MessageIcon::Question);
    QCOMPARE(box.caption, u"Configurações"_s);
    QCOMPARE(box.text, kQuestion);
    // No: nothing switched, and the main window closes at its first timer event.
    QVERIFY(m_dialogs->windowTitles().isEmpty());
    QVERIFY(m_display->requests.isEmpty());
    QVERIFY(m_timer2->isActive());
    QVERIFY(!m_timer3->isActive());
    m_guard->atClose(home());
    QVERIFY(m_display->requests.isEmpty());
    QCOMPARE(m_dialogs->messages().size(), 1);
}

void TstDisplayGuard::testedModeIsKept_data()
{
    QTest::addColumn<bool>("ticked");
    QTest::addColumn<bool>("byKeyboard");
    QTest::newRow("box ticked") << true << false;
    QTest::newRow("box left") << false << false;
    // Past the unseen "NÃO" to the box, Space, then Enter.
    QTest::newRow("box ticked from the keyboard") << true << true;
}

void TstDisplayGuard::testedModeIsKept()
{
    QFETCH(bool, ticked);
    QFETCH(bool, byKeyboard);
    m_dialogs->answerNext(Answer::Yes);
    bool switchedBeforeShown = false;
    bool focusOnTest = false;
    bool countingDown = false;
    m_dialogs->onNextWindow([&](QDialog &window) {
        auto &dialog = static_cast<TFrmResolucao &>(window);
        switchedBeforeShown = m_display->requests == QList<QSize>{kRequired} && FrmResolucao == &dialog;
        countingDown = dialog.Timer1->isActive() && dialog.Timer1->interval() == 1800
                       && dialog.Label2->text() == u"10"_s && !dialog.CheckBox1->isChecked();
        dialog.show();
        if (QTest::qWaitForWindowActive(&dialog))
            focusOnTest = dialog.focusWidget() == dialog.Button1;
        if (byKeyboard) {
            for (const auto key : {Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Space, Qt::Key_Return})
                QTest::keyClick(QApplication::focusWidget(), key);
        } else {
            dialog.CheckBox1->setChecked(ticked);
            QTest::mouseClick(dialog.Button1, Qt::LeftButton);
        }
        return dialog.result();
    });

    m_guard->atStart(home());
    QCOMPARE(m_dialogs->windowTitles(), QStringList{u" Vosmira"_s});
    QVERIFY(switchedBeforeShown);
    QVERIFY(countingDown);
    QVERIFY(focusOnTest);
    QCOMPARE(FrmResolucao, nullptr);
    QCOMPARE(storedConsent(), ticked ? u"yes"_s : u"(nada)"_s);
    QVERIFY(m_timer3->isActive());
    QVERIFY(!m_timer2->isActive());
    QCOMPARE(m_dialogs->messages().size(), 1);
    QCOMPARE(m_display->requests, QList<QSize>{kRequired});

    m_guard->atClose(home());
    QCOMPARE(m_display->requests, (QList<QSize>{kRequired, kNarrow}));
    QCOMPARE(m_dialogs->messages().size(), 1);
}

void TstDisplayGuard::countdownRunsOutAndEnds_data()
{
    QTest::addColumn<bool>("restoreRefused");
    QTest::newRow("restored") << false;
    QTest::newRow("restore refused") << true;
}

void TstDisplayGuard::countdownRunsOutAndEnds()
{
    QFETCH(bool, restoreRefused);
    if (restoreRefused)
        m_display->accepts = [](QSize to) { return to == kRequired; };
    m_dialogs->answerNext(Answer::Yes);
    QStringList counts;
    bool openAfterTenth = false;
    bool closedAfterEleventh = false;
    m_dialogs->onNextWindow([&](QDialog &window) {
        auto &dialog = static_cast<TFrmResolucao &>(window);
        dialog.show();
        // Ticking the box changes nothing when the count runs out.
        dialog.CheckBox1->setChecked(true);
        for (int tick = 1; tick <= 10; ++tick) {
            dialog.Timer1Timer();
            counts.append(dialog.Label2->text());
        }
        openAfterTenth = dialog.isVisible() && dialog.Timer1->isActive() && m_display->requests.size() == 1;
        dialog.Timer1Timer();
        closedAfterEleventh = !dialog.isVisible() && !dialog.Timer1->isActive();
        return dialog.result();
    });

    m_guard->atStart(home());
    QCOMPARE(counts, (QStringList{u"9"_s, u"8"_s, u"7"_s, u"6"_s, u"5"_s, u"4"_s, u"3"_s, u"2"_s, u"1"_s, u"0"_s}));
    QVERIFY(openAfterTenth);
    QVERIFY(closedAfterEleventh);
    QCOMPARE(m_display->requests, (QList<QSize>{kRequired, kNarrow}));
    QCOMPARE(storedConsent(), u"(nada)"_s);
    QVERIFY(m_timer2->isActive());
    QStringList expected{kQuestion, kEnding};
    if (restoreRefused)
        expected.insert(1, kModeError);
    QCOMPARE(m_dialogs->texts(), expected);
    const MessageRequest ending = m_dialogs->messages().constLast();
    QCOMPARE(ending.kind, MessageKind::Plain);
    QCOMPARE(ending.caption, u"Vosmira v1.0"_s);

    // Back at the old size, closing asks for nothing; still switched, it tries again.
    m_guard->atClose(home());
    QCOMPARE(m_display->requests.size(), restoreRefused ? 3 : 2);
    QCOMPARE(m_dialogs->texts().size(), expected.size() + (restoreRefused ? 1 : 0));
}

void TstDisplayGuard::keyboardReachesTheUnseenNo()
{
    m_dialogs->answerNext(Answer::Yes);
    bool escapeIgnored = false;
    bool unseenNoFocused = false;
    bool realTimerRuns = false;
    m_dialogs->onNextWindow([&](QDialog &window) {
        auto &dialog = static_cast<TFrmResolucao &>(window);
        dialog.show();
        if (!QTest::qWaitForWindowActive(&dialog))
            return int(QDialog::Rejected);
        // The countdown runs on its own timer.
        dialog.Timer1->setInterval(5);
        realTimerRuns = QTest::qWaitFor([&] { return dialog.Label2->text() == u"8"_s; });
        QTest::keyClick(&dialog, Qt::Key_Escape);
        escapeIgnored = dialog.isVisible();
        QTest::keyClick(dialog.focusWidget(), Qt::Key_Tab);
        unseenNoFocused = dialog.focusWidget() == dialog.Button2
                          && !dialog.rect().intersects(dialog.Button2->geometry());
        QTest::keyClick(dialog.Button2, Qt::Key_Space);
        return dialog.result();
    });

    m_guard->atStart(home());
    QVERIFY(realTimerRuns);
    QVERIFY(escapeIgnored);
    QVERIFY(unseenNoFocused);
    QCOMPARE(m_display->requests, (QList<QSize>{kRequired, kNarrow}));
    QCOMPARE(m_dialogs->texts(), (QStringList{kQuestion, kEnding}));
    QVERIFY(m_timer2->isActive());
}

void TstDisplayGuard::refusedSwitchShowsNoDialog_data()
{
    QTest::addColumn<bool>("storedYes");
    QTest::newRow("asked") << false;
    QTest::newRow("yes stored") << true;
}

void TstDisplayGuard::refusedSwitchShowsNoDialog()
{
    QFETCH(bool, storedYes);
    if (storedYes)
        storeConsent(u"yes"_s);
    m_display->accepts = [](QSize) { return false; };
    m_dialogs->answerNext(Answer::Yes);

    m_guard->atStart(home());
    // The error box, then on at the present size: no countdown to a false
    // "success", no ending, nothing written.
    const MessageRequest error = m_dialogs->messages().constLast();
    QCOMPARE(error.kind, MessageKind::Plain);
    QCOMPARE(error.caption, u"Confuguração de Vídeo"_s);
    QCOMPARE(error.text, kModeError);
    QCOMPARE(error.icon, MessageIcon::NoIcon);
    QCOMPARE(m_dialogs->messages().size(), storedYes ? 1 : 2);
    QVERIFY(m_dialogs->windowTitles().isEmpty());
    QCOMPARE(FrmResolucao, nullptr);
    QVERIFY(!m_timer2->isActive());
    QCOMPARE(storedConsent(), storedYes ? u"yes"_s : u"(nada)"_s);
    QCOMPARE(m_display->requests, QList<QSize>{kRequired});

    // Nothing was switched, so closing asks for nothing and shows nothing.
    const qsizetype shown = m_dialogs->messages().size();
    m_guard->atClose(home());
    QCOMPARE(m_display->requests.size(), 1);
    QCOMPARE(m_dialogs->messages().size(), shown);
}

int main(int argc, char *argv[])
{
    VosmiraApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    TstDisplayGuard test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_displayguard.moc"
