// The data-bound grid over 100,000 clients: its model against Qt's model checker
// through every kind of dataset change, and the grid and the cursor following
// each other.
#include "TDBGrid.h"
#include "TDataSetModel.h"
#include "TDataSource.h"

#include "DataFixture.h"
#include "ScriptedDialogs.h"
#include "VosmiraApplication.h"

#include "ClientRecord.h"
#include "UDMbanco.h"

#include <QAbstractItemModelTester>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace Qt::Literals::StringLiterals;
using namespace vosmira;
using ClientRecord::pessoaFisica;
using ClientRecord::pessoaJuridica;

namespace {

constexpr int Clients = 100000;

enum Op {
    Append,
    AppendHidden,
    Edit,
    EditLeavingFilter,
    Delete,
    DeleteFiltered,
    Locate,
    FilterOn,
    FilterSwitch,
    FilterOff,
    Empty,
    Copy,
    Close,
    Open
};

} // namespace

class TstDbGrid : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void followsTheDataSet_data();
    void followsTheDataSet();
    void userMovesTheCursor_data();
    void userMovesTheCursor();
    void pendingRowIsPostedBeforeMoving();
    void highlightStaysWhileUnfocused();

private:
    TClientDataSet *cds() const { return m_dm->CDSCliente; }
    int currentRow() const { return m_grid->selectionModel()->currentIndex().row(); }
    bool rowShown(int row) const
    {
        const QRect r = m_grid->visualRect(m_grid->model()->index(row, 0));
        return m_grid->viewport()->rect().contains(r.center());
    }
    static void settle() { QCoreApplication::processEvents(); }

    std::unique_ptr<test::ScriptedDialogs> m_dialogs;
    std::unique_ptr<TempDatabase> m_db;
    std::unique_ptr<TDMbanco> m_dm;
    std::unique_ptr<QWidget> m_window;
    TDBGrid *m_grid = nullptr;
    QLineEdit *m_search = nullptr;
    std::unique_ptr<QAbstractItemModelTester> m_tester;
};

void TstDbGrid::initTestCase()
{
    m_dialogs = std::make_unique<test::ScriptedDialogs>();
    m_db = std::make_unique<TempDatabase>();
    // Names sort as they are numbered; every third client is a company.
    QVERIFY(m_db->exec(u"INSERT INTO CAD_CLIENTE (NOME, TIPO) WITH RECURSIVE n(i) AS "
                       "(SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < ?) "
                       "SELECT printf('CLIENTE %06d', i), CASE WHEN i % 3 = 0 THEN ? ELSE ? END FROM n"_s,
                       {Clients, pessoaJuridica(), pessoaFisica()}));
    m_dm = openDataModule(*m_db);
    QVERIFY(m_dm);
    QCOMPARE(cds()->RecordCount(), Clients);
    m_dm->CDS_PED_Cliente->CopyDataFrom(*cds()); // to fill the grid's dataset again

    m_window = std::make_unique<QWidget>();
    m_grid = new TDBGrid(m_window.get());
    m_grid->setGeometry(10, 10, 400, 300);
    m_grid->setDataSource(new TDataSource(cds(), m_window.get()));
    m_grid->setColumn(u"NOME"_s, 375);
    m_search = new QLineEdit(m_window.get());
    m_search->setGeometry(10, 320, 200, 24);
    m_window->resize(420, 360);
    m_window->show();
    QApplication::setActiveWindow(m_window.get());
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    m_tester = std::make_unique<QAbstractItemModelTester>(m_grid->model(),
                                                          QAbstractItemModelTester::FailureReportingMode::Fatal);
}

void TstDbGrid::init()
{
    if (!cds()->Active())
        cds()->Open();
    cds()->Cancel();
    cds()->SetFiltered(false);
    if (cds()->IsEmpty())
        cds()->CopyDataFrom(*m_dm->CDS_PED_Cliente);
    cds()->SetRecNo(10);
    m_grid->setFocus();
    settle();
}

void TstDbGrid::cleanup()
{
    QCOMPARE(m_dialogs->texts(), QStringList()); // no handler failed
    m_dialogs->clear();
}

void TstDbGrid::cleanupTestCase()
{
    m_tester.reset();
    m_window.reset();
    m_dm.reset();
}

