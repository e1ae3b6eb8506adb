// The client list and the record view it opens, over a temporary database file.
#include "TDBComboBox.h"
#include "TDBEdit.h"
#include "TDBGrid.h"
#include "TDBMemo.h"
#include "TDataSource.h"
#include "TDateEdit.h"
#include "UFrmCONSULTARclientes.h"
#include "UFrmFIND_ALTERARcliente.h"

#include "DataFixture.h"
#include "ScriptedDialogs.h"
#include "TImage.h"
#include "TShape.h"
#include "VosmiraApplication.h"

#include "ClientRecord.h"
#include "UDMbanco.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

#include <memory>
#include <utility>

using namespace Qt::Literals::StringLiterals;
using namespace vosmira;
using ClientRecord::pessoaFisica;
using ClientRecord::pessoaJuridica;
using vosmira::test::ScriptedDialogs;

namespace {

const QString kNoClients = u"Não existe nenhum registro salvo."_s;
const QString kDeleteQuestion = u"Tem certeza que deseja excluir esse cliente?"_s;
const QString kInUse = u"o banco de dados está em uso por outro programa; tente de novo em instantes"_s;
const QColor kDarkBlue(0, 64, 128);

// Both client windows over a temporary database file.
struct Clients
{
    TempDatabase db;
    std::unique_ptr<TDMbanco> dm;
    std::unique_ptr<TFrmFIND_ALTERARcliente> list;
    std::unique_ptr<TFrmCONSULTARcliente> view;

    ~Clients()
    {
        view.reset();
        list.reset();
        DMbanco = nullptr;
    }

    bool connect()
    {
        dm = openDataModule(db);
        DMbanco = dm.get();
        return bool(dm);
    }

    // Registered during the run, so it stands behind the loaded clients.
    void registerNow(const QString &name, const QString &kind)
    {
        dm->CDSCliente->Append();
        dm->CDSClienteNOME->SetAsString(name);
        dm->CDSClienteTIPO->SetAsString(kind);
        dm->CDSCliente->ApplyUpdates(-1);
    }

    bool openList()
    {
        list = std::make_unique<TFrmFIND_ALTERARcliente>();
        list->show();
        QApplication::setActiveWindow(list.get());
        return QTest::qWaitForWindowActive(list.get());
    }

    // The record view of the client named `name`, as the list opens it.
    bool openView(const QString &name)
    {
        if (!dm->CDSCliente->Locate(u"NOME", name, 0))
            return false;
        view = std::make_unique<TFrmCONSULTARcliente>();
        view->show();
        QApplication::setActiveWindow(view.get());
        return QTest::qWaitForWindowActive(view.get());
    }

    // Keys for the search box; '\b' is a backspace.
    void search(const QString &keys)
    {
        for (const QChar c : keys) {
            if (c == u'\b')
                QTest::keyClick(list->Edit1, Qt::Key_Backspace);
            else
                QTest::keyClick(list->Edit1, c.toLatin1());
        }
        QCoreApplication::processEvents(); // the grid follows the cursor
    }

    QString current() const { return dm->CDSClienteNOME->AsString(); }
    int gridRow() const { return list->DBGrid1->currentIndex().row(); }
    int storedCount() { return db.scalar(u"SELECT COUNT(*) FROM CAD_CLIENTE"_s).toInt(); }
    QString stored(const QString &column, const QString &name)
    {
        return db.scalar(u"SELECT \"%1\" FROM CAD_CLIENTE WHERE NOME = ?"_s.arg(column), {name}).toString();
    }

    static void click(QWidget *button) { QTest::mouseClick(button, Qt::LeftButton); }
    void type(QWidget *control, const QString &keys)
    {
        if (auto *date = qobject_cast<TDateEdit *>(control))
            control = date->lineEdit();
        control->setFocus(Qt::OtherFocusReason);
        if (auto *line = qobject_cast<QLineEdit *>(control); line && !line->inputMask().isEmpty())
            line->setCursorPosition(0);
        QTest::keyClicks(control, keys);
    }
};

} // namespace

class TstFrmConsulta : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    // The list.
    void searchFollowsTheGridOrder_data();
    void searchFollowsTheGridOrder();
    void emptyTableAnswersEveryAction();
    void otherDesksClientsAppearWhenShown();
    void deletionReachesTheFile_data();
    void deletionReachesTheFile();
    void viewOpensOnTheHighlightedClient();
    void refusedDeleteKeepsTheClient_data();
    void refusedDeleteKeepsTheClient();

    // The record view.
    void layoutFollowsTheKind_data();
    void layoutFollowsTheKind();
    void dataControlsRefuseTheUserWhileViewing();
    void editAndSaveReachTheFile_data();
    void editAndSaveReachTheFile();
    void declinedSaveKeepsEditing();
    void deleteWhileEditingDropsTheChanges();
    void emptyDatesOpenEmptyDateEdits();
    void kindSwitchWhileEditingShowsItsDate();
    void storedValuesOutsideTheListsAreKept();
    void refusedSaveKeepsEditing();
    void changeOnAnotherDeskIsNamed();
    void numberAnotherClientHoldsWarns_data();
    void numberAnotherClientHoldsWarns();

