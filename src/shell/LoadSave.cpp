#include "shell/LoadSave.h"

#include "chartdoc/BottomTitle.h"
#include "chartdoc/FileDialogKinds.h"
#include "chartdoc/TableFileReader.h"
#include "chartdoc/TableFileWriter.h"
#include "chartdoc/TableImage.h"
#include "chartdoc/TableLoadContext.h"
#include "chartview/ChartView.h"
#include "os/AccessLog.h"
#include "os/PathParts.h"
#include "os/UserDialogs.h"
#include "settings/Form2State.h"
#include "shell/ProgramState.h"

#include <QFileInfo>

#include <cmath>

namespace qel::shell {

using chartdoc::OptionsMode;
using chartview::ChartView;

namespace {

const QString CrLf = QStringLiteral("\r\n");

// The designed text, then the file and the system's reason on a line of their own.
QString withReason(const QString &text, const QString &reason)
{
    return reason.isEmpty() ? text : text + QLatin1Char('\n') + reason;
}

bool isWildcard(const QString &name)
{
    return name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?'));
}

qint16 regressionNumber(const std::optional<double> &value)
{
    if (!value || !std::isfinite(*value) || std::abs(*value) >= 32768)
        return 0;
    return qint16(*value);
}

} // namespace

LoadSave::LoadSave(const Context &context)
    : m_context(context)
    , m_loader(context.load)
{}

QString LoadSave::importFailedText(qint32 error, const QString &path)
{
    return QStringLiteral("chrs") + QString::number(error) +
           QStringLiteral("読み込みできませんでした。dir: ") + path;
}

QString LoadSave::selectionList(const QStringList &files)
{
    const QString folder = os::PathParts::of(files.value(0)).directory;
    QString list =
        folder.size() > 1 && folder.endsWith(QLatin1Char('/')) ? folder.chopped(1) : folder;
    list += CrLf;
    for (const QString &file : files)
        list += os::PathParts::of(file).fileName + CrLf;
    return list;
}

void LoadSave::inform(const QString &text)
{
    m_context.load.dialogs().inform(text);
}

void LoadSave::recordDataPath(const QString &path)
{
    setDataPath(m_context.state, m_context.settings, path);
}

QStringList LoadSave::fileDialog(const QString &kind, const QString &path, const QString &pattern)
{
    Q_UNUSED(path);
    ProgramState &state = m_context.state;
    os::UserDialogs &dialogs = m_context.load.dialogs();
    if (!state.currentFile.isEmpty())
        recordDataPath(state.currentFile);
    const os::FileDialogRequest request = chartdoc::FileDialogKinds::request(
        kind, {state.currentFile, m_lastChartDirectory, m_lastChartBaseName}, pattern);
    const QStringList chosen = dialogs.chooseFiles(request);
    if (chosen.isEmpty()) {
        inform(cancelText());
        return {};
    }
    const QString first = chosen.first();
    const os::PathParts parts = os::PathParts::of(first);
    if (chosen.size() == 1 && kind != QStringLiteral("loadqel") &&
        parts.lowerExtension() == QStringLiteral(".chf")) {
        m_lastChartDirectory = parts.directory;
        m_lastChartBaseName = parts.baseName;
    }
    // An empty file is worth a word before the reader fails on it; a new save target is not.
    if (request.mode != os::FileDialogRequest::Mode::Save) {
        for (const QString &file : chosen) {
            const QFileInfo info(file);
            if (!isWildcard(info.fileName()) && info.isFile() && info.size() == 0)
                dialogs.inform(emptyFileText(info.fileName()), os::MessageIcon::Exclamation);
        }
    }
    recordDataPath(first);
    return chosen;
}

bool LoadSave::loadSave(int mode, QString &path)
{
    return mode == 1 ? save(path) : open(path);
}

bool LoadSave::open(QString &path)
{
    LoadSaveHost &host = m_context.host;
    if (path.isEmpty()) {
        const QStringList files = fileDialog(QStringLiteral("loadqel"));
        if (files.isEmpty())
            return false;
        if (files.size() > 1) {
            QString selection = selectionList(files);
            host.multSlideShow(os::PathParts::of(files.first()).directory, selection, 1);
            return true;
        }
        path = files.first();
    }
    const os::PathParts parts = os::PathParts::of(path);
    const QString extension = parts.lowerExtension();
    if (parts.fileName.toLower() == QStringLiteral("tqzwarb.chf"))
        host.showSpeechEngine();

    bool ok = false;
    bool chartOrTable = false;
    if (extension == QStringLiteral(".jpg")) {
        ok = host.jpgShow(path);
        if (ok)
            writeAccessLog(path, QStringLiteral("<load JPG>"), path);
        else
            m_context.load.dialogs().inform(unreadableText(path), os::MessageIcon::Exclamation);
    } else if (extension == QStringLiteral(".sld")) {
        QString script = path;
        // The taskbar stays: the slide window runs full screen.
        host.multSlideShow(parts.directory, script, 0);
        ok = true;
    } else if (extension == QStringLiteral(".chf")) {
        ok = chartOrTable = m_loader.loadChartFile(path);
        if (ok) {
            // The loader has read the options already; the step adds the caption.
            host.setWindowCaption(path);
            m_regrOption = qint16(m_loader.regressionOption());
            writeAccessLog(path, QStringLiteral("<load CHF>"), path);
        } else {
            m_context.load.chart().clearError(); // reported above, not again by the error trap
        }
    } else {
        const QString result = m_loader.loadTableFile(path, extension);
        ok = chartOrTable = result == chartdoc::TableFileReader::resultOk();
        if (ok) {
            host.setWindowCaption(path);
            // The file name fills an empty top title band; a title of the file's own stays.
            ChartView &chart = m_context.load.chart();
            if (chart.TitleCaption(2).trimmed().isEmpty())
                chart.setTitleCaption(2, QStringLiteral("    ") + parts.fileName);
            writeAccessLog(path, QStringLiteral("<load ") + extension + QLatin1Char('>'), path);
        }
    }
    if (chartOrTable && extension != QStringLiteral(".tbx")) {
        chartdoc::TableFileWriter(m_context.load)
            .writeTableFile(0, path, m_context.state.tableEditorPath);
    }
    recordDataPath(path);
    m_context.state.currentFile = path;
    if (!ok)
        path.clear();
    return ok;
}

bool LoadSave::save(QString &path)
{
    if (path.isEmpty()) {
        const QStringList files = fileDialog(QStringLiteral("saveqel"));
        if (files.isEmpty())
            return false;
        path = files.first();
    }
    ChartView &chart = m_context.load.chart();
    const QString extension = os::PathParts::of(path).lowerExtension().trimmed().left(4);
    bool ok = false;
    if (extension == QStringLiteral(".bmp")) {
        ok = chart.ExportFile(chartview::FormatBitmap, path) == 0;
        if (ok)
            writeAccessLog(path, QStringLiteral("<save BMP>"), path);
    } else {
        chartOptionStep(chart, OptionsMode::Write, path);
        ok = chart.ExportFile(chartview::FormatChartFile, path) == 0;
        // The options travel in the file; on screen the right title shows its own text.
        bool commonX = m_context.load.table().commonX;
        chartdoc::chartOptions(chart, OptionsMode::Strip, 0, commonX);
        if (ok)
            writeAccessLog(path, QStringLiteral("<save CHF>"), path);
    }
    chart.clearError();
    if (!ok)
        inform(withReason(saveFailedText(), chart.ExportError()));
    recordDataPath(path);
    if (!ok)
        path.clear();
    return ok;
}

void LoadSave::chartOptionStep(ChartView &chart, OptionsMode mode, const QString &path)
{
    if (!path.contains(QStringLiteral("chf"), Qt::CaseInsensitive))
        return;
    m_context.host.setWindowCaption(path);
    chartdoc::TableImage &table = m_context.load.table();
    bool commonX = table.commonX;
    const std::optional<double> regression =
        chartdoc::chartOptions(chart, mode, m_regrOption, commonX);
    if (mode == OptionsMode::Read) {
        m_regrOption = regressionNumber(regression);
        table.commonX = commonX;
    }
    const QString one = QStringLiteral("1");
    m_context.load.form2().setDataFields(one, QString::number(chart.SeriesTotal()), one,
                                         QString::number(chart.PointTotal()));
}

bool LoadSave::Chart1LoadCHF()
{
    ChartView &chart = m_context.load.chart();
    const QString path = m_context.state.currentFile;
    if (chart.ImportFile(chartview::FormatChartFile, path) != 0) {
        chart.clearError(); // the caller tells the user
        return false;
    }
    chartOptionStep(chart, OptionsMode::Read, path);
    recordDataPath(path);
    return true;
}

void LoadSave::writeAccessLog(const QString &path, const QString &tag, const QString &listPath)
{
    if (!path.isEmpty()) {
        const os::PathParts parts = os::PathParts::of(path);
        m_lastChartDirectory = parts.directory;
        m_lastChartBaseName = parts.baseName;
    }
    QString xLegend, figureTitle;
    chartdoc::splitBottomTitle(m_context.load.chart().TitleCaption(3), xLegend, figureTitle);
    os::AccessLog(m_context.host.accessLogName())
        .write(tag, path, ProgramState::versionText(), figureTitle, m_context.host.chart2Visible());
    if (!listPath.isEmpty())
        m_context.host.setComboAccessFile(0, listPath);
}

bool LoadSave::chartCommand(int chart, int command)
{
    if (command != ToolSave && command != ToolOpen)
        return false;
    if (chart == 2) {
        if (command == ToolSave)
            chart2Save();
        else
            chart2Open();
        return true;
    }
    QString path;
    loadSave(command == ToolSave ? 1 : 0, path);
    return true;
}

void LoadSave::chart2Save()
{
    const QString path = fileDialog(QStringLiteral("saveqel2")).value(0);
    if (path.isEmpty())
        return;
    ChartView &chart2 = m_context.chart2;
    bool commonX = m_chart2CommonX;
    chartdoc::chartOptions(chart2, OptionsMode::Write, m_chart2Regression, commonX);
    const bool ok = chart2.ExportFile(chartview::FormatChartFile, path) == 0;
    chartdoc::chartOptions(chart2, OptionsMode::Strip, 0, commonX);
    chart2.clearError();
    if (!ok) {
        inform(withReason(saveFailedText(), chart2.ExportError()));
        return;
    }
    writeAccessLog(path, QStringLiteral("<save CHF>"), path);
}

void LoadSave::chart2Open()
{
    const QString path = fileDialog(QStringLiteral("loadqel2")).value(0);
    if (path.isEmpty())
        return;
    ChartView &chart2 = m_context.chart2;
    const qint32 error = chart2.ImportFile(chartview::FormatChartFile, path);
    if (error != 0) {
        QString text = importFailedText(error, path);
        if (!chart2.ImportError().isEmpty())
            text += CrLf + chart2.ImportError();
        chart2.clearError();
        inform(text);
        return;
    }
    bool commonX = false;
    m_chart2Regression =
        regressionNumber(chartdoc::chartOptions(chart2, OptionsMode::Read, 0, commonX));
    m_chart2CommonX = commonX;
    writeAccessLog(path, QStringLiteral("<load CHF>"), path);
}

} // namespace qel::shell
