#include "art.h"

#include <QString>

namespace Art {

QIcon programIcon()
{
    QIcon icon;
    for (const QString &name : {QStringLiteral("icon16.png"), QStringLiteral("icon32.png"),
                                QStringLiteral("icon48.png"), QStringLiteral("icon.png")})
        icon.addFile(QStringLiteral(":/art/") + name);
    return icon;
}

} // namespace Art
