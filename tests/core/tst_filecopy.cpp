#include "DurableFile.h"
#include "FileCopy.h"

#include "FaultInjection.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;
using namespace vosmira;
using vosmira::test::FailingDevice;
using vosmira::test::FileSizeLimit;
using vosmira::test::SmallFileSystem;

namespace {

QByteArray randomBytes(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator generator(42);
    for (char &c : bytes)
        c = char(generator.bounded(256));
    return bytes;
}

bool put(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

struct stat statOf(const QString &path)
{
    struct stat st
    {
    };
    ::stat(QFile::encodeName(path).constData(), &st);
    return st;
}

// Everything in the folder, hidden files included: no temporary file may stay.
QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

} // namespace

class TstFileCopy : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();

    void writeReplacesWholeAndKeepsPermissions();
    void failedWriteKeepsTheOldFile_data();
    void failedWriteKeepsTheOldFile();
    void deviceFaultsKeepTheOldFile_data();
    void deviceFaultsKeepTheOldFile();
    void symbolicLinkStaysALink();
    void copyCarriesTimeAndPermissions();
    void sameFileCopiesNothing_data();
    void sameFileCopiesNothing();
    void failingSourceLeavesTheDestination_data();
    void failingSourceLeavesTheDestination();
    void sizeIsNotCutTo32Bits();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString path(const QString &name) const { return m_dir->path() + u'/' + name; }
};

void TstFileCopy::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TstFileCopy::writeReplacesWholeAndKeepsPermissions()
{
    const QString target = path(u"settings.ini"_s);
    QString error;
    QVERIFY(writeFileDurably(target, "first version, longer than the second", &error));
    QCOMPARE(contents(target), "first version, longer than the second");
    const mode_t mask = ::umask(0);
    ::umask(mask);
    QCOMPARE(statOf(target).st_mode & 0777, 0666u & ~unsigned(mask));

    ::chmod(QFile::encodeName(target).constData(), 0640);
    QVERIFY(writeFileDurably(target, "second", &error));
    QCOMPARE(contents(target), "second");
    QCOMPARE(statOf(target).st_mode & 07777, 0640u);
    QCOMPARE(entries(m_dir->path()), QStringList{u"settings.ini"_s});
}

void TstFileCopy::failedWriteKeepsTheOldFile_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("sizeLimit");
    QTest::addColumn<bool>("readOnlyFolder");
    QTest::newRow("disk full midway") << QString() << true << false;
    QTest::newRow("folder missing") << u"missing"_s << false << false;
    QTest::newRow("read-only folder") << QString() << false << true;
}

void TstFileCopy::failedWriteKeepsTheOldFile()
{
    QFETCH(QString, folder);
    QFETCH(bool, sizeLimit);
    QFETCH(bool, readOnlyFolder);
    if (readOnlyFolder && ::geteuid() == 0)
        QSKIP("root writes into read-only folders");

    const QString target = folder.isEmpty() ? path(u"backup.mdb"_s) : path(folder + u"/backup.mdb"_s);
    const QByteArray old = "the old backup";
    if (folder.isEmpty())
        QVERIFY(put(target, old));
    if (readOnlyFolder)
        QVERIFY(::chmod(QFile::encodeName(m_dir->path()).constData(), 0555) == 0);

    QString error;
    {
        std::optional<FileSizeLimit> limit;
        if (sizeLimit)
            limit.emplace(256 * 1024);
        DurableFile file(target);
        const QByteArray block = randomBytes(64 * 1024);
        bool ok = file.open();
        for (int i = 0; ok && i < 16; ++i)
            ok = file.write(block);
        QVERIFY(!(ok && file.commit()));
        error = file.errorString();
        // Once failed, every later step fails with the first error.
        QVERIFY(!file.write("x", 1));
        QVERIFY(!file.commit());
        QCOMPARE(file.errorString(), error);
    }
    ::chmod(QFile::encodeName(m_dir->path()).constData(), 0755);
    QVERIFY2(!error.isEmpty() && error.startsWith(u"Não foi possível"_s), qPrintable(error));
    QCOMPARE(error.endsWith(u" O arquivo existente não foi alterado."_s), folder.isEmpty());
    if (folder.isEmpty()) {
        QCOMPARE(contents(target), old);
        QCOMPARE(entries(m_dir->path()), QStringList{u"backup.mdb"_s});
    } else {
        QVERIFY(!QFile::exists(target));
    }
}

