#include "stats/RegressionOptions.h"

#include "os/Useful.h"

namespace qel::stats {

namespace {

bool isNumeric(const QString &text)
{
    bool number = false;
    os::parseSingle(text, &number);
    return number;
}

} // namespace

RegressionOptions::RegressionOptions() = default;

void RegressionOptions::unload()
{
    *this = RegressionOptions();
}

void RegressionOptions::selectMethod(int index)
{
    if (index < Linear || index > Parabolic)
        return;
    m_method = Method(index);
    m_xyEnabled = m_method == FixedPoint;
    // Greyed out, not cleared: the run still reads the box.
    m_seEnabled = m_method != Parabolic;
}

int RegressionOptions::job() const
{
    return m_lblJob.toInt();
}

float RegressionOptions::x0() const
{
    return os::parseSingle(m_txtX);
}

float RegressionOptions::y0() const
{
    return os::parseSingle(m_txtY);
}

RegressionOptions::Closing RegressionOptions::cancel()
{
    m_lblJob = QStringLiteral("0");
    return Closing::Hide;
}

RegressionOptions::Closing RegressionOptions::draw()
{
    m_lblJob = QStringLiteral("1");
    return closingCheck();
}

RegressionOptions::Closing RegressionOptions::drawText()
{
    m_lblJob = QStringLiteral("2");
    return closingCheck();
}

RegressionOptions::Closing RegressionOptions::smooth()
{
    m_lblJob = QStringLiteral("77");
    return Closing::Hide;
}

RegressionOptions::Closing RegressionOptions::closingCheck() const
{
    if (m_method != FixedPoint)
        return Closing::Hide;
    if (!isNumeric(m_txtX))
        return Closing::FocusX;
    if (!isNumeric(m_txtY))
        return Closing::FocusY;
    return Closing::Hide;
}

} // namespace qel::stats
