#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QAbstractButton;
class QCheckBox;
class QLineEdit;
class QScrollBar;

namespace qel::chartdoc {
class ChartDocument;
}
namespace qel::chartview {
class ChartWidget;
}
namespace qel::os {
class UserDialogs;
}

namespace qel::shell {

class ChartOptionControls;
class CommandColumn;

// The view controls of the command column (SSFrame2 and Frame1) joined to what they do
// (ChartOptionControls): clicks and mouse buttons in, the chart's state back into the
// controls after every change, load, undo and redo.
class OptionPanel : public QObject
{
    Q_OBJECT

public:
    struct Parts
    {
        const CommandColumn &column;
        ChartOptionControls &options;
        chartdoc::ChartDocument &document;
        chartview::ChartWidget &chart1;
        os::UserDialogs &dialogs;
        std::function<void(const QString &)> hint; // a passing note in the status bar
        // The point the mouse last rested on (0-based), -1 for none.
        std::function<int()> inspectedPoint;
    };

    explicit OptionPanel(const Parts &parts, QObject *parent = nullptr);

    // Every control shows the chart as it now is.
    void showControls();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void connectButtons();
    void connectNumbers();
    void thickLines(int index, Qt::MouseButton button);
    void fontSize(Qt::MouseButton button);
    // A line-width or text-size button let go with a mouse button.
    void actWith(QAbstractButton *b, Qt::MouseButton button);
    void applyBox(QLineEdit *box);
    void showRotation(int running);
    // A view switch kept in the document (hide X/Y, x values written vertically).
    void switchControl(const QString &text, void (chartdoc::ChartDocument::*set)(bool), bool on);
    void eraseHidden(bool checked);
    // The point the drawings go to: the one typed into the point box, or else the one the
    // mouse last rested on (the box then shows its value).
    QString pointNumber() const;

    Parts m_parts;
    QLineEdit *m_gap;
    QLineEdit *m_depth;
    QScrollBar *m_gapBar;
    QScrollBar *m_depthBar;
    QLineEdit *m_seriesBox;
    QLineEdit *m_pointBox;
    bool m_pointTyped = false;
};

} // namespace qel::shell