private:
    std::unique_ptr<ScriptedDialogs> m_dialogs;
};

void TstFrmConsulta::init()
{
    m_dialogs = std::make_unique<ScriptedDialogs>();
}

void TstFrmConsulta::cleanup()
{
    m_dialogs.reset();
}

void TstFrmConsulta::searchFollowsTheGridOrder_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("shown"); // what the search box shows
    QTest::addColumn<QString>("current");
    QTest::newRow("lower case, first in grid order") << u"jo"_s << u"JO"_s << u"JOANA"_s;
    QTest::newRow("accent not typed") << u"jose"_s << u"JOSE"_s << u"JOSÉ"_s;
    QTest::newRow("appended client, nothing earlier") << u"joaq"_s << u"JOAQ"_s << u"JOAQUIM"_s;
    QTest::newRow("no match keeps the row") << u"joaqx"_s << u"JOAQX"_s << u"JOAQUIM"_s;
    QTest::newRow("grid's end, accent ignored") << u"zel"_s << u"ZEL"_s << u"ZÉLIA"_s;
    QTest::newRow("appended behind a loaded match") << u"mar"_s << u"MAR"_s << u"MARIA"_s;
    QTest::newRow("cleared") << u"ma\b\b"_s << QString() << u"ANA"_s;
    QTest::newRow("blanks only") << u"ma\b\b  "_s << u"  "_s << u"ANA"_s;
    QTest::newRow("leading blank") << u"ma\b\b jo"_s << u" JO"_s << u"ANA"_s;
}

void TstFrmConsulta::searchFollowsTheGridOrder()
{
    QFETCH(QString, keys);
    QFETCH(QString, shown);
    QFETCH(QString, current);
    Clients c;
    for (const QString &name : {u"ANA"_s, u"JOANA"_s, u"JOSÉ"_s, u"MARIA"_s, u"ZULMIRA"_s})
        QVERIFY(c.db.addClient(name, pessoaFisica()));
    QVERIFY(c.connect());
    c.registerNow(u"JOAQUIM"_s, pessoaFisica());
    c.registerNow(u"MARCOS"_s, pessoaFisica());
    c.registerNow(u"ZÉLIA"_s, pessoaJuridica());
    QVERIFY(c.openList());
    c.dm->CDSCliente->First();
    c.search(keys);
    QCOMPARE(c.list->Edit1->text(), shown);
    // A server's list is read again when shown, and MARCOS takes his place before MARIA.
    if (c.db.onServer() && current == u"MARIA"_s)
        current = u"MARCOS"_s;
    QCOMPARE(c.current(), current);
    QCOMPARE(c.gridRow(), c.dm->CDSCliente->RecNo() - 1);
    QVERIFY(m_dialogs->messages().isEmpty());
}

void TstFrmConsulta::otherDesksClientsAppearWhenShown()
{
    if (!testingOnServer())
        QSKIP("only a server has other desks");
    Clients c;
    QVERIFY(c.db.addClient(u"BRUNO"_s, pessoaFisica()));
    QVERIFY(c.connect());
    QVERIFY(c.openList());
    QCOMPARE(c.list->Label2->text(), u"Total de registros: 1"_s);
    c.list.reset();

    // Another desk registers one client and renames the other.
    QVERIFY(c.db.addClient(u"ALICE"_s, pessoaJuridica()));
    QVERIFY(c.db.exec(u"UPDATE CAD_CLIENTE SET NOME = 'CARLA' WHERE NOME = 'BRUNO'"_s));
    QVERIFY(c.openList());
    QCOMPARE(c.list->Label2->text(), u"Total de registros: 2"_s);
    c.dm->CDSCliente->First();
    QCOMPARE(c.current(), u"ALICE"_s);
    c.dm->CDSCliente->Next();
    QCOMPARE(c.current(), u"CARLA"_s);
}

void TstFrmConsulta::emptyTableAnswersEveryAction()
{
    Clients c;
    QVERIFY(c.connect());
    QVERIFY(c.openList());
    TFrmFIND_ALTERARcliente &l = *c.list;
    QCOMPARE(l.windowTitle(), u"   CLIENTES - Consulta"_s);
    QCOMPARE(l.size(), QSize(485, 257));
    QCOMPARE(QApplication::focusWidget(), l.Edit1);
    QCOMPARE(l.Label2->text(), u"Total de registros: 0"_s);
    Clients::click(l.SpeedButton4);
    Clients::click(l.SpeedButton3);
    QTest::mouseDClick(l.DBGrid1->viewport(), Qt::LeftButton);
    QCOMPARE(m_dialogs->texts(), QStringList(3, kNoClients));
    QCOMPARE(m_dialogs->messages().first().kind, MessageKind::Plain);
    QVERIFY(m_dialogs->windowTitles().isEmpty());
}

