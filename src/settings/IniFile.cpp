#include "IniFile.h"

#include "IniDocument.h"
#include "IniWriteError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <optional>

namespace vosmira {

namespace {

constexpr QFile::Permissions ownerOnlyFile = QFile::ReadOwner | QFile::WriteOwner;
constexpr QFile::Permissions ownerOnlyFolder = ownerOnlyFile | QFile::ExeOwner;

enum class Presence { Missing, Read, Unreadable };

struct Loaded
{
    Presence presence = Presence::Missing;
    IniDocument document;
};

Loaded load(const QString &fileName)
{
    const QFileInfo info(fileName);
    if (!info.exists() && !info.isSymLink())
        return {};
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return {Presence::Unreadable, {}};
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {Presence::Unreadable, {}};
    return {Presence::Read, IniDocument::fromBytes(bytes)};
}

bool ensureFolder(const QString &folder)
{
    if (QFileInfo(folder).isDir())
        return true;
    const QDir parent = QFileInfo(folder).dir();
    if (!parent.exists() && !QDir().mkpath(parent.path()))
        return false;
    // A concurrent creator may win the race; the folder is what matters.
    return parent.mkdir(QFileInfo(folder).fileName(), ownerOnlyFolder) || QFileInfo(folder).isDir();
}

} // namespace

IniFile::IniFile(const QString &bareName)
    : m_bareName(bareName)
    , m_fileName(settingsFolder() + u'/' + bareName)
{
}

IniFile::~IniFile() = default;

QString IniFile::settingsFolder()
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
    return QDir::cleanPath(base + QStringLiteral("/Vosmira"));
}

QString IniFile::ReadString(const QString &section, const QString &key, const QString &def) const
{
    const Loaded loaded = load(m_fileName);
    if (loaded.presence != Presence::Read)
        return def;
    return loaded.document.value(section, key).value_or(def);
}

void IniFile::WriteString(const QString &section, const QString &key, const QString &value)
{
    if (!IniDocument::isValidSection(section) || !IniDocument::isValidKey(key))
        throw IniWriteError(m_bareName);
    if (!ensureFolder(QFileInfo(m_fileName).path()))
        throw IniWriteError(m_bareName);

    Loaded loaded = load(m_fileName);
    // Rewriting a file we could not read would throw its other keys away.
    if (loaded.presence == Presence::Unreadable)
        throw IniWriteError(m_bareName);
    loaded.document.setValue(section, key, value);
    const QByteArray bytes = loaded.document.toBytes();

    QSaveFile out(m_fileName);
    // A short file sits in the write buffer until commit, and commit does not
    // see a failed flush: it would put an empty file in place of the old one.
    if (!out.open(QIODevice::WriteOnly) || !out.setPermissions(ownerOnlyFile) || out.write(bytes) != bytes.size()
        || !out.flush() || !out.commit()) {
        throw IniWriteError(m_bareName);
    }
}

} // namespace vosmira