void TstDbGrid::followsTheDataSet_data()
{
    QTest::addColumn<int>("op");
    QTest::addColumn<int>("inserted");
    QTest::addColumn<int>("removed");
    QTest::addColumn<int>("changed");
    QTest::addColumn<int>("resets");

    QTest::newRow("append") << int(Append) << 1 << 0 << 0 << 0;
    QTest::newRow("append outside the filter") << int(AppendHidden) << 0 << 0 << 0 << 0;
    QTest::newRow("edit") << int(Edit) << 0 << 0 << 1 << 0;
    QTest::newRow("edit leaving the filter") << int(EditLeavingFilter) << 0 << 1 << 0 << 0;
    QTest::newRow("delete") << int(Delete) << 0 << 1 << 0 << 0;
    QTest::newRow("delete while filtered") << int(DeleteFiltered) << 0 << 1 << 0 << 0;
    QTest::newRow("locate a far row") << int(Locate) << 0 << 0 << 0 << 0;
    QTest::newRow("filter on") << int(FilterOn) << 0 << 0 << 0 << 1;
    QTest::newRow("filter switched") << int(FilterSwitch) << 0 << 0 << 0 << 1;
    QTest::newRow("filter off") << int(FilterOff) << 0 << 0 << 0 << 1;
    QTest::newRow("empty") << int(Empty) << 0 << 0 << 0 << 1;
    QTest::newRow("copy") << int(Copy) << 0 << 0 << 0 << 1;
    QTest::newRow("close") << int(Close) << 0 << 0 << 0 << 1;
    QTest::newRow("open") << int(Open) << 0 << 0 << 0 << 1;
}

void TstDbGrid::followsTheDataSet()
{
    QFETCH(int, op);
    QFETCH(int, inserted);
    QFETCH(int, removed);
    QFETCH(int, changed);
    QFETCH(int, resets);

    TClientDataSet *ds = cds();
    const QString pf = ClientRecord::kindFilter(pessoaFisica());
    const QString pj = ClientRecord::kindFilter(pessoaJuridica());
    if (op == EditLeavingFilter || op == AppendHidden || op == DeleteFiltered || op == FilterOn || op == FilterSwitch
        || op == FilterOff) {
        ds->SetFilter(pf);
        ds->SetFiltered(op != FilterOn);
    }
    if (op == Close)
        ds->Open();
    else if (op == Open)
        ds->Close();
    if (ds->Active())
        ds->SetRecNo(ds->RecordCount() / 2);
    const int before = ds->RecNo();
    settle();

    QAbstractItemModel *model = m_grid->model();
    QSignalSpy insertSpy(model, &QAbstractItemModel::rowsInserted);
    QSignalSpy removeSpy(model, &QAbstractItemModel::rowsRemoved);
    QSignalSpy changeSpy(model, &QAbstractItemModel::dataChanged);
    QSignalSpy resetSpy(model, &QAbstractItemModel::modelReset);
    // A reset must be announced while the old rows are still there.
    const int countBefore = model->rowCount();
    int countAnnounced = -1;
    QObject context;
    connect(model, &QAbstractItemModel::modelAboutToBeReset, &context, [&] { countAnnounced = model->rowCount(); });
    switch (Op(op)) {
    case Append:
    case AppendHidden:
        ds->Append();
        ds->FieldByName(u"NOME")->SetAsString(u"NOVO CLIENTE"_s);
        ds->FieldByName(u"TIPO")->SetAsString(pessoaJuridica());
        ds->Post();
        break;
    case Edit:
    case EditLeavingFilter:
        ds->Edit();
        ds->FieldByName(u"NOME")->SetAsString(u"CLIENTE ALTERADO"_s);
        ds->FieldByName(u"TIPO")->SetAsString(pessoaJuridica());
        ds->Post();
        break;
    case Delete:
    case DeleteFiltered: ds->Delete(); break;
    case Locate: QVERIFY(ds->Locate(u"NOME", u"CLIENTE 099998"_s, 0)); break;
    case FilterOn: ds->SetFiltered(true); break;
    case FilterSwitch: ds->SetFilter(pj); break;
    case FilterOff: ds->SetFiltered(false); break;
    case Empty: ds->EmptyDataSet(); break;
    case Copy: ds->CopyDataFrom(*m_dm->CDS_PED_Cliente); break;
    case Close: ds->Close(); break;
    case Open: ds->Open(); break;
    }
    QCOMPARE(insertSpy.count(), inserted);
    QCOMPARE(removeSpy.count(), removed);
    QCOMPARE(changeSpy.count(), changed);
    QCOMPARE(resetSpy.count(), resets);
    if (inserted)
        QCOMPARE(insertSpy.first().at(1).toInt(), ds->RecordCount() - 1);
    if (removed)
        QCOMPARE(removeSpy.first().at(1).toInt(), before - 1);
    if (changed)
        QCOMPARE(changeSpy.first().at(0).toModelIndex().row(), ds->RecNo() - 1);
    if (resets)
        QCOMPARE(countAnnounced, countBefore);
    if (removed || changed)
        QCOMPARE(ds->RecNo(), before); // whatever Qt did to the view's current row meanwhile

    QCOMPARE(model->rowCount(), ds->RecordCount());
    for (int row : {0, ds->RecordCount() / 2, ds->RecNo() - 1, ds->RecordCount() - 1}) {
        if (row >= 0)
            QCOMPARE(model->data(model->index(row, 0)).toString(), ds->DisplayTextAt(row, ClientRecord::col_NOME));
    }

    // The grid highlights and shows the dataset's row once the event loop runs.
    settle();
    QCOMPARE(currentRow(), ds->RecNo() - 1);
    if (ds->RecNo() > 0) {
        QCOMPARE(m_grid->selectionModel()->selectedRows(), QModelIndexList{model->index(ds->RecNo() - 1, 0)});
        QVERIFY(rowShown(ds->RecNo() - 1));
    }
}

