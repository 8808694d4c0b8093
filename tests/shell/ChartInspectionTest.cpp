#include "shell/ChartInspection.h"

#include "chartview/CfxOcx.h"
#include "chartview/ChartWidget.h"
#include "chartview/MessageWindow.h"
#include "chartview/PointInspector.h"
#include "shell/ProgramState.h"
#include "support/FakeDialogs.h"

#include <QLineEdit>
#include <QMainWindow>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using namespace qel;
using namespace qel::chartview;

namespace {

struct SilentMessages : MessageWindow
{
    void frmMsgShow(const QString &, const QString &) override {}
    void hide() override {}
    void sendToBack() override {}
};

// The start-up chart as the program shows it: a line chart without X values.
void fillLineChart(ChartControl &chart)
{
    chart.BeginDataLoad(ChannelValues, 2, 6);
    for (int s = 0; s < 2; ++s) {
        chart.setActiveSeries(qint16(s));
        chart.setSeriesCaption(qint16(s), s == 0 ? QStringLiteral("牛") : QStringLiteral("羊"));
        for (int p = 0; p < 6; ++p)
            chart.setValueY(p, 20 + 15 * s + 8 * p);
    }
    chart.EndDataLoad(ChannelValues);
    chart.setChartType(GalleryLines | TypeShowMarkers | 0x4500u | 0x20000u);
    chart.setAxisValue(AxisYMin, 0);
    chart.setAxisValue(AxisYMax, 100);
}

struct InspectionFixture : ::testing::Test
{
    QMainWindow window;
    QWidget *central = new QWidget(&window);
    ChartWidget *chart1 = new ChartWidget(central);
    ChartWidget *chart2 = new ChartWidget(central);
    QLineEdit *text1 = new QLineEdit(central);
    QLineEdit *text2 = new QLineEdit(central);
    SilentMessages messages;
    test::FakeDialogs dialogs;
    shell::ProgramState state;
    shell::ChartInspection inspection{
        {*chart1, *chart2, text1, text2, messages, dialogs, state, &window}};

    InspectionFixture()
    {
        auto *layout = new QVBoxLayout(central);
        layout->addWidget(chart1, 1);
        layout->addWidget(text1);
        layout->addWidget(text2);
        chart2->hide();
        window.setCentralWidget(central);
        window.resize(700, 560);
        fillLineChart(chart1->chart());
        window.show();
        chart1->grab();
    }

    QPoint position(int series, int point)
    {
        const qint32 v =
            chart1->chart().ChartQuery(QueryPointPosition, MakeLong(qint16(series), qint16(point)));
        return QPoint(LowWordOf(v), (v - LowWordOf(v)) / 65536);
    }
};

} // namespace

TEST_F(InspectionFixture, TheValueBoxShowsTheValueUnderTheMouse)
{
    chart1->moveTo(position(1, 4));
    EXPECT_EQ(text1->text(), QStringLiteral("2"));
    EXPECT_EQ(text2->text(), QStringLiteral("67"));
    EXPECT_EQ(inspection.inspector().inspectedSeries(), 1);
    EXPECT_EQ(inspection.inspector().inspectedPoint(), 4);
    EXPECT_EQ(chart1->shownTip(), QStringLiteral("羊\n点 5\n値: 67"));

    chart1->moveTo(QPoint(2, 2));
    EXPECT_EQ(text1->text(), QStringLiteral("0"));
    EXPECT_TRUE(text2->text().isEmpty());
    EXPECT_EQ(inspection.inspector().inspectedPoint(), -1);
    EXPECT_TRUE(chart1->shownTip().isEmpty());
}