void TstFrmConsulta::deletionReachesTheFile_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<bool>("confirmed");
    QTest::addColumn<QString>("following"); // current once the client is gone
    QTest::newRow("declined") << QStringList{u"A"_s, u"B"_s, u"C"_s} << false << u"B"_s;
    QTest::newRow("middle client") << QStringList{u"A"_s, u"B"_s, u"C"_s} << true << u"C"_s;
    QTest::newRow("last client") << QStringList{u"A"_s, u"B"_s} << true << u"A"_s;
    QTest::newRow("only client") << QStringList{u"B"_s} << true << QString();
}

void TstFrmConsulta::deletionReachesTheFile()
{
    QFETCH(QStringList, names);
    QFETCH(bool, confirmed);
    QFETCH(QString, following);
    Clients c;
    for (const QString &name : names)
        QVERIFY(c.db.addClient(name, name == u"A"_s ? pessoaJuridica() : pessoaFisica()));
    QVERIFY(c.connect());
    // The report window leaves the clients filtered by kind; the list shows them all.
    c.dm->CDSCliente->SetFilter(ClientRecord::kindFilter(pessoaFisica()));
    c.dm->CDSCliente->SetFiltered(true);
    QVERIFY(c.openList());
    TFrmFIND_ALTERARcliente &l = *c.list;
    QVERIFY(!c.dm->CDSCliente->Filtered());
    QCOMPARE(c.dm->CDSCliente->Filter(), ClientRecord::kindFilter(pessoaFisica()));
    QCOMPARE(l.Label2->text(), u"Total de registros: %1"_s.arg(names.size()));

    c.search(u"b"_s);
    m_dialogs->answerNext(confirmed ? Answer::Yes : Answer::No);
    Clients::click(l.SpeedButton3);
    QCOMPARE(m_dialogs->messages().size(), 1);
    QCOMPARE(m_dialogs->messages().first().kind, MessageKind::Question);
    QCOMPARE(m_dialogs->messages().first().caption, u"Confirmação"_s);
    QCOMPARE(m_dialogs->messages().first().text, kDeleteQuestion);
    const int left = int(names.size()) - (confirmed ? 1 : 0);
    QCOMPARE(c.storedCount(), left);
    QCOMPARE(c.dm->CDSCliente->RecordCount(), left);
    QCOMPARE(l.Label2->text(), u"Total de registros: %1"_s.arg(left));
    QCOMPARE(c.current(), following);
    QCoreApplication::processEvents();
    QCOMPARE(c.gridRow(), c.dm->CDSCliente->RecNo() - 1);
}

void TstFrmConsulta::viewOpensOnTheHighlightedClient()
{
    Clients c;
    for (const QString &name : {u"A"_s, u"B"_s, u"C"_s})
        QVERIFY(c.db.addClient(name, pessoaFisica()));
    QVERIFY(c.connect());
    QVERIFY(c.openList());
    TFrmFIND_ALTERARcliente &l = *c.list;
    QCoreApplication::processEvents();
    const QRect second = l.DBGrid1->visualRect(l.DBGrid1->model()->index(1, 0));
    QString seen;
    m_dialogs->onNextWindow([&](QDialog &window) {
        auto &view = dynamic_cast<TFrmCONSULTARcliente &>(window);
        window.show();
        seen = view.DBEdit12->text();
        Clients::click(view.SpeedButton3); // deletes it
        return QDialog::Accepted;
    });
    QTest::mouseDClick(l.DBGrid1->viewport(), Qt::LeftButton, {}, second.center());
    QCOMPARE(m_dialogs->windowTitles(), QStringList{u" :: CONTATO - Consultar"_s});
    QCOMPARE(seen, u"B"_s);
    QCOMPARE(FrmCONSULTARcliente, nullptr);
    QCOMPARE(c.storedCount(), 2);
    QCOMPARE(l.Label2->text(), u"Total de registros: 2"_s);

    // Enter in the search box opens the client found, the buttons taking no focus.
    c.search(u"c"_s);
    QTest::keyClick(l.Edit1, Qt::Key_Return);
    QCOMPARE(m_dialogs->windowTitles().size(), 2);
}

void TstFrmConsulta::refusedDeleteKeepsTheClient_data()
{
    QTest::addColumn<bool>("fromTheView");
    QTest::addColumn<bool>("editing");
    QTest::newRow("list") << false << false;
    QTest::newRow("record view") << true << false;
    QTest::newRow("record view, editing") << true << true;
}

