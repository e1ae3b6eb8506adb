#include "Dialogs.h"
#include "Handler.h"
#include "ScriptedDialogs.h"
#include "VosmiraApplication.h"

#include <QAbstractButton>
#include <QDate>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <stdexcept>

using namespace vosmira;
using namespace vosmira::test;

class TstApplication : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void escapingExceptionBecomesErrorBox();
    void handlerErrorStopsAtTheHandler();
    void filterStringsBecomeQtFilters_data();
    void filterStringsBecomeQtFilters();
    void realFileDialogFollowsTheRequest_data();
    void realFileDialogFollowsTheRequest();
    void realBoxesSpeakPortuguese_data();
    void realBoxesSpeakPortuguese();
    void datesShowDayFirst();
    void scriptedDoubleAnswersInOrder();
};

// The last net. The error is thrown from a queued call: unwinding through
// Qt's widget event code (a button's click) would leak what those frames hold,
// which is why every handler catches its own.
void TstApplication::escapingExceptionBecomesErrorBox()
{
    ScriptedDialogs dialogs;
    QObject receiver;
    bool restOfHandlerRan = false;
    const auto deliver = [&](std::function<void()> handler) {
        QMetaObject::invokeMethod(&receiver, std::move(handler), Qt::QueuedConnection);
        QCoreApplication::sendPostedEvents(&receiver);
    };

    deliver([] { throw std::runtime_error("Unable to write to VosmiraKEY.ini"); });
    QCOMPARE(dialogs.messages().size(), 1);
    const MessageRequest box = dialogs.messages().constFirst();
    QCOMPARE(box.kind, MessageKind::Error);
    QCOMPARE(box.text, QStringLiteral("Unable to write to VosmiraKEY.ini"));
    QCOMPARE(box.caption, QStringLiteral("Vosmira v1.0"));

    // The program goes on: the next event is handled as usual.
    deliver([&] { restOfHandlerRan = true; });
    QVERIFY(restOfHandlerRan);
    QCOMPARE(dialogs.messages().size(), 1);

    // Accents survive the trip through the exception.
    deliver([] { throw std::runtime_error(QStringLiteral("Data inválida: 31/02/2020").toStdString()); });
    QCOMPARE(dialogs.messages().constLast().text, QStringLiteral("Data inválida: 31/02/2020"));
}

namespace {

class Form : public QObject
{
public:
    int saved = 0;
    QString lastName;
    void Save() { throw std::runtime_error("Unable to write to VosmiraKEY.ini"); }
    void Rename(const QString &name) { lastName = name; }
    void Count() { ++saved; }
};

} // namespace

void TstApplication::handlerErrorStopsAtTheHandler()
{
    ScriptedDialogs dialogs;
    Form form;
    QPushButton button;
    QLineEdit edit;
    connectHandler(&button, &QPushButton::clicked, &form, &Form::Save);
    connectHandler(&button, &QPushButton::clicked, &form, &Form::Count);
    connectHandler(&edit, &QLineEdit::textChanged, &form, &Form::Rename);
    // Emitted straight from here: an error that left its handler would reach this test.
    Q_EMIT button.clicked(false);
    QCOMPARE(dialogs.texts(), QStringList{QStringLiteral("Unable to write to VosmiraKEY.ini")});
    QCOMPARE(dialogs.messages().constFirst().kind, MessageKind::Error);
    QCOMPARE(form.saved, 1); // the next handler of the same signal still runs
    edit.setText(QStringLiteral("JOÃO"));
    QCOMPARE(form.lastName, QStringLiteral("JOÃO"));

    // A handler whose result Qt needs gives the fallback.
    QVERIFY(runHandlerOr(true, []() -> bool { throw std::logic_error("x"); }));
    QCOMPARE(dialogs.messages().size(), 2);
}

void TstApplication::filterStringsBecomeQtFilters_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("blanks around the bar")
        << QStringLiteral("Arquivos de PDF | *.pdf") << QStringList{QStringLiteral("Arquivos de PDF (*.pdf)")};
    QTest::newRow("no blanks") << QStringLiteral("Banco Vosmira|*.mdb")
                               << QStringList{QStringLiteral("Banco Vosmira (*.mdb)")};
    QTest::newRow("two entries, two patterns")
        << QStringLiteral("Página da Web (HTML)|*.html;*.htm|Texto|*.txt")
        << QStringList{QStringLiteral("Página da Web (HTML) (*.html *.htm)"), QStringLiteral("Texto (*.txt)")};
    QTest::newRow("empty") << QString() << QStringList();
}

void TstApplication::filterStringsBecomeQtFilters()
{
    QFETCH(QString, filter);
    QFETCH(QStringList, expected);
    QCOMPARE(nameFilters(filter), expected);
}

void TstApplication::realFileDialogFollowsTheRequest_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("confirmOverwrite");
    QTest::addColumn<bool>("mustExist");
    QTest::addColumn<int>("fileMode");
    QTest::newRow("save, never asks") << int(FileRequest::Mode::Save) << false << true << int(QFileDialog::AnyFile);
    QTest::newRow("save, asks") << int(FileRequest::Mode::Save) << true << true << int(QFileDialog::AnyFile);
    QTest::newRow("open, any typed name") << int(FileRequest::Mode::Open) << true << false << int(QFileDialog::AnyFile);
    QTest::newRow("open, existing only") << int(FileRequest::Mode::Open) << true << true
                                         << int(QFileDialog::ExistingFile);
}

void TstApplication::realFileDialogFollowsTheRequest()
{
    QFETCH(int, mode);
    QFETCH(bool, confirmOverwrite);
    QFETCH(bool, mustExist);
    QFETCH(int, fileMode);
    FileRequest request;
    request.mode = FileRequest::Mode(mode);
    request.filter = QStringLiteral("Banco Vosmira|*.mdb");
    request.defaultSuffix = QStringLiteral(".mdb");
    request.confirmOverwrite = confirmOverwrite;
    request.mustExist = mustExist;
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        seen = true;
        QCOMPARE(dialog->nameFilters(), QStringList{QStringLiteral("Banco Vosmira (*.mdb)")});
        QCOMPARE(dialog->defaultSuffix(), QStringLiteral("mdb"));
        QCOMPARE(int(dialog->fileMode()), fileMode);
        if (request.mode == FileRequest::Mode::Save)
            QCOMPARE(dialog->testOption(QFileDialog::DontConfirmOverwrite), !confirmOverwrite);
        dialog->reject();
    });
    WidgetDialogService real;
    QVERIFY(real.fileName(nullptr, request).isEmpty());
    QVERIFY(seen);
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
