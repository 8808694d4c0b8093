#include "settings/Form2State.h"

#include "chartview/ChartView.h"
#include "os/Useful.h"

namespace qel::settings {

Form2State::Form2State(QObject *parent)
    : QObject(parent)
{}

QString Form2State::boxName(Box box)
{
    switch (box) {
    case TxtTop:
        return QStringLiteral("txtTop");
    case TxtLeft:
        return QStringLiteral("txtLeft");
    case TxtBottom:
        return QStringLiteral("txtBottom");
    case TxtRight:
        return QStringLiteral("txtRight");
    case TxtGrp0:
        return QStringLiteral("txtGrp0");
    case TxtGrp1:
        return QStringLiteral("txtGrp1");
    case TxtCpg0:
        return QStringLiteral("txtCpg0");
    case TxtCpg1:
        return QStringLiteral("txtCpg1");
    }
    return {};
}

void Form2State::setText(Box box, const QString &text)
{
    QString &slot = m_texts[std::size_t(box)];
    if (slot == text)
        return;
    slot = text;
    emit textChanged(box, text);
}

void Form2State::setDataFields(const QString &firstGroup, const QString &lastGroup,
                               const QString &firstPoint, const QString &lastPoint)
{
    setText(TxtGrp0, firstGroup);
    setText(TxtGrp1, lastGroup);
    setText(TxtCpg0, firstPoint);
    setText(TxtCpg1, lastPoint);
}

void Form2State::loadTitleBoxes(const chartview::ChartView &chart)
{
    setText(TxtTop, chart.TitleCaption(2));
    setText(TxtLeft, chart.TitleCaption(0));
    setText(TxtRight, chart.TitleCaption(1));
    setText(TxtBottom, chart.TitleCaption(3));
}

void Form2State::applyTitleBoxes(chartview::ChartView &chart) const
{
    chart.setTitleCaption(2, text(TxtTop));
    chart.setTitleCaption(0, text(TxtLeft));
    chart.setTitleCaption(1, text(TxtRight));
    chart.setTitleCaption(3, text(TxtBottom));
}

bool Form2State::isValidDataField(const QString &text)
{
    bool isNumber = false;
    const float v = os::parseSingle(text, &isNumber);
    return isNumber && v >= 0;
}

QString Form2State::caption(const QString &currentFile)
{
    if (currentFile.size() > 28)
        return QStringLiteral("qelPro  .. ") + currentFile.right(28);
    return QStringLiteral("qelPro  ") + currentFile;
}

} // namespace qel::settings
