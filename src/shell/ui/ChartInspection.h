#pragma once

#include "chartview/ui/InspectionHost.h"
#include "os/Result.h"
#include "settings/Form2State.h"
#include "stats/RegressionFields.h"
#include "stats/RegressionOptions.h"

#include <QObject>

#include <memory>

class QLineEdit;
class QStatusBar;
class QWidget;

namespace qel::os {
class MessageWindow;
} // namespace qel::os

namespace qel::chartview {
class ChartWidget;
class PointInspector;
} // namespace qel::chartview
namespace qel::os {
class UserDialogs;
}
namespace qel::stats {
class RegressionOptionsWindow;
class StatTextViewer;
} // namespace qel::stats

namespace qel::chartdoc {
class ChartDocument;
}

namespace qel::shell {

struct ProgramState;

// The main window's side of point inspection: the series and point boxes, the regression
// options window, the statistics run with its report viewer, and the chart's font dialogue.
class ChartInspection : public QObject, public chartview::InspectionHost
{
    Q_OBJECT

public:
    struct Parts
    {
        chartview::ChartWidget &chart1;
        chartview::ChartWidget &chart2;
        QLineEdit *seriesBox; // Text1
        QLineEdit *valueBox;  // Text2
        os::MessageWindow &messages;
        os::UserDialogs &dialogs;
        ProgramState &state;
        QWidget *window;                             // parent of the dialogues
        chartdoc::ChartDocument *document = nullptr; // records the jobs' results for undo
    };

    explicit ChartInspection(const Parts &parts, QObject *parent = nullptr);
    ~ChartInspection() override;

    chartview::PointInspector &inspector() { return *m_inspector; }
    stats::RegressionFields &regressionFields() { return m_fields; }
    stats::RegressionOptions &regressionOptions() { return m_options; }

    void setPointBoxes(const QString &series, const QString &value) override;
    int askRegressionJob(const QString &dataName) override;
    chartview::AnalysisOutcome runRegressionJob(int series, int job) override;
    bool offerScatterChart() override;
    // The settings window's OK: the chart's data field takes the range boxes (dataFieldChgOk);
    // a change is one undo step. The boxes show the range as applied. False when the chart
    // kept its field; focus then names the box to correct, if one is to blame.
    bool applyDataFields(int userGroups, std::optional<settings::Form2State::Box> &focus);

    static QString scatterOnlyNote()
    {
        return QStringLiteral("分析（回帰と統計）は散布図でのみ行えます。");
    }

private:
    void chartCommand(chartview::ChartWidget &chart, qint16 code, qint32 param);
    // The status bar of the main window the charts sit in; null without one.
    QStatusBar *statusBar() const;
    // The range boxes of the document's settings are the fields the jobs use.
    void takeBoxes();
    void giveBoxes();

    Parts m_parts;
    stats::RegressionOptions m_options;
    stats::RegressionFields m_fields;
    qint16 m_colorGroupCount = 0;
    std::unique_ptr<chartview::PointInspector> m_inspector;
    std::unique_ptr<stats::RegressionOptionsWindow> m_optionsWindow;
    std::unique_ptr<stats::StatTextViewer> m_viewer;
};

} // namespace qel::shell
