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

struct PrintOptions
{
    QCommandLineOption print{
        QStringLiteral("print"),
        QStringLiteral("Print the chart (the start-up chart, or FILE; a picture "
                       "prints as the picture viewer prints it) into the "
                       "PDF file OUT without a window."),
        QStringLiteral("OUT")};
    QCommandLineOption layout{
        QStringLiteral("layout"),
        QStringLiteral("With --print: standard (default; header and legend text), screen (the "
                       "chart as on screen), fill (across the page) or form (the whole window)."),
        QStringLiteral("LAYOUT"), QStringLiteral("standard")};
    QCommandLineOption white{QStringLiteral("white"),
                             QStringLiteral("With --print: every chart background white.")};
    QCommandLineOption mode{QStringLiteral("mode"),
                            QStringLiteral("With --print: 1 (default) prints the chart, 2 also the "
                                           "multiple chart below it."),
                            QStringLiteral("MODE"), QStringLiteral("1")};
    QCommandLineOption page{QStringLiteral("page"),
                            QStringLiteral("With --print: A4 (default) or Letter."),
                            QStringLiteral("SIZE"), QStringLiteral("A4")};
    QCommandLineOption landscape{QStringLiteral("landscape"),
                                 QStringLiteral("With --print: the page lies on its side.")};
};

void parsePrint(const QCommandLineParser &parser, const PrintOptions &o, bool sizeGiven,
                CommandLine &line)
{
    auto fail = [&line](const QString &why) {
        line.ok = false;
        line.error = why;
    };
    PrintRequest &p = line.print;
    p.output = parser.value(o.print);
    const bool printing = parser.isSet(o.print);
    if (!printing) {
        for (const QCommandLineOption *option :
             {&o.layout, &o.white, &o.mode, &o.page, &o.landscape})
            if (parser.isSet(*option))
                return fail(
                    QStringLiteral("--%1 needs --print OUT.pdf").arg(option->names().first()));
        return;
    }
    if (p.output.isEmpty() || !p.output.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        return fail(QStringLiteral("--print writes a PDF file: give OUT.pdf"));
    if (!line.exportPath.isEmpty())
        return fail(QStringLiteral("--print and --export exclude each other"));
    if (sizeGiven)
        return fail(QStringLiteral("--size does not apply to --print: the page decides the size"));
    p.layout = parser.value(o.layout).toLower();
    const QStringList layouts = {QStringLiteral("standard"), QStringLiteral("screen"),
                                 QStringLiteral("fill"), QStringLiteral("form")};
    if (!layouts.contains(p.layout))
        return fail(QStringLiteral("--layout takes standard, screen, fill or form"));
    p.white = parser.isSet(o.white);
    const QString mode = parser.value(o.mode);
    if (mode != QStringLiteral("1") && mode != QStringLiteral("2"))
        return fail(QStringLiteral("--mode takes 1 or 2"));
    p.mode = mode.toInt();
    p.page = parser.value(o.page);
    if (p.page.compare(QStringLiteral("A4"), Qt::CaseInsensitive) == 0)
        p.page = QStringLiteral("A4");
    else if (p.page.compare(QStringLiteral("Letter"), Qt::CaseInsensitive) == 0)
        p.page = QStringLiteral("Letter");
    else
        return fail(QStringLiteral("--page takes A4 or Letter"));
    p.landscape = parser.isSet(o.landscape);
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
                       "The extension of OUT chooses the format: png, bmp, jpg, svg, pdf, chf. "
                       "A slide script (.sld) as FILE becomes a PDF of one page per slide."),
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
    const QCommandLineOption voicesOption(
        QStringLiteral("voices"),
        QStringLiteral("List the voices (name, language, back end, whether it reads kanji) and "
                       "the outside readers found here."));
    const QCommandLineOption sayOption(
        QStringLiteral("say"),
        QStringLiteral("Speak TEXT through the speech engine, without a window."),
        QStringLiteral("TEXT"));
    const QCommandLineOption voiceOption(
        QStringLiteral("voice"),
        QStringLiteral("With --say: the voice (id, name or language, see --voices)."),
        QStringLiteral("NAME"));
    const QCommandLineOption rateOption(
        QStringLiteral("rate"), QStringLiteral("With --say: the rate, -10 to 10 (0 normal)."),
        QStringLiteral("R"), QStringLiteral("0"));
    const QCommandLineOption wavOption(
        QStringLiteral("wav"),
        QStringLiteral("With --say: write the speech to OUT.wav instead of the sound device."),
        QStringLiteral("OUT.wav"));
    parser.addOptions({voicesOption, sayOption, voiceOption, rateOption, wavOption});
    parser.addOption(exportOption);
    parser.addOption(slideTableOption);
    parser.addOption(sizeOption);
    parser.addOption(yesOption);
    parser.addOptions(
        {regressionOption, jobOption, fixedOption, parabolicOption, seOption, rangeOption});
    const PrintOptions printOptions;
    parser.addOptions({printOptions.print, printOptions.layout, printOptions.white,
                       printOptions.mode, printOptions.page, printOptions.landscape});
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
    line.listVoices = parser.isSet(voicesOption);
    line.say = parser.isSet(sayOption);
    line.sayText = parser.value(sayOption);
    line.voice = parser.value(voiceOption);
    line.wav = parser.value(wavOption);
    if (line.ok &&
        (parser.isSet(voiceOption) || parser.isSet(rateOption) || parser.isSet(wavOption)) &&
        !line.say) {
        line.ok = false;
        line.error = QStringLiteral("--voice, --rate and --wav go with --say TEXT");
    }
    if (line.ok && line.say) {
        bool ok = false;
        line.rate = parser.value(rateOption).toInt(&ok);
        if (!ok || line.rate < -10 || line.rate > 10) {
            line.ok = false;
            line.error = QStringLiteral("--rate takes a whole number from -10 to 10");
        }
    }
    if (line.ok)
        parsePrint(parser, printOptions, parser.isSet(sizeOption), line);
    if (parser.isSet(regressionOption) && line.ok)
        parseRegression(parser, line, regressionOption, jobOption, fixedOption, parabolicOption,
                        seOption, rangeOption);
    return line;
}

} // namespace qel::shell