void TstDbGrid::userMovesTheCursor_data()
{
    QTest::addColumn<int>("key");   // 0: a click three rows down
    QTest::addColumn<int>("recNo"); // 0: somewhere further down

    QTest::newRow("down") << int(Qt::Key_Down) << 11;
    QTest::newRow("up") << int(Qt::Key_Up) << 9;
    QTest::newRow("end") << int(Qt::Key_End) << Clients;
    QTest::newRow("home") << int(Qt::Key_Home) << 1;
    QTest::newRow("page down") << int(Qt::Key_PageDown) << 0;
    QTest::newRow("click") << 0 << 13;
}

void TstDbGrid::userMovesTheCursor()
{
    QFETCH(int, key);
    QFETCH(int, recNo);

    TClientDataSet *ds = cds();
    QCOMPARE(currentRow(), 9);
    QSignalSpy moves(ds, &TClientDataSet::currentChanged);
    if (key) {
        QTest::keyClick(m_grid, Qt::Key(key));
    } else {
        const QPoint at = m_grid->visualRect(m_grid->model()->index(12, 0)).center();
        QSignalSpy doubleClicks(m_grid, &TDBGrid::dblClicked);
        QTest::mouseDClick(m_grid->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        QCOMPARE(doubleClicks.count(), 1);
    }
    if (recNo)
        QCOMPARE(ds->RecNo(), recNo);
    else
        QVERIFY(ds->RecNo() > 11);
    QCOMPARE(currentRow(), ds->RecNo() - 1);
    settle();
    // Following the cursor back never moves it again.
    QCOMPARE(moves.count(), 1);
    QCOMPARE(currentRow(), ds->RecNo() - 1);
    QVERIFY(rowShown(currentRow()));
}

void TstDbGrid::pendingRowIsPostedBeforeMoving()
{
    TClientDataSet *ds = cds();
    ds->Append();
    ds->FieldByName(u"NOME")->SetAsString(u"CLIENTE PENDENTE"_s);
    QTest::keyClick(m_grid, Qt::Key_Down);
    QCOMPARE(ds->State(), dsBrowse);
    QCOMPARE(ds->DisplayTextAt(ds->RecordCount() - 1, ClientRecord::col_NOME), u"CLIENTE PENDENTE"_s);
    QCOMPARE(ds->RecNo(), 11);
    settle();
    QCOMPARE(currentRow(), 10);
}

void TstDbGrid::highlightStaysWhileUnfocused()
{
    // As desktop themes that grey out the selection of unfocused lists.
    QPalette greyed = m_window->palette();
    greyed.setColor(QPalette::Inactive, QPalette::Highlight, Qt::lightGray);
    m_window->setPalette(greyed);
    m_search->setFocus();
    settle();
    QVERIFY(!m_grid->hasFocus());
    const QImage image = m_grid->viewport()->grab().toImage();
    const int x = 300; // right of the name, inside the column
    const int selectedY = m_grid->visualRect(m_grid->model()->index(9, 0)).center().y();
    const int otherY = m_grid->visualRect(m_grid->model()->index(10, 0)).center().y();
    const QColor highlight = m_grid->palette().color(QPalette::Active, QPalette::Highlight);
    QCOMPARE(image.pixelColor(x, selectedY), highlight);
    QVERIFY(image.pixelColor(x, otherY) != highlight);
}

int main(int argc, char *argv[])
{
    VosmiraApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    TstDbGrid test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_dbgrid.moc"