void TstFrmConsulta::refusedDeleteKeepsTheClient()
{
    QFETCH(bool, fromTheView);
    QFETCH(bool, editing);
    Clients c;
    for (const QString &name : {u"A"_s, u"B"_s, u"C"_s})
        QVERIFY(c.db.addClient(name, pessoaFisica()));
    QVERIFY(c.connect());
    QVERIFY(c.openList());
    c.search(u"b"_s);
    OtherProgramLock lock(c.db, *c.dm);
    QVERIFY(lock.held());
    const QString refused = u"O cliente não foi excluído: "_s + kInUse + u'.';
    if (!fromTheView) {
        Clients::click(c.list->SpeedButton3);
        QCOMPARE(m_dialogs->texts(), (QStringList{kDeleteQuestion, refused}));
    } else {
        QVERIFY(c.openView(u"B"_s));
        TFrmCONSULTARcliente &v = *c.view;
        if (editing) {
            Clients::click(v.SpeedButton4);
            c.type(v.DBEdit13, u"b@exemplo.com.br"_s);
            c.type(v.DBEdit14, u"0131"_s); // half a CEP
        }
        Clients::click(v.SpeedButton3);
        QCOMPARE(m_dialogs->texts(), (QStringList{kDeleteQuestion, refused}));
        QVERIFY(v.isVisible());
        QCOMPARE(v.isEditing(), editing);
        QCOMPARE(c.dm->CDSCliente->State(), editing ? dsEdit : dsBrowse);
        QCOMPARE(v.DBEdit13->text(), editing ? u"b@exemplo.com.br"_s : QString());
        QCOMPARE(v.DBEdit14->displayText(), editing ? u"0131_-___"_s : u"_____-___"_s);
        v.close();
    }
    QCOMPARE(c.current(), u"B"_s);
    QCOMPARE(c.dm->CDSCliente->RecordCount(), 3);
    QCOMPARE(c.list->Label2->text(), u"Total de registros: 3"_s);
    QCOMPARE(c.dm->CDSCliente->ChangeCount(), 0);

    // Once the other program lets go, the same press deletes it.
    lock.release();
    m_dialogs->clear();
    Clients::click(c.list->SpeedButton3);
    QCOMPARE(m_dialogs->texts(), QStringList{kDeleteQuestion});
    QCOMPARE(c.storedCount(), 2);
    QCOMPARE(c.stored(u"NOME"_s, u"B"_s), QString());
}

void TstFrmConsulta::layoutFollowsTheKind_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("person");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QColor>("frame");
    QTest::newRow("private person") << pessoaFisica() << true << u"Aprovado"_s << QColor(0, 128, 115);
    QTest::newRow("company") << pessoaJuridica() << false << u"Reprovado"_s << QColor(230, 78, 28);
    QTest::newRow("neither") << u"Outro"_s << true << u"Em analise"_s << QColor(165, 172, 180);
}

void TstFrmConsulta::layoutFollowsTheKind()
{
    QFETCH(QString, kind);
    QFETCH(bool, person);
    QFETCH(QString, status);
    QFETCH(QColor, frame);
    Clients c;
    QVERIFY(c.db.addClient(u"X"_s, kind,
                           {{u"CRED_STATUS"_s, status},
                            {u"NACIMENTO"_s, u"1899-12-30"_s},
                            {u"OBS"_s, u"doze letras"_s},
                            {u"CNPJ"_s, u"11.222.333/0001-81"_s}}));
    QVERIFY(c.connect());
    QVERIFY(c.openView(u"X"_s));
    TFrmCONSULTARcliente &v = *c.view;
    QCOMPARE(v.windowTitle(), u" :: CONTATO - Consultar"_s);
    QCOMPARE(v.size(), QSize(941, 401));
    QCOMPARE(v.RadioButton1->isChecked(), kind == pessoaFisica());
    QCOMPARE(v.RadioButton2->isChecked(), kind == pessoaJuridica());
    for (QWidget *w : {static_cast<QWidget *>(v.DBEdit9), static_cast<QWidget *>(v.DBEdit37),
                       static_cast<QWidget *>(v.DBComboBox5), static_cast<QWidget *>(v.DBEdit4)})
        QCOMPARE(w->isVisible(), person);
    for (QWidget *w : {static_cast<QWidget *>(v.DBEdit16), static_cast<QWidget *>(v.DBEdit38),
                       static_cast<QWidget *>(v.DBEdit11), static_cast<QWidget *>(v.DBEdit24)})
        QCOMPARE(w->isVisible(), !person);
    for (QWidget *w : {static_cast<QWidget *>(v.TimePeck_NACIMENTO), static_cast<QWidget *>(v.TimePeck_FUNDACAO),
                       static_cast<QWidget *>(v.DateTimePicker1), static_cast<QWidget *>(v.ComboBox1)})
        QVERIFY(!w->isVisible());
    QCOMPARE(v.DBEdit37->text(), u"30/12/1899"_s);
    QCOMPARE(v.DBEdit16->displayText(), u"11.222.333/0001-81"_s);
    QCOMPARE(v.DBEdit36->text(), status);
    QCOMPARE(v.Shape6->penColor(), frame);
    QCOMPARE(v.Shape7->penColor(), frame);
    QCOMPARE(v.LbContador->text(), u"389"_s);
    for (QWidget *w : v.dataControls())
        QCOMPARE(w->palette().color(QPalette::Text), kDarkBlue);

    // The other kind's button shows its fields, empty, and touches nothing.
    Clients::click(person ? v.RadioButton2 : static_cast<QWidget *>(v.RadioButton1));
    QCOMPARE(v.DBEdit9->isVisible(), !person);
    QCOMPARE(v.DBEdit16->isVisible(), person);
    QCOMPARE(c.dm->CDSCliente->State(), dsBrowse);
    QCOMPARE(c.dm->CDSCliente->ChangeCount(), 0);

    Clients::click(v.SpeedButton4);
    QCOMPARE(v.windowTitle(), u" :: CONTATO - Alterar"_s);
    QVERIFY(v.ComboBox1->isVisible());
    QVERIFY(!v.DBEdit36->isVisible());
    QCOMPARE(v.TimePeck_NACIMENTO->isVisible(), !person);
    QCOMPARE(v.TimePeck_FUNDACAO->isVisible(), person);
    QCOMPARE(v.DBEdit12->palette().color(QPalette::Text), QApplication::palette().color(QPalette::Text));
    QVERIFY(m_dialogs->messages().isEmpty());
}

