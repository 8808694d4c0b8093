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

void parseRegression(const QCommandLineParser &parser, CommandLine &line,
                     const QCommandLineOption &regression, const QCommandLineOption &job,
                     const QCommandLineOption &fixed, const QCommandLineOption &parabolic,
                     const QCommandLineOption &se, const QCommandLineOption &range)
{
    auto fail = [&line](const QString &why) {
        line.ok = false;
        line.error = why;
    };
    RegressionRequest &r = line.regression;
    bool ok = false;
    r.series = parser.value(regression).toInt(&ok);
    if (!ok || r.series < 1 || r.series > 32767)
        return fail(QStringLiteral("--regression takes a series number from 1"));
    r.job = parser.value(job).toInt(&ok);
    if (!ok || (r.job != 1 && r.job != 2 && r.job != 77))
        return fail(QStringLiteral("--job takes 1, 2 or 77"));
    if (parser.isSet(fixed)) {
        const QStringList xy = parser.value(fixed).split(QLatin1Char(','));
        if (xy.size() != 2)
            return fail(QStringLiteral("--fixed takes X,Y"));
        r.fixedX = xy[0].trimmed();
        r.fixedY = xy[1].trimmed();
    }
    r.parabolic = parser.isSet(parabolic);
    if (r.parabolic && parser.isSet(fixed))
        return fail(QStringLiteral("--fixed and --parabolic exclude each other"));
    r.se = parser.isSet(se);
    const QString reach = parser.value(range).toLower();
    if (reach != QStringLiteral("whole") && reach != QStringLiteral("data"))
        return fail(QStringLiteral("--range takes whole or data"));
    r.whole = reach == QStringLiteral("whole");
    if (line.exportPath.isEmpty())
        return fail(QStringLiteral("--regression needs --export OUT and an input file"));
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
    const QCommandLineOption regressionOption(
        QStringLiteral("regression"),
        QStringLiteral("With --export: run a regression job on series SERIES (1-based) first."),
        QStringLiteral("SERIES"));
    const QCommandLineOption jobOption(QStringLiteral("job"),
                                       QStringLiteral("The job: 1 draw, 2 draw and append the "
                                                      "report to Stat.txt, 77 smooth."),
                                       QStringLiteral("JOB"), QStringLiteral("1"));
    const QCommandLineOption fixedOption(QStringLiteral("fixed"),
                                         QStringLiteral("The line goes through the point X,Y."),
                                         QStringLiteral("X,Y"));
    const QCommandLineOption parabolicOption(QStringLiteral("parabolic"),
                                             QStringLiteral("Fit a parabola."));
    const QCommandLineOption seOption(QStringLiteral("se"),
                                      QStringLiteral("Draw the standard-error curves."));
    const QCommandLineOption rangeOption(QStringLiteral("range"),
                                         QStringLiteral("whole (default) or data: how far the "
                                                        "line reaches."),
                                         QStringLiteral("RANGE"), QStringLiteral("whole"));
    const QCommandLineOption yesOption(
        QStringLiteral("yes"),
        QStringLiteral("With --export: answer the program's questions so that the job goes on "
                       "(OK, Yes) instead of with their default answers."));
    const QCommandLineOption slideTableOption(
        QStringLiteral("slide-table"),
        QStringLiteral("Print the slides of the slide script FILE (.sld) as JSON and exit."));
    parser.addOption(exportOption);
    parser.addOption(slideTableOption);
    parser.addOption(sizeOption);
    parser.addOption(yesOption);
    parser.addOptions(
        {regressionOption, jobOption, fixedOption, parabolicOption, seOption, rangeOption});
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("A chart, table or slide file to open."));
    parser.process(arguments); // --help and --version print and exit here

    CommandLine line;
    line.exportPath = parser.value(exportOption);
    line.answerYes = parser.isSet(yesOption);
    line.slideTable = parser.isSet(slideTableOption);
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
    if (line.slideTable && line.ok && line.file.isEmpty()) {
        line.ok = false;
        line.error = QStringLiteral("--slide-table needs a slide script (.sld)");
    }
    if (parser.isSet(regressionOption) && line.ok)
        parseRegression(parser, line, regressionOption, jobOption, fixedOption, parabolicOption,
                        seOption, rangeOption);
    return line;
}

} // namespace qel::shell
