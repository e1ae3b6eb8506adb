#include "CheckDigits.h"

namespace vosmira::checkdigits {

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool isBaseCharacter(QChar c)
{
    return isDigit(c) || (c >= u'A' && c <= u'Z');
}

QChar asciiUpper(QChar c)
{
    return c >= u'a' && c <= u'z' ? QChar(c.unicode() - (u'a' - u'A')) : c;
}

// A remainder below 2 gives 0, any other r gives 11 - r.
int checkDigit(int sum)
{
    const int digit = 11 - sum % 11;
    return digit >= 10 ? 0 : digit;
}

// Leading and trailing blanks: spaces and control characters.
QStringView trimmedBlanks(QStringView text)
{
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && text.at(from).unicode() <= u' ')
        ++from;
    while (to > from && text.at(to - 1).unicode() <= u' ')
        --to;
    return text.mid(from, to - from);
}

} // namespace

bool cpf(QStringView text)
{
    if (text.size() < 11)
        return false;
    int d[11];
    for (int i = 0; i < 11; ++i) {
        if (!isDigit(text.at(i)))
            return false;
        d[i] = text.at(i).unicode() - u'0';
    }
    int s1 = 0;
    int s2 = 0;
    for (int i = 0; i < 9; ++i) {
        s1 += (10 - i) * d[i];
        s2 += (11 - i) * d[i];
    }
    const int c1 = checkDigit(s1);
    const int c2 = checkDigit(s2 + 2 * c1);
    return d[9] == c1 && d[10] == c2;
}

bool cgc(QStringView text)
{
    if (text.size() < 14)
        return false;
    static constexpr int weights1[12] = {5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
    static constexpr int weights2[12] = {6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3};
    int s1 = 0;
    int s2 = 0;
    for (int i = 0; i < 12; ++i) {
        const QChar c = asciiUpper(text.at(i));
        if (!isBaseCharacter(c))
            return false;
        const int value = c.unicode() - u'0';
        s1 += weights1[i] * value;
        s2 += weights2[i] * value;
    }
    if (!isDigit(text.at(12)) || !isDigit(text.at(13)))
        return false;
    const int c1 = checkDigit(s1);
    const int c2 = checkDigit(s2 + 2 * c1);
    return text.at(12).unicode() - u'0' == c1 && text.at(13).unicode() - u'0' == c2;
}

ExitResult cpfExit(const QString &text)
{
    QString rest = text;
    rest.remove(u'.');
    rest.remove(u'-');
    rest.remove(u'_');
    if (trimmedBlanks(rest).isEmpty())
        return ExitResult::Empty;
    if (rest.size() < 11 || !cpf(rest))
        return ExitResult::Invalid;
    return ExitResult::Valid;
}

ExitResult cnpjExit(const QString &text)
{
    // "_" stays: a placeholder left in the number makes cgc fail.
    QString rest = text.toUpper();
    rest.remove(u'.');
    rest.remove(u'/');
    rest.remove(u'-');
    if (trimmedBlanks(rest).isEmpty())
        return ExitResult::Empty;
    return cgc(rest) ? ExitResult::Valid : ExitResult::Invalid;
}

} // namespace vosmira::checkdigits