void TstFrmConsulta::dataControlsRefuseTheUserWhileViewing()
{
    Clients c;
    QVERIFY(c.db.addClient(u"X"_s, pessoaFisica(), {{u"UF"_s, u"SP"_s}, {u"OBS"_s, u"nota"_s}}));
    QVERIFY(c.connect());
    QVERIFY(c.openView(u"X"_s));
    TFrmCONSULTARcliente &v = *c.view;
    QCOMPARE(QApplication::focusWidget(), v.RadioButton1);
    for (QWidget *w : {static_cast<QWidget *>(v.DBEdit12), static_cast<QWidget *>(v.DBComboBox1),
                       static_cast<QWidget *>(v.Memo1->viewport())}) {
        QTest::mouseClick(w, Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), v.Edit1);
        QTest::keyClicks(QApplication::focusWidget(), u"zz"_s);
        QTest::keyClicks(w, u"zz"_s);
    }
    v.DBEdit7->setFocus(); // as a program or an assistive tool would
    QCOMPARE(QApplication::focusWidget(), v.Edit1);
    QCOMPARE(v.DBEdit12->text(), u"X"_s);
    QCOMPARE(v.DBComboBox1->currentText(), u"SP"_s);
    QCOMPARE(v.Memo1->toPlainText(), u"nota"_s);
    QCOMPARE(c.dm->CDSCliente->State(), dsBrowse);

    // Tab goes between the kind and nowhere visible; "Salvar" says nothing.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), v.RadioButton1);
    Clients::click(v.SpeedButton1);
    QVERIFY(m_dialogs->messages().isEmpty());
    QVERIFY(v.isVisible());
}

void TstFrmConsulta::editAndSaveReachTheFile_data()
{
    QTest::addColumn<bool>("registeredNow");
    QTest::newRow("loaded at start") << false;
    QTest::newRow("registered earlier in the run") << true;
}

void TstFrmConsulta::editAndSaveReachTheFile()
{
    QFETCH(bool, registeredNow);
    Clients c;
    if (!registeredNow)
        QVERIFY(c.db.addClient(u"JOANA"_s, pessoaFisica(),
                               {{u"NACIMENTO"_s, u"1980-05-04"_s}, {u"CRED_STATUS"_s, u"Em analise"_s}}));
    QVERIFY(c.connect());
    if (registeredNow) {
        c.registerNow(u"JOANA"_s, pessoaFisica());
        c.dm->CDSCliente->Edit();
        c.dm->CDSClienteNACIMENTO->SetAsString(u"04/05/1980"_s);
        c.dm->CDSClienteCRED_STATUS->SetAsString(u"Em analise"_s);
        c.dm->CDSCliente->ApplyUpdates(-1);
    }
    QVERIFY(c.openView(u"JOANA"_s));
    TFrmCONSULTARcliente &v = *c.view;
    Clients::click(v.SpeedButton4);
    QCOMPARE(c.dm->CDSCliente->State(), dsEdit);
    QCOMPARE(v.TimePeck_NACIMENTO->text(), u"04/05/1980"_s);
    v.DBEdit12->selectAll();
    c.type(v.DBEdit12, u"joana d'arc"_s);
    c.type(v.DBEdit13, u"joana@exemplo.com.br"_s);
    v.TimePeck_NACIMENTO->lineEdit()->selectAll();
    c.type(v.TimePeck_NACIMENTO, u"06011982"_s);
    Clients::click(v.SpeedButton4); // again: what was chosen stays
    QCOMPARE(v.TimePeck_NACIMENTO->text(), u"06/01/1982"_s);
    v.ComboBox1->setCurrentIndex(2);
    emit v.ComboBox1->activated(2);
    QCOMPARE(v.Shape6->penColor(), QColor(230, 78, 28));
    c.type(v.Memo1, u"ab"_s);
    QTest::keyClick(v.Memo1, Qt::Key_Return);
    QCOMPARE(v.Memo1->toPlainText(), u"ab"_s);
    QCOMPARE(v.LbContador->text(), u"398"_s);
    Clients::click(v.SpeedButton1);
    QCOMPARE(m_dialogs->texts(), QStringList{u"Confirma cadastramento?"_s});
    QVERIFY(!v.isVisible());
    QCOMPARE(c.storedCount(), 1);
    const QString name = u"JOANA D'ARC"_s;
    QCOMPARE(c.stored(u"EMAIL"_s, name), u"joana@exemplo.com.br"_s);
    QCOMPARE(c.stored(u"NACIMENTO"_s, name), u"1982-01-06"_s);
    QCOMPARE(c.stored(u"CRED_STATUS"_s, name), u"Reprovado"_s);
    QCOMPARE(c.stored(u"OBS"_s, name), u"ab"_s);
    QCOMPARE(c.stored(u"TIPO"_s, name), pessoaFisica());
    QCOMPARE(c.stored(u"FUNDACAO"_s, name), u"1899-12-30"_s);
    QCOMPARE(c.dm->CDSCliente->ChangeCount(), 0);
}

