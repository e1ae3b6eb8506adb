#include "DocumentNumbers.h"

#include <array>
#include <span>

namespace vbench {

namespace {

int value(QChar c)
{
    return c.unicode() - 48;
}

int checkDigit(QStringView text, std::span<const int> weights)
{
    int sum = 0;
    for (std::size_t i = 0; i < weights.size(); ++i)
        sum += value(text.at(qsizetype(i))) * weights[i];
    const int r = sum % 11;
    return r < 2 ? 0 : 11 - r;
}

constexpr std::array<int, 9> Cpf1{10, 9, 8, 7, 6, 5, 4, 3, 2};
constexpr std::array<int, 10> Cpf2{11, 10, 9, 8, 7, 6, 5, 4, 3, 2};
constexpr std::array<int, 12> Cnpj1{5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
constexpr std::array<int, 13> Cnpj2{6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};

bool allDigits(QStringView s)
{
    for (QChar c : s) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

bool cnpjBase(QStringView s)
{
    for (QChar c : s) {
        if (!((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z')))
            return false;
    }
    return true;
}

QString completed(QStringView base, std::span<const int> first, std::span<const int> second)
{
    QString s = base.toString();
    s += QChar(u'0' + checkDigit(s, first));
    s += QChar(u'0' + checkDigit(s, second));
    return s;
}

} // namespace

QString completeCpf(QStringView base9)
{
    Q_ASSERT(base9.size() == 9 && allDigits(base9));
    return completed(base9, Cpf1, Cpf2);
}

QString completeCnpj(QStringView base12)
{
    Q_ASSERT(base12.size() == 12 && cnpjBase(base12));
    return completed(base12, Cnpj1, Cnpj2);
}

bool isValidCpf(QStringView digits11)
{
    return digits11.size() == 11 && allDigits(digits11) && completeCpf(digits11.first(9)) == digits11;
}

bool isValidCnpj(QStringView chars14)
{
    return chars14.size() == 14 && cnpjBase(chars14.first(12)) && allDigits(chars14.last(2))
           && completeCnpj(chars14.first(12)) == chars14;
}

QString punctuatedCnpj(QStringView c)
{
    Q_ASSERT(c.size() == 14);
    return c.first(2) + u'.' + c.sliced(2, 3) + u'.' + c.sliced(5, 3) + u'/' + c.sliced(8, 4) + u'-' + c.last(2);
}

QString bareCnpj(QStringView punctuated)
{
    QString s;
    for (QChar c : punctuated) {
        if (c != u'.' && c != u'/' && c != u'-')
            s += c;
    }
    return s;
}

} // namespace vbench
