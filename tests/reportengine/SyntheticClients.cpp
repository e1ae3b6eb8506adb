#include "SyntheticClients.h"

#include "ClientRecord.h"
#include "EditMask.h"

#include <QDate>

using namespace Qt::StringLiterals;

namespace rtest {

namespace {

const QStringList kFirst = {
    u"João"_s,      u"Maria"_s,  u"José"_s,   u"Ana"_s,   u"Antônio"_s, u"Francisca"_s, u"Conceição"_s, u"Luís"_s,
    u"Sebastião"_s, u"Fátima"_s, u"Márcio"_s, u"Tânia"_s, u"Inês"_s,    u"Hélio"_s,     u"Zélia"_s,     u"Ângela"_s,
};
const QStringList kLast = {
    u"da Silva"_s, u"Gonçalves"_s, u"Araújo"_s,   u"Magalhães"_s, u"Simões"_s,  u"Brandão"_s,
    u"Nóbrega"_s,  u"Pereira"_s,   u"Assunção"_s, u"Conceição"_s, u"Ribeiro"_s, u"Guimarães"_s,
};
const QStringList kCompanies = {
    u"Padaria São João"_s,      u"Açougue Boa Vista"_s, u"Construções Irmãos Araújo Ltda"_s,
    u"Farmácia Saúde & Vida"_s, u"Ótica Visão Clara"_s, u"Café Três Corações Comércio de Alimentos Ltda ME"_s,
    u"Serralheria Peixoto"_s,   u"Eletrônica Paraná"_s,
};
struct City
{
    const char16_t *name;
    const char16_t *uf;
};
const City kCities[] = {
    {u"São Paulo", u"SP"}, {u"Belém", u"PA"},   {u"Maceió", u"AL"},         {u"Florianópolis", u"SC"},
    {u"Goiânia", u"GO"},   {u"Vitória", u"ES"}, {u"Ribeirão Preto", u"SP"},
};
const QString kLongObs =
    u"Cliente desde a inauguração da loja; prefere atendimento às terças e quintas-feiras. "
    u"Solicitou orçamento de manutenção preventiva, aguardando aprovação da diretoria financeira. "
    u"Atenção: endereço de cobrança diferente do endereço de entrega, confirmar antes de emitir a nota. "
    u"Último contato em março: pediu visita técnica e catálogo atualizado, com preços à vista e em três parcelas sem juros."_s;

QString digits(quint64 seed, int count)
{
    QString out;
    quint64 x = seed * 2654435761ULL + 97;
    for (int i = 0; i < count; ++i) {
        x = x * 6364136223846793005ULL + 1442695040888963407ULL;
        out += QChar(u'0' + int((x >> 33) % 10));
    }
    return out;
}

rel::TRelMemoryConnection::Cell text(int column, const QString &stored)
{
    if (stored.isEmpty())
        return {};
    const QString mask = ClientRecord::column(column).mask;
    return {stored, mask.isEmpty() ? stored : EditMask::displayText(mask, stored)};
}

rel::TRelMemoryConnection::Cell date(QDate d)
{
    return {d, d.toString(u"dd/MM/yyyy"_s)};
}

} // namespace

QStringList clientColumns()
{
    QStringList names;
    for (const ClientRecord::Column &c : ClientRecord::columns())
        names.append(QString(c.name));
    return names;
}

QString kindText(Kind kind)
{
    return kind == Kind::Fisica ? ClientRecord::pessoaFisica() : ClientRecord::pessoaJuridica();
}

QString sourceProjectFile()
{
    return QStringLiteral(VOSMIRA_REPORT_PROJECT_SOURCE);
}

rel::TRelMemoryConnection::Row bareClient(const QString &name, const QString &obs, Kind kind)
{
    using namespace ClientRecord;
    rel::TRelMemoryConnection::Row row(ColumnCount);
    row[col_NOME] = text(col_NOME, name);
    row[col_OBS] = text(col_OBS, obs);
    row[col_TIPO] = text(col_TIPO, kindText(kind));
    return row;
}

std::unique_ptr<rel::TRelMemoryConnection> makeClients(int count, Kind kind)
{
    using namespace ClientRecord;
    auto data = std::make_unique<rel::TRelMemoryConnection>(u"RelDataSetConnection1"_s, clientColumns());
    for (int i = 0; i < count; ++i) {
        rel::TRelMemoryConnection::Row row(ColumnCount);
        const quint64 seed = quint64(i) + (kind == Kind::Juridica ? 100000 : 0);
        row[col_CODIGO_C] = {i + 1, QString::number(i + 1)};
        if (kind == Kind::Fisica) {
            row[col_NOME] = text(col_NOME, kFirst.at(i % kFirst.size()) + u' ' + kLast.at((i / 3) % kLast.size()) + u' '
                                               + kLast.at((i / 7 + 5) % kLast.size()));
            row[col_CPF] = text(col_CPF, digits(seed, 11));
            row[col_RG] = text(col_RG, digits(seed + 7, 9));
            row[col_EMISSOR] = text(col_EMISSOR, u"SSP"_s);
            row[col_UF_ID] = text(col_UF_ID, QString::fromUtf16(kCities[i % 7].uf));
            row[col_NACIMENTO] = i % 4 == 3 ? date(QDate(1899, 12, 30))
                                            : date(QDate(1950 + i % 50, 1 + i % 12, 1 + i % 28));
            row[col_SEXO] = text(col_SEXO, i % 2 ? u"Feminino"_s : u"Masculino"_s);
            row[col_ESCOLARIDADE] = text(col_ESCOLARIDADE, u"Ensino Médio"_s);
            row[col_PROFISSAO] = text(col_PROFISSAO, i % 3 ? u"Técnico em Eletrônica Industrial"_s : u"Autônomo"_s);
            row[col_VINCULO] = text(col_VINCULO,
                                    (i % 2 ? u"Carteira Assinada (CLT)"_s : u"Empregado de Empresa Privada"_s));
        } else {
            row[col_NOME] = text(
                col_NOME,
                kCompanies.at(i % kCompanies.size())
                    + (i >= kCompanies.size() ? u" - Filial "_s + QString::number(i / kCompanies.size()) : QString()));
            const QString cnpj = digits(seed, 14);
            row[col_CNPJ] = text(col_CNPJ, EditMask::displayText(ClientRecord::CnpjMask, cnpj));
            row[col_IE] = text(col_IE, digits(seed + 3, 12));
            if (i % 2)
                row[col_IM] = text(col_IM, digits(seed + 5, 8));
            row[col_FUNDACAO] = date(QDate(1980 + i % 40, 1 + i % 12, 1 + i % 28));
            row[col_NOME_FANTASIA] = text(col_NOME_FANTASIA, kCompanies.at(i % kCompanies.size()).section(u' ', 0, 1));
            row[col_ATIVIDADE] = text(col_ATIVIDADE, u"Comércio varejista"_s);
            row[col_SETOR] = text(col_SETOR, u"Compras e Licitações"_s);
        }
        row[col_CONTATO] = text(col_CONTATO, kFirst.at((i + 3) % kFirst.size()) + u' ' + kLast.at(i % kLast.size()));
        row[col_TELEFONE1] = text(col_TELEFONE1, digits(seed + 11, 10));
        if (i % 2 == 0) {
            row[col_RAMAL1] = text(col_RAMAL1, digits(seed + 13, 3));
            row[col_TELEFONE2] = text(col_TELEFONE2, digits(seed + 17, 10));
        }
        if (i % 5 == 1)
            row[col_TELEFONE3] = text(col_TELEFONE3, digits(seed + 19, 10));
        row[col_EMAIL] = text(col_EMAIL, u"contato"_s + QString::number(i + 1) + u"@exemplo.com.br"_s);
        if (i % 3 == 0)
            row[col_SITE] = text(col_SITE, u"https://www.exemplo"_s + QString::number(i + 1) + u".com.br"_s);
        const City &city = kCities[i % 7];
        row[col_LOGRADOURO] = text(col_LOGRADOURO, u"Rua Dom Pedro II"_s);
        row[col_N] = text(col_N, QString::number(100 + i % 900));
        if (i % 4 == 0)
            row[col_COMPLEMENTO] = text(col_COMPLEMENTO, u"Apto 12, bloco B"_s);
        row[col_BAIRRO] = text(col_BAIRRO, u"Jardim Paulistânia"_s);
        row[col_CIDADE] = text(col_CIDADE, QString::fromUtf16(city.name));
        row[col_UF] = text(col_UF, QString::fromUtf16(city.uf));
        row[col_CEP] = text(col_CEP, digits(seed + 23, 8));
        row[col_CRED_STATUS] = text(col_CRED_STATUS, u"Em analise"_s);
        if (i % 3 == 0)
            row[col_OBS] = text(col_OBS, kLongObs.left(400));
        else if (i % 5 != 4)
            row[col_OBS] = text(col_OBS, u"Pagamento à vista; não aceita boleto."_s);
        row[col_TIPO] = text(col_TIPO, kindText(kind));
        data->AppendRow(row);
    }
    return data;
}

} // namespace rtest

#include "TClientDataSet.h"
#include "TField.h"

namespace rtest {

void storeClients(TClientDataSet &clients, const rel::TRelMemoryConnection &rows)
{
    auto &data = const_cast<rel::TRelMemoryConnection &>(rows);
    for (data.First(); !data.Eof(); data.Next()) {
        clients.Append();
        for (int column = 1; column < ClientRecord::ColumnCount; ++column) {
            if (!data.IsNull(column))
                clients.Fields(column)->SetValue(data.Value(column));
        }
        clients.Post();
    }
    clients.ApplyUpdates(0);
}

} // namespace rtest
