#include "shell/ui/ChartInspection.h"

#include "chartdoc/ChartDocument.h"
#include "chartview/ui/ChartWidget.h"
#include "chartview/ui/PointInspector.h"
#include "settings/Form2State.h"
#include "shell/ProgramState.h"
#include "stats/DataField.h"
#include "stats/RegressionJob.h"
#include "stats/ui/RegressionOptionsWindow.h"
#include "stats/ui/StatTextViewer.h"

#include "os/UserDialogs.h"

#include <QFontDialog>
#include <QLineEdit>
#include <QMainWindow>
#include <QStatusBar>

namespace qel::shell {

using namespace chartview;

namespace {

QFont toQFont(const ChartFontSpec &spec)
{
    QFont font(spec.family);
    font.setPointSizeF(spec.pointSize > 0 ? spec.pointSize : 11);
    font.setBold(spec.bold);
    font.setItalic(spec.italic);
    font.setUnderline(spec.underline);
    font.setStrikeOut(spec.strikeOut);
    return font;
}

ChartFontSpec toSpec(const QFont &font, const ChartFontSpec &old)
{
    ChartFontSpec spec = old;
    spec.family = font.family();
    spec.pointSize = font.pointSizeF() > 0 ? font.pointSizeF() : old.pointSize;
    spec.bold = font.bold();
    spec.italic = font.italic();
    spec.underline = font.underline();
    spec.strikeOut = font.strikeOut();
    spec.weight = font.weight();
    return spec;
}

} // namespace

ChartInspection::ChartInspection(const Parts &parts, QObject *parent)
    : QObject(parent)
    , m_parts(parts)
    , m_inspector(std::make_unique<PointInspector>(parts.chart1, parts.chart2, *this,
                                                   parts.messages, parts.dialogs))
{
    for (ChartWidget *chart : {&parts.chart1, &parts.chart2}) {
        connect(&chart->chart(), &ChartControl::commandRequested, this,
                [this, chart](qint16 code, qint32 param) { chartCommand(*chart, code, param); });
    }
}

ChartInspection::~ChartInspection() = default;

void ChartInspection::setPointBoxes(const QString &series, const QString &value)
{
    if (m_parts.seriesBox)
        m_parts.seriesBox->setText(series);
    if (m_parts.valueBox)
        m_parts.valueBox->setText(value);
}

QStatusBar *ChartInspection::statusBar() const
{
    auto *main = qobject_cast<QMainWindow *>(m_parts.window ? m_parts.window->window() : nullptr);
    return main ? main->statusBar() : nullptr;
}

bool ChartInspection::offerScatterChart()
{
    QStatusBar *bar = statusBar();
    if (bar)
        bar->showMessage(scatterOnlyNote());
    os::MessageRequest question;
    question.text = scatterOnlyNote() + QStringLiteral("\n散布図に切り替えて分析を始めますか？");
    question.buttons = os::MessageButtons::YesNo;
    question.icon = os::MessageIcon::Question;
    question.defaultAnswer = os::MessageAnswer::Yes;
    const bool yes = m_parts.dialogs.message(question) == os::MessageAnswer::Yes;
    if (yes && bar)
        bar->showMessage(QStringLiteral("散布図に切り替えました。"));
    return yes;
}

int ChartInspection::askRegressionJob(const QString &dataName)
{
    if (!m_optionsWindow)
        m_optionsWindow = std::make_unique<stats::RegressionOptionsWindow>(
            m_options, m_parts.dialogs, m_parts.window);
    return m_optionsWindow->askJob(dataName);
}

AnalysisOutcome ChartInspection::runRegressionJob(int series, int job)
{
    ChartView &chart = m_parts.chart1.chart();
    takeBoxes();
    // Boxes never filled (no chart loaded yet) cover the whole chart.
    if (m_fields.firstGroup.isEmpty()) {
        m_fields.firstGroup = m_fields.firstPoint = QStringLiteral("1");
        m_fields.lastGroup = QString::number(chart.SeriesTotal());
        m_fields.lastPoint = QString::number(chart.PointTotal());
    }
    if (!m_viewer)
        m_viewer = std::make_unique<stats::StatTextViewer>(m_parts.window);
    stats::RegressionJob run(chart, m_parts.dialogs, m_options, m_fields,
                             m_parts.document ? m_parts.document->colorGroupCount()
                                              : m_colorGroupCount);
    run.setCurrentFile(m_parts.state.currentFile);
    run.setViewer(m_viewer.get());
    run.setMessageWindow(&m_parts.messages);
    const chartview::ChartModel before = chart.model();
    const stats::JobResult result = run.runRegressionJob(series, job);
    giveBoxes();
    if (m_parts.document)
        m_parts.document->recordEdit(
            job == 77 ? QStringLiteral("平滑化") : QStringLiteral("回帰直線"), before);
    // Only a chart that kept failing is worth another run; the user has seen every other
    // failure, and running again would ask the same questions.
    if (result.succeeded() || result.code != stats::ChartFailed)
        return {};
    return {result.code, result.message};
}

void ChartInspection::chartCommand(ChartWidget &chart, qint16 code, qint32 param)
{
    if (code != CommandFontDialog || param < 0 || param >= ChartTextCount)
        return; // the page set-up belongs to printing
    ChartControl &control = chart.chart();
    const int member = 55 + param;
    const ChartFontSpec old = control.TextFont(member);
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, toQFont(old), m_parts.window);
    if (ok)
        control.setTextFont(member, toSpec(chosen, old));
}

bool ChartInspection::applyDataFields(int userGroups,
                                      std::optional<settings::Form2State::Box> &focus)
{
    ChartView &chart = m_parts.chart1.chart();
    takeBoxes();
    const chartview::ChartModel before = chart.model();
    const os::Result applied = stats::DataField(chart, m_parts.dialogs, m_fields, &m_parts.messages)
                                   .dataFieldChgOk(userGroups);
    giveBoxes();
    if (m_parts.document && !(chart.model() == before)) {
        m_parts.document->recordEdit(QStringLiteral("データ範囲"), before);
        // The colour window and the controls follow the new groups.
        m_parts.document->controlsFollowChart();
        emit m_parts.document->chartReplaced();
    }
    using Field = stats::RegressionFields::Field;
    using Box = settings::Form2State::Box;
    focus.reset();
    if (m_fields.focus) {
        static constexpr Box boxes[] = {Box::TxtGrp0, Box::TxtGrp1, Box::TxtCpg0, Box::TxtCpg1};
        static_assert(int(Field::LastPoint) == 3);
        focus = boxes[int(*m_fields.focus)];
    }
    return applied.ok();
}

void ChartInspection::takeBoxes()
{
    if (!m_parts.document)
        return;
    using Box = settings::Form2State::Box;
    const settings::Form2State &boxes = m_parts.document->form2();
    m_fields.firstGroup = boxes.text(Box::TxtGrp0);
    m_fields.lastGroup = boxes.text(Box::TxtGrp1);
    m_fields.firstPoint = boxes.text(Box::TxtCpg0);
    m_fields.lastPoint = boxes.text(Box::TxtCpg1);
}

void ChartInspection::giveBoxes()
{
    if (m_parts.document)
        m_parts.document->form2().setDataFields(m_fields.firstGroup, m_fields.lastGroup,
                                                m_fields.firstPoint, m_fields.lastPoint);
}

} // namespace qel::shell
