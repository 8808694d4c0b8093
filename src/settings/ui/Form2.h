#pragma once

#include "settings/Form2State.h"

#include <QWidget>

#include <array>
#include <functional>
#include <optional>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QVBoxLayout;

namespace qel::chartview {
class ChartView;
}
namespace qel::os {
class UserDialogs;
}

namespace qel::settings {

// The settings window: its first tab holds the chart's title boxes and the regression
// data-field boxes, shown over a Form2State; the editor and voice choices join it later.
class Form2 : public QWidget
{
    Q_OBJECT

public:
    Form2(Form2State &state, chartview::ChartView &chart, os::UserDialogs &dialogs,
          QWidget *parent = nullptr);

    // Form_Load: the title boxes take the chart's titles.
    void load();
    // Unload: the chart takes the title boxes (applyTitleBoxes); the window closes.
    void unload();
    void setCurrentFile(const QString &path);

    // Applies the data fields (dataFieldChgOk with mode 2). False when the chart kept its
    // field; focus then names the box to correct, if one is to blame.
    using DataFieldApplier = std::function<bool(int mode, std::optional<Form2State::Box> &focus)>;
    void setDataFieldApplier(DataFieldApplier applier) { m_applyDataFields = std::move(applier); }

    // SScmdOK(0) and SScmdOK(1). OK(0) leaves the window open when the fields were refused.
    void SScmdOK_Click(int index);
    // Leaving a data-field box: anything but a number of 0 or more beeps and keeps the focus
    // there. Returns whether the text was accepted.
    bool dataFieldLeft(Form2State::Box box);

    QPlainTextEdit *titleBox(Form2State::Box box) const;
    QLineEdit *dataFieldBox(Form2State::Box box) const;
    QTabWidget *tabs() const { return m_tabs; }
    // The editor and voice choices live on the second tab.
    void addToSecondTab(QWidget *widget);
    // Shows the window on that tab, modal to the program or not, without waiting for it.
    void showOnTab(int tab, bool modal);
    QPushButton *okButton(int index) const { return m_ok[std::size_t(index & 1)]; }

signals:
    // SSCmdVersion: the about window. SScmdHistory: the access record in the text editor.
    void versionRequested();
    void historyRequested();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showState(Form2State::Box box, const QString &text);

    Form2State &m_state;
    chartview::ChartView &m_chart;
    os::UserDialogs &m_dialogs;
    QString m_currentFile;
    QTabWidget *m_tabs;
    QVBoxLayout *m_secondLayout = nullptr;
    std::array<QPlainTextEdit *, 4> m_titles{};
    std::array<QLineEdit *, 4> m_fields{};
    std::array<QPushButton *, 2> m_ok{};
    DataFieldApplier m_applyDataFields;
    bool m_updating = false;
};

} // namespace qel::settings
