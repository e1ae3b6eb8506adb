#include "ClientDocuments.h"

#include "ClientSchema.h"
#include "DataErrors.h"

#include <QSqlError>
#include <QSqlQuery>

namespace ClientDocuments {

using namespace Qt::Literals::StringLiterals;

QString bare(QStringView number)
{
    QString out;
    out.reserve(number.size());
    for (QChar c : number) {
        if (c == u'.' || c == u'-' || c == u'/' || c.isSpace())
            continue;
        out.append(c.toUpper());
    }
    return out;
}

QString writtenCnpj(const QString &bareNumber)
{
    if (bareNumber.size() != 14)
        return bareNumber;
    return bareNumber.left(2) + u'.' + bareNumber.mid(2, 3) + u'.' + bareNumber.mid(5, 3) + u'/' + bareNumber.mid(8, 4)
           + u'-' + bareNumber.mid(12, 2);
}

std::optional<Holder> findHolder(QSqlDatabase db, Document document, const QString &number,
                                 std::optional<qint64> excluding)
{
    const QString wanted = bare(number);
    if (wanted.isEmpty())
        return std::nullopt;
    // Stored numbers may carry any punctuation (typed by hand, or by another
    // program), so the column is compared bare; a scan of the table is fast
    // enough at 100,000 clients that the file needs no index of its own.
    const QString column = document == Document::Cpf ? u"\"CPF\""_s : u"\"CNPJ\""_s;
    const QString bareColumn =
        u"upper(replace(replace(replace(replace(%1, '.', ''), '-', ''), '/', ''), ' ', ''))"_s.arg(column);
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(u"SELECT \"CODIGO_C\", \"NOME\" FROM \""_s + ClientSchema::clientsTable() + u"\" WHERE "_s
                  + bareColumn
                  + u" = ? AND (CAST(? AS BIGINT) IS NULL OR \"CODIGO_C\" <> ?) ORDER BY \"CODIGO_C\" LIMIT 1"_s);
    const QVariant other = excluding ? QVariant(qlonglong(*excluding)) : QVariant(QMetaType::fromType<qlonglong>());
    query.addBindValue(wanted);
    query.addBindValue(other);
    query.addBindValue(other);
    if (!query.exec())
        throw DatabaseError(databaseMessage(query.lastError()), databaseReason(query.lastError()));
    if (!query.next())
        return std::nullopt;
    return Holder{query.value(0).toLongLong(), query.value(1).toString()};
}

QString duplicateMessage(Document document, const QString &holderName)
{
    return u"Já existe um cliente com este %1: %2."_s.arg(document == Document::Cpf ? u"CPF"_s : u"CNPJ"_s, holderName);
}

} // namespace ClientDocuments
