#include "TRelDataConnection.h"

namespace rel {

TRelDataConnection::~TRelDataConnection() = default;

int TRelDataConnection::ColumnIndex(const QString &name) const
{
    const QStringList names = ColumnNames();
    for (int i = 0; i < names.size(); ++i) {
        if (names.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

} // namespace rel
