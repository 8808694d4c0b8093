#pragma once

#include <QObject>
#include <QString>

#include <array>

namespace qel::chartview {
class ChartView;
}

namespace qel::settings {

// The boxes of the settings window Form2 that the rest of the program reads and writes: the
// four title boxes and the four data-field boxes. They live here, not in the widgets, so the
// readers fill them without a window; Form2 shows and edits them. Line breaks are CR LF.
class Form2State : public QObject
{
    Q_OBJECT

public:
    enum Box { TxtTop, TxtLeft, TxtBottom, TxtRight, TxtGrp0, TxtGrp1, TxtCpg0, TxtCpg1 };
    static constexpr int BoxCount = 8;

    explicit Form2State(QObject *parent = nullptr);

    // The control's designed name ("txtTop", ...).
    static QString boxName(Box box);

    QString text(Box box) const { return m_texts[std::size_t(box)]; }
    void setText(Box box, const QString &text);

    // Regression data fields: first and last group, first and last point.
    void setDataFields(const QString &firstGroup, const QString &lastGroup,
                       const QString &firstPoint, const QString &lastPoint);

    // Form2's load: the boxes take the chart's titles (txtTop 2, txtLeft 0, txtRight 1,
    // txtBottom 3).
    void loadTitleBoxes(const chartview::ChartView &chart);
    // applyTitleBoxes: the chart's titles take the boxes; an empty box gives an empty title.
    void applyTitleBoxes(chartview::ChartView &chart) const;

    // A data-field box accepts numbers of 0 or more only.
    static bool isValidDataField(const QString &text);
    // "qelPro  " and the current file, cut to its last 28 characters after ".. ".
    static QString caption(const QString &currentFile);

signals:
    void textChanged(qel::settings::Form2State::Box box, const QString &text);

private:
    std::array<QString, BoxCount> m_texts;
};

} // namespace qel::settings
