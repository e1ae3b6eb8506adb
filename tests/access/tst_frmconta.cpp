#include "UFrmCONTA.h"

#include "ClickLabel.h"
#include "PasswordEntry.h"
#include "ScriptedDialogs.h"
#include "StoreFixture.h"
#include "TImage.h"
#include "VosmiraApplication.h"

#include <QGroupBox>
#include <QTest>

#include <memory>

using namespace Qt::Literals::StringLiterals;
using namespace vosmira;
using namespace vosmira::test;

namespace {

const QString kProtected = u"[VOSMIRA]\nNOME=ADMIN\nSENHA=segredo\n"_s;
const QString kMismatch = u"A senha digitada não bate com a senha atual, por favor, tente novamente!"_s;
const QString kCreateQuestion = u"Tem certeza de que você quer criar essa conta administradora?"_s;
const QString kChangeQuestion = u"Você está certo de que deseja alterar essa senha?"_s;
const QString kDeleteQuestion = u"Você está certo de que deseja excluir essa conta?"_s;

// The settings window, shown and active, over a store holding `contents` (null: no store).
struct Settings
{
    TempStore store;
    ScriptedDialogs dialogs;
    std::unique_ptr<TFrmCONTA> form;

    explicit Settings(const QString &contents = kProtected)
    {
        if (!contents.isNull())
            store.write(contents.toUtf8());
        form = std::make_unique<TFrmCONTA>();
        form->show();
        QApplication::setActiveWindow(form.get());
    }

    bool ready() { return QTest::qWaitForWindowActive(form.get()); }
    QString focused() const
    {
        QWidget *focus = QApplication::focusWidget();
        return focus ? focus->objectName() : QString();
    }
    void click(QWidget *control) { QTest::mouseClick(control, Qt::LeftButton); }
    QList<QGroupBox *> visiblePages() const
    {
        QList<QGroupBox *> pages;
        for (QGroupBox *page : {form->GBalterar, form->GBdeletar, form->GBhome, form->GbCriar}) {
            if (page->isVisible())
                pages.append(page);
        }
        return pages;
    }
    // Each message in the kind of box its text belongs in.
    void checkKinds() const
    {
        static const QStringList informations{u"Digite a senha!"_s, u"Digite a senha novamente para confirmar!"_s,
                                              u"As senhas digitadas não batem, tente novamente!"_s,
                                              u"Senha de proteção criada com sucesso!"_s};
        for (const MessageRequest &m : dialogs.messages()) {
            MessageKind kind = MessageKind::Plain;
            if (m.text == kCreateQuestion)
                kind = MessageKind::OkCancel;
            else if (m.text == kChangeQuestion || m.text == kDeleteQuestion)
                kind = MessageKind::Confirmation;
            else if (informations.contains(m.text))
                kind = MessageKind::Information;
            QCOMPARE(m.kind, kind);
            if (kind == MessageKind::Plain)
                QCOMPARE(m.caption, u"Vosmira v1.0"_s);
            else if (kind == MessageKind::OkCancel)
                QCOMPARE(m.caption, QString());
        }
    }
};

} // namespace

class TstFrmConta : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void homeOffersByName_data();
    void homeOffersByName();
    void pagesAndBack_data();
    void pagesAndBack();
    void createAndChange_data();
    void createAndChange();
    void enteringTheNewPasswordChecksTheCurrent_data();
    void enteringTheNewPasswordChecksTheCurrent();
    void remove_data();
    void remove();
    void refusedWriteKeepsTheWindowOpen_data();
    void refusedWriteKeepsTheWindowOpen();
};

void TstFrmConta::homeOffersByName_data()
{
    QTest::addColumn<QString>("contents");
    QTest::addColumn<bool>("create");

    QTest::newRow("no store") << QString() << true;
    QTest::newRow("NOME missing") << u"[VOSMIRA]\nSENHA=x\n"_s << true;
    QTest::newRow("default") << u"[VOSMIRA]\nNOME=default\nSENHA=x\n"_s << true;
    QTest::newRow("ADMIN") << kProtected << false;
    QTest::newRow("Default") << u"[VOSMIRA]\nNOME=Default\n"_s << false;
}

void TstFrmConta::homeOffersByName()
{
    QFETCH(QString, contents);
    QFETCH(bool, create);
    Settings s(contents);
    QVERIFY(s.ready());
    QCOMPARE(s.visiblePages(), QList<QGroupBox *>{s.form->GBhome});
    QCOMPARE(s.form->Lb_NEW->isVisible(), create);
    QCOMPARE(s.form->Lb_EDIT->isVisible(), !create);
    QCOMPARE(s.form->LB_DEL->isVisible(), !create);
    QVERIFY(s.dialogs.messages().isEmpty());
}

