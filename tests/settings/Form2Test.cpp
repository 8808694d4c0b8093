#include "settings/ui/Form2.h"

#include "chartview/render/ChartControl.h"
#include "support/FakeDialogs.h"
#include "support/Pictures.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qel;
using qel::settings::Form2;
using qel::settings::Form2State;

TEST(Form2State, CaptionAndDataFieldRules)
{
    EXPECT_EQ(Form2State::caption(QStringLiteral("/d/a.chf")), QStringLiteral("qelPro  /d/a.chf"));
    const QString longPath = QStringLiteral("/home/user/charts/2026/meat/a.chf");
    EXPECT_EQ(Form2State::caption(longPath), QStringLiteral("qelPro  .. ") + longPath.right(28));
    EXPECT_TRUE(Form2State::isValidDataField(QStringLiteral("0")));
    EXPECT_TRUE(Form2State::isValidDataField(QStringLiteral(" 12 ")));
    EXPECT_FALSE(Form2State::isValidDataField(QStringLiteral("-1")));
    EXPECT_FALSE(Form2State::isValidDataField(QStringLiteral("abc")));
    EXPECT_FALSE(Form2State::isValidDataField(QString()));
}

TEST(Form2, ShowsTheStateAndAppliesTitleBoxesOnOk)
{
    chartview::ChartControl chart;
    chart.BeginDataLoad(chartview::ChannelValues, 2, 3);
    chart.setTitleCaption(0, QStringLiteral("左\r\n"));
    chart.setTitleCaption(3, QStringLiteral("X\r\n\r\n図"));
    Form2State state;
    test::FakeDialogs dialogs;
    Form2 form(state, chart, dialogs);
    form.show();
    EXPECT_EQ(form.objectName(), QStringLiteral("Form2"));
    EXPECT_EQ(form.tabs()->objectName(), QStringLiteral("SSTab1"));
    EXPECT_EQ(form.titleBox(Form2State::TxtLeft)->toPlainText(), QStringLiteral("左\n"))
        << "the window's load takes the chart's titles";
    EXPECT_EQ(form.titleBox(Form2State::TxtBottom)->objectName(), QStringLiteral("txtBottom"));

    // The core writes the state; the window follows.
    state.setText(Form2State::TxtTop, QStringLiteral("上の題"));
    state.setDataFields(QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("1"),
                        QStringLiteral("3"));
    EXPECT_EQ(form.titleBox(Form2State::TxtTop)->toPlainText(), QStringLiteral("上の題"));
    EXPECT_EQ(form.dataFieldBox(Form2State::TxtCpg1)->text(), QStringLiteral("3"));

    // The user edits a box; the state keeps CR LF.
    form.titleBox(Form2State::TxtRight)->setPlainText(QStringLiteral("右\n二行"));
    EXPECT_EQ(state.text(Form2State::TxtRight), QStringLiteral("右\r\n二行"));

    test::savePicture(form.grab().toImage(), QStringLiteral("form2"));

    int dataFieldRequests = 0;
    form.setDataFieldApplier([&](int mode, std::optional<Form2State::Box> &) {
        EXPECT_EQ(mode, 2);
        return ++dataFieldRequests > 1;
    });
    form.tabs()->setCurrentIndex(1);
    form.okButton(1)->click();
    EXPECT_EQ(form.tabs()->currentIndex(), 0);
    form.okButton(0)->click();
    EXPECT_TRUE(form.isVisible()) << "fields the chart refused keep the window open";
    form.okButton(0)->click();
    EXPECT_EQ(dataFieldRequests, 2);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(chart.TitleCaption(2), QStringLiteral("上の題"));
    EXPECT_EQ(chart.TitleCaption(1), QStringLiteral("右\r\n二行"));
    EXPECT_EQ(chart.SecondYAxis(0), 1) << "a right title puts series 1 on the second axis";

    form.show();
    form.titleBox(Form2State::TxtRight)->setPlainText(QStringLiteral("\n"));
    form.SScmdOK_Click(0);
    EXPECT_EQ(chart.SecondYAxis(0), -1);
}

TEST(Form2, DataFieldBoxesRefuseNegativeAndNonNumbers)
{
    chartview::ChartControl chart;
    Form2State state;
    test::FakeDialogs dialogs;
    Form2 form(state, chart, dialogs);
    form.show();
    QLineEdit *box = form.dataFieldBox(Form2State::TxtGrp0);
    box->setText(QStringLiteral("-2"));
    EXPECT_FALSE(form.dataFieldLeft(Form2State::TxtGrp0));
    EXPECT_EQ(dialogs.beeps, 1);
    box->setText(QStringLiteral("2"));
    EXPECT_TRUE(form.dataFieldLeft(Form2State::TxtGrp0));
    EXPECT_EQ(dialogs.beeps, 1);
}
