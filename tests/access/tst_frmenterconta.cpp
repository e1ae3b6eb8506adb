#include "UFrmENTERconta.h"

#include "PasswordEntry.h"
#include "ScriptedDialogs.h"
#include "StoreFixture.h"
#include "TImage.h"
#include "UFrmHome.h"
#include "VosmiraApplication.h"

#include "IniFile.h"
#include "ProgramFolder.h"
#include "UDMbanco.h"

#include <QCheckBox>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace Qt::Literals::StringLiterals;
using namespace vosmira;
using namespace vosmira::test;

namespace {

const QString kRefused = u"Senha invalida. Por favor, tente novamente."_s;

void writeKey(const QString &key, const QString &value)
{
    IniFile(u"VosmiraKEY.ini"_s).WriteString(u"VOSMIRA"_s, key, value);
}

// The prompt, shown and active, over a store protected by `password` (none: no SENHA key).
struct Prompt
{
    TempStore store;
    ScriptedDialogs dialogs;
    QTimer timer2; // the main window's Timer2
    std::unique_ptr<TFrmENTERconta> form;

    explicit Prompt(const std::optional<QString> &password)
    {
        writeKey(u"NOME"_s, u"ADMIN"_s);
        if (password)
            writeKey(u"SENHA"_s, *password);
        form = std::make_unique<TFrmENTERconta>(&timer2);
        form->show();
        QApplication::setActiveWindow(form.get());
    }

    bool ready() { return QTest::qWaitForWindowActive(form.get()); }

    void type(const QString &text) { QTest::keyClicks(form->Edit2, text); }
    void confirm(bool byEnter)
    {
        if (byEnter)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        else
            QTest::mouseClick(form->SpeedButton1, Qt::LeftButton);
    }
    bool ended() const { return timer2.isActive(); }
};

} // namespace

class TstFrmEnterConta : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fourthRefusalEndsTheRunSilently_data();
    void fourthRefusalEndsTheRunSilently();
    void confirmation_data();
    void confirmation();
    void checkBoxNeedsAMatchingChange();
    void closingDecides_data();
    void closingDecides();
    void refusedWriteKeepsThePromptOpen();
    void wrongPasswordsEndTheProgram();
};

void TstFrmEnterConta::fourthRefusalEndsTheRunSilently_data()
{
    QTest::addColumn<bool>("byEnter");
    QTest::newRow("confirm button") << false;
    QTest::newRow("Enter") << true;
}

void TstFrmEnterConta::fourthRefusalEndsTheRunSilently()
{
    QFETCH(bool, byEnter);
    Prompt p(u"segredo"_s);
    QVERIFY(p.ready());
    QCOMPARE(p.form->focusWidget(), p.form->Edit2);
    const QByteArray before = p.store.bytes();
    for (int attempt = 1; attempt <= 3; ++attempt) {
        p.type(u"errado"_s);
        p.confirm(byEnter);
        QCOMPARE(p.dialogs.texts(), QStringList(attempt, kRefused));
        QCOMPARE(p.dialogs.messages().constLast().kind, MessageKind::Plain);
        QCOMPARE(p.dialogs.messages().constLast().caption, u"Vosmira v1.0"_s);
        QCOMPARE(p.form->Edit2->text(), QString());
        QCOMPARE(QApplication::focusWidget(), p.form->Edit2);
        QVERIFY(p.form->isVisible());
        QVERIFY(!p.ended());
    }
    p.type(u"errado"_s);
    p.confirm(byEnter);
    QCOMPARE(p.dialogs.messages().size(), 3);
    QVERIFY(p.ended());
    QVERIFY(!p.form->isVisible());
    QCOMPARE(p.store.bytes(), before);
}

void TstFrmEnterConta::confirmation_data()
{
    QTest::addColumn<std::optional<QString>>("stored");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("tick");
    QTest::addColumn<bool>("byEnter");
    QTest::addColumn<bool>("admitted");
    QTest::addColumn<QByteArray>("storeAfter"); // empty: as before

    const std::optional<QString> none;
    QTest::newRow("right") << std::optional(u"segredo"_s) << u"segredo"_s << false << false << true << QByteArray();
    QTest::newRow("right, Enter") << std::optional(u"segredo"_s) << u"segredo"_s << false << true << true
                                  << QByteArray();
    QTest::newRow("case differs") << std::optional(u"Segredo"_s) << u"segredo"_s << false << false << false
                                  << QByteArray();
    QTest::newRow("blanks around kept") << std::optional(u" a b "_s) << u" a b "_s << false << false << true
                                        << QByteArray();
    QTest::newRow("blanks not typed") << std::optional(u" a b "_s) << u"a b"_s << false << false << false
                                      << QByteArray();
    QTest::newRow("empty password, empty box")
        << std::optional(QString()) << QString() << false << false << true << QByteArray();
    QTest::newRow("no SENHA, empty box") << none << QString() << false << true << true << QByteArray();
    QTest::newRow("ticked: protection off") << std::optional(u"segredo"_s) << u"segredo"_s << true << false << true
                                            << QByteArray("[VOSMIRA]\nNOME=default\nSENHA=\n");
    QTest::newRow("ticked, Enter on the box") << std::optional(u"segredo"_s) << u"segredo"_s << true << true << true
                                              << QByteArray("[VOSMIRA]\nNOME=default\nSENHA=\n");
}