void TstFrmConta::pagesAndBack_data()
{
    QTest::addColumn<QString>("contents");
    QTest::addColumn<QString>("choice");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("back");

    QTest::newRow("create") << u"[VOSMIRA]\nNOME=default\n"_s << u"Lb_NEW"_s << u"GbCriar"_s << u"Edi2"_s
                            << u"SpeedButton6"_s;
    QTest::newRow("change") << kProtected << u"Lb_EDIT"_s << u"GBalterar"_s << u"Edit3"_s << u"SpeedButton4"_s;
    QTest::newRow("delete") << kProtected << u"LB_DEL"_s << u"GBdeletar"_s << u"Edit1"_s << u"SpeedButton2"_s;
}

void TstFrmConta::pagesAndBack()
{
    QFETCH(QString, contents);
    QFETCH(QString, choice);
    QFETCH(QString, page);
    QFETCH(QString, entry);
    QFETCH(QString, back);

    Settings s(contents);
    QVERIFY(s.ready());
    const QByteArray before = s.store.bytes();
    auto *box = s.form->findChild<QGroupBox *>(page);
    s.click(s.form->findChild<ClickLabel *>(choice));
    // The create page lies over the home page, which stays shown beneath it.
    const QList<QGroupBox *> shown = page == u"GbCriar" ? QList<QGroupBox *>{s.form->GBhome, box}
                                                        : QList<QGroupBox *>{box};
    QCOMPARE(s.visiblePages(), shown);
    QCOMPARE(s.focused(), entry);

    for (PasswordEntry *e : s.form->findChildren<PasswordEntry *>())
        e->setText(u"abc"_s);
    s.click(s.form->findChild<TImage *>(back));
    QCOMPARE(s.visiblePages(), QList<QGroupBox *>{s.form->GBhome});
    for (PasswordEntry *e : s.form->findChildren<PasswordEntry *>())
        QCOMPARE(e->text(), QString());

    // The close box writes nothing.
    s.click(s.form->findChild<ClickLabel *>(choice));
    QTest::keyClicks(QApplication::focusWidget(), u"segredo"_s);
    s.form->close();
    QVERIFY(!s.form->isVisible());
    QCOMPARE(s.store.bytes(), before);
    QVERIFY(s.dialogs.messages().isEmpty());
}

void TstFrmConta::createAndChange_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QString>("storeAfter"); // null: as before, window open
    QTest::addColumn<QStringList>("entriesAfter");
    QTest::addColumn<QString>("focus");

    const QString c = u"create"_s;
    const QString blank = u"   "_s;
    const QString abc = u"abc"_s;
    QTest::newRow("create: blanks only") << c << blank << blank << Answer::Ok << QStringList{u"Digite a senha!"_s}
                                         << QString() << QStringList{blank, blank} << u"Edi2"_s;
    QTest::newRow("create: second missing")
        << c << abc << QString() << Answer::Ok << QStringList{u"Digite a senha novamente para confirmar!"_s}
        << QString() << QStringList{abc, QString()} << u"Edi3"_s;
    QTest::newRow("create: case differs")
        << c << abc << u"aBc"_s << Answer::Ok << QStringList{u"As senhas digitadas não batem, tente novamente!"_s}
        << QString() << QStringList{QString(), QString()} << u"Edi2"_s;
    QTest::newRow("create: Cancel") << c << abc << abc << Answer::Cancel << QStringList{kCreateQuestion} << QString()
                                    << QStringList{abc, abc} << u"Edi2"_s;
    // Over the old password a deletion left behind.
    QTest::newRow("create: OK, blanks kept")
        << c << u" a b "_s << u" a b "_s << Answer::Ok
        << QStringList{kCreateQuestion, u"Senha de proteção criada com sucesso!"_s}
        << u"[VOSMIRA]\nNOME=ADMIN\nSENHA=\" a b \"\n"_s << QStringList() << QString();

    const QString e = u"change"_s;
    const QString right = u"segredo"_s;
    const QString fresh = u"novo"_s;
    QTest::newRow("change: no current") << e << QString() << fresh << Answer::Yes
                                        << QStringList{u"Por favor, digite a sua senha atual!"_s} << QString()
                                        << QStringList{QString(), fresh} << u"Edit3"_s;
    QTest::newRow("change: no new") << e << right << QString() << Answer::Yes
                                    << QStringList{u"Por favor, digite a sua nova senha!"_s} << QString()
                                    << QStringList{right, QString()} << u"Edit4"_s;
    QTest::newRow("change: wrong current") << e << u"Segredo"_s << fresh << Answer::Yes << QStringList{kMismatch}
                                           << QString() << QStringList{QString(), fresh} << u"Edit3"_s;
    QTest::newRow("change: No") << e << right << fresh << Answer::No << QStringList{kChangeQuestion} << QString()
                                << QStringList{QString(), QString()} << u"Edit3"_s;
    QTest::newRow("change: Yes, blanks only")
        << e << right << u"  "_s << Answer::Yes << QStringList{kChangeQuestion, u"Senha alterada com sucesso!"_s}
        << u"[VOSMIRA]\nNOME=ADMIN\nSENHA=\"  \"\n"_s << QStringList() << QString();
}

