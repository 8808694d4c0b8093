#include "stats/StatReport.h"

#include "os/FileAccess.h"
#include "os/NumberFormat.h"
#include "os/TextCodec.h"
#include "stats/SignificanceTables.h"

#include <cmath>

namespace qel::stats {

namespace {

using os::PrintLine;

float root(float v)
{
    return float(std::sqrt(double(v)));
}

// Critical values are written as doubles; a test that could not be made writes nothing.
PrintLine &critical(PrintLine &line, const Significance &s)
{
    if (s.critical)
        line.number(*s.critical);
    return line;
}

Significance test(double df, double statistic, const char16_t *kind)
{
    return kyClass3::instance().statAnal(df, statistic, QString::fromUtf16(kind));
}

QString rLabel(const RegressionFit::Linear &l)
{
    return test(l.n - 2, std::abs(double(l.r)), u"r").label;
}

const char16_t ZeroVarianceLine[] = u"  ..... The original line of Zero variance.";
const char16_t ZeroVarianceRegression[] = u"  Regression:  The original line of Zero variance.";

} // namespace

void StatReport::header(const QDateTime &now, const QString &file, const QString &group,
                        const RegressionSums &sums, const RegressionFit::Linear &l)
{
    add(QString());
    add(QString());
    add(QStringLiteral("【 DATA INFORMATION 】") +
        now.date().toString(QStringLiteral("MM-dd-yyyy")) + u' ' +
        now.time().toString(QStringLiteral("hh:mm:ss")));
    add(QStringLiteral("[file: ") + file + QStringLiteral("] [Group: ") + group +
        QStringLiteral("] "));
    add(PrintLine()
            .text(u"  R0ANGE    X;[")
            .single(sums.minX)
            .text(u"=>")
            .single(sums.maxX)
            .text(u"],    Y;[")
            .single(sums.minY)
            .text(u"=>")
            .single(sums.maxY)
            .text(u"]")
            .line());
    add(PrintLine()
            .text(u"  n=")
            .integer(l.n)
            .text(u"ΣX=")
            .single(l.sx)
            .text(u"ΣY=")
            .single(l.sy)
            .text(u"ΣX^2=")
            .single(l.sx2)
            .text(u"ΣY^2=")
            .single(l.sy2)
            .text(u"ΣX*Y=")
            .single(l.sxy)
            .line());
    add(PrintLine()
            .text(u"  x: MEAN(SD)")
            .single(l.meanX)
            .text(u"(")
            .single(l.sdX)
            .text(u")     ")
            .text(u"  y: MEAN(SD)")
            .single(l.meanY)
            .text(u"(")
            .single(l.sdY)
            .text(u")")
            .line());
}

void StatReport::degenerate(const RegressionFit::Linear &l)
{
    if (l.sxx == 0)
        add(PrintLine().text(u"  x=").single(l.meanX).text(u" ... SDx=0,  r:").single(l.r).line());
    else
        add(PrintLine().text(u"  y=").single(l.meanY).text(u" ... SDy=0,  r:").single(l.r).line());
}

void StatReport::linear(const RegressionFit::Linear &l)
{
    add(QString());
    add(QStringLiteral("[ LINER REGR. INFORMATION ]"));
    add(PrintLine()
            .text(u"  y=")
            .single(l.slope)
            .text(u" x + (")
            .single(l.intercept)
            .text(u")    r:")
            .single(l.r)
            .text(u"  ")
            .text(rLabel(l))
            .line());
    add(PrintLine()
            .text(u"  SEy from LINE .... :")
            .single(root(l.s2))
            .text(u"  SE(mean y) of LINE :")
            .single(root(l.seMeanY2))
            .line());
    add(PrintLine()
            .text(u"  SE(slope) ........ :")
            .single(root(l.seSlope2))
            .text(u"  SE(intercept) .... :")
            .single(root(l.seIntercept2))
            .line());
}

void StatReport::parabola(const RegressionFit::Parabola &p)
{
    add(QString());
    add(QStringLiteral("[ PARABOLIC RAREGR. INFORMATION ]"));
    add(QStringLiteral("    y=  Ax^2 + Bx + C "));
    add(PrintLine().text(u"    A=").number(p.a).line());
    add(PrintLine().text(u"    B=").number(p.b).line());
    add(PrintLine().text(u"    C=").number(p.c).line());
    add(PrintLine().text(u"  SEy=").single(p.seY).line());
    // A parabola with A = 0 is a straight line and has no vertex to report.
    if (p.vertexX && p.vertexY) {
        add(PrintLine()
                .text(u"  y_")
                .text(p.minimum() ? u"min" : u"max")
                .text(u" is ")
                .single(*p.vertexY)
                .text(u" when x is ")
                .single(*p.vertexX)
                .line());
    }
    add(QString());
}

void StatReport::zeroVariance()
{
    add(QString::fromUtf16(ZeroVarianceLine));
}

void StatReport::coefficientTest(QStringView seText, QStringView vsText, float fitted, float fixed,
                                 float se2, int df)
{
    if (se2 <= 0) {
        zeroVariance();
        return;
    }
    const float se = root(se2);
    const float delta = std::abs(fitted - fixed);
    const float ratio = float(double(delta) / se);
    const Significance s = test(df, ratio, u"t");
    add(PrintLine().text(u" Δ   =").single(delta).text(seText).single(se).line());
    PrintLine line;
    line.text(u" Δ/SE=").single(ratio).text(vsText).integer(df).text(u",p:").number(s.p).text(
        u":両側)  =");
    add(critical(line, s).text(u", ").text(s.label).text(u" ").text(s.verdict).line());
}

bool StatReport::comparison(const RegressionFit::Linear &l, const RegressionFit::FixedPoint &f)
{
    add(QString());
    add(QStringLiteral("《 固定点回帰式と回帰式の比較検定 》"));
    add(QStringLiteral("   ===== ORIGINAL REGR. LINE ===================="));
    add(PrintLine()
            .text(u"    y=")
            .single(l.slope)
            .text(u" x + (")
            .single(l.intercept)
            .text(u")  r=")
            .single(l.r)
            .text(u" ")
            .text(rLabel(l))
            .line());
    add(QString());
    add(PrintLine()
            .text(u"   ===== LINE through X=")
            .single(f.x0)
            .text(u" AND Y=")
            .single(f.y0)
            .text(u"=====")
            .line());
    add(PrintLine()
            .text(u"    y=")
            .single(f.b0)
            .text(u"x + (")
            .single(f.a0)
            .text(u")  ..... (min Y var.)")
            .line());
    add(PrintLine().text(u"      SEy from LINE with FIXED POINT:").single(root(f.varY0)).line());
    add(PrintLine()
            .text(u"    x=")
            .single(f.c0)
            .text(u"y + (")
            .single(f.d0)
            .text(u")  ..... (min X var.)")
            .line());
    add(PrintLine().text(u"      SEx from LINE with FIXED POINT:").single(root(f.varX0)).line());

    if (l.r == 1) {
        add(QString());
        add(QString::fromUtf16(ZeroVarianceRegression));
        return false;
    }

    const int df = l.n - 2;
    add(QStringLiteral("[SLOPE]"));
    coefficientTest(u",  org.SE=", u" vs t(df:", l.slope, f.b0, l.seSlope2, df);
    add(QStringLiteral("[INTERCEPT]"));
    coefficientTest(u",   org.SE=", u"  vs  t(df;", l.intercept, f.a0, l.seIntercept2, df);

    add(QStringLiteral("[VARIANCE OF Y from LINE]"));
    if (l.s2 > 0) {
        const float ratio = float(double(f.varY0) / l.s2);
        const Significance s = test(l.n - 1, ratio, u"chi");
        add(PrintLine()
                .text(u" Sy     =")
                .single(f.rssY0)
                .text(u",  org.SE=")
                .single(root(l.s2))
                .text(u",  org.SE^2=")
                .single(l.s2)
                .line());
        PrintLine line;
        line.text(u" Sy/SE^2=")
            .single(ratio)
            .text(u"  vs  chi(df:")
            .integer(l.n - 1)
            .text(u",p:")
            .number(s.p)
            .text(u":片側)=");
        add(critical(line, s).text(u", ").text(s.label).text(u" ").text(s.verdict).line());
    } else {
        zeroVariance();
    }
    return true;
}

void StatReport::seTable(const RegressionFit::Linear &l, const RegressionFit::XRange &range)
{
    add(QString());
    add(QStringLiteral("[ ESTIMATED STANDARD ERROR on REGR. LINE and Y VALUE ]"));
    if (l.r == 1) {
        add(QString());
        add(QString::fromUtf16(ZeroVarianceRegression));
    }
    add(QStringLiteral("    SE(line) ...: est.SE of Line(averaged Y value) from X"));
    add(QStringLiteral("     when X=0   : est.SE(intercept)"));
    add(QStringLiteral("     when X=mean: est.SE(mean y)"));
    add(QStringLiteral("    SE(y) ......: est.SE of Y value from X"));
    add(QString());
    add(PrintLine()
            .text(u"   x")
            .nextZone()
            .text(u"SE(line)         ")
            .nextZone()
            .text(u"SE(y)          ")
            .nextZone()
            .text(u"y - SE(line)  ")
            .nextZone()
            .text(u"y + SE(line)  ")
            .nextZone()
            .text(u"y - SE(y)     ")
            .nextZone()
            .text(u"y + SE(y)     ")
            .line());

    const auto row = [&](float x) {
        const RegressionFit::SeValues v = RegressionFit::seAt(l, x);
        add(PrintLine()
                .text(u"  ")
                .single(v.x)
                .text(u",")
                .nextZone()
                .single(v.seLine)
                .text(u",")
                .nextZone()
                .single(v.seY)
                .text(u",")
                .nextZone()
                .single(v.y - v.seLine)
                .text(u",")
                .nextZone()
                .single(v.y + v.seLine)
                .text(u",")
                .nextZone()
                .single(v.y - v.seY)
                .text(u",")
                .nextZone()
                .single(v.y + v.seY)
                .line());
    };
    const float step = float((double(range.xe) - range.xs) / 18);
    for (int k = 0; k <= 18; ++k)
        row(float(range.xs + double(k) * step));
    add(QStringLiteral("     [intercept]"));
    row(0);
    add(QStringLiteral("     [mean]"));
    row(l.meanX);
}

QString StatReport::text() const
{
    QString text;
    for (const QString &line : m_lines)
        text += line + QStringLiteral("\r\n");
    return text;
}

bool StatReport::appendToFile(const QString &path, const QString &text, QString *error)
{
    // Read and replaced whole, so the report keeps one encoding; only a regular file is.
    QByteArray existing;
    constexpr qint64 MaxFileSize = qint64(256) << 20;
    const os::Result read = os::FileAccess::readRegularFile(path, existing, MaxFileSize);
    if (!read && read.code != os::FileAccess::NotFound) {
        if (error)
            *error = read.message;
        return false;
    }
    const os::Result saved = os::FileAccess::saveFile(path, os::appendText(existing, text));
    if (!saved && error)
        *error = saved.message;
    return saved.ok();
}

} // namespace qel::stats
