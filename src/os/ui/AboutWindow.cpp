#include "os/ui/AboutWindow.h"

#include "os/AboutInfo.h"
#include "os/AccessLog.h"
#include "os/Resources.h"

#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace qel::os {

AboutWindow::AboutWindow(const Info &info, QWidget *parent)
    : QDialog(parent)
{
    initIconResources();
    setObjectName(QStringLiteral("frmAbout"));
    const QString title = QStringLiteral("qelPro");
    setWindowTitle(title + QStringLiteral("のﾊﾞｰｼﾞｮﾝ情報"));

    auto *layout = new QGridLayout(this);
    auto *icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("picIcon"));
    icon->setPixmap(QIcon(QStringLiteral(":/icons/qelPro.svg")).pixmap(64, 64));
    layout->addWidget(icon, 0, 0, 3, 1, Qt::AlignTop);

    layout->addWidget(addLabel(QStringLiteral("lblTitle"),
                               title + QStringLiteral(" (") + info.osName + QLatin1Char(')')),
                      0, 1, 1, 2);
    layout->addWidget(
        addLabel(QStringLiteral("lblVersion"), QStringLiteral("ﾊﾞｰｼﾞｮﾝ ") + info.version), 1, 1, 1,
        2);
    QLabel *description =
        addLabel(QStringLiteral("lblDescription"),
                 QStringLiteral("qelPro is simple tool to create high grade presentation graph.\n"
                                "qelPro for Linux — Qt %1")
                     .arg(QString::fromLatin1(qVersion())));
    description->setWordWrap(true);
    layout->addWidget(description, 2, 1, 1, 2);

    const MachineLine machine =
        MachineLine::forProgramDirectory(info.programDir, info.computerName);
    layout->addWidget(addLabel(QStringLiteral("LblServer"), machine.heading), 3, 1);
    m_computer = addLabel(QStringLiteral("LblComputer"), machine.name);
    layout->addWidget(m_computer, 3, 2);
    m_accessLog = addLabel(QStringLiteral("LblAccsLog"),
                           AccessLog::open(info.programDir, machine.name).fileName());
    m_accessLog->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_accessLog, 4, 1, 1, 2);

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOk"));
    ok->setDefault(true);
    layout->addWidget(ok, 5, 2, Qt::AlignRight);
    connect(ok, &QPushButton::clicked, this, [this] {
        if (m_onOk)
            m_onOk();
        accept();
    });
}

QLabel *AboutWindow::addLabel(const QString &objectName, const QString &text)
{
    auto *label = new QLabel(text, this);
    label->setObjectName(objectName);
    return label;
}

QString AboutWindow::accessLogName() const
{
    return m_accessLog->text();
}

QString AboutWindow::machineLabel() const
{
    return m_computer->text();
}

} // namespace qel::os
