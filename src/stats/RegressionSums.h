#pragma once

namespace qel::stats {

// The accumulators of one regression run. Points are singles; the sums are kept in double
// precision while they grow.
struct RegressionSums
{
    int n = 0;
    double sx = 0, sx2 = 0, sx3 = 0, sx4 = 0;
    double sy = 0, sy2 = 0;
    double sxy = 0, sx2y = 0;
    float minX = 9e33f, maxX = -9e33f;
    float minY = 9e33f, maxY = -9e33f;

    void add(float x, float y)
    {
        const double dx = x, dy = y;
        ++n;
        sx += dx;
        sx2 += dx * dx;
        sx3 += dx * dx * dx;
        sx4 += dx * dx * dx * dx;
        sy += dy;
        sy2 += dy * dy;
        sxy += dx * dy;
        sx2y += dx * dx * dy;
        if (x < minX)
            minX = x;
        if (x > maxX)
            maxX = x;
        if (y < minY)
            minY = y;
        if (y > maxY)
            maxY = y;
    }
};

} // namespace qel::stats
