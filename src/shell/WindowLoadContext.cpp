#include "shell/WindowLoadContext.h"

#include "chartview/ChartView.h"

#include <QLineEdit>
#include <QPlainTextEdit>

namespace qel::shell {

WindowLoadContext::WindowLoadContext(chartview::ChartView &chart, chartdoc::TableImage &table,
                                     os::UserDialogs &dialogs, chartview::MessageWindow &messages,
                                     settings::Form2State &form2, QPlainTextEdit &legend,
                                     QLineEdit &depth)
    : TableLoadContext(chart, table, dialogs, messages, form2)
    , m_legend(legend)
    , m_depth(depth)
{}

QString WindowLoadContext::legendText() const
{
    QString text = m_legend.toPlainText();
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return text;
}

void WindowLoadContext::setLegendText(const QString &text)
{
    QString plain = text;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_legend.setPlainText(plain);
}

QString WindowLoadContext::depthText() const
{
    return m_depth.text();
}

void WindowLoadContext::setDepthText(const QString &text)
{
    m_depth.setText(text);
}

void WindowLoadContext::updateDepthScroll()
{
    m_depth.setText(QString::number(chart().Depth3D()));
}

} // namespace qel::shell
