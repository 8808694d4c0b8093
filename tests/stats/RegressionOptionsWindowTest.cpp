#include "stats/ui/RegressionOptionsWindow.h"

#include "support/FakeDialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <gtest/gtest.h>

using namespace qel;
using namespace qel::stats;

namespace {

struct WindowFixture : ::testing::Test
{
    qel::test::FakeDialogs dialogs;
    RegressionOptions options;
    RegressionOptionsWindow window{options, dialogs};

    template <typename T> T *control(const char16_t *name)
    {
        T *c = window.findChild<T *>(QString::fromUtf16(name));
        EXPECT_TRUE(c) << QString::fromUtf16(name).toStdString();
        return c;
    }
    QPushButton *button(const char16_t *name) { return control<QPushButton>(name); }
    QRadioButton *option1(int i)
    {
        return window.findChild<QRadioButton *>(QStringLiteral("Option1_%1").arg(i));
    }
};

} // namespace

TEST_F(WindowFixture, StartsAsLoaded)
{
    EXPECT_EQ(window.objectName(), QStringLiteral("frmRegr"));
    // Job "0", the fixed point boxes greyed out, linear and whole chosen.
    EXPECT_EQ(control<QLabel>(u"lblJob")->text(), QStringLiteral("0"));
    EXPECT_FALSE(control<QLineEdit>(u"txtX")->isEnabled());
    EXPECT_FALSE(control<QLineEdit>(u"txtY")->isEnabled());
    EXPECT_TRUE(option1(0)->isChecked());
    EXPECT_TRUE(control<QRadioButton>(u"Option2_0")->isChecked());
    EXPECT_TRUE(control<QCheckBox>(u"ChkEstimatedSE")->isEnabled());
}

TEST_F(WindowFixture, OptionClicksEnableTheirControls)
{
    auto *se = control<QCheckBox>(u"ChkEstimatedSE");
    se->click();
    option1(2)->click();
    EXPECT_FALSE(se->isEnabled());
    EXPECT_TRUE(se->isChecked()) << "greyed out, not cleared";
    EXPECT_TRUE(options.seCurves());
    option1(1)->click();
    EXPECT_TRUE(se->isEnabled());
    EXPECT_TRUE(control<QLineEdit>(u"txtX")->isEnabled());
    option1(0)->click();
    EXPECT_FALSE(control<QLineEdit>(u"txtX")->isEnabled());
    control<QRadioButton>(u"Option2_1")->click();
    EXPECT_FALSE(options.whole());
}

TEST_F(WindowFixture, AFixedPointThatIsNoNumberKeepsTheWindowOpen)
{
    window.show();
    window.activateWindow();
    QApplication::processEvents();
    option1(1)->click();
    control<QLineEdit>(u"txtX")->setText(QStringLiteral("abc"));
    control<QLineEdit>(u"txtY")->setText(QStringLiteral("2"));
    button(u"Draw")->click();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(dialogs.beeps, 1);
    EXPECT_EQ(QApplication::focusWidget(), control<QLineEdit>(u"txtX"));

    control<QLineEdit>(u"txtX")->setText(QStringLiteral("1.5"));
    control<QLineEdit>(u"txtY")->clear();
    button(u"cmdDrawText")->click();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(QApplication::focusWidget(), control<QLineEdit>(u"txtY"));

    control<QLineEdit>(u"txtY")->setText(QStringLiteral("4"));
    button(u"Draw")->click();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(options.job(), 1);
    EXPECT_EQ(options.x0(), 1.5f);
    EXPECT_EQ(options.y0(), 4.0f);
}

TEST_F(WindowFixture, AskJobShowsTheNameAndReturnsTheButtonsJob)
{
    const struct
    {
        const char16_t *button;
        int job;
    } cases[] = {{u"Draw", 1}, {u"cmdDrawText", 2}, {u"smooth", 77}, {u"cmdCancel", 0}};
    for (const auto &c : cases) {
        QString shownName;
        QTimer::singleShot(0, &window, [&] {
            shownName = control<QLabel>(u"LblDataName")->text();
            button(c.button)->click();
        });
        EXPECT_EQ(window.askJob(QStringLiteral("2: 売上")), c.job);
        EXPECT_EQ(shownName, QStringLiteral("2: 売上"));
        EXPECT_EQ(control<QLabel>(u"lblJob")->text(), QString::number(c.job));
    }
}

TEST_F(WindowFixture, TheCloseBoxForgetsTheChoices)
{
    option1(2)->click();
    QTimer::singleShot(0, &window, [&] { window.close(); });
    EXPECT_EQ(window.askJob(QStringLiteral("1: a")), 0);
    EXPECT_EQ(options.method(), RegressionOptions::Linear);
    EXPECT_TRUE(option1(0)->isChecked());

    // Smoothing closes at once even with a fixed point and empty boxes.
    option1(1)->click();
    QTimer::singleShot(0, &window, [&] { button(u"smooth")->click(); });
    EXPECT_EQ(window.askJob(QStringLiteral("1: a")), 77);
    EXPECT_EQ(dialogs.beeps, 0);
}
