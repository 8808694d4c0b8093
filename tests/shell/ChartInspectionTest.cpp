#include "shell/ui/ChartInspection.h"

#include "chartview/CfxOcx.h"
#include "chartview/ui/ChartWidget.h"
#include "chartview/ui/PointInspector.h"
#include "shell/ProgramState.h"
#include "stats/ui/RegressionOptionsWindow.h"
#include "support/ChartFill.h"
#include "support/FakeDialogs.h"
#include "support/FakeMessageWindow.h"

#include <QApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using namespace qel;
using namespace qel::chartview;

namespace {

// The start-up chart as the program shows it: a line chart without X values.
void fillLineChart(ChartControl &chart)
{
    test::fillChart(chart, 2, 6, [](int s, int p) { return 20 + 15 * s + 8 * p; });
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
    test::FakeMessageWindow messages;
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
        return test::pointPosition(chart1->chart(), series, point);
    }
};

} // namespace

TEST_F(InspectionFixture, AnalysisOnALineChartIsExplainedAndTheSwitchOffered)
{
    const struct
    {
        const char *name;
        os::MessageAnswer answer;
        quint32 gallery;
        QString status;
    } rows[] = {
        {"declined", os::MessageAnswer::No, GalleryLines,
         shell::ChartInspection::scatterOnlyNote()},
        {"accepted", os::MessageAnswer::Yes, GalleryScatter,
         QStringLiteral("散布図に切り替えました。")},
    };
    for (const auto &row : rows) {
        chart1->chart().setChartType(GalleryLines | TypeShowMarkers);
        chart1->grab();
        dialogs.messages.clear();
        dialogs.answers = {row.answer};
        bool optionsShown = false;
        // The regression options window is modal: note it and close it.
        QTimer::singleShot(0, [&] {
            if (auto *w = qobject_cast<stats::RegressionOptionsWindow *>(
                    QApplication::activeModalWidget())) {
                optionsShown = true;
                w->close();
            }
        });
        chart1->doubleClickAt(position(1, 2));

        ASSERT_EQ(dialogs.messages.size(), 1) << row.name;
        const os::MessageRequest &q = dialogs.messages[0];
        EXPECT_TRUE(q.text.contains(QStringLiteral("散布図"))) << row.name;
        EXPECT_EQ(q.buttons, os::MessageButtons::YesNo) << row.name;
        EXPECT_EQ(q.icon, os::MessageIcon::Question) << row.name;
        EXPECT_EQ(window.statusBar()->currentMessage(), row.status) << row.name;
        EXPECT_EQ(chart1->chart().model().gallery(), row.gallery) << row.name;
        EXPECT_EQ(optionsShown, row.answer == os::MessageAnswer::Yes) << row.name;
        QCoreApplication::processEvents(); // a timer left from the declined row
    }
}

TEST_F(InspectionFixture, TheValueBoxShowsTheValueUnderTheMouse)
{
    chart1->moveTo(position(1, 4));
    EXPECT_EQ(text1->text(), QStringLiteral("2"));
    EXPECT_EQ(text2->text(), QStringLiteral("67"));
    EXPECT_EQ(inspection.inspector().inspectedSeries(), 1);
    EXPECT_EQ(inspection.inspector().inspectedPoint(), 4);
    EXPECT_EQ(chart1->shownTip(), QStringLiteral("G2\n点 5\n値: 67"));

    chart1->moveTo(QPoint(2, 2));
    EXPECT_EQ(text1->text(), QStringLiteral("0"));
    EXPECT_TRUE(text2->text().isEmpty());
    EXPECT_EQ(inspection.inspector().inspectedPoint(), -1);
    EXPECT_TRUE(chart1->shownTip().isEmpty());
}
