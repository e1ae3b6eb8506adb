// Any bytes in a settings file's place: reading never fails, and a file read
// without guessing reads the same once written back, with a key once set
// reading back as it was set. A guessed file is never written back.
#include "IniDocument.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdlib>

using vosmira::IniDocument;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    IniDocument doc = IniDocument::fromBytes(bytes);
    const auto nome = doc.value(u"VOSMIRA", u"NOME");
    const auto senha = doc.value(u"VOSMIRA", u"SENHA");
    if (!doc.isLossless())
        return 0;
    const IniDocument again = IniDocument::fromBytes(doc.toBytes());
    if (again.value(u"VOSMIRA", u"NOME") != nome || again.value(u"VOSMIRA", u"SENHA") != senha)
        std::abort();

    // A value made of the input itself; the store never holds a NUL.
    QString value = QString::fromUtf8(bytes.left(24));
    value.remove(QChar(0));
    doc.setValue(u"VOSMIRA", u"SENHA", value);
    const IniDocument after = IniDocument::fromBytes(doc.toBytes());
    if (after.value(u"VOSMIRA", u"SENHA") != value || after.value(u"VOSMIRA", u"NOME") != nome)
        std::abort();
    return 0;
}
