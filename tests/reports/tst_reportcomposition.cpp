#include "ClientRecord.h"
#include "ReportComposition.h"
#include "SyntheticClients.h"
#include "TRelDataSetConnection.h"
#include "TRelPageWriter.h"
#include "TRelProject.h"
#include "TestFolders.h"
#include "UDMbanco.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TstReportComposition : public QObject
{
    Q_OBJECT

private slots:
    void composition_data();
    void composition();
    void earlierParametersAreCleared();
    void connectionReadsTheFilteredSelection();
    void connectionGivesNullsAndMasks();
    void runOverTheSelectionDataset();

private:
    std::unique_ptr<TDMbanco> openStore(vosmira::test::TempProgramFolder &folder, int clients);
};

void TstReportComposition::composition_data()
{
    QTest::addColumn<bool>("contato");
    QTest::addColumn<bool>("endereco");
    QTest::addColumn<bool>("prof");
    QTest::addColumn<bool>("obs");
    QTest::addColumn<bool>("companies");
    QTest::addColumn<QStringList>("generos");
    QTest::addColumn<QString>("report");
    const QString nome = u"Show_Nome"_s;
    QTest::newRow("name only") << false << false << false << false << false << QStringList{nome, {}, {}, {}, {}}
                               << u"RV_VOSMIRA_0"_s;
    QTest::newRow("all, private persons")
        << true << true << true << true << false
        << QStringList{nome, u"Show_Contato"_s, u"Show_Endereco"_s, u"Show_Prof"_s, u"Show_OBS"_s} << u"RV_VOSMIRA_4"_s;
    QTest::newRow("all, companies") << true << true << true << true << true
                                    << QStringList{nome, u"Show_Contato"_s, u"Show_Endereco"_s,
                                                   u"Show_Sec_Prof_Juridica"_s, u"Show_OBS"_s}
                                    << u"RV_VOSMIRA_4"_s;
    QTest::newRow("contact and observations, no gap")
        << true << false << false << true << false << QStringList{nome, u"Show_Contato"_s, u"Show_OBS"_s, {}, {}}
        << u"RV_VOSMIRA_2"_s;
    QTest::newRow("address and observations, companies")
        << false << true << false << true << true << QStringList{nome, u"Show_Endereco"_s, u"Show_OBS"_s, {}, {}}
        << u"RV_VOSMIRA_2"_s;
    QTest::newRow("registration alone, companies")
        << false << false << true << false << true << QStringList{nome, u"Show_Sec_Prof_Juridica"_s, {}, {}, {}}
        << u"RV_VOSMIRA_1"_s;
    QTest::newRow("three") << true << true << true << false << false
                           << QStringList{nome, u"Show_Contato"_s, u"Show_Endereco"_s, u"Show_Prof"_s, {}}
                           << u"RV_VOSMIRA_3"_s;
}

void TstReportComposition::composition()
{
    QFETCH(bool, contato);
    QFETCH(bool, endereco);
    QFETCH(bool, prof);
    QFETCH(bool, obs);
    QFETCH(bool, companies);
    QFETCH(QStringList, generos);
    QFETCH(QString, report);
    rel::TRelProject project;
    project.SetProjectFile(rtest::sourceProjectFile());
    project.Open();
    QCOMPARE(vosmira::composeReport(project, {contato, endereco, prof, obs}, companies), report);
    for (int slot = 1; slot <= 5; ++slot)
        QCOMPARE(project.GetParam(u"GENERO"_s + QString::number(slot)), generos.at(slot - 1));
    QVERIFY(project.Definition().findReport(report));
}

void TstReportComposition::earlierParametersAreCleared()
{
    rel::TRelProject project;
    project.SetProjectFile(rtest::sourceProjectFile());
    project.Open();
    vosmira::composeReport(project, {true, true, true, true}, false);
    QCOMPARE(vosmira::composeReport(project, {false, false, false, true}, false), u"RV_VOSMIRA_1"_s);
    QCOMPARE(project.GetParam(u"GENERO2"_s), u"Show_OBS"_s);
    for (int slot = 3; slot <= 5; ++slot)
        QCOMPARE(project.GetParam(u"GENERO"_s + QString::number(slot)), QString());
}

std::unique_ptr<TDMbanco> TstReportComposition::openStore(vosmira::test::TempProgramFolder &folder, int clients)
{
    if (!folder.isValid())
        return nullptr;
    auto data = std::make_unique<TDMbanco>(folder.path());
    data->connectSequence();
    rtest::storeClients(*data->CDSCliente, *rtest::makeClients(clients, rtest::Kind::Fisica));
    rtest::storeClients(*data->CDSCliente, *rtest::makeClients(clients / 2, rtest::Kind::Juridica));
    return data;
}

