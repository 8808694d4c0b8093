#include "stats/ui/RegressionOptionsWindow.h"

#include "os/UserDialogs.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace qel::stats {

namespace {

QPushButton *button(QWidget *parent, const char16_t *name, const char16_t *caption,
                    const char16_t *tip = nullptr)
{
    auto *b = new QPushButton(QString::fromUtf16(caption), parent);
    b->setObjectName(QString::fromUtf16(name));
    b->setAutoDefault(false);
    if (tip)
        b->setToolTip(QString::fromUtf16(tip));
    return b;
}

} // namespace

RegressionOptionsWindow::RegressionOptionsWindow(RegressionOptions &options,
                                                 os::UserDialogs &dialogs, QWidget *parent)
    : QDialog(parent)
    , m_options(options)
    , m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("frmRegr"));
    setWindowTitle(QStringLiteral("Line option"));
    setModal(true);
    build();
    showState();
}

void RegressionOptionsWindow::build()
{
    auto *top = new QVBoxLayout(this);

    m_lblDataName = new QLabel(QStringLiteral("Data Name"), this);
    m_lblDataName->setObjectName(QStringLiteral("LblDataName"));
    top->addWidget(m_lblDataName);

    const char16_t *methods[] = {u"Liner regression", u"Fixed point", u"Parabolic regression"};
    auto *fixedRow = new QGridLayout;
    for (int i = 0; i < 3; ++i) {
        m_option1[i] = new QRadioButton(QString::fromUtf16(methods[i]), this);
        m_option1[i]->setObjectName(QStringLiteral("Option1_%1").arg(i));
        connect(m_option1[i], &QRadioButton::clicked, this, [this, i] { Option1_Click(i); });
    }
    m_txtX = new QLineEdit(this);
    m_txtX->setObjectName(QStringLiteral("txtX"));
    m_txtY = new QLineEdit(this);
    m_txtY->setObjectName(QStringLiteral("txtY"));
    for (QLineEdit *e : {m_txtX, m_txtY}) {
        e->setMaximumWidth(80);
        connect(e, &QLineEdit::textEdited, this, [this] { takeTexts(); });
    }
    fixedRow->addWidget(m_option1[0], 0, 0, 1, 3);
    fixedRow->addWidget(m_option1[1], 1, 0);
    fixedRow->addWidget(m_txtX, 1, 1);
    fixedRow->addWidget(m_txtY, 1, 2);
    fixedRow->addWidget(m_option1[2], 2, 0, 1, 3);
    top->addLayout(fixedRow);

    auto *frame = new QGroupBox(QStringLiteral("Field"), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    auto *frameRow = new QHBoxLayout(frame);
    const char16_t *ranges[] = {u"whole", u"data"};
    for (int i = 0; i < 2; ++i) {
        m_option2[i] = new QRadioButton(QString::fromUtf16(ranges[i]), frame);
        m_option2[i]->setObjectName(QStringLiteral("Option2_%1").arg(i));
        frameRow->addWidget(m_option2[i]);
        connect(m_option2[i], &QRadioButton::clicked, this, [this, i] {
            m_options.setWhole(i == 0);
            showState();
        });
    }
    top->addWidget(frame);

    m_chkEstimatedSE = new QCheckBox(QStringLiteral("SEy and SE(line)  curves  on x field"), this);
    m_chkEstimatedSE->setObjectName(QStringLiteral("ChkEstimatedSE"));
    connect(m_chkEstimatedSE, &QCheckBox::clicked, this,
            [this](bool on) { m_options.setSeChecked(on); });
    top->addWidget(m_chkEstimatedSE);

    auto *buttons = new QGridLayout;
    QPushButton *draw = button(this, u"Draw", u"Draw regression", u"回帰線を描く");
    QPushButton *drawText =
        button(this, u"cmdDrawText", u"Draw and Text", u"回帰線を描き統計処理の記録");
    QPushButton *smooth = button(this, u"smooth", u"Smoothing", u"媒介変数方式平滑化");
    QPushButton *cancel = button(this, u"cmdCancel", u"Cancel");
    connect(draw, &QPushButton::clicked, this, &RegressionOptionsWindow::Draw_Click);
    connect(drawText, &QPushButton::clicked, this, &RegressionOptionsWindow::cmdDrawText_Click);
    connect(smooth, &QPushButton::clicked, this, &RegressionOptionsWindow::smooth_Click);
    connect(cancel, &QPushButton::clicked, this, &RegressionOptionsWindow::cmdCancel_Click);
    buttons->addWidget(draw, 0, 0);
    buttons->addWidget(drawText, 0, 1);
    buttons->addWidget(smooth, 1, 0);
    buttons->addWidget(cancel, 1, 1);
    top->addLayout(buttons);

    m_lblJob = new QLabel(QStringLiteral("Job 0-2"), this);
    m_lblJob->setObjectName(QStringLiteral("lblJob"));
    top->addWidget(m_lblJob);
}

void RegressionOptionsWindow::showState()
{
    m_option1[m_options.method()]->setChecked(true);
    m_option2[m_options.whole() ? 0 : 1]->setChecked(true);
    m_chkEstimatedSE->setChecked(m_options.seCurves());
    m_chkEstimatedSE->setEnabled(m_options.seEnabled());
    m_txtX->setEnabled(m_options.xyEnabled());
    m_txtY->setEnabled(m_options.xyEnabled());
    if (m_txtX->text() != m_options.txtX())
        m_txtX->setText(m_options.txtX());
    if (m_txtY->text() != m_options.txtY())
        m_txtY->setText(m_options.txtY());
    m_lblDataName->setText(m_options.dataName().isEmpty() ? QStringLiteral("Data Name")
                                                          : m_options.dataName());
    m_lblJob->setText(m_options.lblJob());
}

void RegressionOptionsWindow::takeTexts()
{
    m_options.setTxtX(m_txtX->text());
    m_options.setTxtY(m_txtY->text());
}

int RegressionOptionsWindow::askJob(const QString &dataName)
{
    m_options.setDataName(dataName);
    showState();
    exec();
    return m_options.job();
}

void RegressionOptionsWindow::Option1_Click(int index)
{
    m_options.selectMethod(index);
    showState();
}

void RegressionOptionsWindow::finish(RegressionOptions::Closing closing)
{
    showState();
    switch (closing) {
    case RegressionOptions::Closing::Hide:
        done(QDialog::Accepted);
        break;
    case RegressionOptions::Closing::FocusX:
        m_dialogs.beep();
        m_txtX->setFocus();
        break;
    case RegressionOptions::Closing::FocusY:
        m_dialogs.beep();
        m_txtY->setFocus();
        break;
    }
}

void RegressionOptionsWindow::Draw_Click()
{
    takeTexts();
    finish(m_options.draw());
}

void RegressionOptionsWindow::cmdDrawText_Click()
{
    takeTexts();
    finish(m_options.drawText());
}

void RegressionOptionsWindow::smooth_Click()
{
    finish(m_options.smooth());
}

void RegressionOptionsWindow::cmdCancel_Click()
{
    finish(m_options.cancel());
}

void RegressionOptionsWindow::reject()
{
    m_options.unload();
    showState();
    QDialog::reject();
}

} // namespace qel::stats
