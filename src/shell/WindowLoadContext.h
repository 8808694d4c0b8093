#pragma once

#include "chartdoc/TableLoadContext.h"

class QLineEdit;
class QPlainTextEdit;

namespace qel::shell {

// The loads' view of the main window: the legend box and the depth box are its widgets.
class WindowLoadContext : public chartdoc::TableLoadContext
{
public:
    WindowLoadContext(chartview::ChartView &chart, chartdoc::TableImage &table,
                      os::UserDialogs &dialogs, chartview::MessageWindow &messages,
                      settings::Form2State &form2, QPlainTextEdit &legend, QLineEdit &depth);

    QString legendText() const override;
    void setLegendText(const QString &text) override;
    QString depthText() const override;
    void setDepthText(const QString &text) override;
    void updateDepthScroll() override;

private:
    QPlainTextEdit &m_legend;
    QLineEdit &m_depth;
};

} // namespace qel::shell
