#pragma once

#include <QString>

namespace qel::stats {

// What the regression options window (frmRegr) holds, kept apart from the widgets so the
// regression run and the tests read the same state. The window object lives on hidden
// between runs, so the choices persist; closing it with the close box forgets them.
class RegressionOptions
{
public:
    // Option1(0..2).
    enum Method { Linear = 0, FixedPoint = 1, Parabolic = 2 };

    // What a button leaves the window to do.
    enum class Closing { Hide, FocusX, FocusY };

    RegressionOptions();

    // The window's close box: the next use starts from the designed state, job 0.
    void unload();

    // Option1_Click.
    void selectMethod(int index);
    Method method() const { return m_method; }
    // Option2(0) "whole" or Option2(1) "data".
    void setWhole(bool whole) { m_whole = whole; }
    void setSeChecked(bool checked) { m_seChecked = checked; }
    void setTxtX(const QString &text) { m_txtX = text; }
    void setTxtY(const QString &text) { m_txtY = text; }
    void setDataName(const QString &name) { m_dataName = name; }

    Closing cancel();
    Closing draw();
    Closing drawText();
    Closing smooth();

    // Read by the regression run after the window has closed.
    QString lblJob() const { return m_lblJob; }
    int job() const;
    bool fixedPoint() const { return m_method == FixedPoint; }
    bool parabolic() const { return m_method == Parabolic; }
    bool whole() const { return m_whole; }
    // The check box's value, whether or not it is greyed out.
    bool seCurves() const { return m_seChecked; }
    float x0() const;
    float y0() const;

    QString txtX() const { return m_txtX; }
    QString txtY() const { return m_txtY; }
    QString dataName() const { return m_dataName; }
    bool xyEnabled() const { return m_xyEnabled; }
    bool seEnabled() const { return m_seEnabled; }

private:
    Closing closingCheck() const;

    Method m_method = Linear;
    bool m_whole = true;
    bool m_seChecked = false;
    bool m_seEnabled = true;
    bool m_xyEnabled = false;
    QString m_txtX;
    QString m_txtY;
    QString m_dataName;
    QString m_lblJob = QStringLiteral("0");
};

} // namespace qel::stats
