#pragma once

#include "stats/RegressionOptions.h"

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace qel::os {
class UserDialogs;
}

namespace qel::stats {

// frmRegr, "Line option": the modal window in which the user picks what the regression run
// does for the series just chosen on the chart. The choices live in RegressionOptions, which
// outlasts the window; the controls only show and change them.
class RegressionOptionsWindow : public QDialog
{
    Q_OBJECT

public:
    RegressionOptionsWindow(RegressionOptions &options, os::UserDialogs &dialogs,
                            QWidget *parent = nullptr);

    // Shows the window modally for the named series; the job it closed with (0 for none).
    int askJob(const QString &dataName);

    // The control handlers, also called by the tests.
    void Option1_Click(int index);
    void Draw_Click();
    void cmdDrawText_Click();
    void smooth_Click();
    void cmdCancel_Click();

protected:
    // The close box (and Escape): the window forgets its choices, so no job runs.
    void reject() override;

private:
    void build();
    void showState();
    void takeTexts();
    void finish(RegressionOptions::Closing closing);

    RegressionOptions &m_options;
    os::UserDialogs &m_dialogs;
    QRadioButton *m_option1[3] = {};
    QRadioButton *m_option2[2] = {};
    QCheckBox *m_chkEstimatedSE = nullptr;
    QLineEdit *m_txtX = nullptr;
    QLineEdit *m_txtY = nullptr;
    QLabel *m_lblDataName = nullptr;
    QLabel *m_lblJob = nullptr;
};

} // namespace qel::stats
