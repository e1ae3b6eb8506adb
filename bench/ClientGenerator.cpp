#include "ClientGenerator.h"

#include "DocumentNumbers.h"
#include "NamePools.h"

#include <QDate>

using namespace Qt::Literals::StringLiterals;
using namespace ClientRecord;

namespace vbench {

namespace {

// Lower-case ASCII for e-mail addresses and site names: accents dropped, blanks joined.
QString asciiWord(const QString &text, QChar join)
{
    QString out;
    for (QChar c : text.normalized(QString::NormalizationForm_D)) {
        if (c.unicode() < 128 && c.isLetterOrNumber())
            out += c.toLower();
        else if (c == u' ' && !out.isEmpty() && !out.endsWith(join))
            out += join;
    }
    return out;
}

} // namespace

void setColumn(ClientValues &v, int column, const QString &text)
{
    const int length = ClientRecord::column(column).length;
    v[std::size_t(column)] = text.isEmpty() ? QString() : length > 0 ? text.left(length) : text;
}

ClientGenerator::ClientGenerator(quint64 seed)
    : m_rng(seed)
{
}

int ClientGenerator::below(int n)
{
    return int(m_rng() % quint64(n));
}

bool ClientGenerator::chance(int percent)
{
    return below(100) < percent;
}

QString ClientGenerator::digits(int count)
{
    QString s;
    for (int i = 0; i < count; ++i)
        s += QChar(u'0' + below(10));
    return s;
}

QString ClientGenerator::date(int fromYear, int toYear)
{
    const QDate from(fromYear, 1, 1);
    return from.addDays(below(int(from.daysTo(QDate(toYear, 12, 31))) + 1)).toString(Qt::ISODate);
}

QString ClientGenerator::phone()
{
    // Area code and an eight-digit number: ten digits, as the telephone mask keeps them.
    return pick(pools::cities).area.toString() + QChar(u'2' + below(8)) + digits(7);
}

QString ClientGenerator::personName(bool female)
{
    QString name = (female ? pick(pools::femaleNames) : pick(pools::maleNames)).toString();
    if (chance(35))
        name += u' ' + (female ? pick(pools::femaleNames) : pick(pools::maleNames)).toString();
    if (chance(30))
        name += u' ' + pick(pools::particles).toString();
    name += u' ' + pick(pools::surnames).toString();
    if (chance(60))
        name += u' ' + pick(pools::surnames).toString();
    return name;
}

QString ClientGenerator::companyName(QString *fantasy, QString *activity)
{
    const int kind = below(int(std::size(pools::companyKinds)));
    QString core = pick(pools::companyCores).toString();
    if (chance(25))
        core = pick(pools::surnames).toString() + u" & "_s + pick(pools::surnames).toString();
    *fantasy = pools::companyKinds[std::size_t(kind)] + u' ' + core;
    *activity = pools::activities[std::size_t(kind)].toString();
    return *fantasy + u' ' + pick(pools::companySuffixes).toString();
}

QString ClientGenerator::observation()
{
    // Some clients have none; the rest up to 400 characters, cut mid-sentence
    // as a long text typed into the memo would be.
    if (chance(35))
        return QString();
    const int target = 20 + below(381);
    QString text;
    while (text.size() < target)
        text += (text.isEmpty() ? QString() : u" "_s) + pick(pools::remarks).toString();
    return text.left(target).trimmed();
}

void ClientGenerator::fillPerson(ClientValues &v)
{
    const bool female = chance(52);
    setColumn(v, col_NOME, personName(female));
    setColumn(v, col_CPF, completeCpf(digits(9)));
    setColumn(v, col_RG, digits(2) + u'.' + digits(3) + u'.' + digits(3) + u'-' + digits(1));
    setColumn(v, col_EMISSOR, pick(pools::issuers).toString());
    setColumn(v, col_NACIMENTO, date(1935, 2006));
    setColumn(v, col_SEXO, female ? u"Feminino"_s : u"Masculino"_s);
    setColumn(v, col_ESCOLARIDADE, pick(pools::schooling).toString());
    setColumn(v, col_PROFISSAO, pick(pools::professions).toString());
    setColumn(v, col_VINCULO, pick(pools::employment).toString());
    setColumn(v, col_TIPO, pessoaFisica());
    const QString name = v[col_NOME];
    setColumn(v, col_EMAIL,
              asciiWord(name.section(u' ', 0, 0), u'.') + u'.' + asciiWord(name.section(u' ', -1), u'.')
                  + QString::number(below(100)) + u'@' + pick(pools::mailHosts).toString());
}

void ClientGenerator::fillCompany(ClientValues &v)
{
    QString fantasy;
    QString activity;
    setColumn(v, col_NOME, companyName(&fantasy, &activity));
    // A quarter of the companies carry the newer alphanumeric numbers.
    QString base;
    if (chance(25)) {
        for (int i = 0; i < 12; ++i)
            base += chance(40) ? QChar(u'A' + below(26)) : QChar(u'0' + below(10));
    } else {
        base = digits(8) + (chance(85) ? u"0001"_s : u"000"_s + QChar(u'2' + below(8)));
    }
    setColumn(v, col_CNPJ, punctuatedCnpj(completeCnpj(base)));
    setColumn(v, col_IE, chance(15) ? u"ISENTO"_s : digits(3) + u'.' + digits(3) + u'.' + digits(3) + u'.' + digits(3));
    if (chance(70))
        setColumn(v, col_IM, digits(7) + u'-' + digits(1));
    setColumn(v, col_FUNDACAO, date(1955, 2025));
    setColumn(v, col_NOME_FANTASIA, fantasy);
    setColumn(v, col_ATIVIDADE, activity);
    setColumn(v, col_CONTATO, personName(chance(50)));
    setColumn(v, col_SETOR, pick(pools::departments).toString());
    const QString slug = asciiWord(fantasy, u'-');
    setColumn(v, col_EMAIL, u"contato@"_s + slug + u".com.br"_s);
    if (chance(60))
        setColumn(v, col_SITE, u"www."_s + slug + u".com.br"_s);
    if (chance(35))
        setColumn(v, col_RAMAL1, QString::number(100 + below(900)));
    setColumn(v, col_TIPO, pessoaJuridica());
}

void ClientGenerator::fillAddress(ClientValues &v, bool company)
{
    const pools::City &city = pick(pools::cities);
    setColumn(v, col_TELEFONE1, city.area.toString() + QChar(u'2' + below(8)) + digits(7));
    if (chance(company ? 70 : 45))
        setColumn(v, col_TELEFONE2, phone());
    if (chance(company ? 30 : 10))
        setColumn(v, col_TELEFONE3, phone());
    setColumn(v, col_LOGRADOURO, pick(pools::streetKinds) + u' ' + pick(pools::streets));
    setColumn(v, col_N, chance(5) ? u"s/n"_s : QString::number(1 + below(4999)));
    if (chance(45))
        setColumn(v, col_COMPLEMENTO, pick(pools::complements).toString());
    setColumn(v, col_BAIRRO, pick(pools::districts).toString());
    setColumn(v, col_CIDADE, city.name.toString());
    setColumn(v, col_UF, city.uf.toString());
    setColumn(v, col_CEP, digits(8));
    if (!company)
        setColumn(v, col_UF_ID, chance(85) ? city.uf.toString() : pick(pools::cities).uf.toString());
}

void ClientGenerator::fillCredit(ClientValues &v)
{
    const int status = below(100);
    setColumn(v, col_CRED_STATUS, status < 30 ? u"Em analise"_s : status < 85 ? u"Aprovado"_s : u"Reprovado"_s);
    setColumn(v, col_CRED_CONSULTA, date(2015, 2026));
    setColumn(v, col_CRED_DESDE, date(1998, 2026));
    const int refs = below(4);
    const int refColumns[3][2] = {
        {col_CRED_REF1, col_CRED_TEL1}, {col_CRED_REF2, col_CRED_TEL2}, {col_CRED_REF3, col_CRED_TEL3}};
    for (int i = 0; i < refs; ++i) {
        QString fantasy;
        QString activity;
        setColumn(v, refColumns[i][0], chance(50) ? personName(chance(50)) : companyName(&fantasy, &activity));
        setColumn(v, refColumns[i][1], phone());
    }
    m_lastObs = observation();
    setColumn(v, col_OBS, m_lastObs);
}

ClientValues ClientGenerator::next()
{
    ClientValues v;
    const bool company = chance(30);
    if (company)
        fillCompany(v);
    else
        fillPerson(v);
    fillAddress(v, company);
    fillCredit(v);
    return v;
}

QString ClientGenerator::lastInOrderName()
{
    // No generated name begins with Z, so the name sorts last (Ż with Z), and
    // the search for it folds the accent of the typed text as of the names.
    return u"Żaneta Wiśniewska Kowalczyk"_s;
}

ClientValues ClientGenerator::lastInOrder()
{
    ClientValues v;
    setColumn(v, col_NOME, lastInOrderName());
    setColumn(v, col_CPF, completeCpf(u"529982247"));
    setColumn(v, col_RG, u"7.654.321-0"_s);
    setColumn(v, col_EMISSOR, u"SESP"_s);
    setColumn(v, col_UF_ID, u"PR"_s);
    setColumn(v, col_NACIMENTO, u"1961-04-17"_s);
    setColumn(v, col_SEXO, u"Feminino"_s);
    setColumn(v, col_ESCOLARIDADE, u"Superior"_s);
    setColumn(v, col_PROFISSAO, u"Tradutora"_s);
    setColumn(v, col_VINCULO, u"Autônomo"_s);
    setColumn(v, col_TELEFONE1, u"4132221100"_s);
    setColumn(v, col_EMAIL, u"zaneta.kowalczyk@uol.com.br"_s);
    setColumn(v, col_LOGRADOURO, u"Rua Mateus Leme"_s);
    setColumn(v, col_N, u"1420"_s);
    setColumn(v, col_BAIRRO, u"São Francisco"_s);
    setColumn(v, col_CIDADE, u"Curitiba"_s);
    setColumn(v, col_UF, u"PR"_s);
    setColumn(v, col_CEP, u"80530010"_s);
    setColumn(v, col_CRED_STATUS, u"Aprovado"_s);
    setColumn(v, col_CRED_CONSULTA, u"2024-02-05"_s);
    setColumn(v, col_CRED_DESDE, u"2003-09-30"_s);
    setColumn(v, col_OBS, u"Cliente antiga; prefere atendimento em português ou polonês."_s);
    setColumn(v, col_TIPO, pessoaFisica());
    return v;
}

} // namespace vbench
