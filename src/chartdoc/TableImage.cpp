#include "chartdoc/TableImage.h"

#include "os/LargeMemory.h"

#include <algorithm>

namespace qel::chartdoc {

void TableImage::dimension(qint16 groups, qint16 points)
{
    groupCount = groups;
    pointCount = points;
    const int g = std::max<int>(groups, 0) + 1;
    m_points = std::max<int>(points, 0);
    groupLegend = QStringList(g);
    pointLegend = QStringList(m_points + 1);
    const std::size_t cells = std::size_t(g) * std::size_t(m_points + 1);
    m_xShared = false;
    std::vector<float>().swap(m_x);
    os::LargeMemory::assign(m_y, cells, os::MissingNumber);
}

void TableImage::shareX()
{
    if (m_xShared)
        return;
    const std::size_t width = std::size_t(m_points) + 1;
    std::vector<float> row(width, os::MissingNumber);
    if (m_y.size() > width) // there is a group 1
        for (int p = 0; p <= m_points; ++p)
            row[std::size_t(p)] = x(1, p);
    m_x = std::move(row);
    m_xShared = true;
}

void TableImage::setX(int group, int point, float v)
{
    if (m_x.empty())
        os::LargeMemory::assign(m_x, m_y.size(), os::MissingNumber);
    if (m_xShared && group > 1 && v != m_x[std::size_t(point)])
        unshareX();
    m_x[xCell(group, point)] = v;
}

void TableImage::unshareX()
{
    const std::size_t rows = m_y.size() / (std::size_t(m_points) + 1);
    std::vector<float> all;
    all.reserve(m_y.size());
    for (std::size_t g = 0; g < rows; ++g)
        all.insert(all.end(), m_x.begin(), m_x.end());
    m_x = std::move(all);
    m_xShared = false;
}

} // namespace qel::chartdoc
