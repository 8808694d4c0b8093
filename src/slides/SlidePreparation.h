#pragma once

#include "os/Result.h"

#include <QImage>
#include <QRect>
#include <QString>

#include <functional>

class QPainter;

namespace qel::chartview {
class ChartView;
}

namespace qel::slides {

// Reads a picture file into memory: the program's picture loader.
using PictureLoader = std::function<os::Result(const QString &path, QImage &image)>;
// Loads a chart file into the chart the slides are drawn from, through the program's one load
// routine; the message names the file and says why when it fails.
using ChartLoader = std::function<os::Result(const QString &path)>;

// One slide made ready: a chart loaded into the chart, or a picture read into memory.
struct PreparedSlide
{
    enum class Kind { Chart, Picture };

    Kind kind = Kind::Chart;
    QString file; // the entry as the script or the selection names it
    QString path; // where it was looked for
    os::Result loaded;
    QImage picture;      // a picture slide's picture
    QString description; // for the generated script: "JPG file" or the chart's figure title

    bool ok() const { return loaded.ok(); }
};

// Prepares slides and draws them, for the player and for a show exported to PDF alike, so a
// slide looks the same on the screen and on paper.
class SlidePreparation
{
public:
    SlidePreparation(chartview::ChartView &chart, ChartLoader loadChart, PictureLoader loadPicture);

    // A picture slide: the name's last four characters are ".jpg" in any case.
    static bool isPicture(const QString &file);
    // The file of an entry: relative to folder, found without regard to case.
    static QString fullPath(const QString &folder, const QString &file);
    // The designed message for a chart slide that could not be loaded: the entry, then
    // "読み込みできませんでした。dir= N chrs" with the length of the full path.
    static QString failureText(const QString &file, const QString &path);
    // The reason a load gives, without the load routine's own heading: its last line.
    static QString reasonOf(const os::Result &loaded);
    static QString pictureDescription() { return QStringLiteral("JPG file"); }

    // Loads a chart slide into the chart or reads a picture slide. A chart that loaded gets
    // its figure title as description.
    PreparedSlide prepare(const QString &folder, const QString &file) const;

    // Draws what the slide shows into target: the chart through its paint routine (the chart
    // must still hold this slide), a picture fitted into target and centred, and for a
    // picture that could not be read, its name and the reason.
    void paint(const PreparedSlide &slide, QPainter *painter, const QRect &target) const;
    // The slide drawn for an area of size (device-independent pixels) on a screen of the
    // given pixel ratio: a chart fills the area, a picture keeps its proportions. Null when
    // there is nothing to draw at that size.
    QImage render(const PreparedSlide &slide, const QSize &size, qreal ratio) const;

    // Where a picture of pictureSize goes inside target: as large as fits, centred.
    static QRect fitted(const QSize &pictureSize, const QRect &target);

private:
    void paintNotice(const PreparedSlide &slide, QPainter *painter, const QRect &target) const;

    chartview::ChartView &m_chart;
    ChartLoader m_loadChart;
    PictureLoader m_loadPicture;
};

} // namespace qel::slides
