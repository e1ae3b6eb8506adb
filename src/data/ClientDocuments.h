#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringView>

#include <optional>

// CPF and CNPJ as one client's identity: the forms they are written and stored
// in, and who in the table already holds a number.
namespace ClientDocuments {

enum class Document { Cpf, Cnpj };

// The number's characters alone: separators and blanks dropped, letters in
// upper case, so that 123.456.789-09 and 12345678909 are the same CPF.
QString bare(QStringView number);

// The CNPJ in the form the CNPJ column keeps it, dd.ddd.ddd/dddd-dd, from its
// 14 bare characters; other text comes back as it is.
QString writtenCnpj(const QString &bareNumber);

struct Holder
{
    qint64 code = 0;
    QString name;
};

// The client of CAD_CLIENTE, other than the one numbered excluding, whose CPF
// (or CNPJ) is the same number however it is punctuated; the first registered
// when there are several. Throws DatabaseError.
std::optional<Holder> findHolder(QSqlDatabase db, Document document, const QString &number,
                                 std::optional<qint64> excluding = std::nullopt);

// "Já existe um cliente com este CPF: NOME." (or CNPJ).
QString duplicateMessage(Document document, const QString &holderName);

} // namespace ClientDocuments
