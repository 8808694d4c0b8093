#pragma once

#include "chartview/ChartModel.h"
#include "chartview/SeriesColors.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <array>
#include <vector>

namespace qel::chartdoc {
class ChartDocument;
}

namespace qel::shell {

// The colour window Form3 ("Gradient, Constant & MarkStyle") without its widgets: the background
// buttons, the gradient and series colour boxes, the group range, the constants and bands, and
// the point-style grid. Every change of the chart is one undoable step of the document.
class Form3State : public QObject
{
    Q_OBJECT

public:
    static constexpr int Rows = 4; // constant rows "Const 1"-"Const 4" and band rows
    static constexpr int GridColumns = 7;
    // LayoutBits written when the constants are removed.
    static constexpr quint32 ConstantsRemovedLayout = 1024;

    struct ConstantRow
    {
        QString value;   // constVal
        QString caption; // constStr
    };
    struct BandRow
    {
        QString from;             // from
        QString till;             // till
        chartview::Rgb color = 0; // constCol
    };
    // One row of fgPointStyle: the series' text, the column holding "*" (1-5) and its axis.
    struct PointStyleRow
    {
        QString text;
        int styleColumn = 5;
        bool secondY = false;
    };

    explicit Form3State(chartdoc::ChartDocument &document, QObject *parent = nullptr);

    static QString title() { return QStringLiteral("Gradient, Constant & MarkStyle"); }
    // The grid's format string and its column headings.
    static QString gridFormat()
    {
        return QStringLiteral("<# Ser.Legend          |□|○|△|◎|)(|<2ndY ");
    }
    static QStringList gridHeadings();

    void setRandom(chartview::RandomFraction random) { m_random = std::move(random); }

    // Form_Load and the refresh after a load: the group range covers the user's groups.
    void load();

    // Background buttons: SSRibbon0 (kind 0, one colour), SSRibbon1p1, SSRibbon1p2, SSRibbon1p4.
    void SSRibbon_Click(int kind);
    // Picture1 / Picture2 (which 1 or 2): the colour dialogue for a gradient colour.
    void Picture_Click(int which);
    chartview::BackgroundGradient gradient() const;

    // PictureSerColor(index 0-2): the first, second and via colour of the ramp.
    chartview::Rgb seriesColorBox(int index) const { return m_serColor[std::size_t(index)]; }
    void PictureSerColor_Click(int index);
    void cmdViaColor_Click();
    bool viaColorOn() const { return m_viaOn; }
    void cmdRnd_Click();
    void CmdSerColor_Click();
    // colGrp0 (index 0) and colGrp1 (index 1).
    QString groupText(int index) const { return m_group[std::size_t(index)]; }
    void setGroupText(int index, const QString &text);
    // Leaving a group box: both within 1 to the colour group count, the first not the larger.
    void colGrp_LostFocus();
    void colGrp0_DblClick();

    ConstantRow constantRow(int row) const { return m_constants[std::size_t(row)]; }
    void setConstantRow(int row, const ConstantRow &value);
    BandRow bandRow(int row) const { return m_bands[std::size_t(row)]; }
    void setBandRow(int row, const BandRow &value);
    void constCol_Click(int row);
    // Draw/Cancel: the first click draws the constants and bands, the next removes them.
    void Command1_Click();
    bool constantsDrawn() const { return m_drawn; }

    std::vector<PointStyleRow> pointStyleRows() const;
    // A click in the grid: row 1 is the first series, columns 1-5 the marker, 6 the axis.
    void fgPointStyle_Click(int row, int column);

    // The colour dialogue: the chosen colour, or `initial` when it was cancelled.
    chartview::Rgb getColor(chartview::Rgb initial);
    // The group range the ramp uses: both clamped to the user's groups, in order, the last at
    // most 255.
    std::pair<int, int> groupRange() const;

signals:
    // Something the window shows changed: the boxes, the grid or the chart behind them.
    void changed();

private:
    void chartReplaced();
    void drawConstants();
    void removeConstants();
    void drawStripe(int index, const QString &from, const QString &till, chartview::Rgb color);
    int groupNumber(int index) const;

    chartdoc::ChartDocument &m_document;
    chartview::RandomFraction m_random;
    std::array<chartview::Rgb, 3> m_serColor;
    bool m_viaOn = false;
    std::array<QString, 2> m_group;
    int m_groupsShown = 0; // the user's groups when the range was last set
    std::array<ConstantRow, Rows> m_constants;
    std::array<BandRow, Rows> m_bands;
    bool m_drawn = false;
};

} // namespace qel::shell
