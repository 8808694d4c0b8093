#pragma once

#include "os/Useful.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace qel::chartdoc {

// The last table or legacy data file read, 1-based: index 0 of either dimension holds no
// data. Every cell the file did not fill holds os::MissingNumber.
struct TableImage
{
    qint16 groupCount = 0;
    qint16 pointCount = 0;
    QStringList groupLegend; // 0..groupCount
    QStringList pointLegend; // 0..pointCount
    qint16 chartType = 0;
    qint16 fileVersion = 0;
    qint16 typeOpt = 0;
    QString createStamp;
    bool commonX = false;

    // Sizes all four arrays to the counts (0..n each) and fills them with "no data".
    void dimension(qint16 groups, qint16 points);

    // From here on every group has group 1's X, kept once: for a table whose groups share one
    // X column. Group 1's X stays every group's X until another group is given an X of its
    // own; that group, and every other, then gets its own copy.
    void shareX();
    bool sharesX() const { return m_xShared; }

    float x(int group, int point) const
    {
        return m_x.empty() ? os::MissingNumber : m_x[xCell(group, point)];
    }
    float y(int group, int point) const { return m_y[cell(group, point)]; }
    void setX(int group, int point, float v);
    void setY(int group, int point, float v) { m_y[cell(group, point)] = v; }

    // A point is present when at least one of its two values is a number.
    bool isPresent(int group, int point) const
    {
        return !os::isMissingNumber(x(group, point)) || !os::isMissingNumber(y(group, point));
    }

private:
    std::size_t cell(int group, int point) const
    {
        return std::size_t(group) * std::size_t(m_points + 1) + std::size_t(point);
    }

    std::size_t xCell(int group, int point) const
    {
        return m_xShared ? std::size_t(point) : cell(group, point);
    }
    void unshareX();

    int m_points = 0;
    bool m_xShared = false;
    // Empty until the first X is written; one row of points when the groups share X.
    std::vector<float> m_x;
    std::vector<float> m_y;
};

} // namespace qel::chartdoc
