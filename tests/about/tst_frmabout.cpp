#include "UFrmAbout.h"

#include "Maker.h"
#include "ScriptedDialogs.h"
#include "TestFolders.h"
#include "VosmiraApplication.h"

#include <QDesktopServices>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>

#include <memory>

using namespace Qt::Literals::StringLiterals;
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

QColor textColor(const QLabel *label)
{
    return label->palette().color(QPalette::WindowText);
}

void enter(QWidget *widget)
{
    QEnterEvent event(QPointF(2, 2), QPointF(2, 2), widget->mapToGlobal(QPointF(2, 2)));
    QApplication::sendEvent(widget, &event);
}

void leave(QWidget *widget)
{
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(widget, &event);
}

bool contractShown(const TFrmAbout &about)
{
    return about.Memo1->isVisible() && about.Label9->isVisible() && !about.Label2->isVisible()
           && !about.Label11->isVisible();
}

bool contractHidden(const TFrmAbout &about)
{
    return !about.Memo1->isVisible() && !about.Label9->isVisible() && about.Label2->isVisible()
           && about.Label11->isVisible();
}

} // namespace

class TstFrmAbout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void contractUnfoldsAndFolds();
    void contractFollowsItsStructure();
    void linksChangeColourOnHover();
    void onlyTheWebAddressOpensThePage();
    void typingInTheContractIsNotKept();

private:
    void open();

    std::unique_ptr<TempSettingsFolder> m_settings;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<TFrmAbout> m_about;
};

void TstFrmAbout::init()
{
    m_settings = std::make_unique<TempSettingsFolder>();
    m_dialogs = std::make_unique<ScriptedDialogs>();
}

void TstFrmAbout::cleanup()
{
    m_about.reset();
    m_dialogs.reset();
    m_settings.reset();
}

void TstFrmAbout::open()
{
    m_about = std::make_unique<TFrmAbout>();
    m_about->show();
    QVERIFY(QTest::qWaitForWindowActive(m_about.get()));
}

void TstFrmAbout::contractUnfoldsAndFolds()
{
    open();
    QCOMPARE(m_about->windowTitle(), u" :: SOBRE"_s);
    QCOMPARE(FrmAbout, m_about.get());
    QVERIFY(contractHidden(*m_about));
    QSignalSpy closed(m_about.get(), &TFrmAbout::closed);

    QTest::mouseClick(m_about->Label2, Qt::LeftButton);
    QVERIFY(contractShown(*m_about));
    // "Fechar" folds the contract away and leaves the window open.
    QTest::mouseClick(m_about->Label9, Qt::LeftButton);
    QVERIFY(contractHidden(*m_about));
    QVERIFY(m_about->isVisible());
    QCOMPARE(closed.count(), 0);

    // Closed with the contract out, the window still lets the banner back.
    QTest::mouseClick(m_about->Label2, Qt::LeftButton);
    m_about->close();
    QCOMPARE(closed.count(), 1);

    // A new window starts folded again.
    m_about.reset();
    QCOMPARE(FrmAbout, nullptr);
    open();
    QVERIFY(contractHidden(*m_about));
}

void TstFrmAbout::contractFollowsItsStructure()
{
    const QStringList lines = TFrmAbout::contract();
    QCOMPARE(lines.size(), 31);
    // Parts separated by single blank lines: two spaced-capital headings, the
    // opening paragraph, four numbered clauses and the closing paragraph.
    QList<QStringList> parts{{}};
    for (const QString &line : lines) {
        if (line.isEmpty())
            parts.append(QStringList());
        else
            parts.last().append(line);
    }
    QCOMPARE(parts.size(), 8);
    QCOMPARE(parts[0], QStringList{u"L I C E N C I A M E N T O"_s});
    QCOMPARE(parts[2], QStringList{u"C O N T R A T O   D E   U S O"_s});
    for (int clause = 1; clause <= 4; ++clause)
        QVERIFY2(parts[2 + clause].constFirst().startsWith(u"%1.\t"_s.arg(clause)), qPrintable(parts[2 + clause][0]));
    for (const QStringList &part : parts)
        QVERIFY(!part.isEmpty());
    QCOMPARE(TFrmAbout().Memo1->toPlainText(), lines.join(u'\n'));
}

void TstFrmAbout::linksChangeColourOnHover()
{
    open();
    const QColor contractLink(0, 84, 168);
    const QColor windowText = m_about->palette().color(QPalette::WindowText);
    QCOMPARE(textColor(m_about->Label2), contractLink);
    leave(m_about->Label2);
    QCOMPARE(textColor(m_about->Label2), windowText);
    enter(m_about->Label2);
    QCOMPARE(textColor(m_about->Label2), contractLink);

    QCOMPARE(textColor(m_about->Label10), QColor(0, 56, 113));
    enter(m_about->Label10);
    QCOMPARE(textColor(m_about->Label10), QColor(0, 85, 0));
    leave(m_about->Label10);
    QCOMPARE(textColor(m_about->Label10), QColor(0, 56, 113));
}

void TstFrmAbout::onlyTheWebAddressOpensThePage()
{
    UrlRecorder recorder;
    QDesktopServices::setUrlHandler(u"https"_s, &recorder, "open");
    QDesktopServices::setUrlHandler(u"mailto"_s, &recorder, "open");
    open();
    QTest::mouseClick(m_about->Label3, Qt::LeftButton);
    QTest::mouseClick(m_about->Label10, Qt::LeftButton);
    QDesktopServices::unsetUrlHandler(u"https"_s);
    QDesktopServices::unsetUrlHandler(u"mailto"_s);
    QCOMPARE(recorder.opened, QList<QUrl>{QUrl(makerWebPage())});
    QVERIFY(m_dialogs->messages().isEmpty());
}

void TstFrmAbout::typingInTheContractIsNotKept()
{
    open();
    QTest::mouseClick(m_about->Label2, Qt::LeftButton);
    // Tab still brings the focus into the contract, and typing shows.
    m_about->Edit1->setFocus();
    QTest::keyClick(m_about->Edit1, Qt::Key_Tab);
    QCOMPARE(m_about->focusWidget(), m_about->Memo1);
    QTest::keyClicks(m_about->Memo1, u"rasura"_s);
    QVERIFY(m_about->Memo1->toPlainText().contains(u"rasura"_s));
    // A click in the text sends the focus to the unseen edit box.
    QTest::mouseClick(m_about->Memo1->viewport(), Qt::LeftButton, {}, QPoint(40, 40));
    QCOMPARE(m_about->focusWidget(), m_about->Edit1);
    QVERIFY(!m_about->rect().intersects(m_about->Edit1->geometry()));

    m_about.reset();
    open();
    QTest::mouseClick(m_about->Label2, Qt::LeftButton);
    QCOMPARE(m_about->Memo1->toPlainText(), TFrmAbout::contract().join(u'\n'));
    QVERIFY(QDir(m_settings->configHome()).isEmpty());
}

int main(int argc, char *argv[])
{
    VosmiraApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    TstFrmAbout test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_frmabout.moc"