void TstFrmConsulta::declinedSaveKeepsEditing()
{
    Clients c;
    QVERIFY(c.db.addClient(u"X"_s, pessoaJuridica()));
    QVERIFY(c.connect());
    QVERIFY(c.openView(u"X"_s));
    TFrmCONSULTARcliente &v = *c.view;
    Clients::click(v.SpeedButton4);
    c.type(v.DBEdit11, u"Fantasia"_s);
    QTest::keyClick(v.DBEdit11, Qt::Key_Escape); // abandons the box, never the window
    c.type(v.DBEdit15, u"Comercio"_s);
    m_dialogs->answerNext(Answer::No);
    Clients::click(v.SpeedButton1);
    QVERIFY(v.isVisible());
    QVERIFY(v.isEditing());
    QCOMPARE(v.DBEdit11->text(), QString());
    QCOMPARE(v.DBEdit15->text(), u"Comercio"_s);
    Clients::click(v.SpeedButton2);
    QVERIFY(!v.isVisible());
    QCOMPARE(c.dm->CDSCliente->State(), dsBrowse);
    QCOMPARE(c.dm->CDSClienteATIVIDADE->AsString(), QString());
    QCOMPARE(c.stored(u"ATIVIDADE"_s, u"X"_s), QString());
}

void TstFrmConsulta::deleteWhileEditingDropsTheChanges()
{
    Clients c;
    QVERIFY(c.db.addClient(u"X"_s, pessoaFisica()));
    QVERIFY(c.db.addClient(u"Y"_s, pessoaFisica()));
    QVERIFY(c.connect());
    QVERIFY(c.openView(u"X"_s));
    TFrmCONSULTARcliente &v = *c.view;
    Clients::click(v.SpeedButton4);
    c.type(v.DBEdit13, u"x@exemplo.com.br"_s);
    Clients::click(v.SpeedButton3);
    QCOMPARE(m_dialogs->texts(), QStringList{kDeleteQuestion});
    QVERIFY(!v.isVisible());
    QCOMPARE(c.storedCount(), 1);
    QCOMPARE(c.stored(u"NOME"_s, u"Y"_s), u"Y"_s);
    QCOMPARE(c.dm->CDSCliente->ChangeCount(), 0);
}

void TstFrmConsulta::emptyDatesOpenEmptyDateEdits()
{
    Clients c;
    QVERIFY(c.db.addClient(u"EMPRESA"_s, pessoaJuridica(), {{u"CRED_DESDE"_s, u"2020-02-29"_s}}));
    QVERIFY(c.connect());
    QVERIFY(c.openView(u"EMPRESA"_s));
    TFrmCONSULTARcliente &v = *c.view;
    Clients::click(v.SpeedButton4);
    QVERIFY(m_dialogs->messages().isEmpty());
    QVERIFY(v.isEditing());
    QVERIFY(v.TimePeck_FUNDACAO->isVisible());
    QVERIFY(v.TimePeck_FUNDACAO->isEmpty());
    QVERIFY(v.DateTimePicker1->isEmpty());
    QCOMPARE(v.TimePeck_DESDE->text(), u"29/02/2020"_s);
    Clients::click(v.SpeedButton1);
    QCOMPARE(c.stored(u"CRED_DESDE"_s, u"EMPRESA"_s), u"2020-02-29"_s);
    QCOMPARE(c.stored(u"FUNDACAO"_s, u"EMPRESA"_s), u"1899-12-30"_s);
}