void TstFrmEnterConta::confirmation()
{
    QFETCH(std::optional<QString>, stored);
    QFETCH(QString, typed);
    QFETCH(bool, tick);
    QFETCH(bool, byEnter);
    QFETCH(bool, admitted);
    QFETCH(QByteArray, storeAfter);

    Prompt p(stored);
    QVERIFY(p.ready());
    const QByteArray before = p.store.bytes();
    p.type(typed);
    if (tick)
        QTest::mouseClick(p.form->CheckBox1, Qt::LeftButton, {}, QPoint(6, 9));
    QCOMPARE(p.form->CheckBox1->isChecked(), tick);
    p.confirm(byEnter);

    QCOMPARE(p.form->isVisible(), !admitted);
    QCOMPARE(p.dialogs.texts(), admitted ? QStringList() : QStringList{kRefused});
    QVERIFY(!p.ended());
    // Enter is swallowed: no character reaches the box.
    QCOMPARE(p.form->Edit2->text(), admitted ? typed : QString());
    QCOMPARE(p.store.bytes(), storeAfter.isEmpty() ? before : storeAfter);
    QVERIFY(p.store.ownerOnly());
}

void TstFrmEnterConta::checkBoxNeedsAMatchingChange()
{
    Prompt p(u"abc"_s);
    QVERIFY(p.ready());
    QVERIFY(!p.form->CheckBox1->isEnabled());
    p.type(u"ab"_s);
    QVERIFY(!p.form->CheckBox1->isEnabled());
    p.type(u"c"_s);
    QVERIFY(p.form->CheckBox1->isEnabled());
    QTest::keyClick(p.form->Edit2, Qt::Key_Backspace);
    QVERIFY(p.form->CheckBox1->isEnabled());

    // Ticked, then a wrong password: refused as usual, nothing written.
    const QByteArray before = p.store.bytes();
    p.form->CheckBox1->setChecked(true);
    p.type(u"x"_s);
    p.confirm(false);
    QCOMPARE(p.dialogs.texts(), QStringList{kRefused});
    QVERIFY(p.form->CheckBox1->isEnabled());
    QCOMPARE(p.store.bytes(), before);

    // An empty password: the box is enabled only when a change leaves it empty again.
    Prompt empty{QString()};
    QVERIFY(empty.ready());
    QVERIFY(!empty.form->CheckBox1->isEnabled());
    empty.type(u"x"_s);
    QVERIFY(!empty.form->CheckBox1->isEnabled());
    QTest::keyClick(empty.form->Edit2, Qt::Key_Backspace);
    QVERIFY(empty.form->CheckBox1->isEnabled());
}

void TstFrmEnterConta::closingDecides_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("tick");
    QTest::addColumn<bool>("ends");

    QTest::newRow("empty box") << QString() << false << true;
    QTest::newRow("wrong password") << u"errado"_s << false << true;
    QTest::newRow("right, unconfirmed, ticked") << u"segredo"_s << true << false;
}

void TstFrmEnterConta::closingDecides()
{
    QFETCH(QString, typed);
    QFETCH(bool, tick);
    QFETCH(bool, ends);

    Prompt p(u"segredo"_s);
    QVERIFY(p.ready());
    const QByteArray before = p.store.bytes();
    p.type(typed);
    p.form->CheckBox1->setChecked(tick);
    // Escape is no way out: it would end the run over a slip.
    QTest::keyClick(p.form->Edit2, Qt::Key_Escape);
    QVERIFY(p.form->isVisible());
    QVERIFY(!p.ended());

    p.form->close();
    QVERIFY(!p.form->isVisible());
    QCOMPARE(p.ended(), ends);
    // The tick is not consulted on this path.
    QCOMPARE(p.store.bytes(), before);
    QVERIFY(p.dialogs.messages().isEmpty());
}

void TstFrmEnterConta::refusedWriteKeepsThePromptOpen()
{
    Prompt p(u"segredo"_s);
    QVERIFY(p.ready());
    const QByteArray before = p.store.bytes();
    p.type(u"segredo"_s);
    p.form->CheckBox1->setChecked(true);
    {
        const ReadOnlyStore readOnly(p.store);
        p.confirm(false);
    }
    QCOMPARE(p.dialogs.texts(), QStringList{u"Unable to write to VosmiraKEY.ini"_s});
    QCOMPARE(p.dialogs.messages().constFirst().kind, MessageKind::Error);
    QVERIFY(p.form->isVisible());
    QVERIFY(!p.ended());
    QCOMPARE(p.store.bytes(), before);
}

void TstFrmEnterConta::wrongPasswordsEndTheProgram()
{
    // The prompt as the program plugs it in: the main window's own Timer2 ends the run.
    TempStore store;
    TempProgramFolder program;
    QVERIFY(program.isValid());
    program.activate();
    writeKey(u"NOME"_s, u"ADMIN"_s);
    writeKey(u"SENHA"_s, u"segredo"_s);
    ScriptedDialogs dialogs;
    TFrmHome home;
    TDMbanco data(programFolder());
    DMbanco = &data;
    home.setLoginPrompt([&home](QWidget *parent) { return new TFrmENTERconta(home.Timer2, parent); });
    dialogs.onNextWindow([](QDialog &window) {
        auto &prompt = static_cast<TFrmENTERconta &>(window);
        window.show();
        for (int i = 0; i < 4; ++i) {
            QTest::keyClicks(prompt.Edit2, u"errado"_s);
            QTest::keyClick(prompt.Edit2, Qt::Key_Return);
        }
        return window.result();
    });
    QSignalSpy closed(&home, &TFrmHome::closed);
    home.show();
    QTRY_COMPARE(closed.count(), 1);
    QCOMPARE(dialogs.windowTitles(), QStringList{u" :: VOSMIRA - Acesso"_s});
    QCOMPARE(dialogs.texts(), QStringList(3, kRefused));
    QVERIFY(!home.isAdmitted());
    DMbanco = nullptr;
}

int main(int argc, char *argv[])
{
    VosmiraApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    TstFrmEnterConta test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_frmenterconta.moc"
