#include "ClientRecord.h"

namespace ClientRecord {

namespace {

using namespace Qt::Literals::StringLiterals;

constexpr Column text(const char *name, int length, QLatin1StringView mask = {}, bool inSelection = true)
{
    return Column{QLatin1StringView(name), Kind::Text, length, mask, inSelection};
}
constexpr Column date(const char *name)
{
    return Column{QLatin1StringView(name), Kind::Date, 0, {}, false};
}

// OBS, VINCULO and PROFISSAO are wider than the first layout: the registration form
// takes 400 characters of observations, a 35-character profession, and two of its
// employment choices are longer than 20 characters.
const std::array<Column, ColumnCount> kColumns = {{
    {"CODIGO_C"_L1, Kind::Integer, 0, {}, false},
    text("NOME", 100),
    text("CPF", 15, CpfMask),
    text("RG", 20),
    text("EMISSOR", 15),
    text("UF_ID", 2),
    date("NACIMENTO"),
    text("SEXO", 10),
    text("ESCOLARIDADE", 20),
    text("PROFISSAO", 35),
    text("VINCULO", 30),
    text("CNPJ", 20, CnpjMask, false),
    text("IE", 20),
    text("IM", 20),
    date("FUNDACAO"),
    text("NOME_FANTASIA", 50),
    text("ATIVIDADE", 50),
    text("CONTATO", 30),
    text("SETOR", 50),
    text("TELEFONE1", 12, PhoneMask),
    text("TELEFONE2", 12, PhoneMask),
    text("TELEFONE3", 12, PhoneMask),
    text("RAMAL1", 7),
    text("RAMAL2", 7),
    text("RAMAL3", 7),
    text("EMAIL", 200),
    text("SITE", 200),
    text("LOGRADOURO", 50),
    text("N", 5),
    text("COMPLEMENTO", 30),
    text("BAIRRO", 30),
    text("CIDADE", 30),
    text("UF", 2),
    text("CEP", 10, CepMask),
    text("CRED_STATUS", 10),
    date("CRED_CONSULTA"),
    date("CRED_DESDE"),
    text("CRED_REF1", 30),
    text("CRED_TEL1", 12, PhoneMask),
    text("CRED_REF2", 30),
    text("CRED_TEL2", 12, PhoneMask),
    text("CRED_REF3", 30),
    text("CRED_TEL3", 12, PhoneMask),
    text("OBS", 400),
    text("TIPO", 20),
}};

struct Slots
{
    std::array<signed char, ColumnCount> text{};
    std::array<signed char, ColumnCount> date{};
    Slots()
    {
        int t = 0;
        int d = 0;
        for (int i = 0; i < ColumnCount; ++i) {
            text[std::size_t(i)] = kColumns[std::size_t(i)].kind == Kind::Text ? static_cast<signed char>(t++) : -1;
            date[std::size_t(i)] = kColumns[std::size_t(i)].kind == Kind::Date ? static_cast<signed char>(d++) : -1;
        }
    }
};

const Slots &slotTable()
{
    static const Slots table;
    return table;
}

} // namespace

const std::array<Column, ColumnCount> &columns()
{
    return kColumns;
}

int indexOf(QStringView name)
{
    for (int i = 0; i < ColumnCount; ++i) {
        if (QStringView(name).compare(kColumns[std::size_t(i)].name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

int textSlot(int column)
{
    return slotTable().text[std::size_t(column)];
}

int dateSlot(int column)
{
    return slotTable().date[std::size_t(column)];
}

QString pessoaFisica()
{
    return u"Pessoa Física"_s;
}

QString pessoaJuridica()
{
    return u"Pessoa Juridica"_s;
}

QString kindFilter(const QString &kind)
{
    QString quoted = kind;
    quoted.replace(u'\'', u"''"_s);
    return u"TIPO = '"_s + quoted + u'\'';
}

} // namespace ClientRecord
