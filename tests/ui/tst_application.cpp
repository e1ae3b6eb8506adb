#include "Dialogs.h"
#include "ScriptedDialogs.h"
#include "VosmiraApplication.h"

#include <QAbstractButton>
#include <QDate>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <stdexcept>

using namespace vosmira;
using namespace vosmira::test;

class TstApplication : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void escapingExceptionBecomesErrorBox();
    void realBoxesSpeakPortuguese_data();
    void realBoxesSpeakPortuguese();
    void datesShowDayFirst();
    void scriptedDoubleAnswersInOrder();
};

void TstApplication::escapingExceptionBecomesErrorBox()
{
    ScriptedDialogs dialogs;
    QPushButton button(QStringLiteral("Gravar"));
    bool restOfHandlerRan = false;
    int clicks = 0;
    QObject::connect(&button, &QPushButton::clicked, &button, [&] {
        ++clicks;
        if (clicks == 1)
            throw std::runtime_error("Unable to write to VosmiraKEY.ini");
        restOfHandlerRan = true;
    });
    button.show();
    QVERIFY(QTest::qWaitForWindowExposed(&button));

    QTest::mouseClick(&button, Qt::LeftButton);
    QCOMPARE(dialogs.messages().size(), 1);
    const MessageRequest box = dialogs.messages().constFirst();
    QCOMPARE(box.kind, MessageKind::Error);
    QCOMPARE(box.text, QStringLiteral("Unable to write to VosmiraKEY.ini"));
    QCOMPARE(box.caption, QStringLiteral("Vosmira v1.0"));
    QVERIFY(!restOfHandlerRan);

    // The program goes on: the next event is handled as usual.
    QTest::mouseClick(&button, Qt::LeftButton);
    QVERIFY(restOfHandlerRan);
    QCOMPARE(dialogs.messages().size(), 1);

    // Accents survive the trip through the exception.
    QObject::disconnect(&button, nullptr, nullptr, nullptr);
    QObject::connect(&button, &QPushButton::clicked, &button,
                     [] { throw std::runtime_error(QStringLiteral("Data inválida: 31/02/2020").toStdString()); });
    QTest::mouseClick(&button, Qt::LeftButton);
    QCOMPARE(dialogs.messages().constLast().text, QStringLiteral("Data inválida: 31/02/2020"));
}

void TstApplication::realBoxesSpeakPortuguese_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("buttons");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("icon");
    QTest::newRow("plain") << int(MessageKind::Plain) << QStringList{QStringLiteral("OK")}
                           << QStringLiteral("Vosmira v1.0") << int(QMessageBox::NoIcon);
    QTest::newRow("question") << int(MessageKind::Question) << QStringList{QStringLiteral("Sim"), QStringLiteral("Não")}
                              << QStringLiteral("Confirmação") << int(QMessageBox::Question);
    QTest::newRow("confirmation") << int(MessageKind::Confirmation)
                                  << QStringList{QStringLiteral("Sim"), QStringLiteral("Não")}
                                  << QStringLiteral("Confirmação") << int(QMessageBox::Question);
    QTest::newRow("information") << int(MessageKind::Information) << QStringList{QStringLiteral("OK")}
                                 << QStringLiteral("Vosmira v1.0") << int(QMessageBox::Information);
    QTest::newRow("ok-cancel") << int(MessageKind::OkCancel)
                               << QStringList{QStringLiteral("OK"), QStringLiteral("Cancelar")} << QString()
                               << int(QMessageBox::Question);
    QTest::newRow("error") << int(MessageKind::Error) << QStringList{QStringLiteral("OK")}
                           << QStringLiteral("Vosmira v1.0") << int(QMessageBox::Critical);
}

void TstApplication::realBoxesSpeakPortuguese()
{
    QFETCH(int, kind);
    QFETCH(QStringList, buttons);
    QFETCH(QString, caption);
    QFETCH(int, icon);

    QStringList seenButtons;
    QString seenCaption;
    int seenIcon = -1;
    // Look at the real box while it is open, then dismiss it with its last button.
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        seenCaption = box->windowTitle();
        seenIcon = int(box->icon());
        const QList<QAbstractButton *> list = box->buttons();
        for (QAbstractButton *b : list)
            seenButtons.append(b->text().remove(QLatin1Char('&')));
        list.constLast()->click();
    });
    switch (MessageKind(kind)) {
    case MessageKind::Plain: msg::plain(QStringLiteral("Texto")); break;
    case MessageKind::Question: QVERIFY(!msg::question(QStringLiteral("Confirmação"), QStringLiteral("Texto?"))); break;
    case MessageKind::Confirmation: QVERIFY(!msg::confirmation(QStringLiteral("Texto?"))); break;
    case MessageKind::Information: msg::information(QStringLiteral("Texto")); break;
    case MessageKind::OkCancel: QVERIFY(!msg::okCancel(QStringLiteral("Texto?"))); break;
    case MessageKind::Error: msg::error(QStringLiteral("Texto")); break;
    }
    std::sort(seenButtons.begin(), seenButtons.end());
    std::sort(buttons.begin(), buttons.end());
    QCOMPARE(seenButtons, buttons);
    QCOMPARE(seenCaption, caption);
    QCOMPARE(seenIcon, icon);
}

void TstApplication::datesShowDayFirst()
{
    QCOMPARE(QLocale().toString(QDate(2026, 3, 7), QLocale::ShortFormat), QStringLiteral("07/03/2026"));
}

void TstApplication::scriptedDoubleAnswersInOrder()
{
    ScriptedDialogs dialogs;
    dialogs.answerNext(Answer::No);
    dialogs.answerNext(Answer::Yes);
    QVERIFY(!msg::question(QStringLiteral("Confirmação"), QStringLiteral("Primeira?")));
    QVERIFY(msg::question(QStringLiteral("Confirmação"), QStringLiteral("Segunda?")));
    QVERIFY(msg::question(QStringLiteral("Confirmação"), QStringLiteral("Sem roteiro?")));
    QCOMPARE(dialogs.texts(),
             (QStringList{QStringLiteral("Primeira?"), QStringLiteral("Segunda?"), QStringLiteral("Sem roteiro?")}));
    QCOMPARE(dialogs.fileName(nullptr, {}), QString());
}

int main(int argc, char *argv[])
{
    VosmiraApplication app(argc, argv);
    TstApplication test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_application.moc"
