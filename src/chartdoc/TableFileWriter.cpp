#include "chartdoc/TableFileWriter.h"

#include "chartdoc/BottomTitle.h"
#include "chartdoc/ChartDocument.h"
#include "chartdoc/TableImage.h"
#include "chartview/ChartView.h"
#include "os/FileAccess.h"
#include "os/MessageWindow.h"
#include "os/NumberFormat.h"
#include "os/PathParts.h"
#include "os/TextCodec.h"
#include "os/UserDialogs.h"

#include <QFileInfo>

namespace qel::chartdoc {

using namespace chartview;

namespace {

const QString CrLf = QStringLiteral("\r\n");
const QString Tab = QStringLiteral("\t");

// A cell must not carry a tab or a line break: either would move every cell after it.
QString cell(QString text)
{
    text.replace(CrLf, QStringLiteral(" "));
    for (QChar &c : text) {
        if (c == u'\t' || c == u'\r' || c == u'\n')
            c = u' ';
    }
    return text;
}

// The left and right titles lose their line breaks without a blank in their place.
QString joinedLines(QString text)
{
    text.remove(QLatin1Char('\r'));
    text.remove(QLatin1Char('\n'));
    return cell(text);
}

QString legendCell(QString text)
{
    text.replace(CrLf, QStringLiteral("{vbcrlf}"));
    text.replace(QLatin1Char('\r'), QStringLiteral("{vbcrlf}"));
    text.replace(QLatin1Char('\n'), QStringLiteral("{vbcrlf}"));
    return cell(text);
}

QString number(double v)
{
    if (isEmptyPoint(v))
        return QString();
    return os::singleToText(float(v));
}

} // namespace

TableFileWriter::TableFileWriter(ChartDocument &context)
    : m_context(context)
{}

QString TableFileWriter::tablePath(const QString &file)
{
    const os::PathParts parts = os::PathParts::of(file);
    return parts.directory + parts.baseName + QStringLiteral(".Tbx");
}

QString TableFileWriter::headerNumber(int v)
{
    return os::integerStr(v) + QLatin1Char(' ');
}

QStringList TableFileWriter::banner()
{
    const QString stars(60, QLatin1Char('*'));
    return {stars,
            QStringLiteral("          Converted qelChf/Dfx to Tbx file for TableEditor  "),
            QStringLiteral("  qelPro %1.%2 for Linux    qelPro project")
                .arg(QEL_VERSION_MAJOR)
                .arg(QEL_VERSION_MINOR),
            QStringLiteral("  ﾌｧｲﾙは ASCIIタブ区切り形式（拡張子：Tbx）で記録してください。"),
            QStringLiteral("  Tbxﾌｧｲﾙは Excel で編集して qelPro で読み込みできます。 "),
            stars,
            QString()};
}

QStringList TableFileWriter::lines(const QDateTime &now) const
{
    const ChartView &chart = m_context.chart();
    const TableImage &table = m_context.table();
    const int groups = chart.SeriesTotal();
    const int points = chart.PointTotal();
    const bool commonX = table.commonX;

    // Read back, these two compose the same bottom title again.
    const auto [xLegend, figureTitle] = decomposeBottomTitle(chart.TitleCaption(3));

    QStringList out = banner();
    out << QStringLiteral("TopTit=") + Tab + cell(chart.TitleCaption(2));
    out << QStringLiteral("Title=") + Tab + cell(figureTitle);
    out << QStringLiteral("Create=") + Tab + cell(table.createStamp);
    out << QStringLiteral("Convert=") + Tab + now.toString(QStringLiteral("yyyy/MM/dd")) + Tab +
               Tab + Tab + now.toString(QStringLiteral("HH:mm:ss"));
    out << QStringLiteral("FileLegend=") + Tab + legendCell(m_context.legendText());
    out << QStringLiteral("Version=") + Tab + headerNumber(table.fileVersion);
    out << QStringLiteral("Type=") + Tab + headerNumber(1) + Tab + QStringLiteral("TypeOpt") + Tab +
               headerNumber(table.typeOpt);
    out << QStringLiteral("Group=") + Tab + headerNumber(groups);
    out << QStringLiteral("Count=") + Tab + headerNumber(points);
    out << QStringLiteral("Xlegend=") + Tab + cell(xLegend);
    out << QStringLiteral("Ylegend=") + Tab + joinedLines(chart.TitleCaption(0));
    out << QStringLiteral("Zlegend=") + Tab + joinedLines(chart.TitleCaption(1));
    out << QString();

    QString begin = QStringLiteral("{Begin}") + Tab;
    QString group = QStringLiteral("{Group}") + Tab;
    QString data = QStringLiteral("{Data}");
    if (commonX) {
        data += Tab + QStringLiteral("commonX");
        for (int g = 1; g <= groups; ++g) {
            begin += Tab + headerNumber(g);
            group += Tab + cell(chart.SeriesCaption(qint16(g - 1)));
            data += Tab + QStringLiteral("y");
        }
    } else {
        for (int g = 1; g <= groups; ++g) {
            begin += headerNumber(g) + Tab + Tab;
            group += cell(chart.SeriesCaption(qint16(g - 1))) + Tab + Tab;
            data += Tab + QStringLiteral("x") + Tab + QStringLiteral("y");
        }
    }
    out << begin << group << data;

    // Without any X value in series 0 the points are numbered.
    const ChartModel &model = chart.model();
    bool hasX = false;
    for (int p = 0; p < points && groups > 0 && !hasX; ++p) {
        const double x = model.xValue(0, p);
        hasX = x != 0 && !isEmptyPoint(x);
    }
    for (int p = 0; p < points; ++p) {
        QString row = cell(chart.PointCaption(p));
        for (int g = 0; g < groups; ++g) {
            if (!commonX || g == 0) {
                double x = model.xValue(g, p);
                // The shared X column must not be lost with a hidden point of the first group.
                for (int k = 1; commonX && isEmptyPoint(x) && k < groups; ++k)
                    x = model.xValue(k, p);
                row += Tab;
                row += hasX ? number(x) : os::singleToText(float(p + 1));
            }
            row += Tab;
            row += number(model.value(g, p));
        }
        out << row;
    }
    out << QStringLiteral("{End}");
    return out;
}

bool TableFileWriter::write(const QString &path)
{
    os::MessageWindow &progress = m_context.messageWindow();
    progress.frmMsgShow(QStringLiteral("Tbxファイル作製中"), path);
    const QByteArray bytes = os::encodeLines(lines(QDateTime::currentDateTime()));
    const os::Result saved = os::FileAccess::saveFile(path, bytes);
    progress.hide();
    if (!saved) {
        // The designed text, then what actually went wrong.
        m_context.dialogs().inform(QStringLiteral("Excelﾌｧｲﾙ: ") + path + CrLf +
                                   QStringLiteral("を他で使っているか不明のエラーです。") + CrLf +
                                   saved.message);
        return false;
    }
    m_context.tableFileWritten(path);
    return true;
}

bool TableFileWriter::writeTableFile(int mode, const QString &currentFile,
                                     const QString &tableEditorPath)
{
    // "未設定" is what a cancelled first choice of the editor leaves: no editor either.
    if (tableEditorPath.isEmpty() || tableEditorPath == QStringLiteral("未設定") ||
        currentFile.isEmpty())
        return false;
    const QString extension = os::PathParts::of(currentFile).lowerExtension();
    if (extension == QStringLiteral(".tbx"))
        return false;
    const QString path = tablePath(currentFile);
    if (!QFileInfo::exists(path)) {
        if (extension != QStringLiteral(".chf")) {
            m_context.table().fileVersion = 1;
            m_context.table().typeOpt = 0;
        }
        m_context.table().chartType = 1;
        return write(path);
    }
    if (mode == 0)
        return false;
    os::MessageRequest question;
    question.text = QStringLiteral("Excelﾌｧｲﾙ :  ") + path + CrLf +
                    QStringLiteral("が存在します。更新しますか？");
    question.buttons = os::MessageButtons::YesNoCancel;
    question.defaultAnswer = os::MessageAnswer::No;
    if (m_context.dialogs().message(question) != os::MessageAnswer::Yes)
        return false;
    m_context.table().chartType = 1;
    return write(path);
}

} // namespace qel::chartdoc
