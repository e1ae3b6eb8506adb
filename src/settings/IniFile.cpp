#include "IniFile.h"

#include "DurableFile.h"
#include "IniDocument.h"
#include "IniWriteError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vosmira {

namespace {

constexpr QFile::Permissions ownerOnlyFile = QFile::ReadOwner | QFile::WriteOwner;
constexpr QFile::Permissions ownerOnlyFolder = ownerOnlyFile | QFile::ExeOwner;
// Far beyond any settings file the program writes; anything larger is not one.
constexpr off_t kLargestFile = 1024 * 1024;

enum class Presence { Missing, Read, Unreadable };

struct Loaded
{
    Presence presence = Presence::Missing;
    IniDocument document;
};

Loaded load(const QString &fileName)
{
    // Non-blocking, so a pipe in the file's place cannot stop the program in
    // open(); only a regular file of a sensible size is read.
    const int fd = ::open(QFile::encodeName(fileName).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return {errno == ENOENT ? Presence::Missing : Presence::Unreadable, {}};
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > kLargestFile) {
        ::close(fd);
        return {Presence::Unreadable, {}};
    }
    QByteArray bytes;
    char buffer[16384];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 || bytes.size() + n > kLargestFile) {
            ::close(fd);
            return {Presence::Unreadable, {}};
        }
        if (n == 0)
            break;
        bytes.append(buffer, n);
    }
    ::close(fd);
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
    // A NUL would make the file read as something other than text.
    if (!IniDocument::isValidSection(section) || !IniDocument::isValidKey(key) || value.contains(QChar(0)))
        throw IniWriteError(m_bareName);
    if (!ensureFolder(QFileInfo(m_fileName).path()))
        throw IniWriteError(m_bareName);

    Loaded loaded = load(m_fileName);
    // Rewriting a file we could not read, or read only by guessing, would
    // throw its other keys away or garble them.
    if (loaded.presence == Presence::Unreadable || !loaded.document.isLossless())
        throw IniWriteError(m_bareName);
    loaded.document.setValue(section, key, value);

    DurableFile out(m_fileName);
    out.setPermissions(0600);
    if (!out.open() || !out.write(loaded.document.toBytes()) || !out.commit())
        throw IniWriteError(m_bareName);
}

} // namespace vosmira
