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
    void applyBox(QLineEdit *box);
    void showRotation(int running);
    // A view switch kept in the document (hide X/Y, x values written vertically).
    void switchControl(const QString &text, void (chartdoc::ChartDocument::*set)(bool), bool on);
    void eraseHidden(bool checked);

    Parts m_parts;
    QLineEdit *m_gap;
    QLineEdit *m_depth;
    QScrollBar *m_gapBar;
    QScrollBar *m_depthBar;
    QLineEdit *m_seriesBox;
    QLineEdit *m_pointBox;
};

} // namespace qel::shell
