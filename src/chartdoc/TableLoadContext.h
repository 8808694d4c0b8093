#pragma once

#include <QString>

namespace qel::chartview {
class ChartView;
class MessageWindow;
} // namespace qel::chartview

namespace qel::os {
class UserDialogs;
}

namespace qel::settings {
class Form2State;
}

namespace qel::chartdoc {

struct TableImage;

// Everything a table or legacy load reaches besides the file: the working chart Chart1, the
// program-wide table image, the settings window's boxes, the progress window frmMsg, the
// message boxes, and the main window's controls that the load reads and sets.
//
// The controls are mirrored here. The defaults keep their state and do what the control's
// click handler does to the chart; the main window overrides them to move its widgets
// instead (without running those handlers a second time).
class TableLoadContext
{
public:
    TableLoadContext(chartview::ChartView &chart, TableImage &table, os::UserDialogs &dialogs,
                     chartview::MessageWindow &messages, settings::Form2State &form2);
    virtual ~TableLoadContext();

    chartview::ChartView &chart() const { return m_chart; }
    TableImage &table() const { return m_table; }
    os::UserDialogs &dialogs() const { return m_dialogs; }
    chartview::MessageWindow &messageWindow() const { return m_messages; }
    settings::Form2State &form2() const { return m_form2; }

    // SSChkHidden ("Erase hidden"): its value and whether it is available.
    virtual bool hiddenChecked() const { return m_hiddenChecked; }
    virtual void setHiddenChecked(bool on) { m_hiddenChecked = on; }
    virtual bool hiddenEnabled() const { return m_hiddenEnabled; }
    virtual void setHiddenEnabled(bool on) { m_hiddenEnabled = on; }

    // SSCheck_CL_HIDEXLEG, SSCheck_CL_HIDEYLEG and SSRibbon3: AxisBits 0x4, 0x20 and 0x80.
    virtual bool hideXLegend() const { return m_hideXLegend; }
    virtual void setHideXLegend(bool on);
    virtual bool hideYLegend() const { return m_hideYLegend; }
    virtual void setHideYLegend(bool on);
    virtual bool ribbon3() const { return m_ribbon3; }
    virtual void setRibbon3(bool down);

    // VScroll1 and VScroll2 (with their boxes xGapText and depthText) take the chart's
    // PointGap and Depth3D.
    virtual void updateGapScroll();
    virtual void updateDepthScroll();
    virtual QString depthText() const { return m_depthText; }
    virtual void setDepthText(const QString &text) { m_depthText = text; }
    virtual QString gapText() const { return m_gapText; }
    // depthText_DblClick: the depth box, clamped to 0..999, becomes the chart's Depth3D.
    virtual void depthText_DblClick();

    // txtLegend, the file legend under the chart (line breaks CR LF).
    virtual QString legendText() const { return m_legend; }
    virtual void setLegendText(const QString &text) { m_legend = text; }

    // The settings window's spreadsheet buttons follow a table file just written (Part of
    // the spreadsheet hand-over; nothing to do without that window).
    virtual void tableFileWritten(const QString &path);

private:
    chartview::ChartView &m_chart;
    TableImage &m_table;
    os::UserDialogs &m_dialogs;
    chartview::MessageWindow &m_messages;
    settings::Form2State &m_form2;

    bool m_hiddenChecked = false;
    bool m_hiddenEnabled = false;
    bool m_hideXLegend = false;
    bool m_hideYLegend = false;
    bool m_ribbon3 = false;
    QString m_depthText;
    QString m_gapText;
    QString m_legend;
};

} // namespace qel::chartdoc