void TstFrmConsulta::kindSwitchWhileEditingShowsItsDate()
{
    Clients c;
    QVERIFY(
        c.db.addClient(u"X"_s, pessoaFisica(), {{u"NACIMENTO"_s, u"1980-05-04"_s}, {u"FUNDACAO"_s, u"2001-02-03"_s}}));
    QVERIFY(c.connect());
    QVERIFY(c.openView(u"X"_s));
    TFrmCONSULTARcliente &v = *c.view;
    Clients::click(v.SpeedButton4);
    Clients::click(v.RadioButton2);
    QVERIFY(v.TimePeck_FUNDACAO->isVisible());
    QVERIFY(!v.TimePeck_NACIMENTO->isVisible());
    QVERIFY(!v.DBEdit38->isVisible());
    QCOMPARE(v.TimePeck_FUNDACAO->text(), u"03/02/2001"_s);
    Clients::click(v.RadioButton1);
    QVERIFY(v.TimePeck_NACIMENTO->isVisible());
    QVERIFY(!v.DBEdit37->isVisible());
    Clients::click(v.RadioButton2);
    Clients::click(v.SpeedButton1);
    QVERIFY(!v.isVisible());
    QCOMPARE(c.stored(u"TIPO"_s, u"X"_s), pessoaJuridica());
    QCOMPARE(c.stored(u"FUNDACAO"_s, u"X"_s), u"2001-02-03"_s);
    QCOMPARE(c.stored(u"NACIMENTO"_s, u"X"_s), u"1980-05-04"_s);
}

void TstFrmConsulta::storedValuesOutsideTheListsAreKept()
{
    Clients c;
    QVERIFY(c.db.addClient(u"X"_s, pessoaFisica(),
                           {{u"ESCOLARIDADE"_s, u"Ensino Superior"_s},
                            {u"VINCULO"_s, u"Empregado de Empresa"_s},
                            {u"CRED_STATUS"_s, u"Pendente"_s}}));
    QVERIFY(c.connect());
    QVERIFY(c.openView(u"X"_s));
    TFrmCONSULTARcliente &v = *c.view;
    QCOMPARE(v.DBComboBox5->currentText(), u"Ensino Superior"_s);
    QCOMPARE(v.DBComboBox5->count(), 7); // the registration's items, and no other
    QCOMPARE(v.DBComboBox3->currentText(), u"Empregado de Empresa"_s);
    QCOMPARE(v.Shape6->penColor(), QColor(165, 172, 180));
    Clients::click(v.SpeedButton4);
    QCOMPARE(v.ComboBox1->currentText(), u"Pendente"_s);
    c.type(v.DBEdit26, u"Professora"_s);
    Clients::click(v.SpeedButton1);
    QCOMPARE(c.stored(u"PROFISSAO"_s, u"X"_s), u"Professora"_s);
    QCOMPARE(c.stored(u"ESCOLARIDADE"_s, u"X"_s), u"Ensino Superior"_s);
    QCOMPARE(c.stored(u"VINCULO"_s, u"X"_s), u"Empregado de Empresa"_s);
    QCOMPARE(c.stored(u"CRED_STATUS"_s, u"X"_s), u"Pendente"_s);
}

void TstFrmConsulta::numberAnotherClientHoldsWarns_data()
{
    QTest::addColumn<QString>("client");
    QTest::addColumn<bool>("edit");
    QTest::addColumn<QString>("keys"); // typed over the number; none: left as it is
    QTest::addColumn<QString>("warning");

    const QString cpf = u"Já existe um cliente com este CPF: ANA."_s;
    QTest::newRow("another's CPF typed") << u"BIA"_s << true << u"12345678909"_s << cpf;
    QTest::newRow("own CPF left as it is") << u"BIA"_s << true << QString() << QString();
    QTest::newRow("own CPF another holds too")
        << u"ANA"_s << true << QString() << u"Já existe um cliente com este CPF: ANA2."_s;
    QTest::newRow("viewing only") << u"ANA2"_s << false << QString() << QString();
    QTest::newRow("invalid CPF not looked up") << u"BIA"_s << true << u"12345678908"_s << QString();
    QTest::newRow("another's CNPJ typed")
        << u"BETA"_s << true << u"11222333000181"_s << u"Já existe um cliente com este CNPJ: ALFA."_s;
    QTest::newRow("own CNPJ left as it is") << u"ALFA"_s << true << QString() << QString();
    QTest::newRow("own CPF, numbered past 2^32") << u"ALTO"_s << true << QString() << QString();
}

