#pragma once

#include "chartdoc/ChartOptions.h"
#include "chartdoc/DataFileLoader.h"

#include <QString>
#include <QStringList>

namespace qel::chartdoc {
class ChartDocument;
}
namespace qel::chartview {
class ChartView;
}

namespace qel::shell {

class StartupSettings;
struct ProgramState;

// What opening and saving ask of the main window; tests stand in for it.
class LoadSaveHost
{
public:
    virtual ~LoadSaveHost() = default;

    virtual void setWindowCaption(const QString &path) = 0;
    // The chart now holds what path names (loaded or saved): the table editor follows it.
    virtual void chartShown(const QString &path) { Q_UNUSED(path); }
    // jpgShow: the picture viewer shows the file; false when it could not be loaded.
    virtual bool jpgShow(const QString &path) = 0;
    // Why the last jpgShow could not show its picture (file and reason); empty when unknown.
    virtual QString pictureError() const { return QString(); }
    // multSlideShow of the slide window: mode 0 plays the script source, mode 1 the
    // selection list (first line the folder, then one file name a line).
    virtual void multSlideShow(const QString &folder, QString &source, int mode) = 0;
    // The speech engine window, for the special chart "tqzwarb.chf".
    virtual void showSpeechEngine() = 0;
    virtual bool chart2Visible() const = 0;
    // The recent list (0 adds the file).
    virtual void setComboAccessFile(int mode, const QString &path) = 0;
    // The access log named by the version window.
    virtual QString accessLogName() = 0;
};

// loadSave and what belongs to it: the file dialogues, the chart-option step, Chart1LoadCHF,
// the access log and both charts' file commands.
class LoadSave
{
public:
    struct Context
    {
        ProgramState &state;
        StartupSettings &settings;
        chartdoc::ChartDocument &document; // Chart1, the table image, Form2's boxes, dialogues
        chartview::ChartView &chart2;
        LoadSaveHost &host;
    };

    explicit LoadSave(const Context &context);

    // Mode 0 opens, mode 1 saves; an empty path asks with a dialogue and comes back with the
    // chosen one. A file that could not be read or written leaves path empty. Returns success.
    bool loadSave(int mode, QString &path);

    // The dialogue of kind ("loadqel", "loadqel2", "saveqel", "saveqel2", or a pattern for any
    // other); the chosen files, empty after cancel.
    QStringList fileDialog(const QString &kind, const QString &path = QString(),
                           const QString &pattern = QString());

    // Imports currentFile into Chart1; on success reads its options and records its folder.
    // Returns whether the chart was imported; reason then says why not.
    bool Chart1LoadCHF(QString *reason = nullptr);

    // Before the chart is replaced or the program ends: unsaved changes are saved, dropped or
    // kept as the user answers (保存 / 保存しない / キャンセル). Returns whether to go on.
    bool maySetChartAside();

    // Titles and options of a chart file just imported (Read) or about to be saved (Write).
    void chartOptionStep(chartview::ChartView &chart, chartdoc::OptionsMode mode,
                         const QString &path);

    // The record for tag in the access log; listPath goes to the top of the recent list.
    void writeAccessLog(const QString &path, const QString &tag, const QString &listPath);

    // The chart tool bars' file commands (the numbers the chart widget reports).
    static constexpr int ToolSave = 29701;
    static constexpr int ToolOpen = 29702;
    // The chart tool bars' file commands (chart 1 or 2); returns whether it was one of them.
    bool chartCommand(int chart, int command);
    void chart2Save();
    void chart2Open();

    QString lastChartDirectory() const { return m_lastChartDirectory; }
    QString lastChartBaseName() const { return m_lastChartBaseName; }
    qint16 regrOption() const;
    LoadSaveHost &host() const { return m_context.host; }
    StartupSettings &settings() const { return m_context.settings; }

    static QString cancelText() { return QStringLiteral("キャンセルが選択されました。"); }
    static QString saveFailedText() { return QStringLiteral("記録できませんでした。"); }
    static QString unsavedChangesText(const QString &file);
    static QString unreadableText(const QString &name)
    {
        return name + QStringLiteral(" が読めません。");
    }
    static QString emptyFileText(const QString &name)
    {
        return name + QStringLiteral(" 情報(データ）がありません。");
    }
    // The selection list handed to the slide show for several chosen files.
    static QString selectionList(const QStringList &files);

private:
    bool open(QString &path);
    bool save(QString &path);
    void recordDataPath(const QString &path);
    void inform(const QString &text);

    static bool replacesChart(chartdoc::FileKind kind);

    Context m_context;
    QString m_lastChartDirectory;
    QString m_lastChartBaseName;
    // Chart2's own options, kept while its right title shows only the visible text.
    qint16 m_chart2Regression = 0;
    bool m_chart2CommonX = false;
};

} // namespace qel::shell
