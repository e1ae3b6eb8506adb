#include "TRelRender.h"

#include "DurableFile.h"
#include "ReportError.h"

#include <QDir>
#include <QFileInfo>

namespace rel {

TRelRender::TRelRender(const QString &displayName, const QString &fileExtension, QObject *parent)
    : QObject(parent)
    , m_displayName(displayName)
    , m_fileExtension(fileExtension)
{
}

TRelRender::~TRelRender() = default;

QString TRelRender::DefaultExtension() const
{
    QString first = m_fileExtension.section(QLatin1Char(';'), 0, 0).trimmed();
    if (first.startsWith(u'*'))
        first.remove(0, 1);
    return first;
}

QString TRelRender::TargetFileName(const QString &fileName) const
{
    const QString base = QFileInfo(fileName).fileName();
    // "." and ".." name folders, not files that lack an extension.
    if (base.isEmpty() || base == u"." || base == u".." || !QFileInfo(fileName).suffix().isEmpty())
        return fileName;
    if (base.endsWith(u'.'))
        return fileName + DefaultExtension().mid(1);
    return fileName + DefaultExtension();
}

namespace {

// Why no file can be created there at all, in the user's words; empty when
// the folder is there and the system's own reason says more.
QString folderProblem(const QString &target)
{
    const QFileInfo info(target);
    if (info.isDir())
        return QStringLiteral("já existe uma pasta com esse nome");
    QString folder = info.absolutePath();
    while (!folder.isEmpty() && !QFileInfo::exists(folder))
        folder = QFileInfo(folder).absolutePath();
    if (QFileInfo(folder).isFile())
        return QStringLiteral("%1 não é uma pasta").arg(QDir::toNativeSeparators(folder));
    if (!QFileInfo(info.absolutePath()).isDir())
        return QStringLiteral("a pasta %1 não existe").arg(QDir::toNativeSeparators(info.absolutePath()));
    return QString();
}

[[noreturn]] void refuse(const QString &target, const QString &error)
{
    const QString problem = folderProblem(target);
    if (problem.isEmpty())
        throw OutputError(target, error);
    throw OutputError(
        target,
        QStringLiteral("Não foi possível gravar o arquivo %1: %2").arg(QDir::toNativeSeparators(target), problem));
}

} // namespace

QString TRelRender::PrintRender(QIODevice *stream, const QString &fileName)
{
    if (fileName.trimmed().isEmpty())
        throw OutputError(fileName,
                          QStringLiteral("Não foi possível gravar o relatório: nenhum nome de arquivo foi dado."));
    const QString target = TargetFileName(fileName);
    if (stream && !stream->isOpen())
        stream->open(QIODevice::ReadOnly);
    if (!stream || !stream->isOpen() || stream->size() == 0) {
        throw ReportError(QStringLiteral("O relatório não gerou nenhuma página; o arquivo %1 não foi gravado.")
                              .arg(QDir::toNativeSeparators(target)));
    }
    PageStreamReader reader(stream);

    if (QFileInfo(target).isDir())
        refuse(target, QString());
    // Never written in place: a failure midway would leave neither the old
    // file nor the new one.
    vosmira::DurableFileDevice file(target);
    if (!file.open(QIODevice::WriteOnly))
        refuse(target, file.errorString());
    render(reader, file);
    if (!file.commit())
        throw OutputError(target, file.errorString());
    return target;
}

void TRelRender::RenderTo(QIODevice *stream, QIODevice &out)
{
    PageStreamReader reader(stream);
    render(reader, out);
}

std::optional<TFileFormat> fileFormatNamed(QStringView name)
{
    const QString lower = name.trimmed().toString().toLower();
    if (lower == u"pdf")
        return TFileFormat::PDF;
    if (lower == u"html" || lower == u"htm")
        return TFileFormat::HTML;
    if (lower == u"rtf")
        return TFileFormat::RTF;
    if (lower == u"txt")
        return TFileFormat::Text;
    return std::nullopt;
}

std::unique_ptr<TRelRender> makeRenderer(TFileFormat format)
{
    switch (format) {
    case TFileFormat::PDF: return std::make_unique<TRelRenderPDF>();
    case TFileFormat::HTML: return std::make_unique<TRelRenderHTML>();
    case TFileFormat::RTF: return std::make_unique<TRelRenderRTF>();
    case TFileFormat::Text: break;
    }
    return std::make_unique<TRelRenderText>();
}

} // namespace rel