// While editing, leaving a valid number another client holds names that client;
// the focus goes on and the save is not stopped.
void TstFrmConsulta::numberAnotherClientHoldsWarns()
{
    QFETCH(QString, client);
    QFETCH(bool, edit);
    QFETCH(QString, keys);
    QFETCH(QString, warning);

    Clients c;
    QVERIFY(c.db.addClient(u"ANA"_s, pessoaFisica(), {{u"CPF"_s, u"12345678909"_s}}));
    QVERIFY(c.db.addClient(u"ANA2"_s, pessoaFisica(), {{u"CPF"_s, u"12345678909"_s}}));
    QVERIFY(c.db.addClient(u"BIA"_s, pessoaFisica(), {{u"CPF"_s, u"52998224725"_s}}));
    QVERIFY(c.db.addClient(u"ALFA"_s, pessoaJuridica(), {{u"CNPJ"_s, u"11.222.333/0001-81"_s}}));
    QVERIFY(c.db.addClient(u"BETA"_s, pessoaJuridica(), {{u"CNPJ"_s, u"11.444.777/0001-61"_s}}));
    QVERIFY(c.db.addClient(u"ALTO"_s, pessoaFisica(), {{u"CODIGO_C"_s, 4294967297LL}, {u"CPF"_s, u"11144477735"_s}}));
    QVERIFY(c.connect());
    QVERIFY(c.openView(client));
    TFrmCONSULTARcliente &v = *c.view;
    if (edit)
        Clients::click(v.SpeedButton4);
    TDBEdit *number = v.DBEdit9->isVisible() ? v.DBEdit9 : v.DBEdit16;
    if (keys.isEmpty())
        number->setFocus(Qt::OtherFocusReason);
    else
        c.type(number, keys);
    QTest::keyClick(number, Qt::Key_Tab);
    QVERIFY(!number->hasFocus());
    QCOMPARE(m_dialogs->texts(), warning.isEmpty() ? QStringList() : QStringList{warning});
    if (!edit)
        return;
    Clients::click(v.SpeedButton1);
    QVERIFY(!v.isVisible());
    if (!keys.isEmpty() && !warning.isEmpty())
        QCOMPARE(c.stored(number == v.DBEdit9 ? u"CPF"_s : u"CNPJ"_s, client).remove(u'.').remove(u'/').remove(u'-'),
                 keys);
}

void TstFrmConsulta::refusedSaveKeepsEditing()
{
    Clients c;
    QVERIFY(c.db.addClient(u"X"_s, pessoaFisica()));
    QVERIFY(c.connect());
    QVERIFY(c.openView(u"X"_s));
    TFrmCONSULTARcliente &v = *c.view;
    Clients::click(v.SpeedButton4);
    c.type(v.DBEdit13, u"x@exemplo.com.br"_s);
    c.type(v.TimePeck_NACIMENTO, u"01021990"_s);
    OtherProgramLock lock(c.db, *c.dm);
    QVERIFY(lock.held());
    Clients::click(v.SpeedButton1);
    QCOMPARE(m_dialogs->texts(),
             (QStringList{u"Confirma cadastramento?"_s, u"O cliente não foi salvo: "_s + kInUse + u'.'}));
    QVERIFY(v.isVisible());
    QVERIFY(v.isEditing());
    QCOMPARE(v.windowTitle(), u" :: CONTATO - Alterar"_s);
    QCOMPARE(v.DBEdit13->text(), u"x@exemplo.com.br"_s);
    QCOMPARE(v.TimePeck_NACIMENTO->text(), u"01/02/1990"_s);

    lock.release();
    Clients::click(v.SpeedButton1);
    QVERIFY(!v.isVisible());
    QCOMPARE(c.stored(u"EMAIL"_s, u"X"_s), u"x@exemplo.com.br"_s);
    QCOMPARE(c.stored(u"NACIMENTO"_s, u"X"_s), u"1990-02-01"_s);
}

// Another desk saved the client first: the save is refused in the words users
// know, the typing stays, and leaving reads the client as the other desk left it.
void TstFrmConsulta::changeOnAnotherDeskIsNamed()
{
    if (!testingOnServer())
        QSKIP("only a server is read again for another desk's changes");
    Clients c;
    QVERIFY(c.db.addClient(u"X"_s, pessoaFisica()));
    QVERIFY(c.connect());
    QVERIFY(c.openView(u"X"_s));
    TFrmCONSULTARcliente &v = *c.view;
    Clients::click(v.SpeedButton4);
    c.type(v.DBEdit13, u"x@exemplo.com.br"_s);
    QVERIFY(c.db.exec(u"UPDATE CAD_CLIENTE SET EMAIL = ?"_s, {u"outra@exemplo.com.br"_s}));
    Clients::click(v.SpeedButton1);
    QCOMPARE(m_dialogs->texts().size(), 2);
    QVERIFY2(m_dialogs->texts().last().startsWith(u"O registro foi alterado ou excluído por outro usuário. "_s),
             qPrintable(m_dialogs->texts().last()));
    QVERIFY(v.isEditing());
    QCOMPARE(v.DBEdit13->text(), u"x@exemplo.com.br"_s);
    QCOMPARE(c.stored(u"EMAIL"_s, u"X"_s), u"outra@exemplo.com.br"_s);

    Clients::click(v.SpeedButton2);
    QVERIFY(!v.isVisible());
    QCOMPARE(c.dm->CDSClienteEMAIL->AsString(), u"outra@exemplo.com.br"_s);
}

int main(int argc, char *argv[])
{
    VosmiraApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    TstFrmConsulta test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_frmconsulta.moc"