void TstFrmConta::createAndChange()
{
    QFETCH(QString, page);
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(Answer, answer);
    QFETCH(QStringList, texts);
    QFETCH(QString, storeAfter);
    QFETCH(QStringList, entriesAfter);
    QFETCH(QString, focus);

    const bool create = page == u"create";
    Settings s(create ? u"[VOSMIRA]\nNOME=default\nSENHA=antiga\n"_s : kProtected);
    QVERIFY(s.ready());
    const QByteArray before = s.store.bytes();
    s.click(create ? static_cast<QWidget *>(s.form->Lb_NEW) : s.form->Lb_EDIT);
    PasswordEntry *one = create ? s.form->Edi2 : s.form->Edit3;
    PasswordEntry *two = create ? s.form->Edi3 : s.form->Edit4;
    // Filled without entering Edit4, whose entry check is a case of its own.
    one->setText(first);
    two->setText(second);
    s.dialogs.answerNext(answer);
    s.click(create ? s.form->SpeedButton5 : s.form->SpeedButton3);

    QCOMPARE(s.dialogs.texts(), texts);
    s.checkKinds();
    if (storeAfter.isNull()) {
        QCOMPARE(s.store.bytes(), before);
        QVERIFY(s.form->isVisible());
        QCOMPARE((QStringList{one->text(), two->text()}), entriesAfter);
        QCOMPARE(s.focused(), focus);
    } else {
        QCOMPARE(QString::fromUtf8(s.store.bytes()), storeAfter);
        QVERIFY(s.store.ownerOnly());
        QVERIFY(!s.form->isVisible());
    }
}

void TstFrmConta::enteringTheNewPasswordChecksTheCurrent_data()
{
    QTest::addColumn<QString>("current");
    QTest::addColumn<bool>("byMouse");
    QTest::addColumn<bool>("mismatch");

    QTest::newRow("right, Tab") << u"segredo"_s << false << false;
    QTest::newRow("wrong, Tab") << u"errado"_s << false << true;
    QTest::newRow("wrong, mouse") << u"errado"_s << true << true;
    QTest::newRow("empty, Tab") << QString() << false << true;
}

void TstFrmConta::enteringTheNewPasswordChecksTheCurrent()
{
    QFETCH(QString, current);
    QFETCH(bool, byMouse);
    QFETCH(bool, mismatch);

    Settings s;
    QVERIFY(s.ready());
    s.click(s.form->Lb_EDIT);
    QTest::keyClicks(s.form->Edit3, current);
    if (byMouse)
        s.click(s.form->Edit4);
    else
        QTest::keyClick(s.form->Edit3, Qt::Key_Tab);

    QCOMPARE(s.dialogs.texts(), mismatch ? QStringList{kMismatch} : QStringList());
    QCOMPARE(s.focused(), mismatch ? u"Edit3"_s : u"Edit4"_s);
    QCOMPARE(s.form->Edit3->text(), mismatch ? QString() : current);
    if (mismatch) {
        QCOMPARE(s.dialogs.messages().constFirst().kind, MessageKind::Plain);
        QVERIFY(!s.form->Edit4->hasFocus());
    }
}

void TstFrmConta::remove_data()
{
    QTest::addColumn<int>("wrongAttempts");
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<bool>("removed");

    QTest::newRow("wrong, again and again") << 5 << Answer::Yes << false;
    QTest::newRow("No") << 0 << Answer::No << false;
    QTest::newRow("Yes after wrong ones") << 2 << Answer::Yes << true;
}

