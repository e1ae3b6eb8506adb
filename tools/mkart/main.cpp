// vosmira-mkart: paints the program's artwork from SVG icons at build time.
//
//   vosmira-mkart KIND --size WxH --icon FILE --out FILE [--out FILE...]
//                 [--font FILE...] [--highlight] [--note TEXT]
//
// KIND is button, logo, banner, backdrop or icon. Each --out gets the same picture;
// a .bmp is written as 24-bit without transparency.
#include "artwork.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImageWriter>

#include <cstdio>
#include <map>

namespace {

int fail(const QString &message)
{
    std::fprintf(stderr, "vosmira-mkart: %s\n", qPrintable(message));
    return 1;
}

QSize parseSize(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char('x'));
    if (parts.size() != 2)
        return {};
    bool okW = false;
    bool okH = false;
    const QSize size(parts[0].toInt(&okW), parts[1].toInt(&okH));
    return okW && okH && size.width() > 0 && size.height() > 0 ? size : QSize();
}

bool save(const QImage &image, const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    const bool bitmap = path.endsWith(QLatin1String(".bmp"), Qt::CaseInsensitive);
    const QImage out = bitmap ? image.convertToFormat(QImage::Format_RGB888)
                              : image.convertToFormat(QImage::Format_ARGB32);
    QImageWriter writer(path);
    return writer.write(out);
}

// Headless runs without a session complain about the runtime folder, which a
// painter never uses; everything else still gets through.
void quietHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR")))
        return;
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

} // namespace

int main(int argc, char *argv[])
{
    // A build tool: never look for a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(&quietHandler);
    QGuiApplication app(argc, argv);

    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("kind"), QStringLiteral("button, logo, banner, backdrop or icon"));
    const QCommandLineOption sizeOption(QStringLiteral("size"), QStringLiteral("Output size."), QStringLiteral("WxH"));
    const QCommandLineOption iconOption(QStringLiteral("icon"), QStringLiteral("SVG icon."), QStringLiteral("file"));
    const QCommandLineOption outOption(QStringLiteral("out"), QStringLiteral("Output picture."),
                                       QStringLiteral("file"));
    const QCommandLineOption fontOption(QStringLiteral("font"), QStringLiteral("Font file to letter with."),
                                        QStringLiteral("file"));
    const QCommandLineOption highlightOption(QStringLiteral("highlight"), QStringLiteral("Picture under the pointer."));
    const QCommandLineOption noteOption(QStringLiteral("note"), QStringLiteral("Words after the logo's subtitle."),
                                        QStringLiteral("text"));
    parser.addOptions({sizeOption, iconOption, outOption, fontOption, highlightOption, noteOption});
    parser.addHelpOption();
    parser.process(app);

    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1)
        return fail(QStringLiteral("exactly one KIND expected"));

    const std::map<QString, QImage (*)(const ArtJob &)> painters{
        {QStringLiteral("button"), &paintButton}, {QStringLiteral("logo"), &paintLogo},
        {QStringLiteral("banner"), &paintBanner}, {QStringLiteral("backdrop"), &paintBackdrop},
        {QStringLiteral("icon"), &paintIcon},
    };
    const auto painter = painters.find(positional.first());
    if (painter == painters.end())
        return fail(QStringLiteral("unknown kind ") + positional.first());

    ArtJob job;
    job.size = parseSize(parser.value(sizeOption));
    job.icons = parser.values(iconOption);
    job.highlighted = parser.isSet(highlightOption);
    job.note = parser.value(noteOption);
    const QStringList outputs = parser.values(outOption);
    if (!job.size.isValid())
        return fail(QStringLiteral("--size WxH required"));
    if (job.icons.isEmpty() && positional.first() != QLatin1String("backdrop"))
        return fail(QStringLiteral("--icon required"));
    if (outputs.isEmpty())
        return fail(QStringLiteral("--out required"));

    for (const QString &font : parser.values(fontOption)) {
        if (QFontDatabase::addApplicationFont(font) < 0)
            return fail(QStringLiteral("cannot load font ") + font);
    }

    const QImage image = painter->second(job);
    for (const QString &path : outputs) {
        if (!save(image, path))
            return fail(QStringLiteral("cannot write ") + path);
    }
    return 0;
}
