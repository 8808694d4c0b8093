#include "chartdoc/TableImage.h"

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
    m_x.assign(cells, os::MissingNumber);
    m_y.assign(cells, os::MissingNumber);
}

} // namespace qel::chartdoc
