#include "shell/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QRegularExpression>

namespace qel::shell {

namespace {

bool parseSize(const QString &text, QSize &size)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,5})[xX](\\d{1,5})$"));
    const auto match = pattern.match(text.trimmed());
    if (!match.hasMatch())
        return false;
    const int w = match.captured(1).toInt();
    const int h = match.captured(2).toInt();
    if (w < 16 || h < 16 || w > 20000 || h > 20000)
        return false;
    size = QSize(w, h);
    return true;
}

} // namespace

CommandLine CommandLine::parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("qelPro is simple tool to create high grade presentation graph."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption exportOption(
        QStringLiteral("export"),
        QStringLiteral("Render the chart (the sample chart, or FILE) to OUT without a window. "
                       "The extension of OUT chooses the format: png, bmp, jpg, svg, pdf, chf."),
        QStringLiteral("OUT"));
    const QCommandLineOption sizeOption(QStringLiteral("size"),
                                        QStringLiteral("Picture size for --export (default "
                                                       "1382x648)."),
                                        QStringLiteral("WxH"));
    parser.addOption(exportOption);
    parser.addOption(sizeOption);
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("A chart, table or slide file to open."));
    parser.process(arguments); // --help and --version print and exit here

    CommandLine line;
    line.exportPath = parser.value(exportOption);
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        line.ok = false;
        line.error = QStringLiteral("only one file can be given");
    } else if (!files.isEmpty()) {
        line.file = files.first();
    }
    if (parser.isSet(sizeOption) && !parseSize(parser.value(sizeOption), line.exportSize)) {
        line.ok = false;
        line.error = QStringLiteral("--size takes WIDTHxHEIGHT, from 16 to 20000 pixels each");
    }
    return line;
}

} // namespace qel::shell