void TstFrmConta::remove()
{
    QFETCH(int, wrongAttempts);
    QFETCH(Answer, answer);
    QFETCH(bool, removed);

    Settings s;
    QVERIFY(s.ready());
    const QByteArray before = s.store.bytes();
    s.click(s.form->LB_DEL);
    for (int i = 1; i <= wrongAttempts; ++i) {
        QTest::keyClicks(s.form->Edit1, u"SEGREDO"_s);
        s.click(s.form->SpeedButton1);
        QCOMPARE(s.dialogs.texts(), QStringList(i, u"Senha invalida. Por favor, tente novamente."_s));
        QCOMPARE(s.form->Edit1->text(), QString());
        QCOMPARE(s.focused(), u"Edit1"_s);
    }
    s.checkKinds();
    if (wrongAttempts == 5)
        return;

    s.dialogs.clear();
    QTest::keyClicks(s.form->Edit1, u"segredo"_s);
    s.dialogs.answerNext(answer);
    s.click(s.form->SpeedButton1);
    if (removed) {
        QCOMPARE(s.dialogs.texts(), (QStringList{kDeleteQuestion, u"Conta excluída com sucesso!"_s}));
        s.checkKinds();
        // SENHA keeps the old password.
        QCOMPARE(s.store.bytes(), QByteArray("[VOSMIRA]\nNOME=default\nSENHA=segredo\n"));
        QVERIFY(!s.form->isVisible());
    } else {
        QCOMPARE(s.dialogs.texts(), QStringList{kDeleteQuestion});
        QCOMPARE(s.form->Edit1->text(), QString());
        QCOMPARE(s.focused(), u"Edit1"_s);
        QCOMPARE(s.store.bytes(), before);
    }
}

void TstFrmConta::refusedWriteKeepsTheWindowOpen_data()
{
    QTest::addColumn<QString>("contents");
    QTest::addColumn<QString>("operation");
    QTest::addColumn<int>("sizeLimit"); // -1: a read-only store
    QTest::addColumn<QString>("storeAfter");

    const QString unprotected = u"[VOSMIRA]\nNOME=default\nSENHA=antiga\n"_s;
    QTest::newRow("create") << unprotected << u"create"_s << -1 << unprotected;
    QTest::newRow("change") << kProtected << u"change"_s << -1 << kProtected;
    QTest::newRow("delete") << kProtected << u"delete"_s << -1 << kProtected;
    // NOME is written first: room for it, none for the longer SENHA.
    QTest::newRow("create, SENHA refused")
        << unprotected << u"create"_s << int(unprotected.size()) - 1 << u"[VOSMIRA]\nNOME=ADMIN\nSENHA=antiga\n"_s;
}

void TstFrmConta::refusedWriteKeepsTheWindowOpen()
{
    QFETCH(QString, contents);
    QFETCH(QString, operation);
    QFETCH(int, sizeLimit);
    QFETCH(QString, storeAfter);

    Settings s(contents);
    QVERIFY(s.ready());
    TImage *button = nullptr;
    if (operation == u"create") {
        s.click(s.form->Lb_NEW);
        s.form->Edi2->setText(u"senha123"_s);
        s.form->Edi3->setText(u"senha123"_s);
        button = s.form->SpeedButton5;
    } else if (operation == u"change") {
        s.click(s.form->Lb_EDIT);
        s.form->Edit3->setText(u"segredo"_s);
        s.form->Edit4->setText(u"novo"_s);
        button = s.form->SpeedButton3;
    } else {
        s.click(s.form->LB_DEL);
        s.form->Edit1->setText(u"segredo"_s);
        button = s.form->SpeedButton1;
    }
    {
        std::unique_ptr<ReadOnlyStore> readOnly;
        std::unique_ptr<WriteLimit> limit;
        if (sizeLimit < 0)
            readOnly = std::make_unique<ReadOnlyStore>(s.store);
        else
            limit = std::make_unique<WriteLimit>(rlim_t(sizeLimit));
        s.click(button);
    }
    // The question, then the error box; no word of success.
    QCOMPARE(s.dialogs.messages().size(), 2);
    QCOMPARE(s.dialogs.messages().constLast().kind, MessageKind::Error);
    QCOMPARE(s.dialogs.messages().constLast().text, u"Unable to write to VosmiraKEY.ini"_s);
    QVERIFY(s.form->isVisible());
    QCOMPARE(QString::fromUtf8(s.store.bytes()), storeAfter);
}

int main(int argc, char *argv[])
{
    VosmiraApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    TstFrmConta test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_frmconta.moc"
