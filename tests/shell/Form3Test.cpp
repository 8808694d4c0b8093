#include "WindowFixture.h"

#include "chartdoc/ChartDocument.h"
#include "chartview/render/ChartClipboard.h"
#include "chartview/ui/ChartWidget.h"
#include "os/Clipboard.h"
#include "shell/ui/Form3.h"
#include "support/Pictures.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>
#include <QUndoStack>

#include <gtest/gtest.h>

using namespace qel;
using namespace qel::chartview;
using shell::MainWindow;

namespace {

class KeptClipboard : public os::Clipboard
{
public:
    void setMimeData(QMimeData *data) override { kept.reset(data); }
    std::unique_ptr<QMimeData> kept;
};

struct Form3WindowFixture : test::WindowFixture
{
    KeptClipboard clipboard;

    void windowCreated() override { window->setClipboard(&clipboard); }
    Form3WindowFixture() { start(); }
    ~Form3WindowFixture() override { close(); }

    shell::Form3 &openForm3()
    {
        window->findChild<QAbstractButton *>(QStringLiteral("SSCmdGradient"))->click();
        shell::Form3 *form = window->form3();
        EXPECT_NE(form, nullptr);
        return *form;
    }
    template <typename T = QWidget> T *in(shell::Form3 &form, const char *name)
    {
        T *w = form.findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
};

} // namespace

TEST_F(Form3WindowFixture, TheStartUpChartShowsTheDesignedGradient)
{
    const BackgroundGradient g = window->chart1().backgroundGradient();
    EXPECT_EQ(g,
              (BackgroundGradient{true, GradientVertical, rgb(255, 255, 128), rgb(0, 255, 255)}));
    const QImage image = window->chartWidget1()->chart().renderImage(QSize(400, 300));
    EXPECT_EQ(image.pixelColor(1, 1), QColor(255, 255, 128));
    EXPECT_LT(image.pixelColor(1, 297).red(), 10);
    EXPECT_FALSE(window->document().isModified()) << "start-up is no change to save";
}

TEST_F(Form3WindowFixture, TheColourButtonOpensOneColourWindow)
{
    shell::Form3 &form = openForm3();
    EXPECT_EQ(form.objectName(), QStringLiteral("Form3"));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Gradient, Constant & MarkStyle"));
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(window->chart1().model().gradientOn) << "GradientOn before the window opens";
    EXPECT_TRUE(form.backgroundButton(GradientVertical)->isChecked());
    EXPECT_EQ(form.pointStyleGrid()->rowCount(), 5) << "the sample chart's five groups";
    EXPECT_TRUE(dialogs.messages.isEmpty());
    form.close();
    EXPECT_EQ(&openForm3(), &form) << "the window stays loaded";
    test::savePicture(form.grab().toImage(), QStringLiteral("form3"));
}

TEST_F(Form3WindowFixture, TheWindowsControlsChangeTheChartAndUndoTakesThemBack)
{
    shell::Form3 &form = openForm3();
    const ChartModel start = window->chart1().model();
    in<QToolButton>(form, "SSRibbon1p4")->click();
    EXPECT_EQ(window->chart1().backgroundGradient().kind, GradientBox);
    EXPECT_TRUE(form.backgroundButton(GradientBox)->isChecked());
    EXPECT_FALSE(form.backgroundButton(GradientVertical)->isChecked());

    in<QToolButton>(form, "cmdViaColor")->click();
    EXPECT_FALSE(form.seriesColorBox(2)->isHidden()) << "the via colour shows while it is on";
    in<QToolButton>(form, "cmdViaColor")->click();
    EXPECT_TRUE(form.seriesColorBox(2)->isHidden());

    // Row 2, column 3 (a triangle) of the grid, as a click on the cell.
    QTableWidget *grid = form.pointStyleGrid();
    emit grid->cellClicked(1, 3);
    EXPECT_EQ(window->chart1().MarkerStyle(1), 3);
    EXPECT_EQ(grid->item(1, 3)->text(), QStringLiteral("*"));
    EXPECT_TRUE(grid->item(1, 1)->text().isEmpty());

    QLineEdit *first = form.groupBox(0);
    first->setText(QStringLiteral("4"));
    emit first->textEdited(first->text());
    QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(3, 3), first->mapToGlobal(QPointF(3, 3)),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(first, &dbl);
    EXPECT_EQ(window->chart1().model().seriesColor(3), form.state().seriesColorBox(0));

    QUndoStack &undo = window->document().undoStack();
    EXPECT_EQ(undo.count(), 3);
    while (undo.canUndo())
        undo.undo();
    EXPECT_TRUE(window->chart1().model() == start);
    EXPECT_TRUE(form.backgroundButton(GradientVertical)->isChecked()) << "the window follows";
    EXPECT_TRUE(grid->item(1, 3)->text().isEmpty());
}

TEST_F(Form3WindowFixture, RotationSwitchesTheGradientOffInTheSameStep)
{
    shell::Form3 &form = openForm3();
    window->document().edit(QStringLiteral("回転"), [&] {
        window->document().switchGradientOff();
        window->chart1().setView3D(true);
    });
    EXPECT_FALSE(window->chart1().backgroundGradient().on);
    EXPECT_TRUE(form.backgroundButton(GradientNone)->isChecked());
    window->document().undoStack().undo();
    EXPECT_TRUE(window->chart1().backgroundGradient().on);
    EXPECT_TRUE(form.backgroundButton(GradientVertical)->isChecked());
}

TEST_F(Form3WindowFixture, CopyPutsTheChartOnTheClipboard)
{
    QAction *copy = window->findChild<QAction *>(QStringLiteral("editCopyChart"));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->shortcut(), QKeySequence(QKeySequence::Copy));
    copy->trigger();
    ASSERT_NE(clipboard.kept, nullptr);
    EXPECT_TRUE(clipboard.kept->hasFormat(ChartClipboard::pngType()));
    EXPECT_TRUE(clipboard.kept->hasFormat(ChartClipboard::svgType()));
    const QImage image = qvariant_cast<QImage>(clipboard.kept->imageData());
    EXPECT_EQ(image.size(), window->chartWidget1()->chart().viewSize() * 2);
    EXPECT_EQ(image.pixelColor(1, 1), QColor(255, 255, 128)) << "the picture on screen";
}
