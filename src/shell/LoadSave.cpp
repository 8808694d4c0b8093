#include "shell/LoadSave.h"

#include "chartdoc/BottomTitle.h"
#include "chartdoc/ChartDocument.h"
#include "chartdoc/ChartSaver.h"
#include "chartdoc/DataFileLoader.h"
#include "chartdoc/FileDialogKinds.h"
#include "chartdoc/TableFileReader.h"
#include "chartdoc/TableFileWriter.h"
#include "chartdoc/TableImage.h"
#include "chartview/ChartView.h"
#include "os/AccessLog.h"
#include "os/PathParts.h"
#include "os/UserDialogs.h"
#include "settings/Form2State.h"
#include "settings/LegendFile.h"
#include "shell/ProgramState.h"

#include <QFileInfo>

#include <cmath>

namespace qel::shell {

using chartdoc::FileKind;
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
{}

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
    m_context.document.dialogs().inform(text);
}

void LoadSave::recordDataPath(const QString &path)
{
    setDataPath(m_context.state, m_context.settings, path);
}

QStringList LoadSave::fileDialog(const QString &kind, const QString &path, const QString &pattern)
{
    Q_UNUSED(path);
    ProgramState &state = m_context.state;
    os::UserDialogs &dialogs = m_context.document.dialogs();
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

bool LoadSave::replacesChart(chartdoc::FileKind kind)
{
    return kind == FileKind::Chart || kind == FileKind::Table || kind == FileKind::Legacy;
}

QString LoadSave::unsavedChangesText(const QString &file)
{
    const QString name =
        file.isEmpty() ? QStringLiteral("このチャート") : os::PathParts::of(file).fileName;
    return name + QStringLiteral(" の変更を保存しますか？") + CrLf +
           QStringLiteral("保存しないと変更は失われます。");
}

bool LoadSave::maySetChartAside()
{
    chartdoc::ChartDocument &document = m_context.document;
    if (!document.isModified())
        return true;
    os::MessageRequest question;
    question.text = unsavedChangesText(document.currentFile());
    question.buttons = os::MessageButtons::YesNoCancel;
    question.icon = os::MessageIcon::Question;
    question.defaultAnswer = os::MessageAnswer::Yes;
    question.buttonTexts = {QStringLiteral("保存"), QStringLiteral("保存しない"),
                            QStringLiteral("キャンセル")};
    switch (document.dialogs().message(question)) {
    case os::MessageAnswer::Yes: {
        // A chart file is saved where it came from; anything else asks for a chart file name.
        const QString current = document.currentFile();
        QString path =
            chartdoc::DataFileLoader::kindOf(current) == FileKind::Chart ? current : QString();
        return save(path);
    }
    case os::MessageAnswer::No:
        return true;
    default:
        return false;
    }
}

bool LoadSave::open(QString &path)
{
    LoadSaveHost &host = m_context.host;
    if (path.isEmpty()) {
        const QStringList files = fileDialog(QStringLiteral("loadqel"));
        if (files.isEmpty())
            return false;
        if (files.size() > 1) {
            // The show loads its charts into Chart1.
            if (!maySetChartAside())
                return false;
            QString selection = selectionList(files);
            host.multSlideShow(os::PathParts::of(files.first()).directory, selection, 1);
            return true;
        }
        path = files.first();
    }
    const os::PathParts parts = os::PathParts::of(path);
    const FileKind kind = chartdoc::DataFileLoader::kindOf(path);
    // A slide show loads its charts into Chart1 as well.
    if ((replacesChart(kind) || kind == FileKind::SlideScript) && !maySetChartAside()) {
        path.clear();
        return false;
    }
    if (parts.fileName.toLower() == QStringLiteral("tqzwarb.chf"))
        host.showSpeechEngine();

    chartdoc::ChartDocument &document = m_context.document;
    const chartdoc::LoadResult loaded = chartdoc::DataFileLoader(document).open(path);
    bool ok = loaded.ok();
    switch (loaded.kind) {
    case FileKind::Picture:
        ok = host.jpgShow(path);
        if (ok)
            writeAccessLog(path, QStringLiteral("<load JPG>"), path);
        else
            document.dialogs().inform(withReason(unreadableText(path), host.pictureError()),
                                      os::MessageIcon::Exclamation);
        break;
    case FileKind::SlideScript: {
        QString script = path;
        // The taskbar stays: the slide window runs full screen.
        host.multSlideShow(parts.directory, script, 0);
        break;
    }
    case FileKind::Chart:
        if (ok) {
            host.setWindowCaption(path);
            writeAccessLog(path, QStringLiteral("<load CHF>"), path);
        } else {
            inform(loaded.message);
        }
        break;
    case FileKind::Table:
    case FileKind::Legacy:
        if (ok) {
            host.setWindowCaption(path);
            writeAccessLog(path, QStringLiteral("<load ") + loaded.extension + QLatin1Char('>'),
                           path);
        } else {
            document.dialogs().inform(loaded.message, os::MessageIcon::Exclamation);
        }
        break;
    }
    if (ok && replacesChart(loaded.kind) && !loaded.message.isEmpty())
        document.dialogs().inform(loaded.message, os::MessageIcon::Information);
    if (ok && replacesChart(loaded.kind) && loaded.kind != FileKind::Table) {
        chartdoc::TableFileWriter(document).writeTableFile(0, path,
                                                           m_context.state.tableEditorPath);
    }
    recordDataPath(path);
    // The current file names what the chart holds, so it moves only when the chart does.
    if (ok && replacesChart(loaded.kind)) {
        m_context.state.currentFile = path;
        host.chartShown(path);
    }
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
    chartdoc::ChartDocument &document = m_context.document;
    ChartView &chart = document.chart();
    const QString extension = os::PathParts::of(path).lowerExtension().trimmed().left(4);
    bool ok = false;
    if (extension == QStringLiteral(".bmp")) {
        ok = chart.ExportFile(chartview::FormatBitmap, path) == 0;
        if (ok)
            writeAccessLog(path, QStringLiteral("<save BMP>"), path);
        if (!ok)
            inform(withReason(saveFailedText(), chart.ExportError()));
        chart.clearError();
    } else {
        if (path.contains(QStringLiteral("chf"), Qt::CaseInsensitive))
            m_context.host.setWindowCaption(path);
        const os::Result saved = chartdoc::ChartSaver::save(document, path);
        ok = saved.ok();
        if (ok) {
            writeAccessLog(path, QStringLiteral("<save CHF>"), path);
            document.setCurrentFile(path);
            m_context.state.currentFile = path;
            document.markSaved();
            m_context.host.chartShown(path);
        } else {
            inform(saved.message);
        }
    }
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
    chartdoc::ChartDocument &document = m_context.document;
    bool commonX = document.table().commonX;
    const std::optional<double> regression =
        chartdoc::chartOptions(chart, mode, document.regressionOption(), commonX);
    if (mode == OptionsMode::Read) {
        document.setRegressionOption(regressionNumber(regression));
        document.table().commonX = commonX;
    }
    const QString one = QStringLiteral("1");
    document.form2().setDataFields(one, QString::number(chart.SeriesTotal()), one,
                                   QString::number(chart.PointTotal()));
}

qint16 LoadSave::regrOption() const
{
    return m_context.document.regressionOption();
}

bool LoadSave::Chart1LoadCHF(QString *reason)
{
    chartdoc::ChartDocument &document = m_context.document;
    const os::Result loaded = chartdoc::DataFileLoader(document).open(m_context.state.currentFile);
    if (!loaded.ok()) {
        if (reason)
            *reason = loaded.message;
        return false; // the caller tells the user
    }
    m_context.host.setWindowCaption(m_context.state.currentFile);
    recordDataPath(m_context.state.currentFile);
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
    chartdoc::splitBottomTitle(m_context.document.chart().TitleCaption(3), xLegend, figureTitle);
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
        QString text = chartdoc::DataFileLoader::importFailedText(error, path);
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
    m_context.state.chart2File = path;
    writeAccessLog(path, QStringLiteral("<load CHF>"), path);
}

} // namespace qel::shell