void TstReportComposition::connectionReadsTheFilteredSelection()
{
    vosmira::test::TempProgramFolder folder;
    auto data = openStore(folder, 10);
    QVERIFY(data);
    TClientDataSet &selection = *data->CDS_PED_Cliente;
    selection.SetFilter(ClientRecord::kindFilter(ClientRecord::pessoaJuridica()));
    selection.SetFiltered(true);
    selection.CopyDataFrom(*data->CDSCliente);
    selection.First();
    selection.Next();
    const int cursor = selection.RecNo();

    vosmira::TRelDataSetConnection connection(u"RelDataSetConnection1"_s, &selection);
    QCOMPARE(connection.ColumnNames().size(), ClientRecord::ColumnCount);
    QCOMPARE(connection.ColumnNames().at(1), u"NOME"_s);
    QStringList names;
    for (connection.First(); !connection.Eof(); connection.Next()) {
        QCOMPARE(connection.DisplayText(ClientRecord::col_TIPO), ClientRecord::pessoaJuridica());
        names.append(connection.DisplayText(ClientRecord::col_NOME));
    }
    // The companies only, in the selection's own order (here: as they were appended).
    QStringList expected;
    auto companies = rtest::makeClients(5, rtest::Kind::Juridica);
    for (companies->First(); !companies->Eof(); companies->Next())
        expected.append(companies->DisplayText(ClientRecord::col_NOME));
    QCOMPARE(names, expected);
    QCOMPARE(selection.RecNo(), cursor); // the report does not move the window's cursor
}

void TstReportComposition::connectionGivesNullsAndMasks()
{
    vosmira::test::TempProgramFolder folder;
    auto data = openStore(folder, 4);
    QVERIFY(data);
    TClientDataSet &selection = *data->CDS_PED_Cliente;
    selection.SetFilter(ClientRecord::kindFilter(ClientRecord::pessoaFisica()));
    selection.SetFiltered(true);
    selection.CopyDataFrom(*data->CDSCliente);
    vosmira::TRelDataSetConnection connection(u"RelDataSetConnection1"_s, &selection);
    connection.First();
    QVERIFY(!connection.Eof());
    const QRegularExpression cpf(u"^\\d{3}\\.\\d{3}\\.\\d{3}-\\d{2}$"_s);
    const QRegularExpression phone(u"^\\(\\d{2}\\)\\d{4}-\\d{4}$"_s);
    const QRegularExpression cep(u"^\\d{5}-\\d{3}$"_s);
    QVERIFY2(cpf.match(connection.DisplayText(ClientRecord::col_CPF)).hasMatch(),
             qPrintable(connection.DisplayText(ClientRecord::col_CPF)));
    QCOMPARE(connection.Value(ClientRecord::col_CPF).toString().size(), 11);
    QVERIFY(phone.match(connection.DisplayText(ClientRecord::col_TELEFONE1)).hasMatch());
    QVERIFY(cep.match(connection.DisplayText(ClientRecord::col_CEP)).hasMatch());
    // The first private person has no third telephone and no company data.
    QVERIFY(connection.IsNull(ClientRecord::col_CNPJ));
    QVERIFY(!connection.Value(ClientRecord::col_CNPJ).isValid());
    QCOMPARE(connection.DisplayText(ClientRecord::col_CNPJ), QString());
    QVERIFY(!connection.IsNull(ClientRecord::col_NOME));
}

void TstReportComposition::runOverTheSelectionDataset()
{
    vosmira::test::TempProgramFolder folder;
    auto data = openStore(folder, 6);
    QVERIFY(data);
    TClientDataSet &selection = *data->CDS_PED_Cliente;
    selection.SetFilter(ClientRecord::kindFilter(ClientRecord::pessoaFisica()));
    selection.SetFiltered(true);
    selection.CopyDataFrom(*data->CDSCliente);
    vosmira::TRelDataSetConnection connection(u"RelDataSetConnection1"_s, &selection);
    rel::TRelProject project;
    rel::TRelPageWriter writer;
    project.SetEngine(&writer);
    project.AddDataConnection(&connection);
    project.SetProjectFile(vosmira::reportProjectPath(folder.path()));
    project.Open();
    const QString report = vosmira::composeReport(project, {true, true, true, true}, false);
    QVERIFY(project.ExecuteReport(report));
    QVERIFY(writer.PageCount() >= 2);
}

QTEST_MAIN(TstReportComposition)
#include "tst_reportcomposition.moc"