// Through the QIODevice front the report writers use: small writes that only
// reach the disk at commit, a real full disk, and a pipe in the file's place.
void TstFileCopy::deviceFaultsKeepTheOldFile_data()
{
    QTest::addColumn<QString>("fault");
    QTest::newRow("fails only at the last flush") << u"limit"_s;
    QTest::newRow("full file system") << u"full"_s;
    QTest::newRow("pipe in the file's place") << u"fifo"_s;
}

void TstFileCopy::deviceFaultsKeepTheOldFile()
{
    QFETCH(QString, fault);
    std::optional<SmallFileSystem> disk;
    QString folder = m_dir->path();
    if (fault == u"full") {
        disk.emplace(64 * 1024);
        if (!disk->isMounted())
            QSKIP(disk->whyNot());
        folder = disk->path();
    }
    const QString target = folder + u"/relatorio.html"_s;
    const QByteArray old = "<html>o relatório de ontem</html>";
    if (fault == u"fifo")
        QCOMPARE(::mkfifo(QFile::encodeName(target).constData(), 0600), 0);
    else
        QVERIFY(put(target, old));
    if (disk)
        QVERIFY(disk->fill(0));

    QString error;
    {
        std::optional<FileSizeLimit> limit;
        if (fault == u"limit")
            limit.emplace(100);
        DurableFileDevice out(target);
        bool ok = out.open(QIODevice::WriteOnly);
        for (int i = 0; ok && i < 1000; ++i)
            ok = out.write("<p>linha</p>\n") > 0;
        QVERIFY(!(ok && out.commit()));
        error = out.errorString();
    }
    QVERIFY2(error.startsWith(u"Não foi possível gravar em "_s), qPrintable(error));
    if (fault == u"fifo") {
        QVERIFY(QFileInfo(target).isFile() == false && QFileInfo::exists(target));
    } else {
        QCOMPARE(contents(target), old);
        QVERIFY2(error.endsWith(u" O arquivo existente não foi alterado."_s), qPrintable(error));
    }
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System).filter(u"relatorio"_s),
             QStringList{u"relatorio.html"_s});
}

void TstFileCopy::symbolicLinkStaysALink()
{
    QVERIFY(QDir(m_dir->path()).mkdir(u"real"_s));
    const QString real = path(u"real/Vosmira BANCO.mdb"_s);
    const QString link = path(u"link.mdb"_s);
    QVERIFY(put(real, "old"));
    QVERIFY(QFile::link(real, link));
    QVERIFY(writeFileDurably(link, "new"));
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(contents(real), "new");
}

void TstFileCopy::copyCarriesTimeAndPermissions()
{
    const QString source = path(u"Vosmira BANCO.mdb"_s);
    const QString target = path(u"Bck_Vosmira_08-12-25.mdb"_s);
    // Several blocks and a ragged end.
    const QByteArray bytes = randomBytes(3 * kCopyBlockSize + 1234);
    QVERIFY(put(source, bytes));
    QVERIFY(put(target, "an older backup"));
    const timespec times[2] = {{0, UTIME_OMIT}, {1577934245, 500000000}};
    QVERIFY(::utimensat(AT_FDCWD, QFile::encodeName(source).constData(), times, 0) == 0);
    QVERIFY(::chmod(QFile::encodeName(source).constData(), 0444) == 0);

    const CopyResult result = FileCopy(source, target);
    QVERIFY2(result.copied(), qPrintable(result.error));
    QCOMPARE(contents(target), bytes);
    const struct stat st = statOf(target);
    QCOMPARE(st.st_mode & 07777, 0444u);
    QCOMPARE(st.st_mtim.tv_sec, times[1].tv_sec);
    QCOMPARE(st.st_mtim.tv_nsec, times[1].tv_nsec);

    // The owner's write bit on request, the rest as the source has it.
    QVERIFY(FileCopy(source, target, {0200}).copied());
    QCOMPARE(statOf(target).st_mode & 07777, 0644u);
    QCOMPARE(entries(m_dir->path()).size(), 2);
}

void TstFileCopy::sameFileCopiesNothing_data()
{
    QTest::addColumn<QString>("other");
    QTest::addColumn<bool>("same");
    QTest::newRow("relative path") << u"relative"_s << true;
    QTest::newRow("dot segments") << u"dots"_s << true;
    QTest::newRow("symbolic link") << u"symlink"_s << true;
    QTest::newRow("hard link") << u"hardlink"_s << true;
    QTest::newRow("equal bytes, other file") << u"copy"_s << false;
}

