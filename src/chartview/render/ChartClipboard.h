#pragma once

#include <QSize>

class QMimeData;

namespace qel::chartview {

class ChartControl;

// The chart as the clipboard carries it, so that it pastes into office programs and image
// editors at full quality: a PNG picture at twice the screen's pixels (marked 192 dots per
// inch, so it keeps the screen's size), the same picture as an image, and an SVG drawing.
class ChartClipboard
{
public:
    static constexpr int Scale = 2;

    static QString pngType() { return QStringLiteral("image/png"); }
    static QString svgType() { return QStringLiteral("image/svg+xml"); }

    // A new QMimeData for the chart at its view size; the caller owns it.
    static QMimeData *mimeData(const ChartControl &chart);
};

} // namespace qel::chartview