void TstFileCopy::sameFileCopiesNothing()
{
    QFETCH(QString, other);
    QFETCH(bool, same);
    QVERIFY(QDir(m_dir->path()).mkdir(u"Banco"_s));
    const QString database = path(u"Banco/Vosmira BANCO.mdb"_s);
    QVERIFY(put(database, "database"));
    const QString current = QDir::currentPath();
    const auto back = qScopeGuard([&] { QDir::setCurrent(current); });
    QString spelled;
    if (other == "relative"_L1) {
        QVERIFY(QDir::setCurrent(path(u"Banco"_s)));
        spelled = u"Vosmira BANCO.mdb"_s;
    } else if (other == "dots"_L1) {
        spelled = path(u"Banco/../Banco/./Vosmira BANCO.mdb"_s);
    } else if (other == "symlink"_L1) {
        spelled = path(u"link.mdb"_s);
        QVERIFY(QFile::link(database, spelled));
    } else if (other == "hardlink"_L1) {
        spelled = path(u"hard.mdb"_s);
        QVERIFY(::link(QFile::encodeName(database).constData(), QFile::encodeName(spelled).constData()) == 0);
    } else {
        spelled = path(u"copy.mdb"_s);
        QVERIFY(put(spelled, "database"));
    }
    const ino_t inode = statOf(database).st_ino;
    QCOMPARE(isSameFile(database, spelled), same);
    QCOMPARE(isSameFile(spelled, database), same);
    const CopyResult result = FileCopy(spelled, database);
    QCOMPARE(result.status, same ? CopyResult::SameFile : CopyResult::Copied);
    QCOMPARE(contents(database), "database");
    if (same)
        QCOMPARE(statOf(database).st_ino, inode); // not even replaced by itself
}

void TstFileCopy::failingSourceLeavesTheDestination_data()
{
    QTest::addColumn<int>("fault");
    QTest::addColumn<qint64>("goodBytes");
    QTest::addColumn<QString>("expected");
    QTest::newRow("read error midway") << int(FailingDevice::ReadError) << qint64(kCopyBlockSize + 10)
                                       << u"Não foi possível ler o arquivo"_s;
    QTest::newRow("file shorter than counted")
        << int(FailingDevice::EndsEarly) << qint64(kCopyBlockSize + 10) << u"terminou antes do esperado"_s;
    QTest::newRow("nothing at all") << int(FailingDevice::EndsEarly) << qint64(0) << u"(0 de"_s;
}

void TstFileCopy::failingSourceLeavesTheDestination()
{
    QFETCH(int, fault);
    QFETCH(qint64, goodBytes);
    QFETCH(QString, expected);
    const QString target = path(u"Vosmira BANCO.mdb"_s);
    QVERIFY(put(target, "the database as it was"));

    const QByteArray bytes = randomBytes(4 * kCopyBlockSize);
    FailingDevice source(bytes, goodBytes, FailingDevice::Fault(fault));
    DurableFile out(target);
    QVERIFY(out.open());
    const CopyResult result = FileCopy(source, bytes.size(), out, u"backup.mdb"_s);
    QCOMPARE(result.status, CopyResult::Failed);
    QVERIFY2(result.error.contains(expected) && result.error.contains(u"backup.mdb"_s), qPrintable(result.error));
    QCOMPARE(contents(target), "the database as it was");
    QCOMPARE(entries(m_dir->path()), QStringList{u"Vosmira BANCO.mdb"_s});

    // A missing source never touches the destination either.
    const CopyResult missing = FileCopy(path(u"nowhere.mdb"_s), target);
    QCOMPARE(missing.status, CopyResult::Failed);
    QVERIFY2(missing.error.contains(u"não existe"_s), qPrintable(missing.error));
    QCOMPARE(contents(target), "the database as it was");
}

void TstFileCopy::sizeIsNotCutTo32Bits()
{
    // A counted size of 5 GiB, held whole: the copy asks for the bytes past
    // 4 GiB instead of stopping at the size's low 32 bits (1 GiB).
    const qint64 size = 5 * (qint64(1) << 30);
    FailingDevice source(randomBytes(1000), 1000, FailingDevice::EndsEarly);
    DurableFile out(path(u"big.mdb"_s));
    QVERIFY(out.open());
    const CopyResult result = FileCopy(source, size, out, u"big"_s);
    QVERIFY2(result.error.contains(u"(1000 de 5368709120 bytes)"_s), qPrintable(result.error));
    QVERIFY(!QFile::exists(path(u"big.mdb"_s)));
}

QTEST_GUILESS_MAIN(TstFileCopy)
#include "tst_filecopy.moc"
